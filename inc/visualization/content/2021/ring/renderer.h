// Draws a ring animator's wedges as wireframe boxes in three passes: the boxes' faces into the
// depth buffer only, pushed slightly back, so that edges behind another box are hidden while a
// box's own edges survive; then every edge as a quad widened in clip space; then a round dot on
// every corner. The geometry is rebuilt from the wedges every frame into member lists that keep
// their capacity. Lives on the render thread with the context current; owns its GL objects.
#pragma once

#include <cstdint>
#include <vector>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/util/color.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"

namespace content2021 {
namespace ring {

class Renderer {
public:
    // One vertex of a line quad: the line's two ends, which of them (side.x) and which side of
    // the line (side.y).
    struct EdgeSegment {
        vec3f pointCurr;
        vec3f pointNext;
        vec2f side;
        colorf color;
    };

    // One vertex of a corner dot's quad; side is the quad corner in -1..1.
    struct EdgePoint {
        vec3f point;
        vec2f side;
        colorf color;
    };

    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Below 1 the lines blend and take on the global colour, so a fading ring dissolves into
    // the background instead of turning translucent over itself.
    void setAlpha(float alpha) { mAlpha = alpha; }
    void setGlobalColor(const colorf& color) { mGlobalColor = color; }
    void draw(const Scene& scene);
    // The CPU half of draw: the three passes' vertex and index lists from the wedges. Public so
    // that its cost can be measured apart from the GL calls.
    void buildGeometry(const Scene& scene);
    const std::vector<EdgeSegment>& getLineVertices() const { return mLineVertices; }

    bool mDrawDepth = true;
    bool mDrawLines = true;
    bool mDrawPoints = true;

private:
    void addLine(const vec3f& a, const vec3f& b, const colorf& color);
    void addPoint(const vec3f& p, const colorf& color);

    float mAlpha = 1.0f;
    colorf mGlobalColor;
    math::mat44<float> mProjection;
    math::mat44<float> mView;
    math::mat44<float> mModel;
    math::mat44<float> mModelViewProjection;

    gl::Owned<gl::Program> mDepthProgram;
    gl::Owned<gl::VertexBuffer> mDepthVertexBuffer;
    gl::Owned<gl::IndexBuffer> mDepthIndexBuffer;
    gl::Owned<gl::VertexArray> mDepthVertexArray;
    std::vector<vec3f> mDepthVertices;
    std::vector<uint16_t> mDepthIndices;

    gl::Owned<gl::Program> mLineProgram;
    gl::Owned<gl::VertexBuffer> mLineVertexBuffer;
    gl::Owned<gl::IndexBuffer> mLineIndexBuffer;
    gl::Owned<gl::VertexArray> mLineVertexArray;
    std::vector<EdgeSegment> mLineVertices;
    std::vector<uint16_t> mLineIndices;

    gl::Owned<gl::Program> mPointProgram;
    gl::Owned<gl::VertexBuffer> mPointVertexBuffer;
    gl::Owned<gl::IndexBuffer> mPointIndexBuffer;
    gl::Owned<gl::VertexArray> mPointVertexArray;
    std::vector<EdgePoint> mPointVertices;
    std::vector<uint16_t> mPointIndices;
};

}  // namespace ring
}  // namespace content2021
