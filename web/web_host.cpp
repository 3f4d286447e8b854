// The page's host: what a TV host does around the library, compiled into the same module. It
// makes the WebGL 2 context, starts the instance as vizhost does, turns the browser's spectrum
// into the library's bands with vizhost's band layout and sound classifier, turns the screen with
// vizhost's rotation profile, and reaches the library through the ten functions alone. The page
// (page.js) owns the audio, the controls and the frame loop, and calls in here once a frame.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "band_layout.h"
#include "demo_song.h"
#include "library_api.h"
#include "platform.h"
#include "rotation_driver.h"
#include "sound_classifier.h"
#include "visualization/library.h"

namespace {

using vizhost::BandLayout;

// As many bands as vizhost sends by default.
constexpr uint32_t kBandCount = 16;

const vizhost::LibraryApi kApi = [] {
    vizhost::LibraryApi api;
    api.onCreateGlApp = OnCreateGlApp;
    api.onTerminateGlApp = OnTerminateGlApp;
    api.onUpdateGlApp = OnUpdateGlApp;
    api.updateTrackChange = UpdateTrackChange;
    api.updateBandsInfo = UpdateBandsInfo;
    api.updateBeatsInfo = UpdateBeatsInfo;
    api.updateSoundClass = UpdateSoundClass;
    api.startRotatingDevice = StartRotatingDevice;
    api.updateRotationDegree = UpdateRotationDegree;
    api.updateSpeakerInfo = UpdateSpeakerInfo;
    return api;
}();

struct Analysis {
    Analysis(uint32_t sampleRate, uint32_t fftSize)
        : layout(kBandCount, sampleRate, fftSize),
          spectrum(fftSize / 2),
          power(fftSize / 2 + 1, 0.0f),
          samples(fftSize),
          hop(std::max<uint32_t>(sampleRate / 60, 1)),
          bands(kBandCount, BandLayout::kLevelMin) {
        // The browser's analyser windows with a Blackman window and divides the transform by
        // its length: its bin powers are |X|²/N², where vizhost's Hann analysis scales |X|² by
        // 4 / (N Σw²). Σw² of the Blackman window, summed, makes the two agree: a full-scale
        // sine reads 0 dB in both.
        double windowPower = 0.0;
        for (uint32_t n = 0; n < fftSize; ++n) {
            const double x = 2.0 * M_PI * n / fftSize;
            const double w = 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2.0 * x);
            windowPower += w * w;
        }
        powerScale = 4.0 * double(fftSize) / windowPower;
    }

    BandLayout layout;
    vizhost::SoundClassifier classifier;
    std::vector<float> spectrum;  // dB per bin, as the analyser gives it
    std::vector<float> power;
    std::vector<float> samples;  // the analyser's newest block of the signal
    uint32_t hop;
    double powerScale = 1.0;
    std::vector<float> bands;
};

Analysis* gAnalysis = nullptr;
vizhost::RotationDriver* gRotation = nullptr;
vizhost::AudioClip gDemoPart;
bool gStarted = false;

void forwardLog(int, const char*, const char* message, void*) {
    EM_ASM(
        {
            if (Module.onLogLine)
                Module.onLogLine(UTF8ToString($0));
        },
        message);
}

void startInstance(bool analyzer) {
    // The diagnostic build reads this when it makes the instance.
    if (analyzer) {
        setenv("VISUALIZATION_ANALYZER", "1", 1);
    } else {
        unsetenv("VISUALIZATION_ANALYZER");
    }
    // In the order a TV host makes the calls (vizhost's HostSession does the same).
    kApi.updateSpeakerInfo(int32_t(SpeakerInfo::TV_1));
    kApi.onCreateGlApp("res", int32_t(RotateInfo::Landscape));
    delete gRotation;
    gRotation = new vizhost::RotationDriver(kApi, RotateInfo::Landscape, 1.0f);
    gStarted = true;
}

}  // namespace

