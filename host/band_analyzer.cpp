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
      mBlockSize(std::max<uint32_t>(nextPowerOfTwo(2 * mHop), 256)) {
    bandCount = std::max<uint32_t>(bandCount, 1);
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

    const float nyquist = 0.5f * float(mSampleRate);
    const float high = std::min(kHighestFrequency, 0.95f * nyquist);
    const float low = std::min(kLowestFrequency, 0.5f * high);
    mEdges.resize(bandCount + 1);
    for (uint32_t i = 0; i <= bandCount; ++i) {
        mEdges[i] = low * std::pow(high / low, float(i) / float(bandCount));
    }
    const float binWidth = float(mSampleRate) / float(mBlockSize);
    mFirstBin.resize(bandCount);
    mLastBin.resize(bandCount);
    for (uint32_t i = 0; i < bandCount; ++i) {
        uint32_t first = uint32_t(std::ceil(mEdges[i] / binWidth));
        uint32_t last = uint32_t(std::ceil(mEdges[i + 1] / binWidth));
        if (last <= first) {
            // Narrower than a bin: read the bin nearest to the band's centre.
            first = uint32_t(std::lround(std::sqrt(mEdges[i] * mEdges[i + 1]) / binWidth));
            last = first + 1;
        }
        mFirstBin[i] = std::min<uint32_t>(first, mBlockSize / 2);
        mLastBin[i] = std::min<uint32_t>(last, mBlockSize / 2 + 1);
    }
    mBands.assign(bandCount, kLevelMin);
}

BandAnalyzer::~BandAnalyzer() {
    fftwf_destroy_plan(static_cast<fftwf_plan>(mPlan));
    fftwf_free(static_cast<fftwf_complex*>(mOutput));
    fftwf_free(mInput);
}

void BandAnalyzer::analyze(const float* signal, size_t length, int64_t end) {
    const int64_t start = end - int64_t(mBlockSize);
    double frameSquares = 0.0;
    for (uint32_t n = 0; n < mBlockSize; ++n) {
        const int64_t at = start + n;
        const float s = (at >= 0 && at < int64_t(length)) ? signal[at] : 0.0f;
        mInput[n] = s * mWindow[n];
        if (n >= mBlockSize - mHop) {
            frameSquares += double(s) * s;
        }
    }
    const double meanSquare = frameSquares / mHop;
    mLoudness =
        meanSquare > 1e-12 ? std::max(kLevelMin, float(10.0 * std::log10(meanSquare))) : kLevelMin;

    fftwf_execute(static_cast<fftwf_plan>(mPlan));
    const fftwf_complex* out = static_cast<const fftwf_complex*>(mOutput);
    const float binWidth = float(mSampleRate) / float(mBlockSize);
    double weighted = 0.0;
    double total = 0.0;
    for (uint32_t k = 0; k < mPower.size(); ++k) {
        mPower[k] = out[k][0] * out[k][0] + out[k][1] * out[k][1];
        if (k > 0) {
            const double magnitude = std::sqrt(double(mPower[k]));
            weighted += magnitude * k * binWidth;
            total += magnitude;
        }
    }
    mCentroid = total * total * mPowerScale > 1e-12 ? float(weighted / total) : 0.0f;

    for (size_t i = 0; i < mBands.size(); ++i) {
        double power = 0.0;
        for (uint32_t k = mFirstBin[i]; k < mLastBin[i]; ++k) {
            power += mPower[k];
        }
        const double level = power * mPowerScale;
        const float db = level > 1e-15 ? float(10.0 * std::log10(level)) : kLevelMin;
        mBands[i] = std::clamp(db, kLevelMin, kLevelMax);
    }
}

}  // namespace vizhost
