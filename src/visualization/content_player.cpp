#include "visualization/content_player.h"

#include <algorithm>
#include <cfloat>

#include "platform.h"
#include "visualization/content/catalogue.h"
#include "visualization/content_player_gl_output.h"
#include "visualization/library_types.h"
#include "visualization/log.h"
#include "visualization/util/assert.h"

namespace {

constexpr float kRotationLead = 0.2f;
constexpr float kRotationSmoothTime = 0.5f;

RotateInfo otherOrientation(RotateInfo rotation) {
    return rotation == RotateInfo::Landscape ? RotateInfo::Portrait : RotateInfo::Landscape;
}

float blendValue(DisplayMode mode) {
    return DisplayModeBlendValues.at(mode);
}

}  // namespace

std::set<ContentMode> ContentPlayerPreset::defaultModesSuitable() {
    std::set<ContentMode> modes;
    for (const ContentModeRow& row : ContentModeTable) {
        if (row.suitsStart) {
            modes.insert(row.mode);
        }
    }
    return modes;
}

ContentPlayerFactory::ContentPlayerFactory()
    : content(createContent), output([](uint32_t width, uint32_t height, SpeakerInfo speaker) {
          return std::make_unique<ContentPlayerGlOutput>(width, height, speaker);
      }) {}

// ---------------------------------------------------------------------------------------------
// Construction and destruction

ContentPlayer::ContentPlayer(uint32_t width, uint32_t height, RotateInfo rotation,
                             SpeakerInfo speaker, DisplayMode displayMode,
                             const ContentPlayerPreset& preset, const ContentPlayerFactory& factory)
    : mPreset(preset),
      mIntroDuration(preset.durationIntroIdle + preset.durationIntroFadeIn),
      mPlaylist(static_cast<uint32_t>(platform_clock_now_ns())),
      mDisplayMode(displayMode),
      mDisplayModePrevious(displayMode),
      mDisplayModeBlend(blendValue(displayMode)),
      mDisplayModeTime(preset.durationDisplayMode) {
    beginScope("[ContentPlayer][Constructor]");
    VIZ_ASSERT(mPreset.durationTransition > 0.0f);

    beginSubScope("Create contents");
    for (const auto& category : ContentCategoryNames) {
        mContents.emplace(category.first, factory.content(category.first, width, height, rotation));
    }
    endSubScope();

    beginSubScope("Create content mapping");
    for (const auto& category : ContentCategoryNames) {
        if (category.first != ContentCategory::NONE) {
            mCategories.insert(category.first);
        }
    }
    endSubScope();

    beginSubScope("Create content playlist");
    reshufflePlaylist(!mPreset.shufflePlaylist);
    if (mPreset.applyModesSuitable && !mPreset.modesSuitable.empty()) {
        const uint32_t before = mPlaylist.position();
        mPlaylist.seek([this](ContentMode mode) { return mPreset.modesSuitable.count(mode) != 0; });
        if (mPlaylist.position() != before) {
            logInSubScope("Advanced playlist to suitable mode %s", toString(mPlaylist.current()));
        }
    }
    if (mPreset.modeStart != ContentMode::NONE) {
        mPlaylist.seek([this](ContentMode mode) { return mode == mPreset.modeStart; });
    }
    if (!mPreset.modesRestricted.empty()) {
        const uint32_t before = mPlaylist.position();
        mPlaylist.seek(
            [this](ContentMode mode) { return mPreset.modesRestricted.count(mode) != 0; });
        if (mPlaylist.position() != before) {
            logInSubScope("Advanced playlist to restricted mode %s", toString(mPlaylist.current()));
        }
    }
    if (!mPreset.categories.empty()) {
        mCategories = mPreset.categories;
    }
    for (const auto& content : mContents) {
        if (!content.second->isPlayable()) {
            mCategories.erase(content.first);
        }
    }
    mPlaylist.seek([this](ContentMode mode) {
        return mCategories.count(ContentModeCategories.at(mode)) != 0;
    });
    setContentMode(mPlaylist.current(), true);
    endSubScope();

    mOutput = factory.output(width, height, speaker);

    if (mPreset.hideSpeakerOverlay) {
        logInScope("Preset: hide speaker overlay");
    }
    if (mPreset.skipIntro) {
        logInScope("Preset: skip intro");
        skipIntro();
    }
    startRotation(rotation, otherOrientation(rotation), true);
    endScope();
}

ContentPlayer::~ContentPlayer() {
    beginScope("[ContentPlayer][Destructor]");
    for (auto& entry : mContents) {
        entry.second.reset();
    }
    mOutput.reset();
    endScope();
}

AbstractContent& ContentPlayer::content(ContentMode mode) const {
    return *mContents.at(ContentModeCategories.at(mode));
}

// ---------------------------------------------------------------------------------------------
// Host events

