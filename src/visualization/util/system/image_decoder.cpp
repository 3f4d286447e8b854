#include "visualization/util/system/image_decoder.h"

#include "visualization/util/system/decode_arena.h"

#define STBI_MALLOC(size) fs::decoderAllocate(size)
#define STBI_REALLOC(block, size) fs::decoderReallocate(block, size)
#define STBI_FREE(block) fs::decoderFree(block)
#define STBIR_MALLOC(size, context) ((void)(context), fs::decoderAllocate(size))
#define STBIR_FREE(block, context) ((void)(context), fs::decoderFree(block))

// Third-party code, compiled as it is: only its own warnings are silenced.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wtype-limits"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>
#pragma GCC diagnostic pop

namespace fs {
namespace decoder {

bool info(const uint8_t* bytes, int size, int* width, int* height, int* channels) {
    return stbi_info_from_memory(bytes, size, width, height, channels) != 0;
}

unsigned char* load(const uint8_t* bytes, int size, int* width, int* height, int* channels) {
    return stbi_load_from_memory(bytes, size, width, height, channels, 0);
}

void release(unsigned char* pixels) {
    stbi_image_free(pixels);
}

bool resize(const unsigned char* source, int sourceWidth, int sourceHeight, unsigned char* target,
            int targetWidth, int targetHeight, int channels, bool box) {
    return stbir_resize_uint8_generic(source, sourceWidth, sourceHeight, 0, target, targetWidth,
                                      targetHeight, 0, channels, STBIR_ALPHA_CHANNEL_NONE, 0,
                                      STBIR_EDGE_WRAP,
                                      box ? STBIR_FILTER_BOX : STBIR_FILTER_DEFAULT,
                                      STBIR_COLORSPACE_LINEAR, nullptr) != 0;
}

}  // namespace decoder
}  // namespace fs
