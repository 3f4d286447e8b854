// Hands the input to the font renderer as a font description (its JSON), with a small atlas, and
// when the description is taken, lays out and draws a text of every glyph it names and some it
// does not. No description may crash it or leave a GL error.
#include <GLES3/gl3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "headless_fuzzing.h"
#include "visualization/util/font_renderer.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/system/fs.h"

namespace {

FontRenderer* gRenderer = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::enterTemporaryDirectory("font");
    std::filesystem::create_symlink(VIZ_SOURCE_DIR "/tests/fuzz/image_reader/rgba8.png",
                                    "atlas.png");
    fs::setResourcePath(".");
    fuzzing::startHeadlessGl(64, 36);
    gRenderer = new FontRenderer(64, 36);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen("font.json", "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    const gl::HostCall call;
    if (gRenderer->createCharInfo("fuzz", {"atlas.png", "font.json"})) {
        gRenderer->setFont("fuzz");
        gRenderer->size(static_cast<float>(size % 40));
        gRenderer->horizontalAlign(static_cast<int>(size % 3));
        gRenderer->verticalAlign(static_cast<int>(size / 3 % 3));
        const char text[] = " AVAfib\n\tVaf\x7f\xc3\xa9";
        gRenderer->getTextMetrics(text);
        gRenderer->drawString(3.0f, 20.0f, text);
    }
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        std::fprintf(stderr, "GL error 0x%04x left pending by the font renderer\n", error);
        std::abort();
    }
    return 0;
}