extern "C" {

// Makes the WebGL 2 context on #canvas and the instance; 0 when done, 1 without WebGL 2.
EMSCRIPTEN_KEEPALIVE int web_start(int analyzer) {
    platform_log_set_sink(&forwardLog, nullptr);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_TRUE;
    attributes.antialias = EM_FALSE;
    attributes.alpha = EM_FALSE;
    // The tests read the picture back after the frame was shown.
    attributes.preserveDrawingBuffer = EM_TRUE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context("#canvas", &attributes);
    if (context <= 0 ||
        emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        return 1;
    }
    startInstance(analyzer != 0);
    return 0;
}

// A new instance, with or without the analyzer view.
EMSCRIPTEN_KEEPALIVE void web_restart(int analyzer) {
    if (gStarted) {
        kApi.onTerminateGlApp();
    }
    startInstance(analyzer != 0);
}

// The analyser's format; returns where the page writes each frame's spectrum (fftSize / 2 values
// in dB), followed by fftSize samples of the signal.
EMSCRIPTEN_KEEPALIVE float* web_audio_format(int sampleRate, int fftSize) {
    delete gAnalysis;
    gAnalysis = new Analysis(uint32_t(sampleRate), uint32_t(fftSize));
    return gAnalysis->spectrum.data();
}

EMSCRIPTEN_KEEPALIVE float* web_audio_samples() {
    return gAnalysis != nullptr ? gAnalysis->samples.data() : nullptr;
}

// One frame: the bands of the spectrum the page wrote (when `heard`), the sound class when it
// changed, the screen's angle while it turns, then the picture. Returns the sound class sent,
// or -1.
EMSCRIPTEN_KEEPALIVE int web_frame(double nowSeconds, int heard) {
    int sent = -1;
    if (heard != 0 && gAnalysis != nullptr) {
        Analysis& a = *gAnalysis;
        for (size_t k = 0; k < a.spectrum.size(); ++k) {
            const float db = a.spectrum[k];
            a.power[k] = std::isfinite(db) ? std::pow(10.0f, db / 10.0f) : 0.0f;
        }
        a.layout.levels(a.power.data(), a.powerScale, a.bands.data());
        const float centroid = a.layout.centroid(a.power.data(), a.powerScale);
        const float loudness = BandLayout::loudness(
            a.samples.data() + (a.samples.size() - std::min<size_t>(a.hop, a.samples.size())),
            std::min<size_t>(a.hop, a.samples.size()));
        const BandsInfo info{uint32_t(a.bands.size()), a.bands.data()};
        kApi.updateBandsInfo(&info);
        if (a.classifier.push(a.bands, loudness, centroid)) {
            sent = int(a.classifier.soundClass());
            kApi.updateSoundClass(sent);
        }
    }
    if (gRotation != nullptr) {
        gRotation->update(nowSeconds);
    }
    kApi.onUpdateGlApp();
    return sent;
}

EMSCRIPTEN_KEEPALIVE void web_track_change() {
    kApi.updateTrackChange();
    if (gAnalysis != nullptr) {
        gAnalysis->classifier.restart();
    }
}

// Starts turning the screen to the other orientation; 0 while it is turning already.
EMSCRIPTEN_KEEPALIVE int web_rotate(double nowSeconds) {
    return gRotation != nullptr && gRotation->start(nowSeconds) ? 1 : 0;
}

// The orientation the screen rests in or turns to: 0 landscape, 1 portrait.
EMSCRIPTEN_KEEPALIVE int web_orientation() {
    return gRotation != nullptr ? int(gRotation->orientation()) : 0;
}

// vizhost's demo song, part by part: the samples stay valid until the next call.
EMSCRIPTEN_KEEPALIVE int web_demo_part_count() {
    return int(vizhost::DemoSong::kPartCount);
}
EMSCRIPTEN_KEEPALIVE const float* web_demo_part(int part) {
    gDemoPart = vizhost::DemoSong::synthesizePart(uint32_t(part));
    return gDemoPart.samples.data();
}
EMSCRIPTEN_KEEPALIVE int web_demo_frames() {
    return int(gDemoPart.frameCount());
}
EMSCRIPTEN_KEEPALIVE int web_demo_channels() {
    return int(gDemoPart.channels);
}
EMSCRIPTEN_KEEPALIVE int web_demo_rate() {
    return int(gDemoPart.sampleRate);
}

// The clock seam, for tests that replay time exactly as the native reference pictures do.
EMSCRIPTEN_KEEPALIVE void web_clock_manual(double startNs) {
    platform_clock_set_manual(static_cast<long long>(startNs));
}
EMSCRIPTEN_KEEPALIVE void web_clock_advance(double ns) {
    platform_clock_advance(static_cast<long long>(ns));
}

}  // extern "C"
