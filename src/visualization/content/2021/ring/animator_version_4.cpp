#include "visualization/content/2021/ring/animator_version_4.h"

#include <algorithm>
#include <cmath>

#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace ring {

Animator_Version_4::Animator_Version_4(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height, "Animator_Version_4", 80, 45.0f, 30.0f) {
    static_cast<AbstractColorAnimator::Preset&>(mPreset) = makePalettes({0, 2, 1});
    using P = SoundClassParameters;
    mPreset.parameters = {
        {SoundClass::Soft,
         P{0, 2, 0, 0, 0, 1, 0, 0, 0, 0.825f, 0.35f, 0, 0.25f, 0.045f, 0.5f, 0.5f, 1, 0}},
        {SoundClass::Slow,
         P{0, 2, 0, 1, 0, 1, 0, 0, 0, 0.825f, 0.35f, 0, 0.25f, 0.045f, 0.75f, 0.75f, 1, 0}},
        {SoundClass::Calm,
         P{0, 2, 0, 1, 0, 1, 0, 0, 1, 0.825f, 0.35f, 0.25f, 0.25f, 0.045f, 0.75f, 0.75f, 1, 0}},
        {SoundClass::Light,
         P{0, 2, 0, 1, 1, 1, 0, 1, 1, 0.825f, 0.35f, 0.25f, 0.25f, 0.045f, 0.75f, 1, 1, 0}},
        {SoundClass::Moderate,
         P{0, 2, 0, 1, 0, 1, 0, 0, 0, 0.825f, 0, 1, 0, 0.045f, 0.75f, 1.25f, 1, 0}},
        {SoundClass::Loud,
         P{1, 2, 0, 1, 1, 1, 0, 0, 0, 1.5f, 0, 1, 0, 0.045f, 0.75f, 1.25f, 0.1f, 0}},
        {SoundClass::Dynamic,
         P{1, 2, 0, 1, 1, 1, 1, 0, 0, 1.5f, 0, 1, 0, 0.045f, 0.75f, 1.15f, 0.1f, 0}},
        {SoundClass::Dark, P{1, 1.35f, 1, 1, 1, 1, 1, 1, 1, 1.5f, 0, 1, 0, 0.2f, 0.5f, 1.1f, 1, 0}},
        {SoundClass::Powerful,
         P{1, 1.35f, 1, 1, 1, 1, 1, 1, 1, 1.5f, 0, 1, 0.5f, 0.2f, 0.5f, 1.1f, 0.1f, 0.125f}},
    };
    mSegments.resize(mSegmentCount);
    mStamped.assign(mSegmentCount, 0.0f);
    createPalettes(mPreset);
}

