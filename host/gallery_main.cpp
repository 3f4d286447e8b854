// vizgallery: every content mode alone, side by side. It links the library's core directly and
// builds one Visualization per mode whose preset plays nothing but that mode, without the intro
// and the speaker rings, on the demo song's music or a music file, in the normal or the
// always-on look (which no exported function reaches), with the analyzer view on request.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "band_analyzer.h"
#include "contact_sheet.h"
#include "demo_song.h"
#include "frame_scaler.h"
#include "gallery_options.h"
#include "headless_gl.h"
#include "host_session.h"
#include "paths.h"
#include "platform.h"
#include "sound_classifier.h"
#include "visualization/diagnostics/diagnostics.h"
#include "visualization/visualization.h"

namespace fs = std::filesystem;
using namespace vizhost;

namespace {

constexpr uint32_t kFrameRate = 60;
constexpr uint32_t kBands = 16;

int fail(const std::string& message, int code = 1) {
    std::fprintf(stderr, "vizgallery: %s\n", message.c_str());
    return code;
}

std::FILE* gLog = nullptr;

void logSink(int, const char* tag, const char* message, void*) {
    if (gLog != nullptr) {
        const size_t length = std::strlen(message);
        const bool newline = length > 0 && message[length - 1] == '\n';
        std::fprintf(gLog, "%s: %s%s", tag, message, newline ? "" : "\n");
    }
}

// The demo song as one piece of mono music.
AudioClip demoMusic() {
    std::vector<AudioClip> parts = DemoSong::synthesize();
    AudioClip song = parts.front();
    for (size_t i = 1; i < parts.size(); ++i) {
        song.samples.insert(song.samples.end(), parts[i].samples.begin(), parts[i].samples.end());
    }
    mixToMono(song);
    return song;
}

constexpr float kDemoStart = 33.0f;

// The class the host would have sent by `start`: the classifier hears the song up to there.
SoundClass classAt(const AudioClip& song, int64_t start) {
    BandAnalyzer analyzer(kBands, song.sampleRate);
    SoundClassifier classifier;
    const int64_t hop = song.sampleRate / kFrameRate;
    for (int64_t end = hop; end <= start; end += hop) {
        analyzer.analyze(song.mono.data(), song.mono.size(), end);
        classifier.push(analyzer.bands(), analyzer.loudness(), analyzer.centroid());
    }
    return classifier.hasClass() ? classifier.soundClass() : SoundClass::Moderate;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    GalleryOptions options;
    std::string error;
    if (!parseGalleryOptions(args, options, error)) {
        return fail(error + " (see vizgallery --help)", 2);
    }
    if (options.help) {
        std::fputs(galleryUsage(), stdout);
        for (const auto& [mode, name] : ContentModeNames) {
            if (mode != ContentMode::NONE) {
                std::printf("  %s\n", name.c_str());
            }
        }
        return 0;
    }
    if (options.modes.empty()) {
        for (const auto& entry : ContentModeNames) {
            if (entry.first != ContentMode::NONE) {
                options.modes.push_back(entry.first);
            }
        }
    }
    const std::string resources =
        options.resources.empty() ? defaultResourceDirectory() : options.resources;
    if (!fs::is_directory(resources)) {
        return fail("no resource directory at " + resources + " (give one with --res)");
    }
    std::error_code failed;
    const fs::path sheetDirectory = fs::path(options.out).parent_path();
    if (!sheetDirectory.empty()) {
        fs::create_directories(sheetDirectory, failed);
    }
    if (!failed && !options.each.empty()) {
        fs::create_directories(options.each, failed);
    }
    if (failed) {
        return fail("cannot make the output directory: " + failed.message());
    }
    if (options.log == "-") {
        gLog = stderr;
    } else if (!options.log.empty() && (gLog = std::fopen(options.log.c_str(), "a")) == nullptr) {
        return fail("cannot open the log file " + options.log);
    }
    platform_log_set_sink(&logSink, nullptr);

    AudioClip song;
    if (options.music.empty()) {
        song = demoMusic();
    } else if (decodeAudioFile(options.music, song, error)) {
        mixToMono(song);
    } else {
        return fail(error);
    }
    const double at = options.at >= 0.0f      ? double(options.at)
                      : options.music.empty() ? double(kDemoStart)
                                              : song.duration() / 3.0;
    if (at >= song.duration()) {
        char message[96];
        std::snprintf(message, sizeof message, "--at %.2f is past the end of the music (%.2f s)",
                      at, song.duration());
        return fail(message);
    }
    const int64_t start = int64_t(at * song.sampleRate);
    DiagnosticsSettings diagnostics;
    diagnostics.analyzer = options.analyzer.empty()        ? AnalyzerLayout::Off
                           : options.analyzer == "compact" ? AnalyzerLayout::Compact
                                                           : AnalyzerLayout::Normal;
    const SoundClass soundClass = classAt(song, start);

    headless::Context context;
    if (!context.create()) {
        return fail("cannot make an OpenGL ES 3.0 context: " + context.error());
    }
    const ScreenSize screen = DefaultScreenSizes.at(RotateInfo::Landscape);
    auto target = std::make_unique<headless::Target>(screen.first, screen.second);
    auto cellScaler = std::make_unique<FrameScaler>(options.cellWidth, options.cellHeight);
    auto eachScaler = options.each.empty() ? nullptr : std::make_unique<FrameScaler>(960, 540);
    ContactSheet sheet(options.cellWidth, options.cellHeight, options.columns,
                       uint32_t(options.modes.size()));
    const std::string resourcePath = relativeResourcePath(resources);
    const size_t frames = std::max<size_t>(size_t(options.seconds * kFrameRate), 1);
    const int64_t hop = song.sampleRate / kFrameRate;
    BandAnalyzer analyzer(kBands, song.sampleRate);
    std::vector<uint8_t> rgba;
    bool ok = true;
    for (size_t m = 0; ok && m < options.modes.size(); ++m) {
        const ContentMode mode = options.modes[m];
        const std::string name = toString(mode);
        std::fprintf(stderr, "vizgallery: %zu/%zu %s\n", m + 1, options.modes.size(), name.c_str());
        VisualizationPreset preset;
        ContentPlayerPreset& player = preset.contentPlayerPreset;
        player.modesRestricted = {mode};
        player.modeStart = mode;
        player.applyModesSuitable = false;
        player.lockPlaylist = true;
        player.skipIntro = true;
        player.hideSpeakerOverlay = true;

        // Every mode sees the same frames of music. The clock, which seeds the shuffles, starts
        // at a value of the mode's own, so a mode looks the same in any selection while modes of
        // one family do not all pick the same first photograph or palette.
        platform_clock_set_manual(1000000000LL * (1 + static_cast<long long>(mode)));
        target->bind();
        auto visualization =
            std::make_unique<Visualization>(resourcePath.c_str(), RotateInfo::Landscape,
                                            SpeakerInfo::TV_1, options.displayMode, preset);
        auto overlay =
            diagnostics.analyzer == AnalyzerLayout::Off
                ? nullptr
                : std::make_unique<Diagnostics>(diagnostics, screen.first, screen.second);
        visualization->setSoundClass(soundClass);
        for (size_t f = 0; f < frames; ++f) {
            analyzer.analyze(song.mono.data(), song.mono.size(), start + int64_t(f + 1) * hop);
            visualization->setBandsInfo(kBands, analyzer.bands().data());
            platform_clock_advance((long long)(1e9 * double(f + 1) / kFrameRate) -
                                   (long long)(1e9 * double(f) / kFrameRate));
            target->bind();
            visualization->update();
            if (overlay != nullptr) {
                overlay->afterFrame(*visualization);
            }
            if (!HostSession::checkGl(("in " + name).c_str(), error)) {
                ok = false;
                break;
            }
        }
        if (ok && visualization->getContentPlayer().getContentMode() != mode) {
            error = std::string("the player showed ") +
                    toString(visualization->getContentPlayer().getContentMode()) + " instead of " +
                    name;
            ok = false;
        }
        if (ok) {
            cellScaler->scale(*target, rgba);
            sheet.place(uint32_t(m), rgba.data(), name);
            if (eachScaler != nullptr) {
                eachScaler->scale(*target, rgba);
                for (size_t i = 3; i < rgba.size(); i += 4) {
                    rgba[i] = 255;
                }
                const std::string path = options.each + "/" + name + ".png";
                if (!headless::writePng(path, 960, 540, rgba.data())) {
                    error = "cannot write " + path;
                    ok = false;
                }
            }
        }
        target->bind();
        overlay.reset();
        visualization.reset();
        if (ok && !HostSession::checkGl(("when " + name + " was deleted").c_str(), error)) {
            ok = false;
        }
    }
    platform_clock_set_real();
    eachScaler.reset();
    cellScaler.reset();
    target.reset();
    platform_log_set_sink(nullptr, nullptr);
    if (gLog != nullptr && gLog != stderr) {
        std::fclose(gLog);
    }
    if (!ok) {
        return fail(error);
    }
    if (!sheet.write(options.out)) {
        return fail("cannot write " + options.out);
    }
    return 0;
}
