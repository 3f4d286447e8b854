// The long run: forty minutes of music per family (or as many hours as asked) on the manual clock
// with track changes, sound classes, rotations and re-creations, judged on resident memory, the
// heap in use, GL objects, GL errors and warm frames against their mode's median frame. README.md
// ("Fuzzing and the soak") tells what each measure is and why.
#include <GLES3/gl3.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gl_object_counter.h"
#include "headless_gl.h"
#include "library_api.h"
#include "platform.h"
#include "support/test_output.h"
#include "visualization/library.h"
#include "visualization/types.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/visualization.h"

namespace {

constexpr long long kFrameNs = 16'666'667;
constexpr int kFramesPerSecond = 60;
constexpr uint32_t kBandCount = 16;
constexpr int kTrackSeconds = 20;
constexpr int kSoundClassSeconds = 45;
constexpr int kRotationSeconds = 70;
constexpr int kRotationFrames = 90;
constexpr int kSpeakerSeconds = 240;
constexpr double kHitchRatio = 10.0;
// How many MB resident memory and the heap in use may grow from the first half to the second.
constexpr double kGrowthBoundMb = 4.0;
constexpr uint32_t kWidth = 320;
constexpr uint32_t kHeight = 180;

// The core with a playlist restricted to one family, as the gallery plays it, behind the shape
// of the ten functions; the calls mirror what the exported functions do.
VisualizationPreset gPreset;
std::unique_ptr<Visualization> gInstance;
SpeakerInfo gSpeaker = SpeakerInfo::TV_1;

vizhost::LibraryApi coreApi(ContentCategory family) {
    gPreset = VisualizationPreset();
    for (const ContentModeRow& row : ContentModeTable) {
        if (row.category == family) {
            gPreset.contentPlayerPreset.modesRestricted.insert(row.mode);
        }
    }
    gPreset.contentPlayerPreset.categories = {family};
    gPreset.contentPlayerPreset.applyModesSuitable = false;
    // The whole picture at the small size, not the corner of a full-HD one the target shows.
    gPreset.screenSizes = {{RotateInfo::Landscape, {kWidth, kHeight}},
                           {RotateInfo::Portrait, {kHeight, kWidth}}};
    vizhost::LibraryApi api;
    api.onCreateGlApp = [](const char* path, int32_t rotation) {
        const gl::HostCall call;
        gInstance.reset();
        gInstance = std::make_unique<Visualization>(path, static_cast<RotateInfo>(rotation),
                                                    gSpeaker, DisplayMode::DEFAULT, gPreset);
    };
    api.onTerminateGlApp = [] {
        const gl::HostCall call;
        gInstance.reset();
    };
    api.onUpdateGlApp = [] {
        const gl::HostCall call;
        gInstance->update();
    };
    api.updateTrackChange = [] {
        const gl::HostCall call;
        gInstance->updateTrackChange();
    };
    api.updateBandsInfo = [](const BandsInfo* b) { gInstance->setBandsInfo(b->count, b->data); };
    api.updateSoundClass = [](int32_t c) { gInstance->setSoundClass(static_cast<SoundClass>(c)); };
    api.startRotatingDevice = [](int32_t r) {
        gInstance->startRotationTransition(static_cast<RotateInfo>(r));
    };
    api.updateRotationDegree = [](float degree) { gInstance->setRotationTransitionAngle(degree); };
    api.updateSpeakerInfo = [](int32_t speaker) { gSpeaker = static_cast<SpeakerInfo>(speaker); };
    return api;
}

// Synthetic music: a kick on every beat in the low bands, a hat between beats in the high ones,
// a slow swell, and a loudness and tempo that change with every sound class.
void synthesize(int frame, int section, float* bands) {
    const float t = static_cast<float>(frame) / kFramesPerSecond;
    const float beat = 0.42f + 0.06f * static_cast<float>(section % 4);
    const float phase = std::fmod(t, beat) / beat;
    const float loudness = -60.0f + 6.0f * static_cast<float>(section % 5);
    for (uint32_t i = 0; i < kBandCount; ++i) {
        const float position = static_cast<float>(i) / (kBandCount - 1);
        float level = loudness - 20.0f * position + 6.0f * std::sin(0.3f * t + 1.7f * i);
        level += (1.0f - position) * 40.0f * std::exp(-8.0f * phase);
        level += position * 25.0f * std::exp(-20.0f * std::fabs(phase - 0.5f));
        bands[i] = std::clamp(level, -120.0f, -10.0f);
    }
}

// Which mode is on screen, from the player's log lines, which reach the sink from the core and
// from the shared object alike.
class ModeTracker {
public:
    static constexpr int kNone = -1;

