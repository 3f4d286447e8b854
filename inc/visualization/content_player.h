// Decides what is on screen: the playlist of content modes, the intro, the cross-fade between
// modes, the display-mode blend, the rotation state and the overlays. Created by Visualization
// with the GL context current; update() draws one whole frame.
//
// Sections: preset; construction and destruction; host events; playlist; per-frame state
// machines; drawing.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "visualization/aod_overlay.h"
#include "visualization/content/abstract_content.h"
#include "visualization/rotation_transition.h"
#include "visualization/sound_input.h"
#include "visualization/speaker_overlay.h"
#include "visualization/types.h"
#include "visualization/util/color.h"

struct ContentPlayerPreset {
    ContentMode modeStart = ContentMode::NONE;
    std::set<ContentMode> modesSuitable = defaultModesSuitable();
    std::set<ContentMode> modesRestricted;
    std::set<ContentCategory> categories;
    bool shufflePlaylist = true;
    bool applyModesSuitable = true;
    bool lockPlaylist = false;
    float durationTriggerMin = 0.5f;
    float durationIntroIdle = 1.5f;
    float durationIntroFadeIn = 3.0f;
    float durationTransition = 1.0f;
    float speakerOverlayFadeScale = 3.0f;
    float durationDisplayMode = 1.0f;
    bool hideSpeakerOverlay = false;
    bool skipIntro = false;

    // The modes that suit the start in ContentModeTable.
    static std::set<ContentMode> defaultModesSuitable();
};

class ContentPlayer {
public:
    ContentPlayer(uint32_t width, uint32_t height, RotateInfo rotation, SpeakerInfo speaker,
                  DisplayMode displayMode, const ContentPlayerPreset& preset);
    ~ContentPlayer();
    ContentPlayer(const ContentPlayer&) = delete;
    ContentPlayer& operator=(const ContentPlayer&) = delete;

    void update(float dt, const SoundInput& sound);

    void activateAnimationMode();
    void playNext();
    void startRotationTransition(RotateInfo target, bool force);
    void setRotationTransitionAngle(float degrees);
    void setDisplayMode(DisplayMode mode, bool immediate);
    DisplayMode getDisplayMode() const { return mDisplayMode; }

    // Read access for hosts, the gallery and tests.
    ContentMode getContentMode() const { return mContentMode; }
    ContentMode getContentModePrevious() const { return mContentModePrevious; }
    ContentMode getContentModeNext() const { return mContentModeNext; }
    ContentPlayerAnimationMode getAnimationMode() const { return mAnimationMode; }
    ContentPlayerPlaybackMode getPlaybackMode() const { return mPlaybackMode; }
    ContentPlayerTransitionMode getTransitionMode() const { return mTransitionMode; }
    const std::array<ContentMode, kPlaylistLength>& getPlaylist() const { return mPlaylist; }
    uint32_t getPlaylistIndex() const { return mPlaylistIndex; }
    float getPlayTime() const { return mPlayTime; }
    float getIntroBlend() const { return mIntroBlend; }
    float getFadeIn() const { return mFadeIn; }
    float getFadeOut() const { return mFadeOut; }
    bool isFading() const { return mFading; }
    float getDisplayModeBlend() const { return mDisplayModeBlend; }
    const colorf& getClearColor() const { return mClearColor; }
    const RotationTransition& getRotationTransition() const { return mRotationTransition; }
    float getSpeakerOverlayFade() const { return mSpeakerOverlayFade; }
    const SpeakerOverlay& getSpeakerOverlay() const { return *mSpeakerOverlay; }
    const AODOverlay& getAODOverlay() const { return *mAODOverlay; }
    AbstractContent& getContent(ContentMode mode) const;
    AbstractContent& getContent(ContentCategory category) const;

private:
    void reshufflePlaylist(bool sequential);
    void advancePlaylist(bool reshuffleAtEnd);
    void setContentMode(ContentMode mode, bool force);
    void skipIntro();
    void updateContentPlayMode();
    void updateContentModeTransition(float dt);
    void finishTransition();
    void startRotation(RotateInfo from, RotateInfo to, bool reset);
    void updateRotation(float dt);
    void drawContent(float dt, const SoundInput& sound);

    void stepPlaylist() { mPlaylistIndex = (mPlaylistIndex + 1) % kPlaylistLength; }
    ContentMode playlistMode() const { return mPlaylist[mPlaylistIndex]; }
    // Steps until `accept` holds for the mode at the index. A search that no mode can satisfy
    // gives up after one lap instead of spinning forever on a faulty preset.
    template <typename Accept>
    bool stepUntil(Accept accept);

    uint32_t mWidth;
    uint32_t mHeight;
    RotationTransition mRotationTransition{};
    float mSpeakerOverlayFade = 0.0f;
    SpeakerInfo mSpeaker;
    ContentPlayerPreset mPreset;
    uint64_t mFrameCount = 0;
    float mPlayTime = 0.0f;
    float mIntroDuration;
    ContentPlayerAnimationMode mAnimationMode = ContentPlayerAnimationMode::WAITING_FOR_DATA;
    ContentPlayerAnimationMode mAnimationModePrevious =
        ContentPlayerAnimationMode::WAITING_FOR_DATA;
    ContentPlayerPlaybackMode mPlaybackMode = ContentPlayerPlaybackMode::NONE;
    ContentPlayerPlaybackMode mPlaybackModePrevious = ContentPlayerPlaybackMode::NONE;
    ContentMode mContentMode = ContentMode::NONE;
    ContentMode mContentModePrevious = ContentMode::NONE;
    ContentMode mContentModeNext = ContentMode::NONE;
    std::mt19937 mRandom;
    std::uniform_int_distribution<int> mPlaylistDistribution{1, kPlaylistLength};
    std::array<ContentMode, kPlaylistLength> mPlaylist{};
    uint32_t mPlaylistIndex = 0;
    ContentPlayerTransitionMode mTransitionMode = ContentPlayerTransitionMode::NONE;
    bool mFading = false;
    bool mForced = false;
    float mTransitionTime = 0.0f;
    float mFadeOut = 0.0f;
    float mFadeIn = 0.0f;
    float mIntroBlend = 0.0f;
    float mTransitionStart = 0.0f;
    DisplayMode mDisplayMode;
    DisplayMode mDisplayModePrevious;
    float mDisplayModeBlend;
    float mDisplayModeTime;
    std::map<ContentCategory, std::unique_ptr<AbstractContent>> mContents;
    std::map<ContentMode, ContentCategory> mContentCategories;
    std::map<ContentMode, uint32_t> mContentIndices;
    std::set<ContentCategory> mCategories;
    colorf mClearColor{1.0f, 0.0f, 0.0f, 1.0f};
    std::unique_ptr<SpeakerOverlay> mSpeakerOverlay;
    std::unique_ptr<AODOverlay> mAODOverlay;
};
