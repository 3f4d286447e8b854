#include "visualization/aod_overlay_mesh.h"

#include <algorithm>
#include <cmath>

namespace {

// Piecewise linear through (0, 0), (0.5, ratio) and (1, 1), flat above 1: an offset of 0.5
// moves the window by half the short side, 1 moves it to the screen edge.
float remapOffset(float offset, float ratio) {
    const float a = std::fabs(offset);
    float o;
    if (a <= 0.5f) {
        o = a / 0.5f * ratio;
    } else if (a <= 1.0f) {
        o = ratio + (a - 0.5f) / 0.5f * (1.0f - ratio);
    } else {
        o = 1.0f;
    }
    return offset < 0.0f ? -o : o;
}

void setVertex(AODOverlayMesh::Vertices& v, uint32_t i, float x, float y, float s, float t) {
    v[i * 4 + 0] = x;
    v[i * 4 + 1] = y;
    v[i * 4 + 2] = s;
    v[i * 4 + 3] = t;
}

}  // namespace

const std::array<uint16_t, AODOverlayMesh::kIndexCount>& AODOverlayMesh::indices() {
    static const std::array<uint16_t, kIndexCount> kIndices = {
        0, 4,  1, 1, 4,  5,  5, 6, 1, 1, 6, 2, 7, 3, 6, 6, 3, 2, 0, 3, 4, 4, 3, 7,  // frame
        8, 11, 9, 9, 11, 10,                                                        // window
    };
    return kIndices;
}

bool AODOverlayMesh::sameShape(const AODMask& a, const AODMask& b) {
    return a.index == b.index && a.scale.x == b.scale.x && a.scale.y == b.scale.y &&
           a.offset.x == b.offset.x && a.offset.y == b.offset.y;
}

void AODOverlayMesh::build(float width, float height, const AODMask& mask, uint32_t columns,
                           uint32_t rows, vec2f texelSize) {
    const float mn = std::min(width, height);
    const float mx = std::max(width, height);
    // Half the diagonal: the frame still covers the corners however the mask is rotated.
    const float d = std::sqrt(width * width + height * height) / 2.0f;
    const float hx = mn * mask.scale.x / 2.0f;
    const float hy = mn * mask.scale.y / 2.0f;
    const float ratio = mx > 0.0f ? mn / mx : 0.0f;
    const float cx = mx / 2.0f * remapOffset(mask.offset.x, ratio);
    const float cy = mx / 2.0f * remapOffset(mask.offset.y, ratio);

    setVertex(mVertices, 0, -d, -d, 0.0f, 0.0f);
    setVertex(mVertices, 1, d, -d, 0.0f, 0.0f);
    setVertex(mVertices, 2, d, d, 0.0f, 0.0f);
    setVertex(mVertices, 3, -d, d, 0.0f, 0.0f);
    setVertex(mVertices, 4, cx - hx, cy - hy, 0.0f, 0.0f);
    setVertex(mVertices, 5, cx + hx, cy - hy, 0.0f, 0.0f);
    setVertex(mVertices, 6, cx + hx, cy + hy, 0.0f, 0.0f);
    setVertex(mVertices, 7, cx - hx, cy + hy, 0.0f, 0.0f);

    const uint32_t cols = std::max(columns, 1u);
    const uint32_t column = mask.index % cols;
    const uint32_t row = mask.index / cols;
    const float cellW = 1.0f / static_cast<float>(cols);
    const float cellH = 1.0f / static_cast<float>(std::max(rows, 1u));
    const float u0 = column * cellW + texelSize.x;
    const float v0 = row * cellH + texelSize.y;
    const float eu = cellW - 2.0f * texelSize.x;
    const float ev = cellH - 2.0f * texelSize.y;
    setVertex(mVertices, 8, cx - hx, cy - hy, u0, v0);
    setVertex(mVertices, 9, cx + hx, cy - hy, u0 + eu, v0);
    setVertex(mVertices, 10, cx + hx, cy + hy, u0 + eu, v0 + ev);
    setVertex(mVertices, 11, cx - hx, cy + hy, u0, v0 + ev);
}

void AODOverlayMesh::windowBounds(const float* m, float width, float height, vec2f& min,
                                  vec2f& max) const {
    for (uint32_t i = 8; i < kVertexCount; ++i) {
        const float x = mVertices[i * 4 + 0];
        const float y = mVertices[i * 4 + 1];
        const float px = ((m[0] * x + m[4] * y + m[12]) / 2.0f + 0.5f) * width;
        const float py = ((m[1] * x + m[5] * y + m[13]) / 2.0f + 0.5f) * height;
        if (i == 8) {
            min = vec2f{px, py};
            max = min;
        } else {
            min = vec2f{std::min(min.x, px), std::min(min.y, py)};
            max = vec2f{std::max(max.x, px), std::max(max.y, py)};
        }
    }
    min = vec2f{std::clamp(min.x, 0.0f, width), std::clamp(min.y, 0.0f, height)};
    max = vec2f{std::clamp(max.x, 0.0f, width), std::clamp(max.y, 0.0f, height)};
}
