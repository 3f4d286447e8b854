// Reference pictures of every mode, drawn through the shared object as a host drives it: one
// instance, every content built in its real order, the manual clock and a fixed band signal,
// the playlist walked with track changes. Two pictures a mode, at fixed times after it starts.
//
//   viz_reference --check DIR [--out DIR] [--modes N]
//                                            compares with the pictures in DIR; the pictures
//                                            drawn, and where they differ a difference picture,
//                                            go to --out; --modes stops the lap after its first
//                                            N modes (an emulated processor draws a frame in a
//                                            second)
//   viz_reference --write DIR [--sheet PNG] [--docs DIR]
//                                            writes the pictures to DIR, their contact sheet to
//                                            --sheet and the family sheets of the README to --docs
//
// Faults between the parts (one renderer's constructor changing another's GL objects) pass every
// test that builds a part alone; they show here, as pictures a reviewer can look at.
#include <GLES3/gl3.h>
#include <stb_image.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "contact_sheet.h"
#include "frame_scaler.h"
#include "headless_gl.h"
#include "library_api.h"
#include "platform.h"

namespace {

constexpr uint32_t kWidth = 256;
constexpr uint32_t kHeight = 144;
constexpr uint32_t kDocsWidth = 384;
constexpr uint32_t kDocsHeight = 216;
constexpr uint32_t kScreenWidth = 1920;
constexpr uint32_t kScreenHeight = 1080;
constexpr long long kFrameNs = 16'666'667;
// The host calls a frame for every fourth video frame: the animation steps by a 15th of a
// second, within the library's longest frame, and the lap costs a quarter of the drawing.
constexpr int kFramesPerCall = 4;
constexpr int kBands = 32;
constexpr int kCallsPerSecond = 60 / kFramesPerCall;
// The first mode plays after the intro (1.5 s idle, 3 s fade-in); the others after a track
// change, whose cross-fade lasts a second.
constexpr int kFirstModeStart = 5 * kCallsPerSecond;
constexpr int kPictureAt[2] = {kCallsPerSecond * 3 / 2, kCallsPerSecond * 4};
constexpr const char* kPictureName[2] = {"a", "b"};
constexpr int kModeCount = 31;
const std::string kModeLine = "[ContentPlayer][setContentMode] Mode next: ";

// A pixel differs when a channel is off by more than this; a picture fails when more than
// kMaxDiffering of its pixels differ. A face of a cube, a ring's segment or a point sprite
// moved by one pixel is well over it; the rasteriser's rounding on another processor is not.
constexpr int kChannelTolerance = 8;
constexpr double kMaxDiffering = 0.002;

struct Picture {
    std::string mode;
    int index;
    std::vector<uint8_t> pixels;      // kWidth x kHeight
    std::vector<uint8_t> docsPixels;  // kDocsWidth x kDocsHeight
    std::string file() const { return mode + "-" + kPictureName[index] + ".png"; }
};

struct LogLines {
    std::vector<std::string> lines;
    static void sink(int, const char*, const char* message, void* user) {
        static_cast<LogLines*>(user)->lines.emplace_back(message);
    }
};

// Bands of half-second beats over a spectrum that swells and moves, bass louder than treble;
// the same at every run.
void bandsAt(int videoFrame, float (&bands)[kBands]) {
    const float t = static_cast<float>(videoFrame) / 60.0f;
    const float beat = std::fmod(t, 0.5f) < 0.06f ? 1.0f : 0.0f;
    for (int b = 0; b < kBands; ++b) {
        const float tilt = -20.0f * static_cast<float>(b) / kBands;
        // The sine in double, rounded once: the browser's test computes the same bands, and
        // float sines differ between C libraries in their last bit.
        const float wave = static_cast<float>(std::sin(static_cast<double>(t * 1.7f + 0.4f * b)));
        const float swell = 18.0f * (0.5f + 0.5f * wave);
        bands[b] = -75.0f + tilt + swell + (b < 8 ? 30.0f : 12.0f) * beat;
    }
}

void makeOpaque(std::vector<uint8_t>& rgba) {
    for (size_t i = 3; i < rgba.size(); i += 4) {
        rgba[i] = 255;
    }
}

// Whether the pixel at byte `i` of `a` and `b` has a colour channel off by more than the tolerance.
bool pixelDiffers(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t i) {
    return std::abs(int(a[i]) - int(b[i])) > kChannelTolerance ||
           std::abs(int(a[i + 1]) - int(b[i + 1])) > kChannelTolerance ||
           std::abs(int(a[i + 2]) - int(b[i + 2])) > kChannelTolerance;
}

// Pixels of `a` and `b` (equal sizes) whose colours are farther apart than the tolerance.
size_t differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    size_t count = 0;
    for (size_t i = 0; i + 3 < a.size(); i += 4) {
        count += pixelDiffers(a, b, i);
    }
    return count;
}

