#include "visualization/visualization.h"

#include <cmath>

#include "platform.h"
#include "visualization/log.h"
#include "visualization/util/gl/qd.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"
#include "visualization/util/system/fs.h"

namespace {

using math::kPi;

// Plausible band data for the first frames, before the host sends any: a slow swell with a
// random phase per value.
void generateSpectrum(float* out, uint32_t, uint32_t, uint32_t frame, uint32_t, float low,
                      float high) {
    const float r = util::random01();
    const float f = static_cast<float>(frame);
    *out = math::lerp(low, high, 0.5f + 0.5f * std::sin(r * kPi * 0.5f + (f / 60.0f) * kPi * 0.5f));
}

}  // namespace

Visualization::Visualization(const char* assetPath, RotateInfo rotation, SpeakerInfo speaker,
                             DisplayMode displayMode, const VisualizationPreset& preset)
    : mPreset(preset), mRotation(rotation), mLastFrameTime(platform_clock_now_ns()) {
    beginScope("[Visualization][Constructor]");
    logInScope("Path Assets:         %s", assetPath);
    logInScope("Orientation:         %s", toString(rotation));
    logInScope("Speaker:             %s", toString(speaker));
    logInScope("Display Mode:        %s", toString(displayMode));
    fs::setResourcePath(assetPath);
    util::setRandomSeed(util::makeRandomSeed());
    const ScreenSize size = mPreset.screenSizes.at(mRotation);
    mContentPlayer = std::make_unique<ContentPlayer>(size.first, size.second, rotation, speaker,
                                                     displayMode, mPreset.contentPlayerPreset);
    beginSubScope("Populate Spectrum Data");
    mSoundInput.populate(&generateSpectrum);
    endSubScope();
    endScope();
}

Visualization::~Visualization() {
    beginScope("[Visualization][Destructor]");
    mContentPlayer.reset();
    // The diagnostic drawing shares one set of GL objects across the process; the instance that
    // ends takes them with it, so a later instance starts from a fresh create.
    qd::destroy();
    endScope();
}

void Visualization::update() {
    const long long now = platform_clock_now_ns();
    if (mFrameCount == 0) {
        mLastFrameTime = now;
    }
    float dt = static_cast<float>(static_cast<double>(now - mLastFrameTime) * 1e-9);
    // A clock that went backwards (a host that replays time) must not run animations backwards.
    if (dt < 0.0f || dt * 1000.0f >= static_cast<float>(mPreset.maxFrameTime)) {
        dt = 0.0f;
    }
    mLastFrameTime = now;
    if (mBandsReceived) {
        mSoundInput.update(dt);
    }
    // The host shares the context and may have left any state; every frame starts from the same.
    gl::applyBaseRenderState();
    mContentPlayer->update(dt, mSoundInput);
    ++mFrameCount;
}

void Visualization::setBandsInfo(uint32_t count, const float* data) {
    mSoundInput.setBandsInfo(data, count);
    if (!mBandsReceived) {
        mContentPlayer->activateAnimationMode();
        mBandsReceived = true;
    }
}

void Visualization::setSoundClass(SoundClass soundClass) {
    mSoundInput.setSoundClass(soundClass, false);
}

void Visualization::updateTrackChange() {
    if (!mBandsReceived) {
        return;
    }
    beginScope("[Visualization][updateTrackChange]");
    mContentPlayer->playNext();
    endScope();
}

void Visualization::startRotationTransition(RotateInfo target) {
    beginScope("[Visualization][startRotationTransition]");
    logInScope("Transition to %s started", toString(target));
    mContentPlayer->startRotationTransition(target, false);
    endScope();
}

void Visualization::setRotationTransitionAngle(float degrees) {
    mContentPlayer->setRotationTransitionAngle(degrees);
}

void Visualization::setDisplayMode(DisplayMode mode, bool animate) {
    mContentPlayer->setDisplayMode(mode, animate);
}

DisplayMode Visualization::getDisplayMode() const {
    return mContentPlayer->getDisplayMode();
}
