#include "visualization/sound_input.h"

#include <algorithm>
#include <array>

namespace {

// Room for a busy minute of host reports, so ageing and copying the history stay free of
// allocations in the frame path.
constexpr size_t kHistoryReserve = 64;

constexpr uint32_t kPopulateBands = 8;
constexpr float kPopulateDt = 1.0f / 60.0f;

}  // namespace

SoundInput::SoundInput() {
    mSoundClassHistory.reserve(kHistoryReserve);
    mSoundClassHistoryNormalized.reserve(kHistoryReserve);
    mSoundClassHistory.push_back({SoundClass::Moderate, 0.0f, 0.0f});
    setSoundClass(SoundClass::Moderate, true);
}

void SoundInput::setSoundClass(SoundClass soundClass, bool immediate) {
    if (mSoundClassHistory.empty()) {
        mSoundClassHistory.push_back({soundClass, 0.0f, 0.0f});
    }
    if (immediate) {
        mSoundClassHistory.front().soundClass = soundClass;
        mSoundClassPrevious = soundClass;
        mSoundClassCurrent = soundClass;
        mSoundClassNext = soundClass;
        mSwitchProgress = 0.0f;
    } else if (mSoundClassHistory.front().soundClass != soundClass) {
        // Only recorded here; update decides when the new class has lasted long enough.
        mSoundClassHistory.insert(mSoundClassHistory.begin(), {soundClass, 0.0f, 0.0f});
    }
}

void SoundInput::update(float dt) {
    for (SoundClassHistoryEntry& entry : mSoundClassHistory) {
        entry.ageStart = std::min(entry.ageStart + dt, mHistoryDuration);
        entry.ageEnd = std::min(entry.ageEnd + dt, mHistoryDuration);
    }
    mSoundClassHistory.front().ageEnd = 0.0f;
    // The newest entry has ageEnd 0, so it always stays.
    mSoundClassHistory.erase(std::remove_if(mSoundClassHistory.begin(), mSoundClassHistory.end(),
                                            [this](const SoundClassHistoryEntry& entry) {
                                                return entry.ageEnd >= mHistoryDuration;
                                            }),
                             mSoundClassHistory.end());

    mSoundClassHistoryNormalized.resize(mSoundClassHistory.size());
    for (size_t i = 0; i < mSoundClassHistory.size(); ++i) {
        const SoundClassHistoryEntry& entry = mSoundClassHistory[i];
        mSoundClassHistoryNormalized[i] = {entry.soundClass, entry.ageStart / mHistoryDuration,
                                           entry.ageEnd / mHistoryDuration};
    }

    const SoundClassHistoryEntry& newest = mSoundClassHistory.front();
    if (newest.soundClass != mSoundClassCurrent &&
        newest.ageStart - newest.ageEnd > mSwitchDuration && newest.soundClass != mSoundClassNext) {
        mSoundClassNext = newest.soundClass;
        mSwitchTimer = 0.0f;
    }

    mSwitchProgress = std::min(mSwitchTimer / mSwitchDuration, 1.0f);

    if (mSwitchProgress >= 1.0f && mSoundClassCurrent != mSoundClassNext) {
        mSoundClassPrevious = mSoundClassCurrent;
        mSoundClassCurrent = mSoundClassNext;
    }

    mSwitchTimer += dt;
    mSpectrum.update(dt);
    mTime += dt;
}

void SoundInput::populate(const Generator& generator) {
    constexpr uint32_t kFrames = static_cast<uint32_t>(Spectrum::kHistoryLength);
    std::array<float, kPopulateBands> values{};
    for (uint32_t frame = 0; frame < kFrames; ++frame) {
        for (uint32_t band = 0; band < kPopulateBands; ++band) {
            generator(&values[band], band, kPopulateBands, frame, kFrames, Spectrum::kBandMin,
                      Spectrum::kBandMax);
        }
        mSpectrum.setBandsInfo(values.data(), kPopulateBands);
        mSpectrum.update(kPopulateDt);
    }
}