bool fails(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    return static_cast<double>(differing(a, b)) > kMaxDiffering * kWidth * kHeight;
}

// The picture moved one pixel to the right, its first column repeated.
std::vector<uint8_t> shifted(const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out(rgba);
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t x = kWidth - 1; x > 0; --x) {
            std::memcpy(&out[(y * kWidth + x) * 4], &rgba[(y * kWidth + x - 1) * 4], 4);
        }
    }
    return out;
}

// Differing pixels in red over a dimmed copy of the expected picture.
std::vector<uint8_t> differencePicture(const std::vector<uint8_t>& expected,
                                       const std::vector<uint8_t>& actual) {
    std::vector<uint8_t> out(expected.size());
    for (size_t i = 0; i + 3 < expected.size(); i += 4) {
        const bool off = pixelDiffers(expected, actual, i);
        for (int c = 0; c < 3; ++c) {
            out[i + c] = off ? (c == 0 ? 255 : 0) : static_cast<uint8_t>(expected[i + c] / 4);
        }
        out[i + 3] = 255;
    }
    return out;
}

bool readPng(const std::string& path, std::vector<uint8_t>& rgba) {
    int w = 0, h = 0, channels = 0;
    stbi_uc* data = stbi_load(path.c_str(), &w, &h, &channels, 4);
    if (data == nullptr) {
        return false;
    }
    const bool fits = w == int(kWidth) && h == int(kHeight);
    if (fits) {
        rgba.assign(data, data + size_t(w) * size_t(h) * 4);
    }
    stbi_image_free(data);
    return fits;
}

std::string family(const std::string& mode) {
    for (const char* name : {"CUBES", "RING", "LINES", "KALEIDOSCOPE"}) {
        if (mode.find(std::string("_2021_") + name + "_") != std::string::npos) {
            std::string lower(name);
            std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
            return lower;
        }
    }
    return "2020";
}

bool checkGl(const char* when, std::string& error) {
    const GLenum e = glGetError();
    if (e == GL_NO_ERROR) {
        return true;
    }
    char text[96];
    std::snprintf(text, sizeof text, "GL error 0x%04x %s", e, when);
    error = text;
    return false;
}

