#include "band_analyzer.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>

namespace vizhost {

namespace {

constexpr double kPi = 3.14159265358979323846;

uint32_t nextPowerOfTwo(uint32_t v) {
    uint32_t p = 1;
    while (p < v) {
        p <<= 1;
    }
    return p;
}

}  // namespace

BandAnalyzer::BandAnalyzer(uint32_t bandCount, uint32_t sampleRate, uint32_t frameRate)
    : mSampleRate(std::max<uint32_t>(sampleRate, 1000)),
      mHop(std::max<uint32_t>(mSampleRate / std::max<uint32_t>(frameRate, 1), 1)),
      // Two frames' worth of signal at least, so that 40 Hz still spans two bins.
      mBlockSize(std::max<uint32_t>(nextPowerOfTwo(2 * mHop), 256)),
      mLayout(bandCount, mSampleRate, mBlockSize) {
    bandCount = mLayout.bandCount();
    mWindow.resize(mBlockSize);
    double windowPower = 0.0;
    for (uint32_t n = 0; n < mBlockSize; ++n) {
        mWindow[n] = float(0.5 - 0.5 * std::cos(2.0 * kPi * n / mBlockSize));
        windowPower += double(mWindow[n]) * mWindow[n];
    }
    // Parseval with the window's power: the one-sided bin powers of a band sum to the mean
    // square of the signal in that band; a full-scale sine has a mean square of 1/2.
    mPowerScale = float(2.0 / (double(mBlockSize) * windowPower) / 0.5);

    mInput = fftwf_alloc_real(mBlockSize);
    fftwf_complex* output = fftwf_alloc_complex(mBlockSize / 2 + 1);
    mOutput = output;
    // FFTW_ESTIMATE: plans made by measuring could differ from run to run.
    mPlan = fftwf_plan_dft_r2c_1d(int(mBlockSize), mInput, output, FFTW_ESTIMATE);
    mPower.resize(mBlockSize / 2 + 1);
    mFrame.resize(mHop);

    mBands.assign(bandCount, kLevelMin);
}

BandAnalyzer::~BandAnalyzer() {
    fftwf_destroy_plan(static_cast<fftwf_plan>(mPlan));
    fftwf_free(static_cast<fftwf_complex*>(mOutput));
    fftwf_free(mInput);
}

void BandAnalyzer::analyze(const float* signal, size_t length, int64_t end) {
    const int64_t start = end - int64_t(mBlockSize);
    for (uint32_t n = 0; n < mBlockSize; ++n) {
        const int64_t at = start + n;
        const float s = (at >= 0 && at < int64_t(length)) ? signal[at] : 0.0f;
        mInput[n] = s * mWindow[n];
        if (n >= mBlockSize - mHop) {
            mFrame[n - (mBlockSize - mHop)] = s;
        }
    }
    mLoudness = BandLayout::loudness(mFrame.data(), mFrame.size());

    fftwf_execute(static_cast<fftwf_plan>(mPlan));
    const fftwf_complex* out = static_cast<const fftwf_complex*>(mOutput);
    for (uint32_t k = 0; k < mPower.size(); ++k) {
        mPower[k] = out[k][0] * out[k][0] + out[k][1] * out[k][1];
    }
    mCentroid = mLayout.centroid(mPower.data(), mPowerScale);
    mLayout.levels(mPower.data(), mPowerScale, mBands.data());
}

}  // namespace vizhost
