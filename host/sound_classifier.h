// Decides which of the nine sound classes the music is in, from four measures over the last
// few seconds: loudness, dynamic range, onset rate and spectral brightness. Each measure is
// sorted into levels by a Schmitt trigger (a boundary crossed upwards must be passed by a
// margin, and again downwards), and a new class must then hold for a while before it is
// reported, so that a chorus or a drum fill does not flip the class back and forth.
#pragma once

#include <cstdint>
#include <vector>

#include "visualization/types.h"

namespace vizhost {

struct SoundClassifierPreset {
    float frameRate = 60.0f;
    float window = 4.0f;         // seconds of music the measures look back over
    float firstDecision = 2.5f;  // seconds of music before the first class
    float holdTime = 1.0f;       // seconds a new class must persist before it is reported
    // Loudness (mean power of the frames in dB full scale, leaving out the loudest tenth so that
    // a crash or a fill does not make the whole window loud): quiet | medium | loud.
    float quietBelow = -30.0f;
    float loudFrom = -19.0f;
    float loudnessMargin = 1.5f;
    // Dynamic range (10th to 90th percentile of the frame levels, dB): even | punchy.
    float punchyFrom = 12.0f;
    float dynamicsMargin = 1.5f;
    // Onsets per second: slow | steady | busy.
    float slowBelow = 1.0f;
    float busyFrom = 3.5f;
    float onsetMargin = 0.3f;
    // Spectral centroid (Hz): dark | neutral | bright; margins are ratios.
    float darkBelow = 800.0f;
    float brightFrom = 3000.0f;
    float brightnessMargin = 1.12f;
    // Onset detection: mean rise of the band levels (dB) from one frame to the next, and the
    // shortest gap between two onsets (seconds).
    float onsetRise = 4.0f;
    float onsetGap = 0.09f;
    float onsetFloor = 40.0f;     // dB below the loudest band where a band stops counting
    float silenceBelow = -75.0f;  // frames quieter than this count as silence for brightness
};

class SoundClassifier {
public:
    enum class Loudness { Quiet, Medium, Loud };
    enum class Dynamics { Even, Punchy };
    enum class Pace { Slow, Steady, Busy };
    enum class Brightness { Dark, Neutral, Bright };

    struct Measures {
        float loudness = -120.0f;
        float dynamicRange = 0.0f;
        float onsetRate = 0.0f;
        float brightness = 0.0f;
    };

    explicit SoundClassifier(const SoundClassifierPreset& preset = SoundClassifierPreset());

    // Takes one video frame of analysis: band levels (dB), frame loudness (dB) and spectral
    // centroid (Hz). Returns true when the reported class changed (including the first class).
    bool push(const std::vector<float>& bands, float loudness, float centroid);
    // Forgets the music heard so far (a new track begins) but keeps the reported class, which
    // stays until the new music has been heard long enough.
    void restart();

    bool hasClass() const { return mHasClass; }
    SoundClass soundClass() const { return mClass; }
    const Measures& measures() const { return mMeasures; }

    // The class for a combination of levels.
    static SoundClass classify(Loudness loudness, Dynamics dynamics, Pace pace,
                               Brightness brightness);

private:
    void measure();
    void updateLevels();

    SoundClassifierPreset mPreset;
    size_t mCapacity;
    // Ring buffers over the window, indexed by frame count modulo capacity.
    std::vector<float> mLoudness;
    std::vector<float> mCentroid;
    std::vector<uint8_t> mOnset;
    std::vector<float> mSorted;
    std::vector<float> mPreviousBands;
    size_t mFrames = 0;
    size_t mFramesSinceOnset = 0;
    float mPreviousRise = 0.0f;
    Measures mMeasures;
    Loudness mLoudnessLevel = Loudness::Medium;
    Dynamics mDynamicsLevel = Dynamics::Even;
    Pace mPaceLevel = Pace::Steady;
    Brightness mBrightnessLevel = Brightness::Neutral;
    bool mLevelsKnown = false;
    bool mHasClass = false;
    SoundClass mClass = SoundClass::Moderate;
    SoundClass mCandidate = SoundClass::Moderate;
    size_t mCandidateFrames = 0;
};

}  // namespace vizhost
