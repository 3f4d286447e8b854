#include "sound_classifier.h"

#include <algorithm>
#include <cmath>

namespace vizhost {

namespace {

// Levels of a measure with boundaries between them: boundary j is passed upwards at up[j] and
// stays passed down to down[j], so the level only moves when the measure clearly leaves it.
template <size_t N>
int schmitt(int level, bool known, float x, const float (&up)[N], const float (&down)[N]) {
    int next = 0;
    for (size_t j = 0; j < N; ++j) {
        const float threshold =
            !known ? 0.5f * (up[j] + down[j]) : (level > int(j) ? down[j] : up[j]);
        if (x >= threshold) {
            ++next;
        }
    }
    return next;
}

}  // namespace

SoundClassifier::SoundClassifier(const SoundClassifierPreset& preset)
    : mPreset(preset),
      mCapacity(std::max<size_t>(size_t(std::lround(preset.window * preset.frameRate)), 1)) {
    mLoudness.assign(mCapacity, -120.0f);
    mCentroid.assign(mCapacity, 0.0f);
    mOnset.assign(mCapacity, 0);
    mSorted.reserve(mCapacity);
}

void SoundClassifier::restart() {
    mFrames = 0;
    mFramesSinceOnset = 0;
    mPreviousRise = 0.0f;
    mPreviousBands.clear();
    mLevelsKnown = false;
    mCandidate = mClass;
    mCandidateFrames = 0;
}

SoundClass SoundClassifier::classify(Loudness loudness, Dynamics dynamics, Pace pace,
                                     Brightness brightness) {
    switch (loudness) {
        case Loudness::Quiet:
            if (brightness == Brightness::Bright) {
                return SoundClass::Light;
            }
            if (pace == Pace::Slow && dynamics == Dynamics::Even) {
                return SoundClass::Calm;
            }
            return SoundClass::Soft;
        case Loudness::Medium:
            if (brightness == Brightness::Dark) {
                return SoundClass::Dark;
            }
            if (brightness == Brightness::Bright) {
                return SoundClass::Light;
            }
            if (pace == Pace::Slow) {
                return SoundClass::Slow;
            }
            if (pace == Pace::Busy && dynamics == Dynamics::Punchy) {
                return SoundClass::Dynamic;
            }
            return SoundClass::Moderate;
        case Loudness::Loud:
            if (brightness == Brightness::Dark) {
                return SoundClass::Powerful;
            }
            if (dynamics == Dynamics::Punchy) {
                return SoundClass::Dynamic;
            }
            return SoundClass::Loud;
    }
    return SoundClass::Moderate;
}

bool SoundClassifier::push(const std::vector<float>& bands, float loudness, float centroid) {
    // Onsets: the band levels jump up together. A jump counts once, at its first frame, and
    // not again within the gap, since one attack spreads over a few analysis blocks.
    // Bands far below the loudest one only flicker with noise; they are raised to a floor so
    // that their flicker does not count as attacks.
    float loudest = -120.0f;
    for (float b : bands) {
        loudest = std::max(loudest, b);
    }
    const float floor = std::max(-90.0f, loudest - mPreset.onsetFloor);
    float rise = 0.0f;
    const bool comparable = mPreviousBands.size() == bands.size() && !bands.empty();
    mPreviousBands.resize(bands.size());
    for (size_t i = 0; i < bands.size(); ++i) {
        const float level = std::max(bands[i], floor);
        if (comparable) {
            rise += std::max(0.0f, level - mPreviousBands[i]);
        }
        mPreviousBands[i] = level;
    }
    if (!bands.empty()) {
        rise /= float(bands.size());
    }
    const size_t gapFrames = size_t(std::lround(mPreset.onsetGap * mPreset.frameRate));
    bool onset = false;
    ++mFramesSinceOnset;
    if (rise >= mPreset.onsetRise && mPreviousRise < mPreset.onsetRise &&
        mFramesSinceOnset > gapFrames) {
        onset = true;
        mFramesSinceOnset = 0;
    }
    mPreviousRise = rise;

    const size_t slot = mFrames % mCapacity;
    mLoudness[slot] = loudness;
    mCentroid[slot] = centroid;
    mOnset[slot] = onset ? 1 : 0;
    ++mFrames;

    if (float(mFrames) < mPreset.firstDecision * mPreset.frameRate) {
        return false;
    }
    measure();
    updateLevels();
    const SoundClass candidate =
        classify(mLoudnessLevel, mDynamicsLevel, mPaceLevel, mBrightnessLevel);
    if (!mHasClass) {
        mHasClass = true;
        mClass = mCandidate = candidate;
        mCandidateFrames = 0;
        return true;
    }
    if (candidate != mCandidate) {
        mCandidate = candidate;
        mCandidateFrames = 0;
    }
    ++mCandidateFrames;
    if (mCandidate != mClass && float(mCandidateFrames) >= mPreset.holdTime * mPreset.frameRate) {
        mClass = mCandidate;
        return true;
    }
    return false;
}

void SoundClassifier::measure() {
    const size_t count = std::min(mFrames, mCapacity);
    double level = 0.0;
    double centroidSum = 0.0;
    size_t centroidFrames = 0;
    size_t onsets = 0;
    mSorted.clear();
    for (size_t i = 0; i < count; ++i) {
        // Silence between notes would otherwise make every sparse piece look punchy.
        mSorted.push_back(std::max(mLoudness[i], mPreset.silenceBelow));
        if (mLoudness[i] > mPreset.silenceBelow) {
            centroidSum += mCentroid[i];
            ++centroidFrames;
        }
        onsets += mOnset[i];
    }
    std::sort(mSorted.begin(), mSorted.end());
    const size_t top = size_t(0.90 * double(count - 1));
    for (size_t i = 0; i <= top; ++i) {
        level += std::pow(10.0, mSorted[i] / 10.0);
    }
    mMeasures.loudness = float(10.0 * std::log10(std::max(level / double(top + 1), 1e-12)));
    const float low = mSorted[size_t(0.10 * (count - 1))];
    const float high = mSorted[top];
    mMeasures.dynamicRange = high - low;
    mMeasures.onsetRate = float(onsets) * mPreset.frameRate / float(count);
    mMeasures.brightness = centroidFrames > 0 ? float(centroidSum / centroidFrames) : 0.0f;
}

void SoundClassifier::updateLevels() {
    const SoundClassifierPreset& p = mPreset;
    const float loudUp[2] = {p.quietBelow + p.loudnessMargin, p.loudFrom + p.loudnessMargin};
    const float loudDown[2] = {p.quietBelow - p.loudnessMargin, p.loudFrom - p.loudnessMargin};
    mLoudnessLevel =
        Loudness(schmitt(int(mLoudnessLevel), mLevelsKnown, mMeasures.loudness, loudUp, loudDown));

    const float dynUp[1] = {p.punchyFrom + p.dynamicsMargin};
    const float dynDown[1] = {p.punchyFrom - p.dynamicsMargin};
    mDynamicsLevel = Dynamics(
        schmitt(int(mDynamicsLevel), mLevelsKnown, mMeasures.dynamicRange, dynUp, dynDown));

    const float paceUp[2] = {p.slowBelow + p.onsetMargin, p.busyFrom + p.onsetMargin};
    const float paceDown[2] = {p.slowBelow - p.onsetMargin, p.busyFrom - p.onsetMargin};
    mPaceLevel =
        Pace(schmitt(int(mPaceLevel), mLevelsKnown, mMeasures.onsetRate, paceUp, paceDown));

    const float brightUp[2] = {p.darkBelow * p.brightnessMargin, p.brightFrom * p.brightnessMargin};
    const float brightDown[2] = {p.darkBelow / p.brightnessMargin,
                                 p.brightFrom / p.brightnessMargin};
    mBrightnessLevel = Brightness(
        schmitt(int(mBrightnessLevel), mLevelsKnown, mMeasures.brightness, brightUp, brightDown));
    mLevelsKnown = true;
}

}  // namespace vizhost
