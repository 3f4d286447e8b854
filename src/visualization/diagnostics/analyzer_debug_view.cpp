#include "visualization/diagnostics/analyzer_debug_view.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "visualization/log.h"
#include "visualization/util/font_renderer.h"
#include "visualization/util/gl/qd.h"
#include "visualization/util/gl/shared_context.h"

namespace {

constexpr float kPanelSide = 405.0f;
constexpr float kBandPanelHeight = 236.25f;
constexpr float kHistoryPanelHeight = 168.75f;
constexpr size_t kHistoryEntries = 16;
constexpr float kLabelInset = 10.0f;
constexpr float kCaptionSize = 12.0f;
constexpr float kDiscRadius = 20.0f;
constexpr int kDiscSegments = 32;
constexpr float kPanelGrey = 0.15f;

struct ClassPlace {
    float x, y;                // in the unit square of the map
    int horizontal, vertical;  // font alignment codes of its label
};

// Indexed by SoundClass: loud at the top, soft at the bottom, slow to the left, dynamic to the
// right, and the mixed characters in the corners.
constexpr ClassPlace kClassPlaces[] = {
    {0.5f, 1.0f, 2, 1},  // Soft
    {0.5f, 0.0f, 2, 0},  // Loud
    {0.0f, 0.5f, 0, 2},  // Slow
    {1.0f, 0.5f, 1, 2},  // Dynamic
    {0.5f, 0.5f, 2, 2},  // Moderate
    {0.0f, 1.0f, 0, 1},  // Calm
    {1.0f, 1.0f, 1, 1},  // Light
    {0.0f, 0.0f, 0, 0},  // Dark
    {1.0f, 0.0f, 1, 0},  // Powerful
};
static_assert(std::size(kClassPlaces) == 9, "one place per sound class");

const ClassPlace& placeOf(SoundClass soundClass) {
    const auto index = static_cast<size_t>(soundClass);
    return kClassPlaces[index < std::size(kClassPlaces) ? index : size_t(SoundClass::Moderate)];
}

// The row of a class in the history panel: its place in the name list, or -1.
int rowOf(SoundClass soundClass) {
    const auto found = SoundClassNames.find(soundClass);
    return found == SoundClassNames.end() ? -1 : int(std::distance(SoundClassNames.begin(), found));
}

}  // namespace

OrvantoAnalyzerDebugView::OrvantoAnalyzerDebugView(uint32_t width, uint32_t height,
                                                   uint32_t reserved)
    : mWidth(width), mHeight(height), mReserved(reserved) {
    beginScope("[OrvantoAnalyzerDebugView][Constructor]");
    mFontRenderer = std::make_unique<FontRenderer>(width, height);
    mFontRenderer->createCharInfo("replica",
                                  {"fonts/replica/replica.png", "fonts/replica/replica.json"});
    mFontRenderer->setFont("replica");
    mFontRenderer->size(14.0f);
    mFontRenderer->smoothing(1.75f);
    mFontRenderer->setViewport(width, height);
    qd::create();
    endScope();
}

OrvantoAnalyzerDebugView::~OrvantoAnalyzerDebugView() {
    beginScope("[OrvantoAnalyzerDebugView][Destructor]");
    mFontRenderer.reset();
    qd::destroy();
    endScope();
}

void OrvantoAnalyzerDebugView::draw(const SoundInput& sound) {
    const Spectrum& spectrum = sound.getSpectrum();
    if (!spectrum.isValid() || spectrum.bandCount() == 0) {
        return;
    }
    const auto newest = [](const std::vector<float>& history, std::vector<float>& into) {
        into.assign(history.begin(), history.begin() + std::min(kHistoryEntries, history.size()));
    };
    mBands.assign(spectrum.levelsSmoothed().begin(), spectrum.levelsSmoothed().end());
    mAverage = spectrum.average();
    mAverageValue.assign(1, mAverage);
    newest(spectrum.historyMinNormalized(), mHistoryMin);
    newest(spectrum.historyMidNormalized(), mHistoryMid);
    newest(spectrum.historyMaxNormalized(), mHistoryMax);
    mClassHistory.assign(sound.getSoundClassHistoryNormalized().begin(),
                         sound.getSoundClassHistoryNormalized().end());
    mPrevious = sound.getSoundClassPrevious();
    mCurrent = sound.getSoundClassCurrent();
    mNext = sound.getSoundClassNext();
    mProgress = sound.getSwitchProgress();

    const float w = float(mWidth);
    const float h = float(mHeight);
    // The contents leave depth, culling and scissor as they used them; the panels are translucent
    // and written premultiplied, as both programs output.
    gl::applyBaseRenderState();
    glViewport(0, 0, GLsizei(mWidth), GLsizei(mHeight));
    qd::enableBlend();
    qd::blendPremultiplied();
    qd::useTexture(false);
    mFontRenderer->color(1.0f, 1.0f, 1.0f, 1.0f);

    qd::bind();
    qd::pushMatrices();
    qd::setProjection(w, h, true);
    if (!mCompact) {
        drawBandPanel(0.0f, h - kPanelSide, w - kPanelSide, kBandPanelHeight);
        drawClassHistoryPanel(0.0f, h - kPanelSide + kBandPanelHeight, w - kPanelSide,
                              kHistoryPanelHeight);
    } else {
        drawClassHistoryPanel(0.0f, h - kHistoryPanelHeight, w - kPanelSide, kHistoryPanelHeight);
    }
    drawClassMapPanel(w - kPanelSide, h - kPanelSide, kPanelSide, kPanelSide);
    qd::popMatrices();
    qd::disableBlend();
}

