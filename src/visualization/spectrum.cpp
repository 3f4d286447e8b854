#include "visualization/spectrum.h"

#include <algorithm>
#include <cmath>

#include "visualization/log.h"

namespace {

// Newest first: the oldest entry drops out at the back. Rotating swaps row buffers instead of
// copying their values, and never allocates.
template <typename T>
void shiftDown(std::vector<T>& rows) {
    std::rotate(rows.rbegin(), rows.rbegin() + 1, rows.rend());
}

float clamp01(float value) {
    return std::min(std::max(value, 0.0f), 1.0f);
}

void normalize(const std::vector<float>& history, std::vector<float>& normalized) {
    float lo = 1.0f;
    float hi = 0.0f;
    for (float value : history) {
        lo = std::min(lo, value);
        hi = std::max(hi, value);
    }
    const float range = hi - lo;
    for (size_t i = 0; i < history.size(); ++i) {
        normalized[i] = range == 0.0f ? 0.0f : (history[i] - lo) / range;
    }
}

}  // namespace

void Spectrum::setBandsInfo(const float* data, uint32_t count) {
    if (count == 0 || data == nullptr) {
        mValid = false;
        return;
    }
    mValid = true;
    // Every NaN is reported, not just the first, so a host developer sees the whole pattern.
    for (uint32_t i = 0; i < count; ++i) {
        if (std::isnan(data[i])) {
            logMessage("[Visualization][setBandsInfo] Value at %i is nan", static_cast<int>(i));
            mValid = false;
        }
    }
    if (!mValid) {
        return;
    }
    if (count != mBands.size()) {
        resize(count);
    }
    std::copy(data, data + count, mBands.begin());
}

void Spectrum::resize(size_t count) {
    mBands.assign(count, 0.0f);
    mHistoryRaw.assign(kHistoryLength, std::vector<float>(count, 0.0f));
    mHistory.assign(kHistoryLength, std::vector<float>(count, 0.0f));
    mHistoryMirrorsRaw = true;
    mLevels.assign(count, 0.0f);
    mLevelsSmoothed.assign(count, 0.0f);
    mLevelsSorted.assign(count, 0.0f);
    mRelative.assign(count, 0.0f);
    mRelativeSmoothed.assign(count, 0.0f);
    mRelativeSorted.assign(count, 0.0f);
    mHistoryMin.assign(kHistoryLength, 0.0f);
    mHistoryMid.assign(kHistoryLength, 0.0f);
    mHistoryMax.assign(kHistoryLength, 0.0f);
    mHistoryMinNormalized.assign(kHistoryLength, 0.0f);
    mHistoryMidNormalized.assign(kHistoryLength, 0.0f);
    mHistoryMaxNormalized.assign(kHistoryLength, 0.0f);
    mFrameCount = 0;
}

void Spectrum::update(float dt) {
    if (mBands.empty() || !mValid) {
        return;
    }
    const size_t n = mBands.size();

    for (float& band : mBands) {
        band = std::min(std::max(band, kBandMin), kBandMax);
    }

    shiftDown(mHistoryRaw);
    std::copy(mBands.begin(), mBands.end(), mHistoryRaw[0].begin());

    // An input that has not changed for the whole history is a stalled analyser, not music:
    // show silence rather than a frozen picture.
    mFrozen = true;
    for (size_t row = 1; row < kHistoryLength; ++row) {
        if (mHistoryRaw[row] != mHistoryRaw[0]) {
            mFrozen = false;
            break;
        }
    }

    if (mFrozen) {
        for (auto& row : mHistory) {
            std::fill(row.begin(), row.end(), kBandMin);
        }
        mHistoryMirrorsRaw = false;
    } else if (mHistoryMirrorsRaw) {
        // Already equal to the raw history before this frame: the same shift keeps it equal.
        shiftDown(mHistory);
        std::copy(mBands.begin(), mBands.end(), mHistory[0].begin());
    } else {
        for (size_t row = 0; row < kHistoryLength; ++row) {
            std::copy(mHistoryRaw[row].begin(), mHistoryRaw[row].end(), mHistory[row].begin());
        }
        mHistoryMirrorsRaw = true;
    }

    const float rate = mSmoothingRate * dt;

    float sum = 0.0f;
    for (size_t b = 0; b < n; ++b) {
        mLevels[b] = clamp01((mHistory[0][b] - kBandMin) / (kBandMax - kBandMin));
        sum += mLevels[b];
    }
    mAverage = sum / static_cast<float>(n);

    for (size_t b = 0; b < n; ++b) {
        mLevelsSmoothed[b] = clamp01(mLevelsSmoothed[b] + (mLevels[b] - mLevelsSmoothed[b]) * rate);
    }
    std::copy(mLevelsSmoothed.begin(), mLevelsSmoothed.end(), mLevelsSorted.begin());
    std::sort(mLevelsSorted.begin(), mLevelsSorted.end());

    // Rows not yet written since the last resize hold zeros, which are no band level and would
    // stretch the range up to 0 dB: the search stays within min(frameCount, 240) rows from the
    // newest, which are always written ones.
    const size_t rows = std::max<size_t>(1, std::min<uint64_t>(mFrameCount, kHistoryLength));
    float lo = mHistory[0][0];
    float hi = mHistory[0][0];
    for (size_t row = 0; row < rows; ++row) {
        for (float value : mHistory[row]) {
            lo = std::min(lo, value);
            hi = std::max(hi, value);
        }
    }

    if (lo != 0.0f || hi != 0.0f) {
        const float range = hi - lo;
        for (size_t b = 0; b < n; ++b) {
            if (range == 0.0f) {
                mRelative[b] = mBands[b] > lo ? 1.0f : 0.0f;
            } else {
                mRelative[b] = clamp01((mBands[b] - lo) / range);
            }
        }
    } else {
        std::fill(mRelative.begin(), mRelative.end(), 0.0f);
    }

    for (size_t b = 0; b < n; ++b) {
        mRelativeSmoothed[b] =
            clamp01(mRelativeSmoothed[b] + (mRelative[b] - mRelativeSmoothed[b]) * rate);
    }
    std::copy(mRelativeSmoothed.begin(), mRelativeSmoothed.end(), mRelativeSorted.begin());
    std::sort(mRelativeSorted.begin(), mRelativeSorted.end());

    shiftDown(mHistoryMin);
    shiftDown(mHistoryMid);
    shiftDown(mHistoryMax);
    mHistoryMin[0] = mRelativeSorted[0];
    mHistoryMid[0] = mRelativeSorted[n / 2];
    mHistoryMax[0] = mRelativeSorted[n - 1];

    normalize(mHistoryMin, mHistoryMinNormalized);
    normalize(mHistoryMid, mHistoryMidNormalized);
    normalize(mHistoryMax, mHistoryMaxNormalized);

    ++mFrameCount;
}
