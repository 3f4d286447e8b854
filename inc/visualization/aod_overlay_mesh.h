// The geometry of the always-on-display cover: a solid frame reaching past the screen corners
// around a window rectangle textured with one cell of the mask atlas. Positions are pixels
// around the screen centre (y up); the cover's projection maps them to the screen.
#pragma once

#include <array>
#include <cstdint>

#include "visualization/content/abstract_content.h"
#include "visualization/util/math/vector.h"

class AODOverlayMesh {
public:
    static constexpr uint32_t kVertexCount = 12;
    static constexpr uint32_t kFloatsPerVertex = 4;  // x, y, u, v
    static constexpr uint32_t kIndexCount = 30;
    using Vertices = std::array<float, kVertexCount * kFloatsPerVertex>;

    // Vertices 0-3 outer square, 4-7 window (both sampling the atlas's corner texel, which is
    // black: the frame is fully covered), 8-11 the window again with the cell's coordinates.
    // Corners run (-,-), (+,-), (+,+), (-,+) in each group.
    static const std::array<uint16_t, kIndexCount>& indices();

    // Masks are the same shape when index, scale and offset match exactly; the rotation is
    // applied by the projection and needs no new vertices.
    static bool sameShape(const AODMask& a, const AODMask& b);

    // Lays out the window for `mask` on a width x height screen, sampling cell mask.index of
    // an atlas of columns x rows cells, inset by one texel so filtering never reaches a
    // neighbouring cell.
    void build(float width, float height, const AODMask& mask, uint32_t columns, uint32_t rows,
               vec2f texelSize);

    // The window's bounding box in pixels after `projection` (16 floats, column-major), clamped
    // to the screen.
    void windowBounds(const float* projection, float width, float height, vec2f& min,
                      vec2f& max) const;

    const Vertices& vertices() const { return mVertices; }

private:
    Vertices mVertices{};
};
