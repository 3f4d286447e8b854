#include "host_options.h"

#include <algorithm>
#include <cstdlib>

#include "option_parsing.h"

namespace vizhost {

namespace {

bool parseUnsigned(const std::string& text, uint32_t& value) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    value = uint32_t(std::strtoul(text.c_str(), nullptr, 10));
    return true;
}

bool parseSize(const std::string& text, uint32_t& width, uint32_t& height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) {
        return false;
    }
    uint32_t w = 0;
    uint32_t h = 0;
    if (!parseUnsigned(text.substr(0, x), w) || !parseUnsigned(text.substr(x + 1), h)) {
        return false;
    }
    // Even sizes: the video encoder subsamples colour by two in both directions.
    if (w < 16 || h < 16 || w > 7680 || h > 7680 || w % 2 != 0 || h % 2 != 0) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
    }
    return text;
}

std::string speakerNames() {
    std::string names;
    for (const auto& entry : SpeakerInfoNames) {
        names += (names.empty() ? "" : ", ") + entry.second;
    }
    return names;
}

}  // namespace

const char* hostUsage() {
    return "usage: vizhost [options] [music files...]\n"
           "\n"
           "Plays music files (WAV, FLAC, Ogg, MP3, ...) as a playlist through the\n"
           "visualisation library. Without files it plays its built-in demo song; without\n"
           "any arguments it renders the demo song to out/demo.mp4 and out/demo.png.\n"
           "\n"
           "Offline rendering (the default; every frame is exactly 1/60 s of music):\n"
           "  --out FILE.mp4        write a video with the music (needs the ffmpeg program)\n"
           "  --frames DIR          write every frame as DIR/frame_NNNNNN.png\n"
           "  --still FILE.png      write the frame at --still-at as a picture\n"
           "  --still-at SECONDS    time of that frame (default: 70% into the render)\n"
           "  --size WxH            output size (default 1280x720, 720x1280 in portrait)\n"
           "  --duration SECONDS    stop after this much music\n"
           "  --no-progress         no progress bar\n"
           "\n"
           "Live:\n"
           "  --window              show the picture in a window and play the sound\n"
           "                        (keys: N next track, R rotate, Q or Escape quit)\n"
           "\n"
           "Device:\n"
           "  --orientation landscape|portrait   screen orientation at start\n"
           "  --speaker NAME        speaker layout: TV_1 (default), TV_2, TV_3, TV_SoundBar_1,\n"
           "                        TV_SoundBar_2, TV_SoundBar_3, SoundBar_1, SoundBar_2,\n"
           "                        SoundBar_3, Kiro\n"
           "  --rotate-at SECONDS   turn the screen at this time (may be repeated)\n"
           "  --bands N             number of frequency bands sent per frame (default 16)\n"
           "\n"
           "Diagnostics (load libvisualization-diagnostics.so unless --library is given):\n"
           "  --analyzer[=compact]  draw the analyzer view and the frame-rate graph over the\n"
           "                        picture (compact: without the band panel)\n"
           "  --record-bands FILE   record the band levels sent to the library to FILE\n"
           "\n"
           "Setup:\n"
           "  --library FILE        the library to load (default: the installed one, or the\n"
           "                        one built beside the program's directory)\n"
           "  --res DIR             the resource directory (default: the installed one, or\n"
           "                        the source tree's res/)\n"
           "  --log FILE|-          append the library's log lines to FILE, or '-' for stderr\n"
           "  --write-demo FILE.wav write the demo song as a WAV file and stop\n"
           "  --help                this text\n";
}

const char* defaultLibraryName(const HostOptions& options) {
    return options.analyzer.empty() && options.recordBands.empty()
               ? "libvisualization.so"
               : "libvisualization-diagnostics.so";
}

