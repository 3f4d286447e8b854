// Draws every cube of the current animator in one instanced call: a unit cube whose six faces
// take six per-instance colours, premultiplied, depth-tested, back faces culled. While the content
// fades, the cubes blend toward a global colour (the background) and turn transparent only at the
// very end. Owns its GL objects; render thread only, with the context current.
#pragma once

#include "visualization/content/2021/cubes/cube.h"
#include "visualization/util/color.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/math/mat44.h"

namespace content2021::cubes {

class Renderer {
public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    void setAlpha(float alpha) { mAlpha = alpha; }
    void setGlobalColor(const colorf& color) { mGlobalColor = color; }
    void draw(const Scene& scene);

private:
    float mAlpha = 1.0f;
    colorf mGlobalColor{0.0f, 0.0f, 0.0f, 0.0f};
    math::mat44<float> mProjection;
    math::mat44<float> mView;
    math::mat44<float> mModel;
    gl::Owned<gl::VertexBuffer> mVertexBuffer;
    int mVertexCount = 72;
    gl::Owned<gl::IndexBuffer> mIndexBuffer;
    int mIndexCount = 36;
    gl::Owned<gl::Program> mProgram;
    gl::Owned<gl::VertexBuffer> mInstanceBuffer;
    gl::Owned<gl::VertexArray> mVertexArray;
};

}  // namespace content2021::cubes