void ContentPlayer::activateAnimationMode() {
    if (mAnimationMode == ContentPlayerAnimationMode::ANIMATING) {
        return;
    }
    beginScope("[ContentPlayer][activateAnimationMode]");
    mAnimationMode = ContentPlayerAnimationMode::ANIMATING;
    if (mAnimationMode != mAnimationModePrevious) {
        logInScope("Mode switched from %s to %s", toString(mAnimationModePrevious),
                   toString(mAnimationMode));
    }
    mAnimationModePrevious = mAnimationMode;
    endScope();
}

void ContentPlayer::playNext() {
    beginScope("[ContentPlayer][playNext]");
    if (mPlaybackMode != ContentPlayerPlaybackMode::ANIMATION) {
        logInScope("In intro mode. Ignored");
    } else if (mFading && mTransitionTime < mPreset.durationTriggerMin) {
        logInScope("Trigger time below threshold. Ignored");
    } else {
        advancePlaylist(true);
    }
    endScope();
}

void ContentPlayer::startRotationTransition(RotateInfo target, bool force) {
    if (!force && target == mRotationTransition.current) {
        return;
    }
    startRotation(mRotationTransition.current, target, force);
}

void ContentPlayer::startRotation(RotateInfo from, RotateInfo to, bool reset) {
    beginScope("[ContentPlayer][startRotationTransition]");
    mRotationTransition.start(from, to, reset);
    logInScope("Rotating from %s to %s ...", toString(from), toString(to));
    endScope();
}

void ContentPlayer::setRotationTransitionAngle(float degrees) {
    if (degrees == VIZ_ROTATION_DEGREE_ABORTED) {
        logMessage("[ContentPlayer][setRotationTransitionAngle] Transition abort signaled!");
        return;
    }
    mRotationTransition.setAngle(degrees * kDegreesToRadians);
    if (mRotationTransition.progress == 1.0f) {
        logMessage("[ContentPlayer][setRotationTransitionAngle] Finished transition from %s to %s",
                   toString(mRotationTransition.from), toString(mRotationTransition.to));
    }
}

void ContentPlayer::setDisplayMode(DisplayMode mode, bool immediate) {
    if (mode == mDisplayMode) {
        return;
    }
    mDisplayModePrevious = mDisplayMode;
    mDisplayMode = mode;
    mDisplayModeTime = immediate ? mPreset.durationDisplayMode : 0.0f;
}

// ---------------------------------------------------------------------------------------------
// Playlist

void ContentPlayer::reshufflePlaylist(bool sequential) {
    beginScope("[ContentPlayer][reshufflePlaylist]");
    mPlaylist.reshuffle(sequential);
    endScope();
}

void ContentPlayer::advancePlaylist(bool reshuffleAtEnd) {
    if (mPreset.lockPlaylist) {
        return;
    }
    beginScope("[ContentPlayer][advancePlaylist]");
    const ContentPlaylist::Next next =
        mPlaylist.advance(mPreset.modesRestricted, mCategories, mContentMode);
    setContentMode(next.mode, false);
    if (mPreset.shufflePlaylist && reshuffleAtEnd && next.lapEnded) {
        reshufflePlaylist(false);
    }
    endScope();
}

void ContentPlayer::setContentMode(ContentMode mode, bool force) {
    if (!force && (mode == mContentMode || mode == mContentModeNext)) {
        return;
    }
    beginScope("[ContentPlayer][setContentMode]");
    mContentModeNext = mode;
    logInScope("Mode next: %s", toString(mode));
    if (force) {
        mContentModePrevious = mContentMode = mode;
        mFading = false;
        mForced = true;
        logInScope("Force mode: %s", toString(mode));
    } else {
        mFading = true;
        mForced = false;
        mTransitionTime = 0.0f;
        mTransitionStart = content(mContentMode).getTransition();
    }
    endScope();
}

void ContentPlayer::skipIntro() {
    if (mPlayTime < mIntroDuration) {
        mPlayTime += mIntroDuration;
        mOutput->skipSpeakerOverlay();
        logMessage("[ContentPlayer][skipIntro]");
    }
}

// ---------------------------------------------------------------------------------------------
// Per-frame state machines

void ContentPlayer::updateContentPlayMode() {
    if (mPlaybackMode == ContentPlayerPlaybackMode::ANIMATION) {
        return;
    }
    if (mPlayTime <= mIntroDuration) {
        const float idle = std::max(FLT_EPSILON, mPreset.durationIntroIdle);
        const float fade = std::max(FLT_EPSILON, mPreset.durationIntroFadeIn);
        if (mPlayTime <= idle) {
            mPlaybackMode = ContentPlayerPlaybackMode::INTRO_IDLE;
            mIntroBlend = 0.0f;
        } else {
            mPlaybackMode = ContentPlayerPlaybackMode::INTRO_FADE_IN;
            float t = std::min(mPlayTime - idle, fade) / fade;
            t = std::max(0.0f, t);
            mIntroBlend = t * t * (3.0f - 2.0f * t);
        }
    } else {
        mPlaybackMode = ContentPlayerPlaybackMode::ANIMATION;
        mIntroBlend = 1.0f;
    }
    if (mPlaybackMode != mPlaybackModePrevious) {
        logMessage("[ContentPlayer][updateContentPlayMode] Switched playback mode from %s to %s",
                   toString(mPlaybackModePrevious), toString(mPlaybackMode));
    }
    mPlaybackModePrevious = mPlaybackMode;
}

