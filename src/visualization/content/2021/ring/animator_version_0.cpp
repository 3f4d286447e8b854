#include "visualization/content/2021/ring/animator_version_0.h"

#include <algorithm>
#include <cmath>

#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace ring {

Animator_Version_0::Animator_Version_0(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height, "Animator_Version_0", 60, 24.0f) {
    static_cast<AbstractColorAnimator::Preset&>(mPreset) = makePalettes({0, 1, 2, 3});
    using P = SoundClassParameters;
    mPreset.parameters = {
        {SoundClass::Soft,
         P{0, 0, 0, 0.075f, 0, 0.125f, 0, 0, 0.825f, 0, 0, 0, 0.75f, 0.65f, 0, 0}},
        {SoundClass::Slow, P{0, 0, 1, 0.075f, 0, 0.125f, 0, 0, 0.825f, 0, 0, 0, 0.75f, 1, 0, 0}},
        {SoundClass::Calm, P{0, 0, 1, 0.075f, 1, 0.125f, 0, 0, 0.825f, 0, 0, 0, 0.75f, 1, 0, 0}},
        {SoundClass::Light,
         P{0, 0, 1, 0.075f, 1, 0.125f, 0, 1, 0.5f, 0, 0, 0, 0.75f, 1, 0.125f, 0}},
        {SoundClass::Moderate, P{1, 0, 1, 1, 1, 0.125f, 0, 1, 0.825f, 0, 0, 0, 0.75f, 0.65f, 0, 0}},
        {SoundClass::Loud, P{1, 1, 1, 1, 1, 0.25f, 1, 1, 2, 1, 1, 0, 0.75f, 0.65f, 0, 0}},
        {SoundClass::Dynamic, P{1, 1, 1, 1, 1, 0.25f, 1, 1, 3, 1, 1, 0, 0.75f, 0.65f, 0, 0}},
        {SoundClass::Dark, P{1, 1, 1, 1, 1, 0.25f, 1, 1, 3, 1, 1, 0.15f, 0.75f, 0.65f, 0, 0.125f}},
        {SoundClass::Powerful,
         P{1, 1, 1, 1, 1, 0.25f, 1, 1, 3, 1, 1, 0.15f, 1, 0.9f, 0.25f, 0.125f}},
    };
    mSegments.resize(mSegmentCount);
    createPalettes(mPreset);
}

void Animator_Version_0::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& rotation) {
    const float b = newestMaxNormalized(sound);
    update_threshold(mTrigger, b);
    const SoundClassParameters p = mixParameters(mPreset.parameters, sound);
    const ColorPalette& palette = updatePalette(mPreset);

    placeCamera(mPreset.lineWidth,
                {0.0f, 0.0f,
                 -mCameraDistance * (p.cameraDistanceOffset + 1.0f +
                                     mDistanceModulation * rotation.fractionSnapped)},
                {0.0f, 0.0f, 0.0f}, rotation);

    const vec3f& turn = mTurns.current;
    mScene.mRingMatrix =
        rotateX(turn.x) * rotateY(turn.y) * rotateZ(turn.z) * rotateX(-math::kPi / 2.0f);

    if (p.beatTurns != 0.0f && mTrigger.triggered) {
        if (mBeatSeen) {
            mTurns.startNext();
        }
        mBeatSeen = true;
    }
    mTurns.ease(std::min(std::max(p.turnEasing * dt, 0.0f), 1.0f));

    if (mTrigger.triggered) {
        mImpulse = 1.0f;
        mTwistDirection = -mTwistDirection;
        mBandOffset = util::randomInt(0, 8);
    }

    easeBandsAroundRing(sound, dt);

    mLevel += (b - mLevel) * std::min(4.0f * dt, 1.0f);
    const float level = p.levelResponse * mLevel;

    const uint32_t n = mSegmentCount;
    mRing.radius = mBaseRadius * (0.25f * level + 1.0f);
    mRing.width = mWidth2;

    const std::vector<colorf>& c = palette.colors;
    const colorf cA = mix_color(c[0], c[1], p.levelColorMix * mLevel);
    for (uint32_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n);
        const float v = mEased[i];
        const float e = i % 2 == 0 ? 1.0f : 0.0f;
        WedgeAxisAligned& s = mSegments[i];
        vec3f k{1.0f, (0.5f * std::sin(math::kPi * t) + 0.5f) * p.thicknessAmount, 1.0f};
        k = k * (1.0f - v);
        k.x = math::mix(std::max(k.x, p.arcFloor), p.arcFloor, p.arcFloorMix);
        k.x = math::mix(k.x, p.arcQuiet, p.levelResponse * math::smoothstep(0.5f, 1.0f, 1.0f - v));
        k.x = std::max(k.x, p.scaleFloor);
        k.y = std::max(k.y, p.scaleFloor);
        k.z = std::max(k.z, p.scaleFloor);
        s.scale = k * mFade;
        s.angle = mPhase + mRing.segmentAngle * static_cast<float>(i);
        s.roll = mRoll + static_cast<float>(mRing.rollTurns) * math::kPi * t;
        s.twist = mTwist - (2.0f * v - 1.0f) * math::kPi / 4.0f;
        s.push = p.pushAmount * b * e;
        const colorf highlight = mix_color(cA, mix_color(cA, c[2], math::smoothstep(0.5f, 1.0f, v)),
                                           p.colorHighlightMix);
        s.color = mix_color(highlight, c[3], v * e * p.levelColorMix);
    }
    buildWedges(mSegments, mRing, mScene.mWedges);

    if (!mPaused) {
        mPhase += p.spinSpeed * dt;
        mTwist += 2.0f * mImpulse * dt * mTwistDirection * p.twistSpeed;
    }
    mRoll = mTime * 0.5f;
    mImpulse *= 0.99f;
    mTrigger.triggered = false;
}

}  // namespace ring
}  // namespace content2021
