#include "visualization/content/2021/ring/animator_version_5.h"

#include <algorithm>
#include <cmath>

#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace ring {

Animator_Version_5::Animator_Version_5(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height, "Animator_Version_5", 50, 24.0f) {
    static_cast<AbstractColorAnimator::Preset&>(mPreset) = makePalettes({1, 0, 2, 3});
    // Quiet classes stand low and turn slowly; beat-driven ones stand tall, bounce and rock. A
    // segment at full level is at most 2.25 times the section's width tall: any taller, and the
    // near side of a rocked, bouncing ring reaches past the bottom of the picture.
    using P = SoundClassParameters;
    mPreset.parameters = {
        {SoundClass::Soft, P{1.0f, 0.6f, 0.1f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}},
        {SoundClass::Slow, P{1.25f, 0.6f, 0.1f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}},
        {SoundClass::Calm, P{1.25f, 0.7f, 0.15f, 0.5f, 0.0f, 1.0f, 0.0f, 0.5f}},
        {SoundClass::Light, P{1.5f, 0.7f, 0.15f, 0.5f, 0.1f, 1.0f, 0.5f, 1.0f}},
        {SoundClass::Moderate, P{1.75f, 0.8f, 0.2f, 1.0f, 0.1f, 1.0f, 0.5f, 0.5f}},
        {SoundClass::Loud, P{2.0f, 0.8f, 0.3f, 1.0f, 0.25f, 1.0f, 1.0f, 1.0f}},
        {SoundClass::Dynamic, P{2.0f, 0.9f, 0.3f, 1.5f, 0.25f, 1.0f, 1.0f, 1.0f}},
        {SoundClass::Dark, P{1.75f, 0.9f, 0.2f, 1.0f, 0.2f, 1.0f, 1.0f, 1.0f}},
        {SoundClass::Powerful, P{2.0f, 0.9f, 0.35f, 1.5f, 0.3f, 1.0f, 1.0f, 1.0f}},
    };
    // The segments stand upright all the way round; with no roll to close, the last one must end
    // as it starts rather than take back a half turn its neighbours never had.
    mRing.rollTurns = 0;
    mSegments.resize(mSegmentCount);
    createPalettes(mPreset);
}

void Animator_Version_5::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& rotation) {
    const float b = newestMaxNormalized(sound);
    const uint32_t n = mSegmentCount;
    update_threshold(mTrigger, b);
    const SoundClassParameters p = mixParameters(mPreset.parameters, sound);
    const ColorPalette& palette = updatePalette(mPreset);
    const std::vector<colorf>& c = palette.colors;

    const float d = mCameraDistance * (1.0f + 0.125f * rotation.fractionSnapped);
    placeCamera(mPreset.lineWidth, {0.0f, std::sin(mElevation) * d, -std::cos(mElevation) * d},
                {0.0f, 0.0f, 0.0f}, rotation);

    if (mTrigger.triggered) {
        mImpulse = 1.0f;
        mTwistDirection = -mTwistDirection;
        mBandOffset = util::randomInt(0, 8);
        mRockTarget = (mRockTarget > 0.0f ? -1.0f : 1.0f) * p.rockOnBeat * math::kPi / 12.0f;
    }
    mRock += (mRockTarget - mRock) * std::min(2.0f * dt, 1.0f);
    mRockTarget *= 0.995f;
    mScene.mRingMatrix = rotateX(mRock);

    easeBandsAroundRing(sound, dt);
    mLevel += (b - mLevel) * std::min(4.0f * dt, 1.0f);

    mRing.radius = mBaseRadius;
    mRing.width = mBaseWidth;

    const colorf base = mix_color(c[0], c[1], p.levelColorMix * mLevel);
    for (uint32_t i = 0; i < n; ++i) {
        const float v = mEased[i];
        const float e = i % 2 == 0 ? 1.0f : 0.0f;
        WedgeAxisAligned& s = mSegments[i];
        s.scale = vec3f{p.arcShare, 0.25f + p.heightGain * v, 0.5f} * mFade;
        s.angle = mPhase + mRing.segmentAngle * static_cast<float>(i);
        s.roll = 0.0f;
        s.twist = mTwist * (0.5f + 0.5f * v);
        s.push = mImpulse * p.bounce * e;
        const colorf lit =
            mix_color(base, c[2], math::smoothstep(0.4f, 1.0f, v) * p.colorHighlightMix);
        s.color = mix_color(lit, c[3], v * e * p.levelColorMix);
    }
    buildWedges(mSegments, mRing, mScene.mWedges);

    if (!mPaused) {
        mPhase += p.spinSpeed * dt;
        mTwist += mImpulse * dt * mTwistDirection * p.twistSpeed;
    }
    mImpulse *= 0.99f;
    mTrigger.triggered = false;
}

}  // namespace ring
}  // namespace content2021
