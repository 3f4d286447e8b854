// The analyzer view: what the sound input model hears, drawn over the picture in screen pixels
// (origin top left). A band panel with the smoothed band levels, their average and the newest
// entries of the normalised minimum, median and maximum histories; a 60-second timeline of the
// sound classes; a map of the nine classes with the previous, current and next class and the switch
// between them. The compact layout leaves out the band panel.
//
// Owns its font renderer and the immediate-mode drawing layer's resources (released by the
// destructor). Create, draw and delete it on the render thread with the context current.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "visualization/sound_input.h"
#include "visualization/types.h"

class FontRenderer;

class OrvantoAnalyzerDebugView {
public:
    // `reserved` is kept as given; nothing reads it.
    OrvantoAnalyzerDebugView(uint32_t width, uint32_t height, uint32_t reserved);
    ~OrvantoAnalyzerDebugView();
    OrvantoAnalyzerDebugView(const OrvantoAnalyzerDebugView&) = delete;
    OrvantoAnalyzerDebugView& operator=(const OrvantoAnalyzerDebugView&) = delete;

    void setCompact(bool compact) { mCompact = compact; }

    // Draws nothing until the spectrum holds a usable frame. Sets the render state it needs and
    // leaves blending, scissor and depth switched off.
    void draw(const SoundInput& sound);

private:
    void drawBandPanel(float x, float y, float w, float h);
    void drawBarGraph(float x, float y, float w, float h, float marginX, float marginY,
                      const char* caption, const std::vector<float>& values);
    void drawClassHistoryPanel(float x, float y, float w, float h);
    void drawClassMapPanel(float x, float y, float w, float h);
    void drawPanelBackground(float x, float y, float w, float h);
    // A caption in a grey box anchored at (x, y); right alignment puts the box left of it.
    void drawLabel(float x, float y, const char* text, int align);

    uint32_t mWidth;
    uint32_t mHeight;
    uint32_t mReserved;
    std::unique_ptr<FontRenderer> mFontRenderer;
    bool mCompact = false;

    // The snapshot of the sound input taken at the start of each draw; its vectors keep their
    // capacity, so a warm draw allocates nothing.
    std::vector<float> mBands;
    float mAverage = 0.0f;
    std::vector<float> mAverageValue;
    std::vector<float> mHistoryMin;
    std::vector<float> mHistoryMid;
    std::vector<float> mHistoryMax;
    std::vector<SoundClassHistoryEntry> mClassHistory;
    SoundClass mPrevious = SoundClass::Moderate;
    SoundClass mCurrent = SoundClass::Moderate;
    SoundClass mNext = SoundClass::Moderate;
    float mProgress = 0.0f;
};
