// The host's band analysis: per video frame, a Hann-windowed block of the mono signal that ends
// at the frame's position, transformed with FFTW, summed into logarithmically spaced bands and
// expressed in dB, where a full-scale sine reads 0 dB. The library takes levels in -120..-10.
// Also measures what the classifier needs: the loudness of the last frame and the spectral
// centroid. Nothing allocates after construction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "band_layout.h"

namespace vizhost {

class BandAnalyzer {
public:
    static constexpr float kLevelMin = BandLayout::kLevelMin;
    static constexpr float kLevelMax = BandLayout::kLevelMax;
    static constexpr float kLowestFrequency = BandLayout::kLowestFrequency;
    static constexpr float kHighestFrequency = BandLayout::kHighestFrequency;

    BandAnalyzer(uint32_t bandCount, uint32_t sampleRate, uint32_t frameRate = 60);
    ~BandAnalyzer();
    BandAnalyzer(const BandAnalyzer&) = delete;
    BandAnalyzer& operator=(const BandAnalyzer&) = delete;

    // Analyses the block of `signal` (length samples) that ends just before sample `end`;
    // samples outside the signal count as silence.
    void analyze(const float* signal, size_t length, int64_t end);

    uint32_t bandCount() const { return uint32_t(mBands.size()); }
    uint32_t blockSize() const { return mBlockSize; }
    const std::vector<float>& bands() const { return mBands; }
    // RMS of the last frame's samples in dB relative to full scale (a full-scale square wave is
    // 0 dB), floored at -120.
    float loudness() const { return mLoudness; }
    // Power-weighted mean frequency in Hz; 0 for silence.
    float centroid() const { return mCentroid; }

private:
    uint32_t mSampleRate;
    uint32_t mHop;
    uint32_t mBlockSize;
    std::vector<float> mWindow;
    float mPowerScale = 0.0f;
    float* mInput = nullptr;
    void* mOutput = nullptr;  // fftwf_complex[mBlockSize / 2 + 1]
    void* mPlan = nullptr;
    BandLayout mLayout;
    std::vector<float> mFrame;  // the newest hop of the block, unwindowed
    std::vector<float> mPower;
    std::vector<float> mBands;
    float mLoudness = kLevelMin;
    float mCentroid = 0.0f;
};

}  // namespace vizhost
