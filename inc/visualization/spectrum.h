// The band analyser: the host's band levels (dB), their 240-frame histories, levels normalised
// to 0..1 and smoothed, relative levels against the history's range, and the histories of the
// lowest, median and highest relative level. Sized by the first frame; allocates nothing per
// frame once sized.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Spectrum {
public:
    static constexpr float kBandMin = -120.0f;
    static constexpr float kBandMax = -10.0f;
    static constexpr size_t kHistoryLength = 240;

    // Checks and copies one frame of `count` values. A frame with a NaN is logged per value and
    // dropped; an empty frame is dropped silently; a new band count resizes (clears) everything.
    void setBandsInfo(const float* data, uint32_t count);
    void update(float dt);

    bool isValid() const { return mValid; }
    size_t bandCount() const { return mBands.size(); }
    uint64_t frameCount() const { return mFrameCount; }
    float average() const { return mAverage; }

    const std::vector<float>& bands() const { return mBands; }
    // Row 0 is the newest frame.
    const std::vector<std::vector<float>>& historyRaw() const { return mHistoryRaw; }
    const std::vector<std::vector<float>>& history() const { return mHistory; }
    const std::vector<float>& levels() const { return mLevels; }
    const std::vector<float>& levelsSmoothed() const { return mLevelsSmoothed; }
    const std::vector<float>& levelsSorted() const { return mLevelsSorted; }
    const std::vector<float>& relative() const { return mRelative; }
    const std::vector<float>& relativeSmoothed() const { return mRelativeSmoothed; }
    const std::vector<float>& relativeSorted() const { return mRelativeSorted; }
    const std::vector<float>& historyMin() const { return mHistoryMin; }
    const std::vector<float>& historyMid() const { return mHistoryMid; }
    const std::vector<float>& historyMax() const { return mHistoryMax; }
    const std::vector<float>& historyMinNormalized() const { return mHistoryMinNormalized; }
    const std::vector<float>& historyMidNormalized() const { return mHistoryMidNormalized; }
    const std::vector<float>& historyMaxNormalized() const { return mHistoryMaxNormalized; }

private:
    void resize(size_t count);

    bool mValid = false;
    uint64_t mFrameCount = 0;
    float mSmoothingRate = 8.0f;
    std::vector<float> mBands;
    std::vector<std::vector<float>> mHistoryRaw;
    std::vector<std::vector<float>> mHistory;
    std::vector<float> mLevels;
    std::vector<float> mLevelsSmoothed;
    std::vector<float> mLevelsSorted;
    float mAverage = 0.0f;
    std::vector<float> mRelative;
    std::vector<float> mRelativeSmoothed;
    std::vector<float> mRelativeSorted;
    std::vector<float> mHistoryMin;
    std::vector<float> mHistoryMid;
    std::vector<float> mHistoryMax;
    std::vector<float> mHistoryMinNormalized;
    std::vector<float> mHistoryMidNormalized;
    std::vector<float> mHistoryMaxNormalized;
    bool mFrozen = false;
    // history equals historyRaw, so the next unfrozen frame can shift it instead of copying
    // all rows.
    bool mHistoryMirrorsRaw = true;
    // Lowest and highest value of each historyRaw row, shifted with the rows.
    std::vector<float> mRawRowMin;
    std::vector<float> mRawRowMax;
};
