// Decides what is on screen: the playlist of content modes, the intro, the cross-fade between
// modes, the display-mode blend, the rotation state and the overlays. Created by Visualization
// with the GL context current; update() draws one whole frame.
//
// Sections: preset; factory; construction and destruction; host events; playlist; per-frame
// state machines; drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "visualization/content/abstract_content.h"
#include "visualization/content_player_output.h"
#include "visualization/content_playlist.h"
#include "visualization/rotation_transition.h"
#include "visualization/sound_input.h"
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

// Where the player's parts come from. Both are called inside the player's constructor scope,
// where their log lines belong: `content` once per category in category order, `output` after
// the playlist. A test hands in fakes; the defaults are the catalogue and the GL output.
struct ContentPlayerFactory {
    std::function<std::unique_ptr<AbstractContent>(ContentCategory, uint32_t width, uint32_t height,
                                                   RotateInfo)>
        content;
    std::function<std::unique_ptr<ContentPlayerOutput>(uint32_t width, uint32_t height,
                                                       SpeakerInfo)>
        output;

    ContentPlayerFactory();
};

class ContentPlayer {
public:
    ContentPlayer(uint32_t width, uint32_t height, RotateInfo rotation, SpeakerInfo speaker,
                  DisplayMode displayMode, const ContentPlayerPreset& preset,
                  const ContentPlayerFactory& factory = ContentPlayerFactory());
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
    // The mode whose content is drawn.
    ContentMode getContentMode() const { return mContentMode; }

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
    AbstractContent& content(ContentMode mode) const;

    RotationTransition mRotationTransition{};
    float mSpeakerOverlayFade = 0.0f;
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
    ContentPlaylist mPlaylist;
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
    std::set<ContentCategory> mCategories;
    colorf mClearColor{1.0f, 0.0f, 0.0f, 1.0f};
    std::unique_ptr<ContentPlayerOutput> mOutput;
};
