// Immediate-mode drawing on the headless context, as the diagnostic views use it: each primitive
// they draw lights the pixels it should and no others, and a host that binds its own objects
// between calls changes nothing.
#include "visualization/util/gl/qd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "visualization/util/gl/shared_context.h"

namespace {

using testsupport::Rgba;

constexpr uint32_t kSize = 64;

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
    const uint8_t checker[16] = {255, 255, 255, 255, 0,   0,   0,   255,
                                 0,   0,   0,   255, 255, 255, 255, 255};
    gl::Texture2dConfig nearest;
    nearest.minFilter = nearest.magFilter = GL_NEAREST;
    gl::Texture2d* texture = gl::createTexture2d(checker, 2, 2, nearest);

    const struct {
        const char* name;
        std::function<void()> draw;
        std::vector<Pt> on, off;
        int minLit = 1, maxLit = kSize * kSize;
    } cases[] = {
        {"hline, vline and line",
         [] {
             qd::hline(4.0f, 60.0f, 10.5f);
             qd::vline(32.5f, 20.0f, 50.0f);
             qd::line(4.0f, 60.5f, 20.0f, 60.5f);
         },
         {{4, 10}, {59, 10}, {32, 20}, {32, 49}, {4, 60}, {19, 60}},
         {{2, 10}, {61, 10}, {32, 52}, {20, 30}, {22, 60}},
         96,
         106},
        {"circle and its outline",
         [] {
             qd::circle(32.0f, 32.0f, 20.0f, 48);
             qd::circleOutline(32.0f, 32.0f, 28.0f, 48);
         },
         {{32, 32}, {14, 32}, {32, 49}, {4, 32}, {32, 60}},
         {{10, 10}, {32, 54}, {32, 62}},
         1250,
         1500},
        {"rect and outline",
         [] {
             qd::rect(0.0f, 0.0f, 16.0f, 8.0f);
             qd::rectOutline(20.5f, 20.5f, 10.0f, 10.0f);
         },
         {{0, 0}, {15, 7}, {20, 25}, {25, 20}, {30, 30}},
         {{16, 0}, {0, 8}, {25, 25}, {32, 32}},
         128 + 36,
         128 + 44},
        {"textured rectangles",
         [=] {
             qd::useTexture(true);
             qd::bindTexture(texture);
             qd::clearTexturedRects();
             qd::addTexturedRect(0.0f, 0.0f, 32.0f, 32.0f);
             qd::addTexturedRect(32.0f, 32.0f, 32.0f, 32.0f);
             qd::flushTexturedRects();
             qd::useTexture(false);
         },
         // Texel (0, 0), white, at the first corner; the texture's second row at larger y.
         {{4, 4}, {28, 28}, {36, 36}, {60, 60}},
         {{28, 4}, {4, 28}, {60, 36}, {36, 60}, {40, 10}}},
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
