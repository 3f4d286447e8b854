#include "gallery_options.h"

#include <algorithm>
#include <cmath>

#include "option_parsing.h"

namespace vizhost {

namespace {

bool parseNumber(const std::string& text, float low, float high, float& value) {
    float v = 0.0f;
    if (!parseFloat(text, v) || v < low || v > high) {
        return false;
    }
    value = v;
    return true;
}

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = char(c - 'a' + 'A');
        }
    }
    return text;
}

bool addModes(const std::string& list, std::vector<ContentMode>& modes, std::string& error) {
    size_t begin = 0;
    while (begin <= list.size()) {
        size_t end = list.find(',', begin);
        if (end == std::string::npos) {
            end = list.size();
        }
        const std::string name = upper(list.substr(begin, end - begin));
        begin = end + 1;
        if (name.empty()) {
            continue;
        }
        const auto found = ContentModeValues.find(name);
        if (found == ContentModeValues.end() || found->second == ContentMode::NONE) {
            error = "unknown mode '" + name + "' (see vizgallery --help for the names)";
            return false;
        }
        if (std::find(modes.begin(), modes.end(), found->second) == modes.end()) {
            modes.push_back(found->second);
        }
    }
    return true;
}

}  // namespace

const char* galleryUsage() {
    return "usage: vizgallery [options] [MODE[,MODE...]...]\n"
           "\n"
           "Plays each content mode alone for a few seconds of the demo song (or of a music\n"
           "file) and writes a contact sheet: one labelled picture per mode. Without modes it\n"
           "shows all 31. Mode names are those of the library, as CONTENT_2021_RING_VERSION_3\n"
           "(any case).\n"
           "\n"
           "  --out FILE.png     the contact sheet (default out/gallery.png)\n"
           "  --each DIR         also write DIR/<MODE>.png at 960x540 for each mode\n"
           "  --seconds S        how long each mode plays (default 3)\n"
           "  --music FILE       play this music file (WAV, FLAC, Ogg, MP3, ...) instead of the\n"
           "                     demo song\n"
           "  --at SECONDS       where in the music it starts (default 33 in the one-minute demo\n"
           "                     song, a third of the way into a music file)\n"
           "  --display-mode default|aod   the normal look or the always-on look\n"
           "  --analyzer[=compact]         draw the analyzer view over each mode\n"
           "  --columns N        cells per row (default 6)\n"
           "  --cell WxH         size of a cell (default 384x216)\n"
           "  --res DIR          the resource directory (default: the installed one, or the\n"
           "                     source tree's res/)\n"
           "  --log FILE|-       append the library's log lines to FILE, or '-' for stderr\n"
           "  --help             this text\n";
}

bool parseGalleryOptions(const std::vector<std::string>& args, GalleryOptions& options,
                         std::string& error) {
    options = GalleryOptions{};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg.empty() || arg[0] != '-') {
            if (!addModes(arg, options.modes, error)) {
                return false;
            }
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
                        {"--out", "--each", "--seconds", "--at", "--columns", "--cell", "--res",
                         "--log", "--music", "--display-mode"},
                        error);
        if (valued == nullptr) {
            return false;
        }
        const std::string& value = *valued;
        float number = 0.0f;
        if (arg == "--out") {
            options.out = value;
        } else if (arg == "--each") {
            options.each = value;
        } else if (arg == "--res") {
            options.resources = value;
        } else if (arg == "--log") {
            options.log = value;
        } else if (arg == "--music") {
            options.music = value;
        } else if (arg == "--display-mode") {
            const auto found = DisplayModeValues.find(upper(value));
            if (found == DisplayModeValues.end()) {
                error = "--display-mode takes default or aod, not '" + value + "'";
                return false;
            }
            options.displayMode = found->second;
        } else if (arg == "--seconds") {
            if (!parseNumber(value, 0.05f, 60.0f, options.seconds)) {
                error = "--seconds takes 0.05 to 60, not '" + value + "'";
                return false;
            }
        } else if (arg == "--at") {
            if (!parseNumber(value, 0.0f, 3600.0f, options.at)) {
                error = "--at takes a time in seconds, not '" + value + "'";
                return false;
            }
        } else if (arg == "--columns") {
            if (!parseNumber(value, 1.0f, 31.0f, number) || number != std::floor(number)) {
                error = "--columns takes a whole number from 1 to 31, not '" + value + "'";
                return false;
            }
            options.columns = uint32_t(number);
        } else if (arg == "--cell") {
            const size_t x = value.find('x');
            float w = 0.0f;
            float h = 0.0f;
            if (x == std::string::npos || !parseNumber(value.substr(0, x), 32.0f, 1920.0f, w) ||
                !parseNumber(value.substr(x + 1), 18.0f, 1920.0f, h) || w != std::floor(w) ||
                h != std::floor(h)) {
                error = "--cell takes WIDTHxHEIGHT from 32x18 to 1920x1920, not '" + value + "'";
                return false;
            }
            options.cellWidth = uint32_t(w);
            options.cellHeight = uint32_t(h);
        }
    }
    return true;
}

}  // namespace vizhost
