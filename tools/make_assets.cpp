// Writes the generated images into a resource image directory:
//   viz-make-assets [directory]      (default: res/images of the source tree)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "asset_images.h"

int main(int argc, char** argv) {
    const std::filesystem::path directory = argc > 1 ? argv[1] : VIZ_DEFAULT_IMAGE_DIR;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::fprintf(stderr, "viz-make-assets: cannot create %s: %s\n", directory.c_str(),
                     error.message().c_str());
        return 1;
    }
    for (const assets::NamedImage& named : assets::makeAllImages()) {
        const std::vector<uint8_t> png = assets::encodePng(named.image);
        const std::filesystem::path path = directory / named.fileName;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(png.data()),
                  static_cast<std::streamsize>(png.size()));
        if (png.empty() || !out) {
            std::fprintf(stderr, "viz-make-assets: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s (%ux%u, %u channels, %zu bytes)\n", path.c_str(), named.image.width,
                    named.image.height, named.image.channels, png.size());
    }
    return 0;
}
