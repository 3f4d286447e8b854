// The command line of vizhost.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "visualization/types.h"

namespace vizhost {

struct HostOptions {
    std::vector<std::string> files;  // empty: the built-in demo song
    bool window = false;
    std::string out;        // .mp4 through ffmpeg; empty: no video
    std::string frames;     // directory for one PNG per frame; empty: none
    std::string still;      // one PNG of the frame at stillAt
    float stillAt = -1.0f;  // seconds; negative: 70 % into the render
    uint32_t width = 0;     // output size; 0: the default for the orientation
    uint32_t height = 0;
    float duration = -1.0f;  // seconds; negative: all of the music
    uint32_t bands = 16;
    SpeakerInfo speaker = SpeakerInfo::TV_1;
    RotateInfo orientation = RotateInfo::Landscape;
    std::vector<float> rotateAt;  // seconds, ascending
    std::string library;          // empty: next to the program
    std::string resources;        // empty: the source tree's res/
    std::string log;              // the library's log lines: a file, "-" for stderr, or none
    std::string writeDemo;        // write the demo song as a WAV file and stop
    // The diagnostic library's switches: the analyzer view ("1" or "compact"; empty: none) and
    // the file the bands are recorded to. Either one loads the diagnostic library by default.
    std::string analyzer;
    std::string recordBands;
    bool progress = true;
    bool help = false;
};

// Parses the arguments (without the program name). On a bad argument returns false with one
// sentence in `error`. With no arguments at all the host renders the demo song to
// out/demo.mp4 and out/demo.png.
bool parseHostOptions(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error);

const char* hostUsage();

// The file name of the library the host loads by default: the diagnostic build when a
// diagnostic option asks for it.
const char* defaultLibraryName(const HostOptions& options);

}  // namespace vizhost
