// The frame-rate graph: a small box with the smoothed frames per second, the frame time and a
// history of the rate sampled every 250 ms, its lowest sample in red and its highest in yellow.
// Frame times come from the library's clock, so a host that renders offline on the manual clock
// sees the rate of its music, not of its renderer.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

class FontRenderer;

class FpsGraph {
public:
    static constexpr size_t kHistoryLength = 122;
    static constexpr float kWidth = 130.0f;
    static constexpr float kHeight = 50.0f;

    // Needs the context current; the immediate-mode drawing layer must exist when it draws.
    FpsGraph();
    ~FpsGraph();
    FpsGraph(const FpsGraph&) = delete;
    FpsGraph& operator=(const FpsGraph&) = delete;

    // Once per frame: measures the time since the previous call.
    void update();
    // Corner 0 top left, 1 top right, 2 bottom right, 3 bottom left of a width × height screen.
    void draw(uint32_t width, uint32_t height, int corner);

    void setVisible(bool visible) { mVisible = visible; }
    float smoothedFrameTime() const { return mSmoothedFrameTime; }
    // Newest first.
    const std::array<float, kHistoryLength>& history() const { return mHistory; }

private:
    void push(float rate);

    uint64_t mFrameCount = 0;
    long long mNow = 0;  // nanoseconds on the library's clock
    long long mPrevious = 0;
    float mSmoothedFrameTime = 0.0f;
    std::array<float, kHistoryLength> mHistory{};
    float mMinimum = 0.0f;
    float mMaximum = 0.0f;
    size_t mMinimumIndex = 0;
    size_t mMaximumIndex = 0;
    long long mLastPush = 0;
    bool mVisible = true;
    std::unique_ptr<FontRenderer> mFontRenderer;
};
