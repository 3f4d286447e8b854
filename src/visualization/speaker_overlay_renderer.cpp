#include "visualization/speaker_overlay_renderer.h"

#include <algorithm>

#include "visualization/log.h"
#include "visualization/util/gl/shared_context.h"

namespace {

static_assert(sizeof(SpeakerOverlayRenderer::Vertex) == 32, "vertex layout is 32 bytes");

const char* const kVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec2 aTexCoord;
layout(location = 2) in vec4 aColor;
uniform mat4 uProjectionMatrix;
uniform float uBlend;
out vec2 vTexCoord;
out vec4 vColor;
void main() {
    vTexCoord = aTexCoord;
    vColor = vec4(aColor.rgb, aColor.a * uBlend);
    gl_Position = uProjectionMatrix * aPosition;
}
)";

// The sprite is straight (not premultiplied) white with alpha; the output is premultiplied.
const char* const kFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
in vec2 vTexCoord;
in vec4 vColor;
uniform sampler2D uTexture;
out vec4 FragColor;
void main() {
    FragColor = texture(uTexture, vTexCoord);
    FragColor.rgb *= vColor.rgb;
    FragColor.rgb *= FragColor.a * vColor.a;
    FragColor.a *= vColor.a;
}
)";

}  // namespace

SpeakerOverlayRenderer::SpeakerOverlayRenderer(uint32_t width, uint32_t height)
    : mWidth(width), mHeight(height) {
    beginScope("[SpeakerOverlayRenderer][Constructor]");
    mProgram.reset(gl::createProgram(kVertexShader, kFragmentShader, {}));
    gl::bindProgram(mProgram.get());
    gl::uniform("uTexture", 0);

    mVertexBuffer.reset(gl::createVertexBuffer());
    std::vector<gl::VertexArrayAttributeConfig> configs = {
        gl::VertexArrayAttributeConfig()
            .setLocation(0)
            .setBuffer(mVertexBuffer.get())
            .setSize(2)
            .setOffset(0)
            .setStride(sizeof(Vertex)),
        gl::VertexArrayAttributeConfig()
            .setLocation(1)
            .setBuffer(mVertexBuffer.get())
            .setSize(2)
            .setOffset(8)
            .setStride(sizeof(Vertex)),
        gl::VertexArrayAttributeConfig()
            .setLocation(2)
            .setBuffer(mVertexBuffer.get())
            .setSize(4)
            .setOffset(16)
            .setStride(sizeof(Vertex)),
    };
    mIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(), GL_STATIC_DRAW));
    mVertexArray.reset(gl::createVertexArray(configs, mIndexBuffer.get()));

    gl::Texture2dConfig config;
    config.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    config.generateMipmap = true;
    mTexture.reset(gl::createTexture2d(mTexturePath, config));

    const gl::WarmUp warmUp;
    draw({SpeakerOverlayRenderEntity{vec2f{0.0f, 0.0f}, 1.0f, colorf{1.0f, 1.0f}}});
    endScope();
}

SpeakerOverlayRenderer::~SpeakerOverlayRenderer() {
    beginScope("[SpeakerOverlayRenderer][Destructor]");
    mProgram.reset();
    mVertexArray.reset();
    mVertexBuffer.reset();
    mIndexBuffer.reset();
    mTexture.reset();
    endScope();
}

void SpeakerOverlayRenderer::draw(const std::vector<SpeakerOverlayRenderEntity>& renderEntities) {
    math::ortho(mProjection, 0.0f, static_cast<float>(mWidth), static_cast<float>(mHeight), 0.0f,
                -1.0f, 1.0f);

    const size_t count = std::min(renderEntities.size(), kMaxEntities);
    mVertices.clear();
    mIndices.clear();
    mVertices.reserve(count * 4);
    mIndices.reserve(count * 6);
    for (size_t i = 0; i < count; ++i) {
        const SpeakerOverlayRenderEntity& e = renderEntities[i];
        const auto base = static_cast<uint16_t>(mVertices.size());
        const float x = e.position.x;
        const float y = e.position.y;
        const float s = e.size;
        mVertices.push_back({vec2f{x - s, y - s}, vec2f{0.0f, 0.0f}, e.color});
        mVertices.push_back({vec2f{x + s, y - s}, vec2f{1.0f, 0.0f}, e.color});
        mVertices.push_back({vec2f{x + s, y + s}, vec2f{1.0f, 1.0f}, e.color});
        mVertices.push_back({vec2f{x - s, y + s}, vec2f{0.0f, 1.0f}, e.color});
        const uint16_t quad[6] = {base,
                                  static_cast<uint16_t>(base + 1),
                                  static_cast<uint16_t>(base + 2),
                                  static_cast<uint16_t>(base + 2),
                                  static_cast<uint16_t>(base + 3),
                                  base};
        mIndices.insert(mIndices.end(), quad, quad + 6);
    }

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    gl::bindVertexArray(mVertexArray.get());
    gl::bindVertexBuffer(mVertexBuffer.get());
    gl::streamVertexData(static_cast<GLsizeiptr>(mVertices.size()), sizeof(Vertex),
                         mVertices.data());
    gl::bindIndexBuffer(mIndexBuffer.get());
    gl::streamIndexData(static_cast<GLsizeiptr>(mIndices.size()), sizeof(uint16_t), mIndices.data(),
                        GL_UNSIGNED_SHORT);
    gl::bindProgram(mProgram.get());
    gl::uniform("uProjectionMatrix", mProjection.data(), false);
    gl::uniform("uBlend", mBlend);
    gl::activeTexture(0);
    gl::bindTexture2d(mTexture.get());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mIndices.size()), GL_UNSIGNED_SHORT, nullptr);
    glDisable(GL_BLEND);
}
