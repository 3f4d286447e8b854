// Writes the distance-field font into a resource font directory:
//   viz-make-font [directory] [font file]
//   (defaults: res/fonts/replica of the source tree, DejaVu Sans of fonts-dejavu-core)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "font_atlas.h"

namespace {

bool writeFile(const std::filesystem::path& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::fprintf(stderr, "viz-make-font: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path directory = argc > 1 ? argv[1] : VIZ_DEFAULT_FONT_DIR;
    const std::string fontPath = argc > 2 ? argv[2] : VIZ_DEFAULT_FONT_FILE;
    const assets::FontAtlas atlas = assets::makeFontAtlas(fontPath);
    if (!atlas.error.empty()) {
        std::fprintf(stderr, "viz-make-font: %s\n", atlas.error.c_str());
        return 1;
    }
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::fprintf(stderr, "viz-make-font: cannot create %s: %s\n", directory.c_str(),
                     error.message().c_str());
        return 1;
    }
    const std::vector<uint8_t> png = assets::encodePng(atlas.image);
    if (png.empty() || !writeFile(directory / "replica.png", png.data(), png.size()) ||
        !writeFile(directory / "replica.json", atlas.json.data(), atlas.json.size())) {
        return 1;
    }
    std::printf("%s/replica.png (%ux%u, %zu bytes) and replica.json (%zu bytes)\n",
                directory.c_str(), atlas.image.width, atlas.image.height, png.size(),
                atlas.json.size());
    return 0;
}
