#include "visualization/aod_overlay_mesh.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Corner {
    float x, y, u, v;
};

Corner vertex(const AODOverlayMesh& mesh, uint32_t i) {
    const auto& v = mesh.vertices();
    return Corner{v[i * 4], v[i * 4 + 1], v[i * 4 + 2], v[i * 4 + 3]};
}

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

TEST(AODOverlayMesh, OffsetMovesTheWindowAlongTheLongSide) {
    AODOverlayMesh mesh;
    const auto centreX = [&](float offset) {
        mesh.build(1920.0f, 1080.0f, AODMask(0, vec2f{1.0f, 1.0f}, vec2f{offset, 0.0f}), 3, 2,
                   kTexel);
        return (vertex(mesh, 8).x + vertex(mesh, 10).x) / 2.0f;
    };
    EXPECT_FLOAT_EQ(centreX(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(centreX(0.5f), 540.0f);   // 960 x 1080 / 1920
    EXPECT_FLOAT_EQ(centreX(0.75f), 750.0f);  // half way between 540 and 960
    EXPECT_FLOAT_EQ(centreX(3.0f), 960.0f) << "beyond 1 it stays at the edge";

    // Scale stretches each axis by the short side.
    mesh.build(1080.0f, 1920.0f, AODMask(2, vec2f{1.0f, 2.0f}, vec2f{0.0f, -0.5f}), 3, 2, kTexel);
    EXPECT_FLOAT_EQ(vertex(mesh, 10).x, 540.0f);
    EXPECT_FLOAT_EQ(vertex(mesh, 8).y, -540.0f - 1080.0f);
    EXPECT_FLOAT_EQ(vertex(mesh, 10).y, -540.0f + 1080.0f);
}

TEST(AODOverlayMesh, WindowSamplesItsAtlasCellInsetByOneTexel) {
    AODOverlayMesh mesh;
    std::set<std::pair<float, float>> origins;
    for (uint32_t index = 0; index < 6; ++index) {
        SCOPED_TRACE(index);
        mesh.build(1920.0f, 1080.0f, AODMask(index, vec2f{1.0f, 1.0f}, vec2f{}), 3, 2, kTexel);
        const float column = float(index % 3);
        const float row = float(index / 3);
        const Corner a = vertex(mesh, 8);
        const Corner c = vertex(mesh, 10);
        EXPECT_FLOAT_EQ(a.u, column / 3.0f + kTexel.x);
        EXPECT_FLOAT_EQ(a.v, row / 2.0f + kTexel.y);
        EXPECT_FLOAT_EQ(c.u, (column + 1.0f) / 3.0f - kTexel.x);
        EXPECT_FLOAT_EQ(c.v, (row + 1.0f) / 2.0f - kTexel.y);
        EXPECT_TRUE(vertex(mesh, 9).u == c.u && vertex(mesh, 9).v == a.v);
        EXPECT_TRUE(vertex(mesh, 11).u == a.u && vertex(mesh, 11).v == c.v);
        origins.insert({a.u, a.v});
    }
    EXPECT_EQ(origins.size(), 6u);
}

TEST(AODOverlayMesh, WindowBoundsAreClampedScreenPixels) {
    AODOverlayMesh mesh;
    const auto projection = screenProjection(1920.0f, 1080.0f);
    vec2f min, max;
    mesh.build(1920.0f, 1080.0f, AODMask(0, vec2f{1.0f, 1.0f}, vec2f{}), 3, 2, kTexel);
    mesh.windowBounds(projection.data(), 1920.0f, 1080.0f, min, max);
    EXPECT_FLOAT_EQ(min.x, 420.0f);
    EXPECT_FLOAT_EQ(max.y, 1080.0f);

    // A window larger than the screen is cut at its edges.
    mesh.build(1920.0f, 1080.0f, AODMask(3, vec2f{2.0f, 1.0f}, vec2f{0.5f, 0.0f}), 3, 2, kTexel);
    mesh.windowBounds(projection.data(), 1920.0f, 1080.0f, min, max);
    EXPECT_FLOAT_EQ(min.x, 960.0f + 540.0f - 1080.0f);
    EXPECT_FLOAT_EQ(max.x, 1920.0f);
}
