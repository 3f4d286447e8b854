#include "band_layout.h"

#include <algorithm>
#include <cmath>

namespace vizhost {

BandLayout::BandLayout(uint32_t bandCount, uint32_t sampleRate, uint32_t blockSize)
    : mBins(blockSize / 2 + 1), mBinWidth(float(sampleRate) / float(blockSize)) {
    bandCount = std::max<uint32_t>(bandCount, 1);
    const float nyquist = 0.5f * float(sampleRate);
    const float high = std::min(kHighestFrequency, 0.95f * nyquist);
    const float low = std::min(kLowestFrequency, 0.5f * high);
    mEdges.resize(bandCount + 1);
    for (uint32_t i = 0; i <= bandCount; ++i) {
        mEdges[i] = low * std::pow(high / low, float(i) / float(bandCount));
    }
    mFirstBin.resize(bandCount);
    mLastBin.resize(bandCount);
    for (uint32_t i = 0; i < bandCount; ++i) {
        uint32_t first = uint32_t(std::ceil(mEdges[i] / mBinWidth));
        uint32_t last = uint32_t(std::ceil(mEdges[i + 1] / mBinWidth));
        if (last <= first) {
            // Narrower than a bin: read the bin nearest to the band's centre.
            first = uint32_t(std::lround(std::sqrt(mEdges[i] * mEdges[i + 1]) / mBinWidth));
            last = first + 1;
        }
        mFirstBin[i] = std::min<uint32_t>(first, mBins - 1);
        mLastBin[i] = std::min<uint32_t>(last, mBins);
    }
}

void BandLayout::levels(const float* binPower, double powerScale, float* bands) const {
    for (size_t i = 0; i < mFirstBin.size(); ++i) {
        double power = 0.0;
        for (uint32_t k = mFirstBin[i]; k < mLastBin[i]; ++k) {
            power += binPower[k];
        }
        const double level = power * powerScale;
        const float db = level > 1e-15 ? float(10.0 * std::log10(level)) : kLevelMin;
        bands[i] = std::clamp(db, kLevelMin, kLevelMax);
    }
}

float BandLayout::centroid(const float* binPower, double powerScale) const {
    double weighted = 0.0;
    double total = 0.0;
    for (uint32_t k = 1; k < mBins; ++k) {
        const double magnitude = std::sqrt(double(binPower[k]));
        weighted += magnitude * k * mBinWidth;
        total += magnitude;
    }
    return total * total * powerScale > 1e-12 ? float(weighted / total) : 0.0f;
}

float BandLayout::loudness(const float* samples, size_t count) {
    double squares = 0.0;
    for (size_t n = 0; n < count; ++n) {
        squares += double(samples[n]) * samples[n];
    }
    const double meanSquare = count > 0 ? squares / double(count) : 0.0;
    return meanSquare > 1e-12 ? std::max(kLevelMin, float(10.0 * std::log10(meanSquare)))
                              : kLevelMin;
}

}  // namespace vizhost
