#include "visualization/aod_overlay_mesh.h"

#include <gtest/gtest.h>

// Shapes decide when the cover is rebuilt; where the window lands is checked through pixels.
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
