#include "visualization/content/2021/cubes/renderer.h"

#include <cstdint>
#include <vector>

#include "visualization/log.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/math/scalar.h"

namespace content2021::cubes {

namespace {

// Unit cube about the origin, four corners per face in the order top, bottom, +x, -x, +z, -z;
// the program finds a corner's face from its index, so the order is the colour order.
const std::vector<float> kCorners = {
    -0.5f, 0.5f,  -0.5f, -0.5f, 0.5f,  0.5f,  0.5f,  0.5f,  0.5f,  0.5f,  0.5f,  -0.5f,
    -0.5f, -0.5f, -0.5f, 0.5f,  -0.5f, -0.5f, 0.5f,  -0.5f, 0.5f,  -0.5f, -0.5f, 0.5f,
    0.5f,  0.5f,  -0.5f, 0.5f,  0.5f,  0.5f,  0.5f,  -0.5f, 0.5f,  0.5f,  -0.5f, -0.5f,
    -0.5f, 0.5f,  0.5f,  -0.5f, 0.5f,  -0.5f, -0.5f, -0.5f, -0.5f, -0.5f, -0.5f, 0.5f,
    0.5f,  0.5f,  0.5f,  -0.5f, 0.5f,  0.5f,  -0.5f, -0.5f, 0.5f,  0.5f,  -0.5f, 0.5f,
    0.5f,  0.5f,  -0.5f, 0.5f,  -0.5f, -0.5f, -0.5f, -0.5f, -0.5f, -0.5f, 0.5f,  -0.5f,
};

// Two counter-clockwise triangles per face, seen from outside.
std::vector<uint8_t> faceIndices() {
    std::vector<uint8_t> indices;
    for (uint8_t face = 0; face < 6; ++face) {
        const uint8_t b = static_cast<uint8_t>(face * 4);
        indices.insert(indices.end(),
                       {b, static_cast<uint8_t>(b + 1), static_cast<uint8_t>(b + 2),
                        static_cast<uint8_t>(b + 2), static_cast<uint8_t>(b + 3), b});
    }
    return indices;
}

// Attribute arrays are not supported by the TV's GPU, so the six face colours are six attributes.
const char* const kVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec4 aPosition;
layout(location = 1) in mat4 aInstanceTransform;
layout(location = 5) in vec4 aInstanceColorTop;
layout(location = 6) in vec4 aInstanceColorBottom;
layout(location = 7) in vec4 aInstanceColorLeft;
layout(location = 8) in vec4 aInstanceColorRight;
layout(location = 9) in vec4 aInstanceColorFront;
layout(location = 10) in vec4 aInstanceColorBack;
uniform mat4 uMatrixProjection;
uniform mat4 uMatrixView;
uniform mat4 uMatrixModel;
uniform float uUseGlobalColor;
uniform vec4 uGlobalColor;
out vec4 vColor;
const int NUM_VERTICES_PER_SIDE = 4;
void main() {
    int side = gl_VertexID / NUM_VERTICES_PER_SIDE;
    vec4 color = vec4(1.0, 0.0, 0.0, 1.0);
    if (side == 0) {
        color = aInstanceColorTop;
    } else if (side == 1) {
        color = aInstanceColorBottom;
    } else if (side == 2) {
        color = aInstanceColorLeft;
    } else if (side == 3) {
        color = aInstanceColorRight;
    } else if (side == 4) {
        color = aInstanceColorFront;
    } else if (side == 5) {
        color = aInstanceColorBack;
    }
    color = mix(color, uGlobalColor, uUseGlobalColor);
    color.rgb *= color.a;
    vColor = color;
    gl_Position = uMatrixProjection * uMatrixView * uMatrixModel * aInstanceTransform * aPosition;
}
)";

const char* const kFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
in vec4 vColor;
out vec4 FragColor;
void main() {
    FragColor = vColor;
}
)";

constexpr GLsizei kCubeStride = sizeof(Cube);

}  // namespace

Renderer::Renderer() {
    beginScope("[content2021][cubes][Renderer][Constructor]");
    mVertexBuffer.reset(gl::createVertexBuffer(kCorners, GL_STATIC_DRAW));
    mIndexBuffer.reset(gl::createIndexBuffer(faceIndices(), GL_STATIC_DRAW));
    mProgram.reset(gl::createProgram(kVertexShader, kFragmentShader, {}));
    mInstanceBuffer.reset(gl::createVertexBuffer());

    std::vector<gl::VertexArrayAttributeConfig> configs = {gl::VertexArrayAttributeConfig()
                                                               .setLocation(0)
                                                               .setBuffer(mVertexBuffer.get())
                                                               .setSize(3)
                                                               .setOffset(0)
                                                               .setStride(0)};
    for (GLuint k = 0; k < 10; ++k) {
        configs.push_back(gl::VertexArrayAttributeConfig()
                              .setLocation(1 + k)
                              .setBuffer(mInstanceBuffer.get())
                              .setSize(4)
                              .setOffset(16 * k)
                              .setStride(kCubeStride)
                              .setDivisor(1));
    }
    mVertexArray.reset(gl::createVertexArray(configs, mIndexBuffer.get()));

    // Opaque and fading cubes are two render states to the driver.
    const gl::WarmUp warmUp;
    Scene scene;
    scene.cubes.emplace_back();
    for (const float alpha : {0.5f, 1.0f}) {
        mAlpha = alpha;
        draw(scene);
    }
    endScope();
}

Renderer::~Renderer() {
    beginScope("[content2021][cubes][Renderer][Destructor]");
    mVertexBuffer.reset();
    mIndexBuffer.reset();
    mProgram.reset();
    mVertexArray.reset();
    mInstanceBuffer.reset();
    endScope();
}

void Renderer::draw(const Scene& scene) {
    mProjection = scene.camera.getProjectionMatrix();
    mView = scene.camera.getViewMatrix();
    mModel = scene.model;

    // Opaque cubes need no blending; only a fading content is blended, premultiplied.
    const bool blending = mAlpha != 1.0f;
    if (blending) {
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);

    gl::bindProgram(mProgram.get());
    gl::uniform("uMatrixProjection", mProjection, false);
    gl::uniform("uMatrixView", mView, false);
    gl::uniform("uMatrixModel", mModel, false);
    gl::uniform("uUseGlobalColor", 1.0f - mAlpha);
    gl::uniform("uGlobalColor", mGlobalColor.r, mGlobalColor.g, mGlobalColor.b,
                mGlobalColor.a * math::smoothstep(0.0f, 0.05f, mAlpha));

    gl::bindVertexArray(mVertexArray.get());
    gl::bindVertexBuffer(mInstanceBuffer.get());
    gl::streamVertexData(static_cast<GLsizeiptr>(scene.cubes.size()), kCubeStride,
                         scene.cubes.data());
    glDrawElementsInstanced(GL_TRIANGLES, mIndexCount, GL_UNSIGNED_BYTE, nullptr,
                            static_cast<GLsizei>(scene.cubes.size()));

    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    if (blending) {
        glDisable(GL_BLEND);
    }
}

}  // namespace content2021::cubes
