#include "visualization/aod_overlay_mesh.h"

#include <gtest/gtest.h>

namespace {

// The cover's projection for a W x H screen without rotation: pixels around the centre.
std::array<float, 16> screenProjection(float w, float h) {
    std::array<float, 16> m{};
    m[0] = 2.0f / w;
    m[5] = 2.0f / h;
    m[10] = 1.0f;
    m[15] = 1.0f;
    return m;
}

const vec2f kTexel{1.0f / 768.0f, 1.0f / 512.0f};

}  // namespace

TEST(AODOverlayMesh, MasksCompareOnShapeNotRotation) {
    const AODMask a(4, vec2f{1.1f, 1.7f}, vec2f{0.0f, 0.25f});
    AODMask rotated = a;
    rotated.rotation = quatf{0.0f, 0.0f, 0.7071068f, 0.7071068f};
    EXPECT_TRUE(AODOverlayMesh::sameShape(a, rotated));
    EXPECT_FALSE(AODOverlayMesh::sameShape(a, AODMask(3, a.scale, a.offset)));
    EXPECT_FALSE(AODOverlayMesh::sameShape(a, AODMask(4, vec2f{1.1f, 1.71f}, a.offset)));
    EXPECT_FALSE(AODOverlayMesh::sameShape(a, AODMask(4, a.scale, vec2f{0.01f, 0.25f})));
    EXPECT_TRUE(AODOverlayMesh::sameShape(AODMask(), AODMask(0, vec2f{}, vec2f{})));
}

TEST(AODOverlayMesh, WindowBoundsAreClampedScreenPixels) {
    AODOverlayMesh mesh;
    const auto projection = screenProjection(1920.0f, 1080.0f);
    vec2f min, max;
    // A window larger than the screen is cut at its edges (the scissor of one inside it is
    // checked through pixels).
    mesh.build(1920.0f, 1080.0f, AODMask(3, vec2f{2.0f, 1.0f}, vec2f{0.5f, 0.0f}), 3, 2, kTexel);
    mesh.windowBounds(projection.data(), 1920.0f, 1080.0f, min, max);
    EXPECT_FLOAT_EQ(min.x, 960.0f + 540.0f - 1080.0f);
    EXPECT_FLOAT_EQ(max.x, 1920.0f);
}
