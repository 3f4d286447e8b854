#include "visualization/spectrum.h"

#include <algorithm>
#include <cmath>

#include "visualization/log.h"

namespace {

// Histories are newest first: the oldest entry drops out at the back and its slot becomes the
// new front. Neither form allocates.
void shiftDown(std::vector<float>& values) {
    std::rotate(values.rbegin(), values.rbegin() + 1, values.rend());
}

// Moves the row buffers rather than their values, so the cost does not grow with the band count;
// the oldest row's buffer is reused for the newest.
void shiftDown(std::vector<std::vector<float>>& rows) {
    std::vector<float> oldest = std::move(rows.back());
    std::move_backward(rows.begin(), rows.end() - 1, rows.end());
    rows.front() = std::move(oldest);
}

float clamp01(float value) {
    return std::min(std::max(value, 0.0f), 1.0f);
}

// The three histories share one scan: six independent min/max chains run in parallel where one
// history at a time would wait on each comparison. Each chain keeps its own order, so the
// results are those of three separate scans.
void normalize3(const std::vector<float>* const histories[3], std::vector<float>* const out[3]) {
    const float* h0 = histories[0]->data();
    const float* h1 = histories[1]->data();
    const float* h2 = histories[2]->data();
    float lo[3] = {1.0f, 1.0f, 1.0f};
    float hi[3] = {0.0f, 0.0f, 0.0f};
    for (size_t i = 0; i < Spectrum::kHistoryLength; ++i) {
        lo[0] = std::min(lo[0], h0[i]);
        hi[0] = std::max(hi[0], h0[i]);
        lo[1] = std::min(lo[1], h1[i]);
        hi[1] = std::max(hi[1], h1[i]);
        lo[2] = std::min(lo[2], h2[i]);
        hi[2] = std::max(hi[2], h2[i]);
    }
    for (int k = 0; k < 3; ++k) {
        const float* h = histories[k]->data();
        float* normalized = out[k]->data();
        const float low = lo[k];
        const float range = hi[k] - low;
        if (range == 0.0f) {
            std::fill(normalized, normalized + Spectrum::kHistoryLength, 0.0f);
            continue;
        }
        // A fixed trip count without branches lets the compiler vectorise the divisions.
        for (size_t i = 0; i < Spectrum::kHistoryLength; ++i) {
            normalized[i] = (h[i] - low) / range;
        }
    }
}

void rowRange(const std::vector<float>& row, float& lo, float& hi) {
    lo = row[0];
    hi = row[0];
    for (float value : row) {
        lo = std::min(lo, value);
        hi = std::max(hi, value);
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
    mRawRowMin.assign(kHistoryLength, 0.0f);
    mRawRowMax.assign(kHistoryLength, 0.0f);
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
    shiftDown(mRawRowMin);
    shiftDown(mRawRowMax);
    rowRange(mHistoryRaw[0], mRawRowMin[0], mRawRowMax[0]);

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
    // newest, which are always written ones. Unfrozen, history is historyRaw, whose per-row
    // ranges are kept as the rows arrive, so the search is O(240) rather than O(240 n).
    const size_t rows = std::max<size_t>(1, std::min<uint64_t>(mFrameCount, kHistoryLength));
    float lo = kBandMin;
    float hi = kBandMin;
    if (!mFrozen) {
        lo = mRawRowMin[0];
        hi = mRawRowMax[0];
        for (size_t row = 1; row < rows; ++row) {
            lo = std::min(lo, mRawRowMin[row]);
            hi = std::max(hi, mRawRowMax[row]);
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

    const std::vector<float>* const histories[3] = {&mHistoryMin, &mHistoryMid, &mHistoryMax};
    std::vector<float>* const normalized[3] = {&mHistoryMinNormalized, &mHistoryMidNormalized,
                                               &mHistoryMaxNormalized};
    normalize3(histories, normalized);

    ++mFrameCount;
}