void OrvantoAnalyzerDebugView::drawPanelBackground(float x, float y, float w, float h) {
    qd::color(kPanelGrey, 0.5f);
    qd::rect(x, y, w, h);
    qd::color(kPanelGrey, 1.0f);
    qd::rectOutline(x, y, w, h);
}

void OrvantoAnalyzerDebugView::drawLabel(float x, float y, const char* text, int align) {
    mFontRenderer->horizontalAlign(align);
    const FontRenderer::TextMetrics metrics = mFontRenderer->getTextMetrics(text);
    const float boxWidth = metrics.width + 2.0f * kLabelInset;
    const float boxHeight = metrics.height + 1.65f * kLabelInset;
    const bool right = align == 1;
    qd::color(kPanelGrey, 1.0f);
    qd::rect(right ? x - boxWidth : x, y, boxWidth, boxHeight);
    mFontRenderer->drawString(right ? x - kLabelInset : x + kLabelInset, y + kLabelInset, text);
}

void OrvantoAnalyzerDebugView::drawBandPanel(float x, float y, float w, float h) {
    const float half = h * 0.5f;
    const float third = w / 3.0f;
    char caption[48];
    std::snprintf(caption, sizeof caption, "Bands (%zu)", mBands.size());
    drawBarGraph(x, y, w * 0.85f, half, 10.0f, 0.0f, caption, mBands);
    drawBarGraph(x + w * 0.85f, y, w * 0.15f, half, 10.0f, 0.0f, "Avg", mAverageValue);
    std::snprintf(caption, sizeof caption, "History Min (%zu)", mHistoryMin.size());
    drawBarGraph(x, y + half, third, half, 10.0f, 0.0f, caption, mHistoryMin);
    std::snprintf(caption, sizeof caption, "History Mid (%zu)", mHistoryMid.size());
    drawBarGraph(x + third, y + half, third, half, 10.0f, 0.0f, caption, mHistoryMid);
    std::snprintf(caption, sizeof caption, "History Max (%zu)", mHistoryMax.size());
    drawBarGraph(x + 2.0f * third, y + half, third, half, 10.0f, 0.0f, caption, mHistoryMax);
}

void OrvantoAnalyzerDebugView::drawBarGraph(float x, float y, float w, float h, float marginX,
                                            float marginY, const char* caption,
                                            const std::vector<float>& values) {
    drawPanelBackground(x, y, w, h);
    const float innerX = x + 20.0f;
    const float innerY = y + 20.0f;
    const float innerWidth = w - 40.0f;
    const float innerHeight = h - 40.0f;
    qd::color(kPanelGrey, 1.0f);
    qd::hline(innerX, innerX + innerWidth, innerY);
    qd::hline(innerX, innerX + innerWidth, innerY + innerHeight);
    if (!values.empty()) {
        const float n = float(values.size());
        const float step = innerWidth / n + marginX / n;
        const float barWidth = step - marginX;
        const float range = innerHeight - 2.0f * marginY;
        // One draw for all bars: the rectangle batch filled with the current colour.
        qd::color(1.0f, 1.0f);
        qd::clearTexturedRects();
        for (size_t i = 0; i < values.size(); ++i) {
            const float height = values[i] * range;
            qd::addTexturedRect(innerX + float(i) * step, innerY + innerHeight - height - marginY,
                                barWidth, height);
        }
        qd::flushTexturedRects();
    }
    mFontRenderer->size(kCaptionSize);
    drawLabel(x, y, caption, 0);
}

