// Draws the speaker overlay's dots as textured, colour-modulated quads in screen pixels
// (origin top left, y downwards) with premultiplied alpha. Owns its GL objects; created and
// destroyed on the render thread with the context current.
#pragma once

#include <cstdint>
#include <vector>

#include "visualization/speaker_overlay_render_entity.h"
#include "visualization/util/color.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"

class SpeakerOverlayRenderer {
public:
    struct Vertex {
        vec2f position;
        vec2f texCoord;
        colorf color;
    };

    // 16-bit indices address 65536 vertices, four per dot.
    static constexpr size_t kMaxEntities = 16384;

    SpeakerOverlayRenderer(uint32_t width, uint32_t height);
    ~SpeakerOverlayRenderer();
    SpeakerOverlayRenderer(const SpeakerOverlayRenderer&) = delete;
    SpeakerOverlayRenderer& operator=(const SpeakerOverlayRenderer&) = delete;

    // Dots beyond kMaxEntities are not drawn.
    void draw(const std::vector<SpeakerOverlayRenderEntity>& renderEntities);

private:
    uint32_t mWidth;
    uint32_t mHeight;
    const char* mTexturePath = "images/circle_white_small.png";
    math::mat44<float> mProjection;
    gl::Owned<gl::Program> mProgram;
    gl::Owned<gl::VertexBuffer> mVertexBuffer;
    std::vector<Vertex> mVertices;
    gl::Owned<gl::IndexBuffer> mIndexBuffer;
    std::vector<uint16_t> mIndices;
    gl::Owned<gl::VertexArray> mVertexArray;
    gl::Owned<gl::Texture2d> mTexture;
    float mBlend = 1.0f;
};
