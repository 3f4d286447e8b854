// The single top-level object behind the exported functions: it measures frame time, feeds the
// host's events to their owners, and holds the content player back until band data arrives.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "visualization/content_player.h"
#include "visualization/sound_input.h"
#include "visualization/types.h"

struct VisualizationPreset {
    std::map<RotateInfo, ScreenSize> screenSizes = DefaultScreenSizes;
    int32_t maxFrameTime = 100;  // milliseconds; a longer frame counts as a stall (dt = 0)
    ContentPlayerPreset contentPlayerPreset;
};

class Visualization {
public:
    Visualization(const char* assetPath, RotateInfo rotation, SpeakerInfo speaker,
                  DisplayMode displayMode, const VisualizationPreset& preset);
    ~Visualization();
    Visualization(const Visualization&) = delete;
    Visualization& operator=(const Visualization&) = delete;

    void update();
    void setBandsInfo(uint32_t count, const float* data);
    void setSoundClass(SoundClass soundClass);
    void updateTrackChange();
    void startRotationTransition(RotateInfo target);
    void setRotationTransitionAngle(float degrees);
    void setDisplayMode(DisplayMode mode, bool animate);
    DisplayMode getDisplayMode() const;

    bool hasBandsReceived() const { return mBandsReceived; }
    const SoundInput& getSoundInput() const { return mSoundInput; }
    const ContentPlayer& getContentPlayer() const { return *mContentPlayer; }
    ContentPlayer& getContentPlayer() { return *mContentPlayer; }

private:
    VisualizationPreset mPreset;
    RotateInfo mRotation;
    uint64_t mFrameCount = 0;
    long long mLastFrameTime = 0;  // nanoseconds on the steady clock
    std::unique_ptr<ContentPlayer> mContentPlayer;
    SoundInput mSoundInput;
    bool mBandsReceived = false;
};