bool parseHostOptions(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error) {
    options = HostOptions{};
    if (args.empty()) {
        options.out = "out/demo.mp4";
        options.still = "out/demo.png";
    }
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-' || arg == "--") {
            if (arg == "--") {
                options.files.insert(options.files.end(), args.begin() + i + 1, args.end());
                break;
            }
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--window") {
            options.window = true;
            continue;
        }
        if (arg == "--no-progress") {
            options.progress = false;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (parseAnalyzerOption(arg, options.analyzer, error)) {
            if (!error.empty()) {
                return false;
            }
            continue;
        }
        const std::string* valued =
            optionValue(args, i,
                        {"--out", "--frames", "--still", "--still-at", "--size", "--duration",
                         "--bands", "--speaker", "--orientation", "--rotate-at", "--library",
                         "--res", "--log", "--write-demo", "--record-bands"},
                        error);
        if (valued == nullptr) {
            return false;
        }
        const std::string& value = *valued;
        if (arg == "--out") {
            options.out = value;
        } else if (arg == "--frames") {
            options.frames = value;
        } else if (arg == "--still") {
            options.still = value;
        } else if (arg == "--still-at") {
            if (!parseFloat(value, options.stillAt) || options.stillAt < 0.0f) {
                error = "--still-at takes a time in seconds, not '" + value + "'";
                return false;
            }
        } else if (arg == "--size") {
            if (!parseSize(value, options.width, options.height)) {
                error = "--size takes WIDTHxHEIGHT with even numbers from 16 to 7680, not '" +
                        value + "'";
                return false;
            }
        } else if (arg == "--duration") {
            if (!parseFloat(value, options.duration) || options.duration <= 0.0f) {
                error = "--duration takes a positive number of seconds, not '" + value + "'";
                return false;
            }
        } else if (arg == "--bands") {
            if (!parseUnsigned(value, options.bands) || options.bands < 1 || options.bands > 256) {
                error = "--bands takes a number from 1 to 256, not '" + value + "'";
                return false;
            }
        } else if (arg == "--speaker") {
            const auto found = SpeakerInfoValues.find(value);
            if (found == SpeakerInfoValues.end()) {
                error = "unknown speaker layout '" + value + "' (known: " + speakerNames() + ")";
                return false;
            }
            options.speaker = found->second;
        } else if (arg == "--orientation") {
            const std::string name = lower(value);
            if (name == "landscape") {
                options.orientation = RotateInfo::Landscape;
            } else if (name == "portrait") {
                options.orientation = RotateInfo::Portrait;
            } else {
                error = "--orientation takes landscape or portrait, not '" + value + "'";
                return false;
            }
        } else if (arg == "--rotate-at") {
            float at = 0.0f;
            if (!parseFloat(value, at) || at < 0.0f) {
                error = "--rotate-at takes a time in seconds, not '" + value + "'";
                return false;
            }
            options.rotateAt.push_back(at);
        } else if (arg == "--library") {
            options.library = value;
        } else if (arg == "--res") {
            options.resources = value;
        } else if (arg == "--log") {
            options.log = value;
        } else if (arg == "--write-demo") {
            options.writeDemo = value;
        } else if (arg == "--record-bands") {
            options.recordBands = value;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    std::sort(options.rotateAt.begin(), options.rotateAt.end());
    if (options.width == 0) {
        const bool portrait = options.orientation == RotateInfo::Portrait;
        options.width = portrait ? 720 : 1280;
        options.height = portrait ? 1280 : 720;
    }
    if (options.window &&
        (!options.out.empty() || !options.frames.empty() || !options.still.empty())) {
        error =
            "--window plays live and writes nothing: leave out --out, --frames and --still, or "
            "--window";
        return false;
    }
    if (!options.window && options.out.empty() && options.frames.empty() && options.still.empty() &&
        options.writeDemo.empty() && !options.help) {
        error = "nothing to write: give --out, --frames or --still, or --window to watch";
        return false;
    }
    return true;
}

}  // namespace vizhost
