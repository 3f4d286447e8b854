#include "visualization/content/2021/ring/renderer.h"

#include "visualization/content/2021/ring/animator_util.h"
#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/gl/buffer.h"
#include "visualization/util/gl/program.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/gl/vertex_array.h"
#include "visualization/util/math/scalar.h"

namespace content2021 {
namespace ring {

namespace {

static_assert(sizeof(Renderer::EdgeSegment) == 48, "a line vertex is 48 bytes");
static_assert(sizeof(Renderer::EdgePoint) == 36, "a dot vertex is 36 bytes");

const char* const kDepthVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec3 aPosition;
uniform mat4 uModelViewProjectionMatrix;
void main() {
    gl_Position = uModelViewProjectionMatrix * vec4(aPosition, 1.0);
}
)";

// Never seen: the depth pass writes no colour.
const char* const kDepthFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
out vec4 FragColor;
void main() {
    FragColor = vec4(1.0, 0.0, 0.0, 1.0);
}
)";

// Each line is a quad around the segment from curr to next; its normal is taken on screen, where
// the aspect makes x and y comparable, and the offset is scaled by w so the width stays constant
// in clip space whatever the depth.
const char* const kLineVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec3 aPointCurr;
layout(location = 1) in vec3 aPointNext;
layout(location = 2) in vec2 aSide;
layout(location = 3) in vec4 aColor;
uniform mat4 uModelViewProjectionMatrix;
uniform float uAspect;
uniform float uThickness;
uniform float uUseGlobalColor;
uniform vec4 uGlobalColor;
out vec4 vColor;
vec2 project(vec4 p) {
    return p.xy / p.w * vec2(uAspect, 1.0);
}
void main() {
    vec4 curr3d = uModelViewProjectionMatrix * vec4(aPointCurr, 1.0);
    vec4 next3d = uModelViewProjectionMatrix * vec4(aPointNext, 1.0);
    vec2 tangent = normalize(project(next3d) - project(curr3d));
    vec2 normal = vec2(-tangent.y, tangent.x);
    vec4 position = mix(curr3d, next3d, aSide.x);
    vec2 offset = normal * uThickness * 0.5 * aSide.y;
    offset *= position.w / vec2(uAspect, 1.0);
    position.xy += offset;
    gl_Position = position;
    gl_PointSize = 10.0;
    vColor = mix(aColor, uGlobalColor, uUseGlobalColor);
    vColor.rgb *= vColor.a;
}
)";

const char* const kLineFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
in vec4 vColor;
out vec4 FragColor;
void main() {
    FragColor = vColor;
}
)";

const char* const kPointVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec3 aPoint;
layout(location = 1) in vec2 aSide;
layout(location = 2) in vec4 aColor;
uniform mat4 uModelViewProjectionMatrix;
uniform float uAspect;
uniform float uThickness;
uniform float uUseGlobalColor;
uniform vec4 uGlobalColor;
out vec4 vColor;
out vec2 vSide;
void main() {
    vec4 position = uModelViewProjectionMatrix * vec4(aPoint, 1.0);
    vec2 normal = vec2(-aSide.y, aSide.x);
    vec2 offset = normal * uThickness * position.w / vec2(uAspect, 1.0);
    position.xy += offset;
    gl_Position = position;
    gl_PointSize = 2.0;
    vColor = mix(aColor, uGlobalColor, uUseGlobalColor);
    vColor.rgb *= vColor.a;
    vSide = aSide;
}
)";

const char* const kPointFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
in vec4 vColor;
in vec2 vSide;
out vec4 FragColor;
void main() {
    if (length(vSide) > 0.5) {
        discard;
    }
    FragColor = vColor;
}
)";

// Corner quads of a wedge's six faces, wound so that culling keeps the faces toward the eye.
const uint16_t kFaces[6][4] = {{0, 1, 2, 3}, {7, 6, 5, 4}, {0, 4, 5, 1},
                               {2, 6, 7, 3}, {3, 7, 4, 0}, {1, 5, 6, 2}};
const uint16_t kEdges[12][2] = {{0, 1}, {1, 5}, {5, 4}, {4, 0}, {2, 3}, {3, 7},
                                {7, 6}, {6, 2}, {0, 3}, {1, 2}, {4, 7}, {5, 6}};
