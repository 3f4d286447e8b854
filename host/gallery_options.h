// The command line of vizgallery.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "visualization/types.h"

namespace vizhost {

struct GalleryOptions {
    std::vector<ContentMode> modes;  // empty: all playable modes
    std::string out = "out/gallery.png";
    std::string each;      // directory for one full picture per mode; empty: none
    float seconds = 3.0f;  // how long each mode plays before its picture is taken
    float at = -1.0f;      // where in the music it starts; negative: 33 s into the demo song,
                           // a third into a music file
    std::string music;     // a music file to play instead of the demo song
    DisplayMode displayMode = DisplayMode::DEFAULT;
    std::string analyzer;  // the analyzer view over each mode: "1" or "compact"; empty: none
    uint32_t columns = 6;
    uint32_t cellWidth = 384;
    uint32_t cellHeight = 216;
    std::string resources;  // empty: the source tree's res/
    std::string log;        // the library's log lines: a file, "-" for stderr, or none
    bool help = false;
};

bool parseGalleryOptions(const std::vector<std::string>& args, GalleryOptions& options,
                         std::string& error);

const char* galleryUsage();

}  // namespace vizhost