    ModeTracker() { platform_log_set_sink(&ModeTracker::sink, this); }
    ~ModeTracker() { platform_log_set_sink(nullptr, nullptr); }
    ModeTracker(const ModeTracker&) = delete;
    ModeTracker& operator=(const ModeTracker&) = delete;

    int current() const { return mCurrent; }
    // The mode fading out while a cross-fade runs, else kNone.
    int fading() const { return mFading; }
    std::string name(int mode) const {
        return mode == kNone ? "(intro)" : mNames.at(static_cast<size_t>(mode));
    }
    size_t count() const { return mNames.size(); }

private:
    static void sink(int, const char*, const char* message, void* user) {
        static_cast<ModeTracker*>(user)->read(message);
    }
    void read(const std::string& line) {
        static const std::string kNext = "[ContentPlayer][setContentMode] Mode next: ";
        static const std::string kFinished = "[ContentPlayer][updateContentModeTransition] ";
        if (line.rfind(kNext, 0) == 0) {
            std::string mode = line.substr(kNext.size());
            mode.erase(mode.find_last_not_of("\n ") + 1);
            const auto found = std::find(mNames.begin(), mNames.end(), mode);
            mFading = mCurrent;
            mCurrent = static_cast<int>(found - mNames.begin());
            if (found == mNames.end()) {
                mNames.push_back(mode);
            }
        } else if (line.rfind(kFinished, 0) == 0 && line.find(" finished") != std::string::npos) {
            mFading = kNone;
        }
    }