void OrvantoAnalyzerDebugView::drawClassMapPanel(float x, float y, float w, float h) {
    drawPanelBackground(x, y, w, h);
    const float innerX = x + 40.0f;
    const float innerY = y + 40.0f;
    const float innerWidth = w - 80.0f;
    const float innerHeight = h - 80.0f;
    qd::color(0.2f, 1.0f);
    qd::hline(innerX, innerX + innerWidth, innerY + innerHeight * 0.5f);
    qd::vline(innerX + innerWidth * 0.5f, innerY, innerY + innerHeight);

    const auto pointX = [&](SoundClass c) { return innerX + placeOf(c).x * innerWidth; };
    const auto pointY = [&](SoundClass c) { return innerY + placeOf(c).y * innerHeight; };
    // The scissor box is in window coordinates, whose y axis points up.
    qd::enableScissor();
    qd::scissor(int(innerX), int(float(mHeight) - (innerY + innerHeight)), int(innerWidth),
                int(innerHeight));
    qd::color(0.25f, 1.0f);
    qd::line(pointX(mPrevious), pointY(mPrevious), pointX(mCurrent), pointY(mCurrent));
    qd::circle(pointX(mPrevious), pointY(mPrevious), kDiscRadius, kDiscSegments);
    if (mCurrent == mNext) {
        qd::color(0.75f, 1.0f);
        qd::circle(pointX(mCurrent), pointY(mCurrent), kDiscRadius, kDiscSegments);
    } else {
        const float mx = pointX(mCurrent) + (pointX(mNext) - pointX(mCurrent)) * mProgress;
        const float my = pointY(mCurrent) + (pointY(mNext) - pointY(mCurrent)) * mProgress;
        qd::color(0.25f, 1.0f);
        qd::line(pointX(mCurrent), pointY(mCurrent), mx, my);
        qd::color(0.5f, 1.0f);
        qd::circle(pointX(mCurrent), pointY(mCurrent), kDiscRadius, kDiscSegments);
        qd::color(0.75f, 1.0f);
        qd::circle(mx, my, kDiscRadius, kDiscSegments);
    }
    qd::disableScissor();

    for (const auto& [soundClass, name] : SoundClassNames) {
        const ClassPlace& place = placeOf(soundClass);
        mFontRenderer->horizontalAlign(place.horizontal);
        mFontRenderer->verticalAlign(place.vertical);
        mFontRenderer->drawString(pointX(soundClass), pointY(soundClass), name);
    }
    mFontRenderer->horizontalAlign(0);
    mFontRenderer->verticalAlign(0);

    mFontRenderer->size(kCaptionSize);
    drawLabel(x, y, "Sound Class Map", 0);
}

void OrvantoAnalyzerDebugView::drawClassHistoryPanel(float x, float y, float w, float h) {
    const float row = (h - 40.0f) / 9.0f;
    const float graph = w - 100.0f - 40.0f;
    drawPanelBackground(x, y, w, h);
    qd::color(kPanelGrey, 1.0f);
    qd::line(x + 120.0f, y + h - 20.0f, x + w - 20.0f, y + h - 20.0f);

    // Time runs from now at the left end of the graph to 60 seconds ago at the right.
    qd::color(1.0f, 1.0f);
    qd::clearTexturedRects();
    for (const SoundClassHistoryEntry& entry : mClassHistory) {
        const int index = rowOf(entry.soundClass);
        if (index < 0) {
            logMessage("[Renderer][drawSoundInfo][drawInfo] Invalid SoundClass key mapping");
            continue;
        }
        qd::addTexturedRect(x + 120.0f + entry.ageEnd * graph,
                            y + float(index) * row + 20.0f + 0.1f * row,
                            (entry.ageStart - entry.ageEnd) * graph, row - 0.2f * row);
    }
    qd::flushTexturedRects();

    const float q = row * 0.25f;
    const float markerX = x + 120.0f - row * 0.5f - 2.0f * q;
    const auto rowCentre = [&](SoundClass c) {
        return y + 20.0f + float(std::max(rowOf(c), 0)) * row + row * 0.5f;
    };
    const float currentY = rowCentre(mCurrent);
    const float nextY = rowCentre(mNext);
    const float movingY = currentY + (nextY - currentY) * mProgress;
    qd::color(0.5f, 1.0f);
    qd::vline(markerX, currentY, nextY);
    qd::circleOutline(markerX, nextY, q * 0.5f, kDiscSegments);
    qd::circleOutline(markerX, movingY, q, kDiscSegments);
    const SoundClass marked[] = {mPrevious, mCurrent, mNext};
    const float greys[] = {0.25f, 0.5f, 0.75f};
    for (int i = 0; i < 3; ++i) {
        qd::color(greys[i], 1.0f);
        qd::circle(markerX + float(i - 1) * 2.0f * q, rowCentre(marked[i]), q * 0.5f,
                   kDiscSegments);
    }

    char caption[48];
    std::snprintf(caption, sizeof caption, "History Sound Class (%zu)", mClassHistory.size());
    mFontRenderer->size(kCaptionSize);
    drawLabel(x + w, y, caption, 1);

    mFontRenderer->horizontalAlign(0);
    for (const auto& [soundClass, name] : SoundClassNames) {
        const int i = rowOf(soundClass);
        const FontRenderer::TextMetrics metrics = mFontRenderer->getTextMetrics(name);
        const float labelX = x + 20.0f;
        const float labelY = y + 20.0f + float(i) * row + row * 0.5f - metrics.height * 0.45f;
        mFontRenderer->drawString(labelX, labelY, name);
        if (soundClass == mNext) {
            qd::color(1.0f, 1.0f);
            qd::hline(labelX, labelX + metrics.width, labelY + metrics.base + 2.0f);
        }
        if (i == 4) {
            mFontRenderer->color(kPanelGrey, kPanelGrey, kPanelGrey, 1.0f);
            mFontRenderer->drawString(x + 120.0f, labelY, "now");
            mFontRenderer->horizontalAlign(1);
            mFontRenderer->drawString(x + w + 20.0f - 40.0f, labelY, "+60sec");
            mFontRenderer->color(1.0f, 1.0f, 1.0f, 1.0f);
            mFontRenderer->horizontalAlign(0);
        }
    }
}
