#include "visualization/content/2021/lines/renderer.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/gl/buffer.h"
#include "visualization/util/gl/program.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/gl/vertex_array.h"
#include "visualization/util/math/scalar.h"

namespace content2021 {
namespace lines {

namespace {

static_assert(sizeof(Renderer::LineSegmentPoint) == 68, "a tube vertex is 68 bytes");
static_assert(sizeof(Renderer::LineCapPoint) == 72, "a cap vertex is 72 bytes");

// 16-bit indices address this many vertices per pass.
constexpr size_t kMaxVertices = 65536;

// The point's frame is a matrix whose columns are the scaled axes and the position; the circle
// (or sphere) of unit radius is placed by it.
const char* const kTubeVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec3 aTransformU;
layout(location = 1) in vec3 aTransformV;
layout(location = 2) in vec3 aTransformW;
layout(location = 3) in vec4 aTransformP;
layout(location = 4) in float aAngle;
layout(location = 5) in vec4 aColor;
uniform mat4 uModelViewProjectionMatrix;
out vec4 vColor;
void main() {
    mat4 transform = mat4(vec4(aTransformU, 0.0), vec4(aTransformV, 0.0),
                          vec4(aTransformW, 0.0), aTransformP);
    vec4 position = vec4(cos(aAngle), sin(aAngle), 0.0, 1.0);
    gl_Position = uModelViewProjectionMatrix * transform * position;
    gl_PointSize = 5.0;
    vColor = aColor;
}
)";

const char* const kCapVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec3 aTransformU;
layout(location = 1) in vec3 aTransformV;
layout(location = 2) in vec3 aTransformW;
layout(location = 3) in vec4 aTransformP;
layout(location = 4) in float aPhi;
layout(location = 5) in float aTheta;
layout(location = 6) in vec4 aColor;
uniform mat4 uModelViewProjectionMatrix;
out vec4 vColor;
void main() {
    mat4 transform = mat4(vec4(aTransformU, 0.0), vec4(aTransformV, 0.0),
                          vec4(aTransformW, 0.0), aTransformP);
    vec4 position = vec4(-cos(aPhi) * sin(aTheta), cos(aTheta), sin(aPhi) * sin(aTheta), 1.0);
    gl_Position = uModelViewProjectionMatrix * transform * position;
    gl_PointSize = 5.0;
    vColor = aColor;
}
)";

const char* const kFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
in vec4 vColor;
out vec4 FragColor;
void main() {
    FragColor = vec4(vColor.rgb * vColor.a, vColor.a);
}
)";

// Two triangles of the quad between rings a and b (each `count` vertices from its base) at
// positions k and k + 1, wound counter-clockwise seen from outside. The point frames are
// left-handed (binormal = tangent x normal), which is why the order looks reversed.
void addQuad(std::vector<uint16_t>& indices, size_t a, size_t b, uint32_t k, uint32_t count) {
    const uint32_t next = (k + 1) % count;
    const auto a0 = static_cast<uint16_t>(a + k);
    const auto a1 = static_cast<uint16_t>(a + next);
    const auto b0 = static_cast<uint16_t>(b + k);
    const auto b1 = static_cast<uint16_t>(b + next);
    indices.insert(indices.end(), {a0, b0, a1, a1, b0, b1});
}

}  // namespace

Renderer::Renderer() {
    beginScope("[content2021][lines][Renderer][Constructor]");
    mTubeProgram.reset(gl::createProgram(kTubeVertexShader, kFragmentShader, {}));
    mTubeVertexBuffer.reset(gl::createVertexBuffer());
    mTubeIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(), GL_DYNAMIC_DRAW));
    mTubeVertexArray.reset(gl::createInterleavedVertexArray(
        mTubeVertexBuffer.get(), mTubeIndexBuffer.get(),
        {{3, 0}, {3, 12}, {3, 24}, {3, 36}, {1, 48}, {4, 52}}, sizeof(LineSegmentPoint)));

    mCapProgram.reset(gl::createProgram(kCapVertexShader, kFragmentShader, {}));
    mCapVertexBuffer.reset(gl::createVertexBuffer());
    mCapIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(), GL_DYNAMIC_DRAW));
    mCapVertexArray.reset(gl::createInterleavedVertexArray(
        mCapVertexBuffer.get(), mCapIndexBuffer.get(),
        {{3, 0}, {3, 12}, {3, 24}, {3, 36}, {1, 48}, {1, 52}, {4, 56}}, sizeof(LineCapPoint)));

    const gl::WarmUp warmUp;
    Scene scene;
    LineDrawable line;
    line.points.resize(2);
    line.sides = 3;
    scene.lines.push_back(line);
    draw(scene);
    endScope();
}