void Animator_Version_4::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& rotation) {
    const float b = newestMaxNormalized(sound);
    const uint32_t n = mSegmentCount;
    update_threshold(mTrigger, b);
    const SoundClassParameters p = mixParameters(mPreset.parameters, sound);
    const ColorPalette& palette = updatePalette(mPreset);
    const colorf& c0 = palette.colors[0];
    const colorf& c1 = palette.colors[1];
    const colorf& c2 = palette.colors[2];

    const float d = mCameraDistance *
                    (1.0f - mLevel * p.levelZoom + mDistanceModulation * rotation.fractionSnapped);
    placeCamera(mPreset.lineWidth, {0.0f, 0.0f, -d}, {0.0f, 0.0f, 0.0f}, rotation);

    const vec3f& turn = mTurns.current;
    mScene.mRingMatrix = rotateY(mTiltY) * rotateX(mTiltX) * rotateX(turn.x) * rotateY(turn.y) *
                         rotateZ(turn.z) * rotateX(math::kPi / 2.0f);

    if (mTrigger.triggered && mBeatSeen) {
        if (p.beatTurns != 0.0f) {
            mTurns.startNext();
        }
        if (p.tiltYOnBeat != 0.0f && std::fabs(mTiltY - mTiltYTarget) <= 0.1f) {
            mTiltYSign = -mTiltYSign;
            mTiltYTarget = mTiltYSign * math::kPi / 4.0f;
        }
        if (p.tiltXOnBeat != 0.0f && std::fabs(mTiltX - mTiltXTarget) <= 0.1f) {
            float step = -1.0f;
            if (util::random01() >= 0.25f) {
                step = util::random01() >= 0.5f ? 0.0f : 1.0f;
            }
            mTiltXTarget = step * math::kPi / 4.0f;
        }
    }
    mTurns.ease(std::min(std::max(p.turnEasing * dt, 0.0f), 1.0f));
    mTiltY = math::mix(mTiltY, mTiltYTarget, std::min(std::max(dt, 0.0f), 1.0f));
    mTiltYTarget *= 0.99f;
    mTiltX = math::mix(mTiltX, mTiltXTarget, dt);
    mTiltXTarget *= 0.99f;

    if (mTrigger.triggered) {
        mImpulse = 1.0f;
        mTwistDirection = -mTwistDirection;
        mPhaseDirection = -mPhaseDirection;
    }

    mStampHead = static_cast<uint32_t>(std::floor(mTime * 15.0f)) % n;
    mStamped[mStampHead] = b * b * b;
    const float ease = std::min(8.0f * dt, 1.0f);
    const float decay = std::min(0.35f * dt, 1.0f);
    for (uint32_t i = 0; i < n; ++i) {
        mEased[i] += (mStamped[i] - mEased[i]) * ease;
        mStamped[i] = std::min(std::max(mStamped[i] - decay, 0.0f), 1.0f);
    }
    if (mPaused) {
        std::fill(mEased.begin(), mEased.end(), 0.0f);
    }

    mLevel += (b - mLevel) * std::min(3.0f * dt, 1.0f);

    mRing.radius = 0.35f;
    mRing.width = 0.3f * p.widthScale;

    const colorf base = mix_color(c0, c2, mLevel * p.levelColorMix);
    const float quiet = math::mix(p.quietScale, p.loudScale, mLevel);
    const float marker = math::mix(math::smoothstep(0.5f, 1.0f, 1.0f - mLevel), 1.0f, p.markerMix);
    for (uint32_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n);
        const float u = 1.0f - t;
        const float m = i % 5 == 0 ? 1.0f : 0.0f;
        const float a = std::min(std::max(sample(mEased, u) * p.stampGain, 0.0f), 1.0f);
        const float a2 =
            std::min(std::max(sample(mEased, std::fmod(u + 0.5f, 1.0f)) * p.stampGain, 0.0f), 1.0f);
        const float s = math::mix(a, std::max(a, a2), p.mirrorMax);
        WedgeAxisAligned& segment = mSegments[i];
        const float size = math::mix(1.0f, p.pulseScale, s);
        vec3f scale{size, size, size};
        scale = scale * math::mix(quiet, 1.0f, s);
        scale.x = mArcShare;
        scale.z *= math::mix(1.0f, marker, m);
        segment.scale = scale * mFade;
        segment.color = mix_color(base, c1, p.highlightMix * s);
        segment.angle = mPhase + math::kPi / 2.0f + mRing.segmentAngle * static_cast<float>(i);
        segment.roll = mRoll + static_cast<float>(mRing.rollTurns) * math::kPi * t;
        segment.twist = mTwist;
        segment.push = 0.0f;
    }
    buildWedges(mSegments, mRing, mScene.mWedges);

    if (!mPaused) {
        mPhase += mImpulse * dt * mPhaseDirection * p.spinSpeed;
        mRoll += p.rollSpeed * dt;
        mTwist += 2.0f * mImpulse * dt * mTwistDirection * p.twistSpeed;
    }
    mImpulse *= 0.99f;
    mBeatSeen = mBeatSeen || mTrigger.triggered;
    mTrigger.triggered = false;
}

}  // namespace ring
}  // namespace content2021
