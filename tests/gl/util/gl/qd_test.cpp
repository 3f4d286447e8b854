// Immediate-mode drawing on the headless context: every primitive lights the pixels it should and
// no others, the matrix stacks restore what they saved, a draw list replays the same picture, and
// a host that binds its own objects between calls changes nothing.
#include "visualization/util/gl/qd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "visualization/util/gl/qd_draw_list.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/math/scalar.h"

namespace {

using testsupport::Rgba;

constexpr uint32_t kSize = 64;
const Rgba kBlack{0, 0, 0, 255};
const Rgba kWhite{255, 255, 255, 255};

class QdTest : public gltest::GlLayerTest {
protected:
    void SetUp() override {
        GlLayerTest::SetUp();
        useTarget(kSize, kSize);
        qd::create();
        qd::bind();
        qd::setProjection(kSize, kSize, true);
        qd::identity();
        qd::color(1.0f, 1.0f);
        gl::applyBaseRenderState();
        clear();
    }
    void TearDown() override {
        qd::destroy();
        GlLayerTest::TearDown();
    }
    static void clear() {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    bool lit(uint32_t x, uint32_t y) const { return pixel(x, y).r > 128; }
    // Lit at or next to (x, y): edges of rasterised lines may fall on either side of a boundary.
    bool litNear(uint32_t x, uint32_t y) const {
        for (uint32_t v = y > 0 ? y - 1 : 0; v <= std::min(y + 1, kSize - 1); ++v) {
            for (uint32_t u = x > 0 ? x - 1 : 0; u <= std::min(x + 1, kSize - 1); ++u) {
                if (lit(u, v)) {
                    return true;
                }
            }
        }
        return false;
    }
    int litCount() const {
        int count = 0;
        for (uint32_t y = 0; y < kSize; ++y) {
            for (uint32_t x = 0; x < kSize; ++x) {
                count += lit(x, y) ? 1 : 0;
            }
        }
        return count;
    }
};

struct Pt {
    uint32_t x, y;
};

TEST_F(QdTest, EveryPrimitiveLightsWhereItShould) {
    const float quarter = math::kPi / 2.0f;
    const uint8_t checker[16] = {255, 255, 255, 255, 0,   0,   0,   255,
                                 0,   0,   0,   255, 255, 255, 255, 255};
    gl::Texture2dConfig nearest;
    nearest.minFilter = nearest.magFilter = GL_NEAREST;
    gl::Texture2d* texture = gl::createTexture2d(checker, 2, 2, nearest);
    const float meshPositions[12] = {40, 40, 0, 40, 60, 0, 60, 60, 0, 60, 40, 0};
    const uint8_t meshIndices[6] = {0, 1, 2, 0, 2, 3};

    const struct {
        const char* name;
        std::function<void()> draw;
        std::vector<Pt> on, off;
        int minLit = 1, maxLit = kSize * kSize;
    } cases[] = {
        {"point",
         [] {
             qd::pointSize(4.0f);
             qd::point(10.0f, 20.0f);
             qd::pointSize(1.0f);
         },
         {{10, 20}, {9, 19}},
         {{14, 20}, {10, 24}},
         4,
         16},
        {"points2fv",
         [] {
             qd::pointSize(2.0f);
             qd::points2fv(std::vector<float>{5.0f, 5.0f, 50.0f, 30.0f});
             qd::pointSize(1.0f);
         },
         {{5, 5}, {50, 30}},
         {{30, 30}},
         2,
         8},
        {"hline and vline",
         [] {
             qd::hline(4.0f, 60.0f, 10.5f);
             qd::vline(32.5f, 20.0f, 50.0f);
         },
         {{4, 10}, {59, 10}, {32, 20}, {32, 49}},
         {{2, 10}, {61, 10}, {32, 52}, {20, 30}},
         80,
         90},
        {"closed line strip",
         [] {
             const float square[6] = {10.5f, 10.5f, 50.5f, 10.5f, 50.5f, 50.5f};
             qd::lineStrip2fv(square, 6, true);
         },
         {{30, 10}, {50, 30}, {30, 30}},  // the closing edge runs along the diagonal
         {{10, 50}, {40, 20}}},
        {"one-point strip draws nothing",
         [] {
             qd::lineStrip3fv(std::vector<float>{5, 5, 0}, false);
         },
         {},
         {{5, 5}},
         0,
         0},
        {"line batch",
         [] {
             qd::clearLines();
             qd::addLine(0.0f, 0.5f, 64.0f, 0.5f);
             qd::addLine(vec3f{0.0f, 63.5f, 0.0f}, vec3f{64.0f, 63.5f, 0.0f});
             qd::drawLines();
         },
         {{0, 0}, {63, 0}, {0, 63}, {63, 63}},
         {{0, 2}, {32, 32}},
         120,
         128},
        {"triangle",
         [] { qd::triangle(0.0f, 0.0f, 64.0f, 0.0f, 0.0f, 64.0f); },
         {{2, 2}, {60, 1}, {1, 60}},
         {{40, 40}, {62, 62}}},
        {"circle",
         [] { qd::circle(32.0f, 32.0f, 20.0f, 48); },
         {{32, 32}, {14, 32}, {32, 49}},
         {{10, 10}, {32, 54}},
         1150,
         1300},
        {"ellipse outline",
         [] { qd::ellipseOutline(32.0f, 32.0f, 25.0f, 10.0f, 64); },
         {{7, 32}, {56, 32}, {32, 22}},
         {{32, 32}, {32, 15}}},
        {"rect, centred rect and outline",
         [] {
             qd::rect(0.0f, 0.0f, 16.0f, 8.0f);
             qd::rectCentered(48.0f, 48.0f, 8.0f, 8.0f);
             qd::rectOutline(20.5f, 20.5f, 10.0f, 10.0f);
         },
         {{0, 0}, {15, 7}, {44, 44}, {51, 51}, {20, 25}, {25, 20}},
         {{16, 0}, {0, 8}, {43, 48}, {52, 48}, {25, 25}},
         128 + 64},
        {"xz rectangle turned into view",
         [=] {
             qd::pushMatrix();
             qd::rotateX(-quarter);  // +z onto +y
             qd::rectXZ(8.0f, 0.0f, 8.0f, 16.0f, 4.0f);
             qd::popMatrix();
         },
         {{8, 8}, {23, 11}},
         {{8, 12}, {24, 8}, {8, 7}},
         64,
         64},
        {"textured rectangles",
         [=] {
             qd::useTexture(true);
             qd::bindTexture(texture);
             qd::clearTexturedRects();
             qd::addTexturedRect(0.0f, 0.0f, 32.0f, 32.0f);
             qd::addTexturedRectCentered(48.0f, 48.0f, 32.0f, 32.0f);
             qd::flushTexturedRects();
             qd::useTexture(false);
         },
         // Texel (0, 0), white, at the first corner; the texture's second row at larger y.
         {{4, 4}, {28, 28}, {36, 36}, {60, 60}},
         {{28, 4}, {4, 28}, {60, 36}, {36, 60}, {40, 10}}},
        {"box and its outline",
         [] {
             qd::box(16.0f, 16.0f, 0.0f, 10.0f, 10.0f, 1.0f);
             qd::pushMatrix();
             qd::scale(1.0f, 1.0f, 0.01f);  // into the depth range of the projection
             qd::boxOutline(48.5f, 48.5f, 0.0f, 20.0f);
             qd::popMatrix();
         },
         {{12, 12}, {20, 20}, {38, 48}, {48, 58}},
         {{23, 16}, {48, 48}}},
        {"cone",
         [] {
             qd::pushMatrix();
             qd::scale(1.0f, 1.0f, 0.01f);
             qd::cylinder(32.0f, 32.0f, 0.0f, 10.0f, 40.0f, 32, 0.0f, 1.0f);
             qd::popMatrix();
         },
         {{32, 14}, {24, 14}, {40, 14}, {32, 48}},  // the apex at +y, down the screen
         {{32, 10}, {24, 48}, {40, 48}, {32, 54}}},
        {"wire sphere",
         [] {
             qd::pushMatrix();
             qd::scale(1.0f, 1.0f, 0.01f);
             qd::sphere(32.5f, 32.5f, 0.0f, 20.0f, 8, 12);
             qd::popMatrix();
         },
         {{20, 32}, {45, 32}, {32, 20}, {32, 45}},
         {{5, 5}, {58, 58}}},
        {"grid",
         [] { qd::grid(10.5f, 10.5f, 40.0f, 40.0f, 4, 2); },
         {{10, 30}, {20, 15}, {50, 40}, {15, 30}, {40, 50}},
         {{15, 15}, {25, 40}, {55, 30}}},
        {"arc",
         [=] { qd::arc(32.0f, 32.0f, 20.0f, 0.0f, quarter, 16); },
         {{52, 32}, {32, 52}, {46, 46}},  // y runs down: a quarter turn goes from +x to +y
         {{12, 32}, {32, 12}, {32, 32}}},
        {"triangle mesh",
         [&] {
             qd::triangleMesh(meshPositions, 12, nullptr, 0, meshIndices, 6, 1, GL_UNSIGNED_BYTE);
         },
         {{40, 40}, {59, 59}},
         {{39, 40}, {60, 50}},
         400,
         400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        qd::color(1.0f, 1.0f);
        c.draw();
        readBack();
        for (const Pt& p : c.on) {
            EXPECT_TRUE(litNear(p.x, p.y)) << p.x << ", " << p.y;
        }
        for (const Pt& p : c.off) {
            EXPECT_FALSE(lit(p.x, p.y)) << p.x << ", " << p.y;
        }
        const int count = litCount();
        EXPECT_GE(count, c.minLit);
        EXPECT_LE(count, c.maxLit);
        if (::testing::Test::HasFailure()) {
            savePng(std::string("qd_failed_") + c.name);
        }
    }
    gl::deleteTexture2d(texture);

    // Axes in their colours, leaving blue current; the projection maps (0, 0) to the top left.
    clear();
    qd::axes(0.5f, 0.5f, 0.0f, 30.0f);
    readBack();
    EXPECT_EQ(pixel(20, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(0, 20), (Rgba{0, 255, 0, 255}));
    qd::rect(40.0f, 40.0f, 4.0f, 4.0f);
    readBack();
    EXPECT_EQ(pixel(41, 41), (Rgba{0, 0, 255, 255}));

    // Colour is premultiplied on the way out: half-transparent red over black with blending.
    clear();
    qd::enableBlend();
    qd::blendPremultiplied();
    qd::color(1.0f, 0.0f, 0.0f, 0.5f);
    qd::rect(0.0f, 0.0f, 8.0f, 8.0f);
    qd::disableBlend();
    readBack();
    EXPECT_TRUE(testsupport::near(pixel(4, 4), Rgba{128, 0, 0, 255}));
}

TEST_F(QdTest, MatrixStacksRestoreWhatTheySaved) {
    qd::pushMatrix();
    qd::translate(40.0f, 40.0f);
    qd::scale(2.0f);
    qd::rect(0.0f, 0.0f, 4.0f, 4.0f);  // covers 40..47
    qd::popMatrix();
    qd::rect(0.0f, 0.0f, 4.0f, 4.0f);  // the restored model, uploaded before this draw
    // The projection stack: a y-up projection drawn inside, the y-down one restored after.
    qd::pushProjectionMatrix();
    qd::setProjection(kSize, kSize, false);
    qd::rect(60.0f, 0.0f, 4.0f, 4.0f);  // bottom right
    qd::popProjectionMatrix();
    qd::rect(20.0f, 0.0f, 4.0f, 4.0f);  // top
    readBack();
    EXPECT_TRUE(lit(40, 40) && lit(47, 47) && !lit(48, 48) && !lit(39, 40));
    EXPECT_TRUE(lit(0, 0) && lit(3, 3) && !lit(4, 4));
    EXPECT_TRUE(lit(62, 62) && !lit(62, 1));
    EXPECT_TRUE(lit(21, 1) && !lit(21, 62));
    EXPECT_EQ(litCount(), 64 + 16 + 16 + 16);

    // Placed primitives leave the model as it was.
    clear();
    qd::translate(1.0f, 2.0f);
    qd::circle(5.0f, 5.0f, 2.0f, 8);
    qd::rect(20.0f, 20.0f, 1.0f, 1.0f);
    readBack();
    EXPECT_TRUE(lit(21, 22) && !lit(20, 20));
}

TEST_F(QdTest, PoppingAnEmptyStackStops) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(qd::popMatrix(), "Assertion failed: !g_stackMatrixModel.empty\\(\\)");
    EXPECT_DEATH(qd::popProjectionMatrix(),
                 "Assertion failed: !g_stackMatrixProjection.empty\\(\\)");
    EXPECT_DEATH(qd::points2fv(std::vector<float>{1.0f, 2.0f, 3.0f}), "length % 2 == 0");
    EXPECT_DEATH(
        {
            qd::DrawList list;
            list.color(1.0f, 1.0f, 1.0f, 1.0f);
            list._colors.push_back(colorf());
            qd::submit(list);
        },
        "QD_CL_CHECK\\(_colors\\) && QD_CL_CHECK\\(_lines\\)");
}

// One scene drawn through both paths, so that the recording covers every kind of parameter.
template <typename Target>
void drawScene(Target& t) {
    t.pushMatrices();
    t.setProjection(kSize, kSize, true);
    t.color(1.0f, 0.5f, 0.0f, 1.0f);
    t.rect(2.0f, 2.0f, 10.0f, 6.0f);
    t.translate(8.0f, 8.0f);
    t.ellipse(20.0f, 20.0f, 6.0f, 3.0f, 24);
    t.color(0.0f, 1.0f, 1.0f, 1.0f);
    t.line(vec3f{0.5f, 40.5f, 0.0f}, vec3f{50.5f, 40.5f, 0.0f});
    const float strip[6] = {0.5f, 50.5f, 20.5f, 55.5f, 40.5f, 50.5f};
    t.lineStrip2fv(strip, 6, false);
    t.clearLines();
    t.addLine(vec3f{45.5f, 0.0f, 0.0f}, vec3f{45.5f, 30.0f, 0.0f});
    t.drawLines();
    t.triangle(vec3f{30, 0, 0}, vec3f{40, 0, 0}, vec3f{30, 10, 0});
    t.pushMatrix();
    t.rotate(0.3f, vec3f{0.0f, 0.0f, 1.0f});
    t.boxOutline(10.0f, 30.0f, 0.0f, 8.0f, 8.0f, 1.0f);
    t.popMatrix();
    t.sphere(50.0f, 50.0f, 0.0f, 6.0f, 4, 6);
    t.grid(0.5f, 0.5f, 6.0f, 6.0f, 2, 2);
    t.arc(20.0f, 10.0f, 0.0f, 5.0f, 0.0f, 2.0f, 8);
    t.axes(56.5f, 2.5f, 0.0f, 5.0f);
    t.popMatrices();
}

// The immediate calls behind the same names as the recorder's.
struct Immediate {
    void pushMatrices() { qd::pushMatrices(); }
    void popMatrices() { qd::popMatrices(); }
    void pushMatrix() { qd::pushMatrix(); }
    void popMatrix() { qd::popMatrix(); }
    void setProjection(float w, float h, bool flip) { qd::setProjection(w, h, flip); }
    void color(float r, float g, float b, float a) { qd::color(r, g, b, a); }
    void rect(float x, float y, float w, float h) { qd::rect(x, y, w, h); }
    void translate(float x, float y) { qd::translate(x, y); }
    void rotate(float a, const vec3f& axis) { qd::rotate(a, axis); }
    void ellipse(float x, float y, float rx, float ry, int n) { qd::ellipse(x, y, rx, ry, n); }
    void line(const vec3f& a, const vec3f& b) { qd::line(a, b); }
    void lineStrip2fv(const float* v, size_t n, bool closed) { qd::lineStrip2fv(v, n, closed); }
    void clearLines() { qd::clearLines(); }
    void addLine(const vec3f& a, const vec3f& b) { qd::addLine(a, b); }
    void drawLines() { qd::drawLines(); }
    void triangle(const vec3f& a, const vec3f& b, const vec3f& c) { qd::triangle(a, b, c); }
    void boxOutline(float x, float y, float z, float sx, float sy, float sz) {
        qd::boxOutline(x, y, z, sx, sy, sz);
    }
    void sphere(float x, float y, float z, float r, int rings, int segments) {
        qd::sphere(x, y, z, r, rings, segments);
    }
    void grid(float x, float y, float w, float h, int c, int r) { qd::grid(x, y, w, h, c, r); }
    void arc(float x, float y, float z, float r, float a0, float a1, int n) {
        qd::arc(x, y, z, r, a0, a1, n);
    }
    void axes(float x, float y, float z, float l) { qd::axes(x, y, z, l); }
};

TEST_F(QdTest, DrawListReplaysTheImmediatePicture) {
    Immediate immediate;
    drawScene(immediate);
    readBack();
    savePng("qd_scene");
    const std::vector<uint8_t> expected = pixels();
    EXPECT_GT(litCount(), 100);

    qd::DrawList list;
    drawScene(list);
    clear();
    qd::translate(3.0f, 0.0f);  // submit draws inside the caller's model matrix, then restores it
    qd::submit(list);
    readBack();
    // The scene sets its own projection but multiplies onto the model: shifted by three pixels.
    int differing = 0;
    for (uint32_t y = 0; y < kSize; ++y) {
        for (uint32_t x = 3; x < kSize; ++x) {
            differing += pixel(x, y) == Rgba{expected[(y * kSize + x - 3) * 4],
                                             expected[(y * kSize + x - 3) * 4 + 1],
                                             expected[(y * kSize + x - 3) * 4 + 2],
                                             expected[(y * kSize + x - 3) * 4 + 3]}
                             ? 0
                             : 1;
        }
    }
    EXPECT_EQ(differing, 0);
    if (differing != 0) {
        savePng("qd_draw_list_replay");
    }
    clear();
    qd::color(1.0f, 1.0f, 1.0f, 1.0f);
    qd::rect(30.0f, 30.0f, 1.0f, 1.0f);
    readBack();
    EXPECT_TRUE(lit(33, 30) && !lit(30, 30)) << "the caller's model is back";
}

TEST_F(QdTest, AHostThatBindsItsOwnObjectsChangesNothing) {
    gl::Program* host =
        gl::createProgram(gltest::kColourVertexSource, gltest::kColourFragmentSource, {});
    GLuint hostArray = 0;
    glGenVertexArrays(1, &hostArray);
    for (int call = 0; call < 2; ++call) {
        // Between host calls: the host binds behind the module's back, which forgets its records.
        glUseProgram(host->id);
        glBindVertexArray(hostArray);
        gl::resetBindingRecords();
        qd::color(0.0f, 1.0f, 0.0f, 1.0f);  // must land in qd's program, not the host's
        qd::rect(call * 32.0f, 0.0f, 32.0f, 64.0f);
    }
    readBack();
    EXPECT_EQ(pixel(10, 10), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(50, 50), (Rgba{0, 255, 0, 255}));
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &hostArray);
    gl::deleteProgram(host);
}

}  // namespace