// Plays the lap and takes the pictures; false with a sentence in `error` when it cannot.
bool drawPictures(const std::string& libraryPath, size_t modes, std::vector<Picture>& pictures,
                  std::string& error) {
    vizhost::LoadedLibrary library;
    if (!library.load(libraryPath, error)) {
        return false;
    }
    const vizhost::LibraryApi& api = library.api();
    headless::Target target(kScreenWidth, kScreenHeight);
    vizhost::FrameScaler scaler(kWidth, kHeight);
    vizhost::FrameScaler docsScaler(kDocsWidth, kDocsHeight);
    LogLines log;
    platform_log_set_sink(&LogLines::sink, &log);
    platform_clock_set_manual(7'000'000'000LL);

    target.bind();
    api.updateSpeakerInfo(0);
    api.onCreateGlApp("res", 0);

    int videoFrame = 0;
    size_t logRead = 0;
    std::string mode;
    bool ok = true;
    const auto play = [&](int calls) {
        float bands[kBands];
        for (int i = 0; ok && i < calls; ++i) {
            videoFrame += kFramesPerCall;
            bandsAt(videoFrame, bands);
            const BandsInfo info{kBands, bands};
            api.updateBandsInfo(&info);
            platform_clock_advance(kFramesPerCall * kFrameNs);
            target.bind();
            api.onUpdateGlApp();
            ok = checkGl(("in " + (mode.empty() ? std::string("the intro") : mode)).c_str(), error);
        }
        for (; logRead < log.lines.size(); ++logRead) {
            const std::string& line = log.lines[logRead];
            if (line.rfind(kModeLine, 0) == 0) {
                mode = line.substr(kModeLine.size());
            }
            if (line.find("GL ERROR") != std::string::npos) {
                error = "the library logged \"" + line + "\"";
                ok = false;
            }
        }
        return ok;
    };
    const auto take = [&](int index) {
        Picture picture{mode, index, {}, {}};
        scaler.scale(target, picture.pixels);
        makeOpaque(picture.pixels);
        docsScaler.scale(target, picture.docsPixels);
        makeOpaque(picture.docsPixels);
        pictures.push_back(std::move(picture));
        std::fprintf(stderr, "\rviz_reference: %zu/%zu pictures", pictures.size(), 2 * modes);
        std::fflush(stderr);
    };

    // A lap of the shuffled playlist may start past its first mode, and the next lap is shuffled
    // anew: track changes go on until every mode has been seen, passing quickly over those seen.
    std::map<std::string, int> seen;
    for (int change = 0; ok && seen.size() < modes && change < 4 * kModeCount; ++change) {
        if (change == 0) {
            ok = play(kFirstModeStart);
        } else {
            api.updateTrackChange();
            ok = play(1);
        }
        if (ok && seen.count(mode) != 0) {
            ok = play(kCallsPerSecond);  // the library takes a change half a second after the last
            continue;
        }
        int played = change == 0 ? 0 : 1;
        for (int index = 0; ok && index < 2; ++index) {
            ok = play(kPictureAt[index] - played);
            played = kPictureAt[index];
            if (ok) {
                ++seen[mode];
                take(index);
            }
        }
    }
    std::fprintf(stderr, "\n");
    api.onTerminateGlApp();
    platform_clock_set_real();
    platform_log_set_sink(nullptr, nullptr);
    if (ok && seen.size() != modes) {
        error = "the lap showed " + std::to_string(seen.size()) + " modes, not " +
                std::to_string(modes);
        ok = false;
    }
    return ok && checkGl("when the instance was deleted", error);
}

bool writeSheet(const std::vector<const Picture*>& pictures, bool docs, uint32_t columns,
                const std::string& path) {
    const uint32_t width = docs ? kDocsWidth : kWidth;
    const uint32_t height = docs ? kDocsHeight : kHeight;
    vizhost::ContactSheet sheet(width, height, columns, uint32_t(pictures.size()));
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Picture& p = *pictures[i];
        sheet.place(uint32_t(i), (docs ? p.docsPixels : p.pixels).data(),
                    docs ? p.mode : p.mode + " " + kPictureName[p.index]);
    }
    const bool written = sheet.write(path);
    if (!written) {
        std::fprintf(stderr, "viz_reference: cannot write %s\n", path.c_str());
    }
    return written;
}

int write(const std::vector<Picture>& pictures, const std::string& dir, const std::string& sheet,
          const std::string& docs) {
    std::vector<Picture> sorted(pictures);
    std::sort(sorted.begin(), sorted.end(), [](const Picture& a, const Picture& b) {
        return std::make_pair(a.mode, a.index) < std::make_pair(b.mode, b.index);
    });
    std::vector<const Picture*> all;
    for (const Picture& p : sorted) {
        const std::string path = dir + "/" + p.file();
        if (!headless::writePng(path, kWidth, kHeight, p.pixels.data())) {
            std::fprintf(stderr, "viz_reference: cannot write %s\n", path.c_str());
            return 1;
        }
        const size_t shift = differing(p.pixels, shifted(p.pixels));
        std::printf("%s %s: a one-pixel shift changes %zu pixels\n",
                    fails(p.pixels, shifted(p.pixels)) ? "ok  " : "FLAT", p.file().c_str(), shift);
        all.push_back(&p);
    }
    std::printf("viz_reference: %zu pictures in %s\n", sorted.size(), dir.c_str());
    if (!sheet.empty()) {
        if (!writeSheet(all, false, 8, sheet)) {
            return 1;
        }
        std::printf("viz_reference: %s\n", sheet.c_str());
    }
    if (docs.empty()) {
        return 0;
    }
    // The README's sheets show each mode's second picture, family by family.
    const std::pair<const char*, uint32_t> families[] = {
        {"2020", 4}, {"cubes", 3}, {"ring", 3}, {"lines", 3}, {"kaleidoscope", 5}};
    for (const auto& [name, columns] : families) {
        std::vector<const Picture*> members;
        for (const Picture& p : sorted) {
            if (p.index == 1 && family(p.mode) == name) {
                members.push_back(&p);
            }
        }
        const std::string path = docs + "/gallery-" + name + ".png";
        if (!writeSheet(members, true, columns, path)) {
            return 1;
        }
        std::printf("viz_reference: %s\n", path.c_str());
    }
    return 0;
}

