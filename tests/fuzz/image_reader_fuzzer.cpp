// Hands the input to every reader of image files as an image asset: the texture loader's decode
// (fs::loadTextureData), texture creation and redefinition from a file with each requested
// format, and the kaleidoscope's photograph upload, decoded on the spot or ahead on its worker.
// Checks what the sanitizers cannot see: GL reads the decoded pixels outside their reach, so the
// rows it will read (at the unpack alignment in use) must lie within the decoder's allocation,
// and no call may leave a GL error.
#include <GLES3/gl3.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "headless_fuzzing.h"
#include "visualization/content/2021/kaleidoscope/image_loader.h"
#include "visualization/content/2021/kaleidoscope/renderer.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/gl/texture_2d.h"
#include "visualization/util/system/fs.h"

namespace {

content2021::kaleidoscope::Renderer* gRenderer = nullptr;
content2021::kaleidoscope::ImageLoader* gLoader = nullptr;

[[noreturn]] void fail(const char* what, int a = 0, int b = 0, int c = 0) {
    std::fprintf(stderr, "%s (%d, %d, %d)\n", what, a, b, c);
    std::abort();
}

void checkNoGlError(const char* after) {
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        fail(after, static_cast<int>(error));
    }
}

// The bytes GL reads for an image of these rows at this unpack alignment.
size_t uploadExtent(int width, int height, int channels, int alignment) {
    const size_t row = static_cast<size_t>(width) * static_cast<size_t>(channels);
    const size_t stride = (row + static_cast<size_t>(alignment) - 1) /
                          static_cast<size_t>(alignment) * static_cast<size_t>(alignment);
    return stride * static_cast<size_t>(height - 1) + row;
}

void checkDecode(const char* path) {
    int width = -1;
    int height = -1;
    int channels = -1;
    fs::TextureData pixels = fs::loadTextureData(path, &width, &height, &channels);
    if (pixels == nullptr) {
        return;
    }
    if (width <= 0 || height <= 0 || channels < 1 || channels > 4) {
        fail("decoded image with an impossible shape", width, height, channels);
    }
    // The pixels live in the decoder's own mapping, outside the heap the address checker
    // watches: reading every byte GL will read at least finds a shape that runs past it.
    const size_t extent = uploadExtent(width, height, channels, 1);
    volatile uint8_t sum = 0;
    for (size_t i = 0; i < extent; ++i) {
        sum = static_cast<uint8_t>(sum + pixels.get()[i]);
    }
}

// GL keeps what it was given; the texture records what it holds, and GL reads only within the
// pixels the decoder gave.
void checkTextureFromFile(const char* relativePath, GLenum requested, bool mipmap) {
    gl::Texture2dConfig config;
    config.format = requested;
    config.internalFormat = requested;
    config.generateMipmap = mipmap;
    gl::Texture2d* texture = gl::createTexture2d(relativePath, config);
    checkNoGlError("createTexture2d from a file");
    gl::activeTexture(0);
    gl::bindTexture2d(texture);
    gl::texImage2d(relativePath, mipmap);
    checkNoGlError("texImage2d from a file");
    gl::deleteTexture2d(texture);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::enterTemporaryDirectory("image");
    fs::setResourcePath(".");
    fuzzing::startHeadlessGl(16, 16);
    gRenderer = new content2021::kaleidoscope::Renderer(16, 16);
    gLoader = new content2021::kaleidoscope::ImageLoader();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The renderer skips a photograph it shows already, so inputs take turns between two names.
    static unsigned turn = 0;
    const std::string name = (++turn % 2) != 0 ? "image_a.png" : "image_b.jpg";
    FILE* file = std::fopen(name.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        fail("cannot write the image file");
    }
    // The request comes from the bytes' length, not their content, which stays a plain file.
    static const GLenum kFormats[] = {GL_RGBA, GL_RGB, GL_LUMINANCE, GL_ALPHA};
    const GLenum requested = kFormats[size % 4];
    const bool mipmap = (size / 4) % 2 != 0;
    const bool ahead = (size / 8) % 2 != 0;

    const gl::HostCall call;
    checkDecode(name.c_str());
    checkTextureFromFile(name.c_str(), requested, mipmap);
    const std::string path = "./" + name;
    if (ahead) {
        gLoader->request(path);
    }
    gRenderer->setImageLoader(ahead ? gLoader : nullptr);
    gRenderer->updateTexture(path);
    checkNoGlError("the kaleidoscope's photograph upload");
    return 0;
}