Renderer::~Renderer() {
    beginScope("[content2021][lines][Renderer][Destructor]");
    mTubeProgram.reset();
    mTubeVertexBuffer.reset();
    mTubeIndexBuffer.reset();
    mTubeVertexArray.reset();
    mCapProgram.reset();
    mCapVertexBuffer.reset();
    mCapIndexBuffer.reset();
    mCapVertexArray.reset();
    endScope();
}

void Renderer::addTube(const LineDrawable& line) {
    const uint32_t sides = line.sides;
    const size_t first = mTubeVertices.size();
    VIZ_ASSERT(first + line.points.size() * sides <= kMaxVertices);
    for (const LinePoint& point : line.points) {
        const float r = point.radius * mScale;
        for (uint32_t k = 0; k < sides; ++k) {
            const float angle =
                2.0f * math::kPi * static_cast<float>(k) / static_cast<float>(sides);
            mTubeVertices.push_back({point.binormal * r, point.normal * r, point.tangent * r,
                                     point.position, angle, point.color});
        }
    }
    for (size_t i = 0; i + 1 < line.points.size(); ++i) {
        for (uint32_t k = 0; k < sides; ++k) {
            addQuad(mTubeIndices, first + i * sides, first + (i + 1) * sides, k, sides);
        }
    }
}

// turn is +1 at the tail and -1 at the head: the frame turns by turn * pi/2 about its x axis,
// which points its y axis (the pole) along the tangent out of the tube's end.
void Renderer::addCap(const LinePoint& point, uint32_t sides, float turn) {
    const uint32_t slices = std::max(3u, sides);
    const uint32_t rings = std::max(2u, sides / 2);
    const float r = point.radius * mScale;
    const vec3f u = point.binormal * r;
    const vec3f v = point.tangent * (turn * r);
    const vec3f w = point.normal * (-turn * r);
    const size_t first = mCapVertices.size();
    VIZ_ASSERT(first + slices * rings <= kMaxVertices);
    for (uint32_t i = 0; i < rings; ++i) {
        const float theta =
            0.5f * math::kPi * static_cast<float>(i) / static_cast<float>(rings - 1);
        for (uint32_t j = 0; j < slices; ++j) {
            const float phi = 2.0f * math::kPi * static_cast<float>(j) / static_cast<float>(slices);
            mCapVertices.push_back({u, v, w, point.position, phi, theta, point.color});
        }
    }
    for (uint32_t i = 0; i + 1 < rings; ++i) {
        for (uint32_t j = 0; j < slices; ++j) {
            // Rings run from the pole outward, the tube's rings along it: the order of the
            // two rings flips to keep the winding.
            addQuad(mCapIndices, first + (i + 1) * slices, first + i * slices, j, slices);
        }
    }
}

void Renderer::buildMeshes(const Scene& scene) {
    mTubeVertices.clear();
    mTubeIndices.clear();
    mCapVertices.clear();
    mCapIndices.clear();
    for (const LineDrawable& line : scene.lines) {
        if (line.points.size() < 2) {
            continue;
        }
        if (mDrawTubes) {
            addTube(line);
        }
        if (mDrawCaps) {
            addCap(line.points.front(), line.sides, -1.0f);
            addCap(line.points.back(), line.sides, 1.0f);
        }
    }
}

void Renderer::draw(const Scene& scene) {
    mProjection = scene.camera.getProjectionMatrix();
    mView = scene.camera.getViewMatrix();
    mModel = scene.model;
    mModelView = mView * mModel;
    mModelViewProjection = mProjection * mModelView;
    buildMeshes(scene);
    if (!mDraw) {
        return;
    }

    // The host's state is not ours to rely on: everything the passes depend on is set here.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glDisable(GL_BLEND);

    if (!mTubeIndices.empty()) {
        gl::bindProgram(mTubeProgram.get());
        gl::uniform("uModelViewProjectionMatrix", mModelViewProjection, false);
        gl::drawTriangles(mTubeVertexArray.get(), mTubeVertexBuffer.get(), mTubeIndexBuffer.get(),
                          mTubeVertices, mTubeIndices);
    }
    if (!mCapIndices.empty()) {
        gl::bindProgram(mCapProgram.get());
        gl::uniform("uModelViewProjectionMatrix", mModelViewProjection, false);
        gl::drawTriangles(mCapVertexArray.get(), mCapVertexBuffer.get(), mCapIndexBuffer.get(),
                          mCapVertices, mCapIndices);
    }

    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
}

}  // namespace lines
}  // namespace content2021
