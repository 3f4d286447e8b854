// Draws the lines animators' tubes as solid meshes: a ring of vertices around every point, placed
// by the point's frame in the vertex shader, and a hemisphere closing each end. Both meshes are
// rebuilt every frame into member lists that keep their capacity. Depth-tested, back faces culled,
// unlit and opaque. Lives on the render thread with the context current; owns its GL objects.
#pragma once

#include <cstdint>
#include <vector>

#include "visualization/content/2021/lines/abstract_animator.h"
#include "visualization/util/color.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"

namespace content2021 {
namespace lines {

class Renderer {
public:
    // One tube vertex: the point's frame scaled by its radius (U, V, W) and its position (P),
    // with the vertex's angle around the tube.
    struct LineSegmentPoint {
        vec3f transformU;
        vec3f transformV;
        vec3f transformW;
        vec3f transformP;
        float angle;
        colorf color;
    };

    // One cap vertex: the end point's frame turned so that its y axis leaves the tube, with the
    // vertex's longitude (phi) and its angle from the pole (theta).
    struct LineCapPoint {
        vec3f transformU;
        vec3f transformV;
        vec3f transformW;
        vec3f transformP;
        float phi;
        float theta;
        colorf color;
    };

    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Multiplies every radius: the content's intro fade grows the tubes from nothing.
    void setScale(float scale) { mScale = scale; }
    void draw(const Scene& scene);
    // The CPU half of draw; public so that its cost can be measured apart from the GL calls.
    void buildMeshes(const Scene& scene);
    const std::vector<LineSegmentPoint>& getTubeVertices() const { return mTubeVertices; }
    const std::vector<LineCapPoint>& getCapVertices() const { return mCapVertices; }

    bool mDrawTubes = true;
    bool mDrawCaps = true;
    bool mDraw = true;

private:
    void addTube(const LineDrawable& line);
    void addCap(const LinePoint& point, uint32_t sides, float turn);

    float mScale = 1.0f;
    math::mat44<float> mProjection;
    math::mat44<float> mView;
    math::mat44<float> mModel;
    math::mat44<float> mModelView;
    math::mat44<float> mModelViewProjection;

    gl::Owned<gl::Program> mTubeProgram;
    gl::Owned<gl::VertexBuffer> mTubeVertexBuffer;
    gl::Owned<gl::IndexBuffer> mTubeIndexBuffer;
    gl::Owned<gl::VertexArray> mTubeVertexArray;
    std::vector<LineSegmentPoint> mTubeVertices;
    std::vector<uint16_t> mTubeIndices;

    gl::Owned<gl::Program> mCapProgram;
    gl::Owned<gl::VertexBuffer> mCapVertexBuffer;
    gl::Owned<gl::IndexBuffer> mCapIndexBuffer;
    gl::Owned<gl::VertexArray> mCapVertexArray;
    std::vector<LineCapPoint> mCapVertices;
    std::vector<uint16_t> mCapIndices;
};

}  // namespace lines
}  // namespace content2021
