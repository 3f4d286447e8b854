// What every content reads each frame: the band analyser and the debounced sound class with its
// switch progress and its 60-second history. Owned by value by Visualization.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "visualization/spectrum.h"
#include "visualization/types.h"

struct SoundClassHistoryEntry {
    SoundClass soundClass;
    float ageStart;  // seconds since the period began, at most 60
    float ageEnd;    // seconds since it ended; 0 for the ongoing period
};

class SoundInput {
public:
    static constexpr float kHistoryDuration = 60.0f;
    static constexpr float kSwitchDuration = 1.5f;

    // Writes one synthetic band value: (out, band, bandCount, frame, frameCount, low, high).
    using Generator =
        std::function<void(float* out, uint32_t band, uint32_t bandCount, uint32_t frame,
                           uint32_t frameCount, float low, float high)>;

    SoundInput();

    void setBandsInfo(const float* data, uint32_t count) { mSpectrum.setBandsInfo(data, count); }
    void setSoundClass(SoundClass soundClass, bool immediate);
    void update(float dt);
    // Fills the histories with 240 synthetic frames of 8 bands.
    void populate(const Generator& generator);

    float getTime() const { return mTime; }
    const Spectrum& getSpectrum() const { return mSpectrum; }
    SoundClass getSoundClassPrevious() const { return mSoundClassPrevious; }
    SoundClass getSoundClassCurrent() const { return mSoundClassCurrent; }
    SoundClass getSoundClassNext() const { return mSoundClassNext; }
    float getSwitchProgress() const { return mSwitchProgress; }
    // Newest first.
    const std::vector<SoundClassHistoryEntry>& getSoundClassHistoryNormalized() const {
        return mSoundClassHistoryNormalized;
    }

private:
    float mTime = 0.0f;
    Spectrum mSpectrum;
    float mHistoryDuration = kHistoryDuration;
    std::vector<SoundClassHistoryEntry> mSoundClassHistory;
    std::vector<SoundClassHistoryEntry> mSoundClassHistoryNormalized;
    float mSwitchTimer = 0.0f;
    float mSwitchDuration = kSwitchDuration;
    float mSwitchProgress = 0.0f;
    SoundClass mSoundClassPrevious = SoundClass::Moderate;
    SoundClass mSoundClassCurrent = SoundClass::Moderate;
    SoundClass mSoundClassNext = SoundClass::Moderate;
};