void ContentPlayer::finishTransition() {
    content(mContentMode).setTransition(1.0f);
    mFading = false;
    mTransitionMode = ContentPlayerTransitionMode::FINISHED;
}

void ContentPlayer::updateContentModeTransition(float dt) {
    if (!mFading && !mForced) {
        mFadeOut = mFadeIn = 1.0f;
        return;
    }
    if (mForced) {
        content(mContentMode).setModeIndex(ContentModeIndices.at(mContentMode));
        finishTransition();
        mForced = false;
    } else if (mTransitionTime < mPreset.durationTransition) {
        const float p = std::min(mTransitionTime / mPreset.durationTransition, 1.0f);
        const float tri = p <= 0.5f ? p / 0.5f : 1.0f - (p - 0.5f) / 0.5f;
        const float inv = 1.0f - tri;
        if (p < 0.5f) {
            mContentModePrevious = mContentMode;
            mTransitionMode = ContentPlayerTransitionMode::FADING_OUT;
            mFadeIn = 1.0f;
            mFadeOut = inv;
            content(mContentModeNext).setTransition(0.0f);
            content(mContentMode).setTransition(mTransitionStart * mFadeOut);
        } else {
            const ContentMode old = mContentMode;
            mContentMode = mContentModeNext;
            mTransitionMode = ContentPlayerTransitionMode::FADING_IN;
            mFadeOut = 1.0f;
            mFadeIn = inv;
            AbstractContent& incoming = content(mContentMode);
            if (mContentMode != old) {
                incoming.setModeIndex(ContentModeIndices.at(mContentMode));
            }
            incoming.setTransition(mFadeIn);
        }
        mTransitionTime += dt;
        return;
    } else {
        mTransitionTime = mPreset.durationTransition;
        finishTransition();
    }
    logMessage("[ContentPlayer][updateContentModeTransition] Transition from %s to %s finished",
               toString(mContentModePrevious), toString(mContentMode));
}

void ContentPlayer::updateRotation(float dt) {
    RotationTransition& rotation = mRotationTransition;
    const bool landscapeToPortrait =
        rotation.from == RotateInfo::Landscape && rotation.to == RotateInfo::Portrait;
    float lead = 0.0f;
    if (rotation.fraction != 0.0f && rotation.fraction != 1.0f) {
        lead = landscapeToPortrait ? kRotationLead : -kRotationLead;
    }
    rotation.update(lead, kRotationSmoothTime, dt);
    const float progress =
        landscapeToPortrait ? rotation.fractionSmoothed : 1.0f - rotation.fractionSmoothed;
    mSpeakerOverlayFade = std::max(progress, mSpeakerOverlayFade);
}

// ---------------------------------------------------------------------------------------------
// Drawing

void ContentPlayer::update(float dt, const SoundInput& sound) {
    const Spectrum& spectrum = sound.getSpectrum();
    const bool hasData = spectrum.isValid() && spectrum.bandCount() >= 1;
    if (!hasData || mFrameCount == 0) {
        mClearColor = content(mContentMode).getBackgroundColor();
    }
    mOutput->clear(mClearColor);
    if (!hasData) {
        return;
    }
    updateRotation(dt);
    updateContentPlayMode();
    updateContentModeTransition(dt);
    drawContent(dt, sound);

    if (!mPreset.hideSpeakerOverlay && !mOutput->isSpeakerOverlayFinished()) {
        mOutput->drawSpeakerOverlay(1.0f - mSpeakerOverlayFade * mPreset.speakerOverlayFadeScale,
                                    dt);
    }

    const float t = std::clamp(mDisplayModeTime / mPreset.durationDisplayMode, 0.0f, 1.0f);
    const float from = blendValue(mDisplayModePrevious);
    mDisplayModeBlend = from + (blendValue(mDisplayMode) - from) * t;
    mDisplayModeTime = std::min(mDisplayModeTime + dt, mPreset.durationDisplayMode);
    ++mFrameCount;
    mPlayTime += dt;
}

void ContentPlayer::drawContent(float dt, const SoundInput& sound) {
    AbstractContent& current = content(mContentMode);
    current.setBlend(mPlaybackMode == ContentPlayerPlaybackMode::ANIMATION ? 1.0f : mIntroBlend);
    const bool pause = mAnimationMode == ContentPlayerAnimationMode::WAITING_FOR_DATA &&
                       mPlaybackMode != ContentPlayerPlaybackMode::INTRO_IDLE;
    if (pause != current.isPaused()) {
        current.setPaused(pause);
    }
    current.setDisplayModeBlend(mDisplayModeBlend);
    current.update(dt, sound, mRotationTransition);
    mOutput->beginContent(mDisplayModeBlend, current.getAODMask());
    current.render();
    mOutput->endContent();
    mClearColor =
        mix_color(mClearColor, current.getBackgroundColor(), std::clamp(mFadeIn, 0.0f, 1.0f));
}