int check(const std::vector<Picture>& pictures, const std::string& dir, const std::string& out) {
    int failed = 0;
    std::vector<Picture> drawn;
    for (const Picture& p : pictures) {
        std::vector<uint8_t> expected;
        if (!readPng(dir + "/" + p.file(), expected)) {
            std::printf("MISSING  %s (make reference-pictures writes it)\n", p.file().c_str());
            ++failed;
            continue;
        }
        // The comparison must be able to fail: a picture too flat to show a one-pixel shift
        // would let a broken mode pass.
        if (!fails(expected, shifted(expected))) {
            std::printf("FLAT     %s cannot show a one-pixel shift\n", p.file().c_str());
            ++failed;
        }
        const size_t count = differing(expected, p.pixels);
        const bool bad = fails(expected, p.pixels);
        std::printf("%s %s: %zu of %u pixels differ\n", bad ? "DIFFERS " : "ok      ",
                    p.file().c_str(), count, kWidth * kHeight);
        if (bad) {
            ++failed;
            if (!out.empty()) {
                headless::writePng(out + "/" + p.mode + "-" + kPictureName[p.index] + "-diff.png",
                                   kWidth, kHeight, differencePicture(expected, p.pixels).data());
            }
        }
        if (!out.empty()) {
            headless::writePng(out + "/" + p.file(), kWidth, kHeight, p.pixels.data());
        }
    }
    if (!out.empty()) {
        std::vector<const Picture*> all;
        for (const Picture& p : pictures) {
            all.push_back(&p);
        }
        writeSheet(all, false, 8, out + "/sheet.png");
    }
    std::printf("viz_reference: %d of %zu pictures fail%s%s\n", failed, pictures.size(),
                out.empty() ? "" : "; the pictures drawn are in ", out.c_str());
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode, dir, out, sheet, docs;
    std::string library = VIZ_LIBRARY_PATH;
    std::string modesValue = std::to_string(kModeCount);
    const std::map<std::string, std::string*> values = {
        {"--check", &dir}, {"--write", &dir},       {"--out", &out},         {"--sheet", &sheet},
        {"--docs", &docs}, {"--library", &library}, {"--modes", &modesValue}};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (values.count(option) == 0) {
            mode.clear();
            break;
        }
        *values.at(option) = argv[i + 1];
        mode = option == "--check" || option == "--write" ? option : mode;
    }
    const int modes = std::atoi(modesValue.c_str());
    if (mode.empty() || argc % 2 == 0 || modes < 1 || modes > kModeCount ||
        (mode == "--write" && modes != kModeCount)) {
        std::fprintf(
            stderr,
            "usage: viz_reference --check DIR [--out DIR] [--modes 1..31] [--library PATH]\n"
            "       viz_reference --write DIR [--sheet PNG] [--docs DIR] [--library PATH]\n");
        return 2;
    }
    // The library finds its resources relative to the working directory, which moves to the
    // source tree; the folders given stay where the user meant them.
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) {
        return 1;
    }
    for (std::string* path : {&dir, &out, &sheet, &docs}) {
        if (!path->empty() && (*path)[0] != '/') {
            *path = std::string(cwd) + "/" + *path;
        }
    }
    if (!out.empty()) {
        mkdir(out.c_str(), 0755);  // its parent exists: the build tree or the user's folder
    }
    if (chdir(VIZ_SOURCE_DIR) != 0) {
        std::fprintf(stderr, "viz_reference: cannot change to %s\n", VIZ_SOURCE_DIR);
        return 1;
    }
    headless::Context context;
    if (!context.create()) {
        std::fprintf(stderr, "viz_reference: no OpenGL ES 3.0 context: %s\n",
                     context.error().c_str());
        return 1;
    }
    std::vector<Picture> pictures;
    std::string error;
    if (!drawPictures(library, size_t(modes), pictures, error)) {
        std::fprintf(stderr, "viz_reference: %s\n", error.c_str());
        return 1;
    }
    return mode == "--write" ? write(pictures, dir, sheet, docs) : check(pictures, dir, out);
}
