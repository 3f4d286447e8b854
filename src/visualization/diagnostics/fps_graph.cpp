#include "visualization/diagnostics/fps_graph.h"

#include <GLES3/gl3.h>

#include <cstdio>
#include <limits>
#include <tuple>

#include "platform.h"
#include "visualization/util/font_renderer.h"
#include "visualization/util/gl/qd.h"
#include "visualization/util/gl/shared_context.h"

namespace {

constexpr long long kPushInterval = 250'000'000;  // nanoseconds
constexpr float kGraphHeight = 28.0f;
constexpr float kSmallestRate = std::numeric_limits<float>::min();

}  // namespace

FpsGraph::FpsGraph() : mFontRenderer(std::make_unique<FontRenderer>(0, 0)) {
    mFontRenderer->createCharInfo("replica",
                                  {"fonts/replica/replica.png", "fonts/replica/replica.json"});
    mFontRenderer->setFont("replica");
    mFontRenderer->size(12.0f);
    mFontRenderer->smoothing(1.75f);
}

FpsGraph::~FpsGraph() = default;

void FpsGraph::update() {
    mNow = platform_clock_now_ns();
    const bool first = mFrameCount == 0;
    if (first) {
        mPrevious = mNow;
    }
    const float frameTime = float(double(mNow - mPrevious) * 1e-9);
    mPrevious = mNow;
    mSmoothedFrameTime =
        first ? frameTime : mSmoothedFrameTime + (frameTime - mSmoothedFrameTime) * 0.1f;
    if (first || mNow - mLastPush >= kPushInterval) {
        push(mSmoothedFrameTime < kSmallestRate ? kSmallestRate : 1.0f / mSmoothedFrameTime);
        mLastPush = mNow;
    }
    ++mFrameCount;
}

void FpsGraph::push(float rate) {
    for (size_t i = kHistoryLength - 1; i > 0; --i) {
        mHistory[i] = mHistory[i - 1];
    }
    mHistory[0] = rate;
    // Empty slots and the stand-in for an unmeasurable rate are no minimum.
    mMinimum = std::numeric_limits<float>::max();
    mMaximum = 0.0f;
    for (size_t i = 0; i < kHistoryLength; ++i) {
        const float value = mHistory[i];
        if (value > kSmallestRate && value < mMinimum) {
            mMinimum = value;
            mMinimumIndex = i;
        }
        if (value > mMaximum) {
            mMaximum = value;
            mMaximumIndex = i;
        }
    }
    if (mMinimum == std::numeric_limits<float>::max()) {
        mMinimum = 0.0f;
    }
}

void FpsGraph::draw(uint32_t width, uint32_t height, int corner) {
    if (!mVisible) {
        return;
    }
    const float w = float(width);
    const float h = float(height);
    gl::applyBaseRenderState();
    glViewport(0, 0, GLsizei(width), GLsizei(height));
    qd::enableBlend();
    qd::blendPremultiplied();
    qd::useTexture(false);
    qd::bind();
    qd::pushMatrices();
    qd::setProjection(w, h, true);
    qd::identity();
    const float left = corner == 1 || corner == 2 ? w - kWidth : 0.0f;
    const float top = corner == 2 || corner == 3 ? h - kHeight : 0.0f;
    qd::translate(left, top);
    qd::color(0.0f, 0.5f);
    qd::rect(0.0f, 0.0f, kWidth, kHeight);
    qd::translate(4.0f, 4.0f);
    if (mMaximum > 0.0f) {
        // The bars in one draw, from the rectangle batch, then the two marked ones over them.
        const auto bar = [this](size_t i) {
            const float height = mHistory[i] / mMaximum * kGraphHeight;
            qd::addTexturedRect(float(i), kGraphHeight - height, 1.0f, height);
        };
        qd::color(0.35f, 1.0f);
        qd::clearTexturedRects();
        for (size_t i = 0; i < kHistoryLength; ++i) {
            bar(i);
        }
        qd::flushTexturedRects();
        for (const auto& [index, red, green] :
             {std::tuple{mMinimumIndex, 1.0f, 0.0f}, std::tuple{mMaximumIndex, 1.0f, 1.0f}}) {
            qd::color(red, green, 0.0f, 1.0f);
            qd::clearTexturedRects();
            bar(index);
            qd::flushTexturedRects();
        }
    }
    qd::popMatrices();

    // On the stack: the frame-rate text costs no allocation per frame.
    char text[64];
    const float x = left + 4.0f;
    const float y = top + 4.0f;
    mFontRenderer->setViewport(width, height);
    std::snprintf(text, sizeof text, "%.2f FPS [%.0f - %.0f]", 1.0 / double(mSmoothedFrameTime),
                  double(mMinimum), double(mMaximum));
    mFontRenderer->color(1.0f, 1.0f, 1.0f, 1.0f);
    mFontRenderer->drawString(x, y, text);
    std::snprintf(text, sizeof text, "%.2f MS", double(mSmoothedFrameTime) * 1000.0);
    mFontRenderer->color(0.85f, 0.85f, 0.85f, 1.0f);
    mFontRenderer->drawString(x, y + 12.0f, text);
    qd::disableBlend();
}