    std::vector<std::string> mNames;
    int mCurrent = kNone;
    int mFading = kNone;
};

struct FrameCost {
    int frame;
    float ms;
    int16_t mode;
    int16_t fading;
};

float median(std::vector<float> values) {
    if (values.empty()) {
        return 0.0f;
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The render thread's: the software rasteriser is kept on it (LP_NUM_THREADS=0), and the
// kaleidoscope's worker decodes beside the frames by design.
long long renderThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// Resident memory, the free memory the allocator keeps resident in the gaps between live blocks,
// and the heap in use, in MB: growth of live data (a leak, ours or the driver's) shows in the
// heap in use, a heap that fragments in the free memory; a TV's budget counts resident memory.
struct Memory {
    double resident = 0.0;
    double free = 0.0;
    double heap = 0.0;
};

Memory memory() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    const struct mallinfo2 heap = mallinfo2();
    constexpr double kMb = 1048576.0;
    return {static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / kMb,
            static_cast<double>(heap.fordblks) / kMb,
            static_cast<double>(heap.uordblks + heap.hblkhd) / kMb};
}

struct Options {
    double minutes = 40.0;  // or hours x 60
    bool library = false;
    std::string libraryPath = VIZ_LIBRARY_PATH;
    std::vector<ContentCategory> families = {
        ContentCategory::CONTENT_2020, ContentCategory::CONTENT_2021_CUBES,
        ContentCategory::CONTENT_2021_RING, ContentCategory::CONTENT_2021_LINES,
        ContentCategory::CONTENT_2021_KALEIDOSCOPE};
};

// Index 0 is the first half of the row, 1 the second.
struct Result {
    std::string name;
    int frames = 0;
    double medianMs = 0.0;
    double warmMaxMs = 0.0;
    // The warm frame that stood out most from its mode's median: how far, where and in which.
    double worstRatio = 0.0;
    double worstAt = 0.0;
    std::string worstMode;
    // Resident memory swings by several MB with every re-creation (the driver compiles every
    // program again), so growth is the second half's highest sample (every second of music)
    // above the first half's highest: what a leak raises and a swing does not.
    double rssPeak[2] = {};
    double heapPeak[2] = {};
    int64_t glPeak[2] = {};  // most GL objects alive at once
    std::string glGrown;     // the kinds whose count grew or outlived the instance
    int glErrors = 0;
    bool playedTwice = false;    // a frame stood out in the first play (see judge)
    bool firstPlaySound = true;  // memory, GL objects and errors passed in the first play

    double rssGrowth() const { return rssPeak[1] - rssPeak[0]; }
    double heapGrowth() const { return heapPeak[1] - heapPeak[0]; }
    bool sound() const {
        return rssGrowth() <= kGrowthBoundMb && heapGrowth() <= kGrowthBoundMb && glGrown.empty() &&
               glErrors == 0;
    }
    bool passed() const { return sound() && firstPlaySound && worstRatio <= kHitchRatio; }
};

// Holds every frame of the second half against the median of its mode, over the frames that mode
// had the screen to itself, and keeps the one that stands out most.
void judgeFrames(const std::vector<FrameCost>& costs, const ModeTracker& modes, int half,
                 Result& result) {
    std::vector<float> all;
    std::vector<std::vector<float>> perMode(modes.count());
    for (const FrameCost& cost : costs) {
        all.push_back(cost.ms);
        if (cost.mode != ModeTracker::kNone && cost.fading == ModeTracker::kNone) {
            perMode[static_cast<size_t>(cost.mode)].push_back(cost.ms);
        }
    }
    result.medianMs = median(all);
    std::vector<float> modeMedian(modes.count(), static_cast<float>(result.medianMs));
    for (size_t m = 0; m < modes.count(); ++m) {
        if (!perMode[m].empty()) {
            modeMedian[m] = median(std::move(perMode[m]));
        }
    }
    const auto against = [&](int mode) {
        return mode == ModeTracker::kNone ? static_cast<float>(result.medianMs)
                                          : modeMedian[static_cast<size_t>(mode)];
    };
    for (const FrameCost& cost : costs) {
        if (cost.frame < half) {
            continue;
        }
        const float bound = std::max(against(cost.mode), against(cost.fading));
        const double ratio = bound > 0.0f ? cost.ms / bound : 0.0;
        if (ratio > result.worstRatio) {
            result.worstRatio = ratio;
            result.worstAt = static_cast<double>(cost.frame) / kFramesPerSecond;
            result.worstMode = modes.name(cost.mode);
        }
    }
}

// `earlier` holds the frame costs of a first play of the same row: each frame then counts at the
// lower of its two costs. The row is deterministic on the manual clock, so a hitch of the
// library's comes at the same frame in both plays, and the machine's noise does not.
Result run(const vizhost::LibraryApi& api, const std::string& name, double minutes,
           headless::Target& target, std::vector<FrameCost>& costs,
           const std::vector<FrameCost>* earlier) {
    Result result;
    result.name = name;
    result.frames = static_cast<int>(minutes * 60.0 * kFramesPerSecond);
    const int half = result.frames / 2;
    const auto baseline = soak::liveGlObjects();
    std::array<int64_t, soak::kGlObjectKinds> peak[2] = {};
    // Reserved before the first sample: over hours the record of every frame's cost runs to
    // megabytes, which would otherwise become resident a page at a time as the run goes on.
    costs.clear();
    costs.reserve(static_cast<size_t>(result.frames));
    ModeTracker modes;
    float bands[kBandCount];
    const BandsInfo bandsInfo{kBandCount, bands};

    platform_clock_set_manual(1'000'000'000LL);
    RotateInfo rotation = RotateInfo::Landscape;
    int speaker = 0;
    int rotationFrame = -1;  // frames into the running rotation, or -1
    bool abortRotation = false;
    int rotations = 0;
    // Speaker info first, so that OnCreateGlApp builds the instance at once.
    const auto create = [&] {
        api.onTerminateGlApp();
        api.updateSpeakerInfo(speaker);
        api.onCreateGlApp("res", static_cast<int32_t>(rotation));
    };
    create();

    for (int f = 0; f < result.frames; ++f) {
        const int second = f / kFramesPerSecond;
        const bool onSecond = f % kFramesPerSecond == 0 && f > 0;
        const bool created = onSecond && second % kSpeakerSeconds == 0;
        if (created) {
            speaker = (speaker + 1) % static_cast<int>(SpeakerInfoNames.size());
            create();
            rotationFrame = -1;
        }
        if (onSecond && second % kTrackSeconds == 0) {
            api.updateTrackChange();
        }
        if ((onSecond || f == 0) && second % kSoundClassSeconds == 0) {
            api.updateSoundClass((second / kSoundClassSeconds * 4) % 9);
        }
        if (onSecond && second % kRotationSeconds == 0 && rotationFrame < 0) {
            rotation =
                rotation == RotateInfo::Landscape ? RotateInfo::Portrait : RotateInfo::Landscape;
            api.startRotatingDevice(static_cast<int32_t>(rotation));
            rotationFrame = 0;
            abortRotation = ++rotations % 3 == 0;
        }
        if (rotationFrame >= 0) {
            const float progress = static_cast<float>(++rotationFrame) / kRotationFrames;
            if (abortRotation && progress >= 0.5f) {
                api.updateRotationDegree(-1.0f);
                rotation = rotation == RotateInfo::Landscape ? RotateInfo::Portrait
                                                             : RotateInfo::Landscape;
                rotationFrame = -1;
            } else {
                const float eased = std::min(progress, 1.0f);
                api.updateRotationDegree(rotation == RotateInfo::Portrait ? 90.0f * eased
                                                                          : 90.0f * (1.0f - eased));
                rotationFrame = progress >= 1.0f ? -1 : rotationFrame;
            }
        }
        synthesize(f, second / kSoundClassSeconds, bands);
        api.updateBandsInfo(&bandsInfo);

        platform_clock_advance(kFrameNs);
        target.bind();
        const long long start = renderThreadCpuNs();
        api.onUpdateGlApp();
        glFinish();
        const float ms = static_cast<float>(renderThreadCpuNs() - start) * 1e-6f;
        result.glErrors += glGetError() != GL_NO_ERROR ? 1 : 0;
        const int h = f < half ? 0 : 1;
        if (!created && f > 0) {
            costs.push_back({f, ms, static_cast<int16_t>(modes.current()),
                             static_cast<int16_t>(modes.fading())});
            if (h == 1) {
                result.warmMaxMs = std::max(result.warmMaxMs, static_cast<double>(ms));
            }
        }
        const auto live = soak::liveGlObjects();
        for (int k = 0; k < soak::kGlObjectKinds; ++k) {
            peak[h][k] = std::max(peak[h][k], live[k] - baseline[k]);
        }
        if (f % kFramesPerSecond == 0) {
            const Memory now = memory();
            result.rssPeak[h] = std::max(result.rssPeak[h], now.resident);
            result.heapPeak[h] = std::max(result.heapPeak[h], now.heap);
            if (f > 0 && f % (kFramesPerSecond * 60) == 0) {
                std::fprintf(stderr,
                             "soak: %s %d min, %.1f MB resident (%.1f MB of it free in the "
                             "allocator), %.1f MB of heap in use\n",
                             name.c_str(), f / (kFramesPerSecond * 60), now.resident, now.free,
                             now.heap);
            }
        }
    }
    api.onTerminateGlApp();
    result.glErrors += glGetError() != GL_NO_ERROR ? 1 : 0;

    const auto after = soak::liveGlObjects();
    for (int k = 0; k < soak::kGlObjectKinds; ++k) {
        if (peak[1][k] > peak[0][k] || after[k] != baseline[k]) {
            result.glGrown += std::string(result.glGrown.empty() ? "" : ", ") +
                              soak::toString(static_cast<soak::GlObject>(k));
        }
        result.glPeak[0] += peak[0][k];
        result.glPeak[1] += peak[1][k];
    }
    if (earlier != nullptr) {
        auto other = earlier->begin();
        for (FrameCost& cost : costs) {
            while (other != earlier->end() && other->frame < cost.frame) {
                ++other;
            }
            if (other != earlier->end() && other->frame == cost.frame) {
                cost.ms = std::min(cost.ms, other->ms);
            }
        }
    }
    judgeFrames(costs, modes, half, result);
    return result;
}

// In a virtual machine the time the host takes the processor away is charged to the thread that
// was running, so a frame of a cheap mode may stand out by chance. A row with a frame over the
// bound is played again, and each frame counts at the lower of its two costs; memory, GL objects
// and errors must pass in both plays.
Result judge(const vizhost::LibraryApi& api, const std::string& name, double minutes,
             headless::Target& target) {
    std::vector<FrameCost> costs;
    const Result first = run(api, name, minutes, target, costs, nullptr);
    if (first.worstRatio <= kHitchRatio) {
        return first;
    }
    std::fprintf(stderr,
                 "soak: %s: a frame stood out %.1fx at %.2f s of music; playing the row again, "
                 "where a hitch of the library's comes at the same frame\n",
                 name.c_str(), first.worstRatio, first.worstAt);
    std::vector<FrameCost> again;
    Result second = run(api, name, minutes, target, again, &costs);
    second.playedTwice = true;
    second.firstPlaySound = first.sound();
    return second;
}

void printTable(const std::vector<Result>& results, double minutes) {
    std::printf("\n%.0f min of music per row at %ux%u\n", minutes, kWidth, kHeight);
    std::printf("%-28s %7s %7s %8s %6s %15s %15s %9s %6s %s\n", "family", "frames", "median",
                "warm max", "/mode", "RSS peak 1/2", "heap peak 1/2", "GL 1/2", "errors", "result");
    for (const Result& r : results) {
        std::printf(
            "%-28s %7d %5.2fms %6.2fms %5.1fx %6.1f/%6.1fMB %6.1f/%6.1fMB %4lld/%-4lld %6d "
            "%s%s%s\n",
            r.name.c_str(), r.frames, r.medianMs, r.warmMaxMs, r.worstRatio, r.rssPeak[0],
            r.rssPeak[1], r.heapPeak[0], r.heapPeak[1], static_cast<long long>(r.glPeak[0]),
            static_cast<long long>(r.glPeak[1]), r.glErrors,
            r.passed() ? (r.playedTwice ? "pass*" : "pass") : "FAIL",
            r.glGrown.empty() ? "" : " (grew: ",
            r.glGrown.empty() ? "" : (r.glGrown + ")").c_str());
        if (r.worstRatio > kHitchRatio) {
            std::printf("%-28s stood out most at %.2f s of music in %s\n", "", r.worstAt,
                        r.worstMode.c_str());
        }
    }
    std::printf(
        "/mode: the warm frame that stood out most against its mode's median (bound %.0fx).\n"
        "Peaks 1/2: the highest of each half (memory sampled every second of music); the second "
        "may exceed the first by %.0f MB. pass*: passed on a second play.\n",
        kHitchRatio, kGrowthBoundMb);
}

int usage() {
    std::fprintf(stderr,
                 "usage: viz_soak [--minutes M | --hours H] [--family NAME]... [--library [PATH]]\n"
                 "  --minutes  music time per family (40); --hours the same in hours\n"
                 "  --family   CONTENT_2020, CONTENT_2021_CUBES, ... (default: all five)\n"
                 "  --library  drive the shared object through its ten functions instead, with\n"
                 "             its playlist of every mode (one row)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::vector<ContentCategory> families;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if ((arg == "--minutes" || arg == "--hours") && value != nullptr) {
            options.minutes = std::atof(argv[++i]) * (arg == "--hours" ? 60.0 : 1.0);
        } else if (arg == "--family" && value != nullptr &&
                   ContentCategoryValues.count(value) != 0 && std::strcmp(value, "NONE") != 0) {
            families.push_back(ContentCategoryValues.at(argv[++i]));
        } else if (arg == "--library") {
            options.library = true;
            if (value != nullptr && value[0] != '-') {
                options.libraryPath = argv[++i];
            }
        } else {
            return usage();
        }
    }
    if (!families.empty()) {
        options.families = families;
    }
    if (options.minutes <= 0.0) {
        return usage();
    }
    // Never the source tree: a log file named by a relative VISUALIZATION_LOG lands in the build.
    if (!testsupport::enterTestOutput()) {
        std::fprintf(stderr, "soak: cannot work in %s\n", testsupport::testOutputDir().c_str());
        return 1;
    }
    if (std::getenv("VISUALIZATION_LOG") == nullptr) {
        setenv("VISUALIZATION_LOG", "off", 1);
    }
    setenv("LP_NUM_THREADS", "0", 0);
    headless::Context context;
    if (!context.create()) {
        std::fprintf(stderr, "soak: %s\n", context.error().c_str());
        return 1;
    }
    headless::Target target(kWidth, kHeight);

    std::vector<Result> results;
    if (options.library) {
        vizhost::LoadedLibrary library;
        std::string error;
        if (!library.load(options.libraryPath, error)) {
            std::fprintf(stderr, "soak: %s\n", error.c_str());
            return 1;
        }
        results.push_back(
            judge(library.api(), "every mode (shared object)", options.minutes, target));
    } else {
        for (ContentCategory family : options.families) {
            results.push_back(judge(coreApi(family), toString(family), options.minutes, target));
        }
    }
    printTable(results, options.minutes);
    return std::all_of(results.begin(), results.end(), [](const Result& r) { return r.passed(); })
               ? 0
               : 1;
}