// Edge pairs whose midpoints the mid-lines join, along the wedge through each side.
const uint16_t kMidLines[4][4] = {{1, 0, 5, 4}, {2, 1, 6, 5}, {3, 2, 7, 6}, {0, 3, 4, 7}};

void addQuadIndices(std::vector<uint16_t>& indices, size_t base) {
    const auto b = static_cast<uint16_t>(base);
    indices.push_back(b);
    indices.push_back(static_cast<uint16_t>(b + 1));
    indices.push_back(static_cast<uint16_t>(b + 2));
    indices.push_back(static_cast<uint16_t>(b + 2));
    indices.push_back(static_cast<uint16_t>(b + 3));
    indices.push_back(b);
}

vec3f midpoint(const vec3f& a, const vec3f& b) {
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
}

}  // namespace

Renderer::Renderer() {
    beginScope("[content2021][ring][Renderer][Constructor]");
    mDepthProgram.reset(gl::createProgram(kDepthVertexShader, kDepthFragmentShader, {}));
    mDepthVertexBuffer.reset(gl::createVertexBuffer());
    mDepthIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(), GL_DYNAMIC_DRAW));
    mDepthVertexArray.reset(gl::createInterleavedVertexArray(
        mDepthVertexBuffer.get(), mDepthIndexBuffer.get(), {{3, 0}}, sizeof(vec3f)));

    mLineProgram.reset(gl::createProgram(kLineVertexShader, kLineFragmentShader, {}));
    mLineVertexBuffer.reset(gl::createVertexBuffer());
    mLineIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(), GL_DYNAMIC_DRAW));
    mLineVertexArray.reset(
        gl::createInterleavedVertexArray(mLineVertexBuffer.get(), mLineIndexBuffer.get(),
                                         {{3, 0}, {3, 12}, {2, 24}, {4, 32}}, sizeof(EdgeSegment)));

    mPointProgram.reset(gl::createProgram(kPointVertexShader, kPointFragmentShader, {}));
    mPointVertexBuffer.reset(gl::createVertexBuffer());
    mPointIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(), GL_DYNAMIC_DRAW));
    mPointVertexArray.reset(
        gl::createInterleavedVertexArray(mPointVertexBuffer.get(), mPointIndexBuffer.get(),
                                         {{3, 0}, {2, 12}, {4, 20}}, sizeof(EdgePoint)));

    // Opaque and fading lines are two render states to the driver.
    const gl::WarmUp warmUp;
    Scene scene;
    scene.mWedges.emplace_back();
    for (const float alpha : {0.5f, 1.0f}) {
        mAlpha = alpha;
        draw(scene);
    }
    endScope();
}

Renderer::~Renderer() {
    beginScope("[content2021][ring][Renderer][Destructor]");
    mDepthProgram.reset();
    mDepthVertexBuffer.reset();
    mDepthIndexBuffer.reset();
    mDepthVertexArray.reset();
    mLineProgram.reset();
    mLineVertexBuffer.reset();
    mLineIndexBuffer.reset();
    mLineVertexArray.reset();
    mPointProgram.reset();
    mPointVertexBuffer.reset();
    mPointIndexBuffer.reset();
    mPointVertexArray.reset();
    endScope();
}

void Renderer::addLine(const vec3f& a, const vec3f& b, const colorf& color) {
    const size_t base = mLineVertices.size();
    mLineVertices.push_back({a, b, {0.0f, 1.0f}, color});
    mLineVertices.push_back({a, b, {0.0f, -1.0f}, color});
    mLineVertices.push_back({a, b, {1.0f, -1.0f}, color});
    mLineVertices.push_back({a, b, {1.0f, 1.0f}, color});
    addQuadIndices(mLineIndices, base);
}

void Renderer::addPoint(const vec3f& p, const colorf& color) {
    const size_t base = mPointVertices.size();
    mPointVertices.push_back({p, {-1.0f, -1.0f}, color});
    mPointVertices.push_back({p, {1.0f, -1.0f}, color});
    mPointVertices.push_back({p, {1.0f, 1.0f}, color});
    mPointVertices.push_back({p, {-1.0f, 1.0f}, color});
    addQuadIndices(mPointIndices, base);
}

