#include "visualization/content/2020/renderer.h"

#include <algorithm>

#include "visualization/log.h"
#include "visualization/util/gl/shared_context.h"

namespace content2020 {

namespace {

static_assert(sizeof(Renderer::Vertex) == 36, "vertex layout is 36 bytes");

const char* const kVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec2 aPosition;
layout(location = 1) in vec2 aTexCoord;
layout(location = 2) in float aScale;
layout(location = 3) in vec4 aColor;
out vec2 vTexCoord;
out vec4 vColor;
uniform mat4 uProjectionMatrix;
uniform float uBlend;
void main() {
    vTexCoord = aTexCoord;
    vColor = aColor;
    vColor.a *= uBlend;
    vec2 position = aPosition + (aTexCoord * 2.0 - 1.0) * aScale * uBlend;
    gl_Position = uProjectionMatrix * vec4(position.x, position.y, 0.0, 1.0);
}
)";

// The sprite's alpha shapes the dot; the output is premultiplied by sprite and instance alpha.
const char* const kFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
in vec2 vTexCoord;
in vec4 vColor;
out vec4 FragColor;
uniform sampler2D uTexture;
void main() {
    FragColor = vec4(vTexCoord.x, 0.0, vTexCoord.y, 1.0);
    FragColor = texture(uTexture, vTexCoord);
    FragColor.rgb *= vColor.rgb;
    FragColor.rgb *= FragColor.a * vColor.a;
    FragColor.a *= vColor.a;
}
)";

}  // namespace

Renderer::Renderer(uint32_t width, uint32_t height) : mWidth(width), mHeight(height) {
    beginScope("[content2020][Renderer][Constructor]");
    mTexturePaths[PointMode::CIRCLE_SMALL] = "images/circle_white_small.png";
    mTexturePaths[PointMode::CIRCLE_LARGE] = "images/circle_white_large.png";

    mProgram.reset(gl::createProgram(kVertexShader, kFragmentShader, {}));
    gl::bindProgram(mProgram.get());
    gl::uniform("uTexture", 0);
    gl::unbindProgram();

    mVertexBuffer.reset(gl::createVertexBuffer());
    auto attribute = [this](GLuint location, GLint size, GLsizei offset) {
        return gl::VertexArrayAttributeConfig()
            .setLocation(location)
            .setBuffer(mVertexBuffer.get())
            .setSize(size)
            .setOffset(offset)
            .setStride(sizeof(Vertex));
    };
    std::vector<gl::VertexArrayAttributeConfig> configs = {
        attribute(0, 2, 0), attribute(1, 2, 8), attribute(2, 1, 16), attribute(3, 4, 20)};
    mIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(), GL_STATIC_DRAW));
    mVertexArray.reset(gl::createVertexArray(configs, mIndexBuffer.get()));

    gl::Texture2dConfig config;
    config.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    config.magFilter = GL_LINEAR;
    config.generateMipmap = true;
    // Each texture is owned before the vector grows: a growth that fails must not lose one.
    using OwnedTexture = gl::Owned<gl::Texture2d>;
    mTextures.emplace_back(OwnedTexture(gl::createTexture2d(1, 1, config)));
    mTextures.emplace_back(
        OwnedTexture(gl::createTexture2d(mTexturePaths[PointMode::CIRCLE_SMALL], config)));
    mTextures.emplace_back(
        OwnedTexture(gl::createTexture2d(mTexturePaths[PointMode::CIRCLE_LARGE], config)));

    // Each sprite texture is its own sampler state to the driver.
    const gl::WarmUp warmUp;
    RenderState sprite;
    sprite.instances.push_back({0.0f, 0.0f, 1.0f, colorf{1.0f, 1.0f, 1.0f, 1.0f}});
    for (const PointMode mode :
         {PointMode::PLAIN, PointMode::CIRCLE_SMALL, PointMode::CIRCLE_LARGE}) {
        sprite.pointMode = mode;
        draw(sprite);
    }
    endScope();
}

Renderer::~Renderer() {
    beginScope("[content2020][Renderer][Destructor]");
    mProgram.reset();
    mVertexArray.reset();
    mVertexBuffer.reset();
    mIndexBuffer.reset();
    for (gl::Owned<gl::Texture2d>& texture : mTextures) {
        texture.reset();
    }
    endScope();
}

void Renderer::draw(const RenderState& state) {
    const size_t count = std::min(state.instances.size(), kMaxInstances);
    // No exact reserve: growing geometrically, the vectors settle at the largest count seen
    // after a few frames instead of reallocating at every new high.
    mVertices.clear();
    for (size_t i = 0; i < count; ++i) {
        const Instance& in = state.instances[i];
        const vec2f position{in.x, in.y};
        mVertices.push_back({position, vec2f{0.0f, 0.0f}, in.scale, in.color});
        mVertices.push_back({position, vec2f{1.0f, 0.0f}, in.scale, in.color});
        mVertices.push_back({position, vec2f{1.0f, 1.0f}, in.scale, in.color});
        mVertices.push_back({position, vec2f{0.0f, 1.0f}, in.scale, in.color});
    }
    mIndices.clear();
    for (size_t k = 0; k < mVertices.size(); k += 4) {
        const auto base = static_cast<uint16_t>(k);
        const uint16_t quad[6] = {base,
                                  static_cast<uint16_t>(base + 1),
                                  static_cast<uint16_t>(base + 2),
                                  static_cast<uint16_t>(base + 2),
                                  static_cast<uint16_t>(base + 3),
                                  base};
        mIndices.insert(mIndices.end(), quad, quad + 6);
    }

    mViewProjection = state.camera.getProjectionMatrix() * state.camera.getViewMatrix();

    // The animators' camera looks with y down, which turns the quads clockwise on screen.
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_FRONT);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);

    gl::bindProgram(mProgram.get());
    gl::uniform("uProjectionMatrix", mViewProjection, false);
    gl::uniform("uBlend", mBlend);

    gl::activeTexture(0);
    const auto textureIndex = static_cast<size_t>(state.pointMode);
    gl::bindTexture2d(mTextures.at(textureIndex < mTextures.size() ? textureIndex : 0).get());

    // The streamed uploads orphan the old storage, so the driver hands out fresh memory instead
    // of waiting for the previous frame's draw.
    gl::bindVertexArray(mVertexArray.get());
    gl::bindVertexBuffer(mVertexBuffer.get());
    gl::streamVertexData(static_cast<GLsizeiptr>(mVertices.size()), sizeof(Vertex),
                         mVertices.data());
    gl::bindIndexBuffer(mIndexBuffer.get());
    gl::streamIndexData(static_cast<GLsizeiptr>(mIndices.size()), sizeof(uint16_t), mIndices.data(),
                        GL_UNSIGNED_SHORT);

    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mIndices.size()), GL_UNSIGNED_SHORT, nullptr);

    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
}

}  // namespace content2020
