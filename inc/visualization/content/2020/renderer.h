// Draws the current point-field animator's instances as textured, tinted square sprites in one
// indexed draw call, with premultiplied alpha and no depth. One renderer serves every mode of
// the content; it owns its GL objects and lives on the render thread with the context current.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/util/color.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"

namespace content2020 {

class Renderer {
public:
    struct Vertex {
        vec2f position;
        vec2f texCoord;
        float scale;
        colorf color;
    };

    // 16-bit indices address 65536 vertices, four per instance.
    static constexpr size_t kMaxInstances = 16384;

    Renderer(uint32_t width, uint32_t height);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Fades and shrinks every sprite alike.
    void setBlend(float blend) { mBlend = blend; }
    // Instances beyond kMaxInstances are not drawn.
    void draw(const RenderState& state);

private:
    uint32_t mWidth;
    uint32_t mHeight;
    std::map<PointMode, const char*> mTexturePaths;
    float mBlend = 1.0f;
    math::mat44<float> mViewProjection;
    gl::Owned<gl::Program> mProgram;
    gl::Owned<gl::VertexBuffer> mVertexBuffer;
    gl::Owned<gl::IndexBuffer> mIndexBuffer;
    gl::Owned<gl::VertexArray> mVertexArray;
    std::vector<Vertex> mVertices;
    std::vector<uint16_t> mIndices;
    std::vector<gl::Owned<gl::Texture2d>> mTextures;  // index = PointMode value
};

}  // namespace content2020