void Renderer::buildGeometry(const Scene& scene) {
    const std::vector<WedgeGeometry>& wedges = scene.mWedges;
    // Past this the 16-bit indices would wrap and join unrelated corners.
    VIZ_ASSERT(wedges.size() <= kMaxWedges);
    mDepthVertices.clear();
    mDepthIndices.clear();
    if (mDrawDepth) {
        for (size_t w = 0; w < wedges.size(); ++w) {
            const size_t base = 8 * w;
            mDepthVertices.insert(mDepthVertices.end(), wedges[w].corners, wedges[w].corners + 8);
            for (const auto& face : kFaces) {
                const uint16_t quad[6] = {face[0], face[1], face[2], face[2], face[3], face[0]};
                for (uint16_t corner : quad) {
                    mDepthIndices.push_back(static_cast<uint16_t>(base + corner));
                }
            }
        }
    }
    mLineVertices.clear();
    mLineIndices.clear();
    mPointVertices.clear();
    mPointIndices.clear();
    if (!mDrawLines && !mDrawPoints) {
        return;
    }
    for (const WedgeGeometry& wedge : wedges) {
        const vec3f* c = wedge.corners;
        for (const auto& edge : kEdges) {
            addLine(c[edge[0]], c[edge[1]], wedge.color);
        }
        if (scene.mDrawMidLines) {
            for (const auto& mid : kMidLines) {
                addLine(midpoint(c[mid[0]], c[mid[1]]), midpoint(c[mid[2]], c[mid[3]]),
                        wedge.color);
            }
        }
        for (int k = 0; k < 8; ++k) {
            addPoint(c[k], wedge.color);
        }
    }
}

void Renderer::draw(const Scene& scene) {
    mProjection = scene.camera.getProjectionMatrix();
    mView = scene.camera.getViewMatrix();
    mModel = scene.mModelMatrix * scene.mRingMatrix;
    mModelViewProjection = mProjection * mView * mModel;
    buildGeometry(scene);

    // The host's state is not ours to rely on: everything the passes depend on is set here.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glDisable(GL_BLEND);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    if (mDrawDepth) {
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 2.0f);
        gl::bindProgram(mDepthProgram.get());
        gl::uniform("uModelViewProjectionMatrix", mModelViewProjection, false);
        gl::drawTriangles(mDepthVertexArray.get(), mDepthVertexBuffer.get(),
                          mDepthIndexBuffer.get(), mDepthVertices, mDepthIndices);
        glPolygonOffset(0.0f, 0.0f);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    }

    if (mDrawLines || mDrawPoints) {
        const bool blending = mAlpha != 1.0f;
        if (blending) {
            glEnable(GL_BLEND);
            glBlendEquation(GL_FUNC_ADD);
            glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        }
        colorf global = mGlobalColor;
        global.a *= math::smoothstep(0.0f, 0.1f, mAlpha);
        const float aspect = scene.camera.aspect;
        auto setUniforms = [&](gl::Program* program) {
            gl::bindProgram(program);
            gl::uniform("uModelViewProjectionMatrix", mModelViewProjection, false);
            gl::uniform("uUseGlobalColor", 1.0f - mAlpha);
            gl::uniform("uGlobalColor", global.r, global.g, global.b, global.a);
            gl::uniform("uAspect", aspect);
            gl::uniform("uThickness", scene.mThickness);
        };
        if (mDrawLines) {
            setUniforms(mLineProgram.get());
            gl::drawTriangles(mLineVertexArray.get(), mLineVertexBuffer.get(),
                              mLineIndexBuffer.get(), mLineVertices, mLineIndices);
        }
        if (mDrawPoints) {
            setUniforms(mPointProgram.get());
            gl::drawTriangles(mPointVertexArray.get(), mPointVertexBuffer.get(),
                              mPointIndexBuffer.get(), mPointVertices, mPointIndices);
        }
        if (blending) {
            glDisable(GL_BLEND);
        }
    }

    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
}

}  // namespace ring
}  // namespace content2021
