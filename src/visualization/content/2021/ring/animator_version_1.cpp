#include "visualization/content/2021/ring/animator_version_1.h"

#include <algorithm>
#include <cmath>

#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace ring {

Animator_Version_1::Animator_Version_1(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height, "Animator_Version_1", 80, 24.0f) {
    static_cast<AbstractColorAnimator::Preset&>(mPreset) = makePalettes({0, 2});
    mPreset.lineWidth = 2.0f;
    using P = SoundClassParameters;
    mPreset.parameters = {
        {SoundClass::Soft, P{0.85f, 0.75f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0.925f, 0}},
        {SoundClass::Slow, P{0.85f, 0.75f, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0.375f, 0, 0.925f, 0}},
        {SoundClass::Calm, P{0.85f, 0.65f, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0.375f, 0, 0.925f, 0}},
        {SoundClass::Light, P{0.85f, 0.65f, 0, 1, 0, 0, 0, 1, 0, 1, 1.25f, 0, 0, 1, 0.925f, 0}},
        {SoundClass::Moderate, P{1, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0.925f, 0}},
        {SoundClass::Loud, P{1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1.25f, 0, 0, 1, 0.925f, 0}},
        {SoundClass::Dynamic, P{1, 1, 1, 1, 1, 1, 1, 0, 0.125f, 1, 1.25f, 0, 0, 1, 0.925f, 0}},
        {SoundClass::Dark, P{1, 1, 1, 1, 1, 1, 1, 1, 0.125f, 1, 1.25f, 0, 0, 1, 0.925f, 0}},
        {SoundClass::Powerful, P{1, 1, 1, 1, 1, 1, 1, 1, 0.25f, 1, 1, 0, 0, 1, 0.9f, 0.25f}},
    };
    mSegments.resize(mSegmentCount);
    mStamped.assign(mSegmentCount, 0.0f);
    createPalettes(mPreset);
}

void Animator_Version_1::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& rotation) {
    const float b = newestMaxNormalized(sound);
    const uint32_t n = mSegmentCount;
    update_threshold(mTrigger, b);
    const SoundClassParameters p = mixParameters(mPreset.parameters, sound);
    const ColorPalette& palette = updatePalette(mPreset);
    const colorf& c0 = palette.colors[0];
    const colorf& c1 = palette.colors[1];

    const float d = mCameraDistance * (mImpulseSmoothed * p.distancePulse + 1.0f +
                                       mDistanceModulation * rotation.fractionSnapped);
    placeCamera(mPreset.lineWidth, {0.0f, std::cos(mElevation) * d, -std::sin(mElevation) * d},
                {0.0f, mCenterHeight, 0.0f}, rotation);

    mScene.mModelMatrix = math::mat44<float>();
    mScene.mRingMatrix = rotateZ(mTilt.z) * rotateY(mTilt.y);

    if (mTrigger.triggered) {
        mImpulse = 1.0f;
        mTwistDirection = -mTwistDirection;
        mMirror = std::fmod(mMirror + 1.0f, 2.0f);
        mTiltTarget.y += p.tiltStep * math::kPi / 4.0f * (util::random01() >= 0.5f ? 1.0f : -1.0f);
    }

    const float v = std::min(std::max(b * b * 3.0f, 0.0f), 1.0f);
    mStampHead = static_cast<uint32_t>(std::floor(mTime * 15.0f)) % n;
    mStamped[mStampHead] = v;
    mStamped[(mStampHead + n / 2) % n] = v;
    if (mPaused) {
        std::fill(mStamped.begin(), mStamped.end(), 1.0f);
    }

    const float k = std::min(6.0f * dt, 1.0f);
    const float m = mMirror * p.mirrorMix;
    for (uint32_t i = 0; i < n; ++i) {
        const float partner = mStamped[n - 1 - ((i + n / 2) % n)];
        mEased[i] += (math::mix(mStamped[i], partner, m) - mEased[i]) * k;
    }
    const float decay = std::min(0.15f * dt, 1.0f);
    for (float& value : mStamped) {
        value = std::min(std::max(value - decay, 0.0f), 1.0f);
    }

    mImpulseSmoothed += (mImpulse - mImpulseSmoothed) * std::min(2.0f * dt, 1.0f);
    mLevel += (b - mLevel) * std::min(4.0f * dt, 1.0f);

    mRing.radius = mBaseRadius * p.radiusScale;
    mRing.width = mBaseWidth * p.widthScale;

    for (uint32_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n);
        const float value = mEased[i];
        const float e = i % 2 == 0 ? 1.0f : 0.0f;
        WedgeAxisAligned& s = mSegments[i];
        const float size = 0.85f * value + 0.15f;
        vec3f scale{size, size, size};
        scale = scale * math::mix(1.0f, 0.5f * mLevel + 0.5f, p.levelScaleMix);
        scale = scale * math::mix(1.0f, p.evenLevelScale, e * value * p.evenLevelMix);
        scale = scale * math::mix(1.0f, p.evenScale, p.evenMix * e);
        scale.x = math::mix(scale.x, p.arcTarget, p.arcMix);
        s.scale = scale * mFade;
        s.push = mLevel * e * p.pushAmount;
        s.angle = mPhase + mRing.segmentAngle * static_cast<float>(i);
        s.roll = 0.95f * mTime + static_cast<float>(mRing.rollTurns) * math::kPi * t;
        s.twist = mTwist;
        s.color = mix_color(c0, c1, math::smoothstep(0.5f, 1.0f, value) * e * p.evenColorMix);
    }
    buildWedges(mSegments, mRing, mScene.mWedges);

    mTiltTarget.z = std::sin(0.125f * mTime) * math::kPi * 0.125f * p.tiltWobble;
    mTilt = mTilt + (mTiltTarget - mTilt) * std::min(2.0f * dt, 1.0f);

    if (!mPaused) {
        mPhase += 0.125f * dt;
        mTwist += 2.0f * mImpulse * dt * mTwistDirection * p.twistSpeed;
    }
    mImpulse *= 0.99f;
    mTrigger.triggered = false;
}

}  // namespace ring
}  // namespace content2021
