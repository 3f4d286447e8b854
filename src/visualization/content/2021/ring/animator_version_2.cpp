#include "visualization/content/2021/ring/animator_version_2.h"

#include <algorithm>
#include <cmath>

#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace ring {

namespace {

// The mean of a run of bands, as the level a stripe's trigger listens to.
float meanOf(const std::vector<float>& values, size_t begin, size_t end) {
    end = std::min(end, values.size());
    if (begin >= end) {
        return 0.0f;
    }
    float sum = 0.0f;
    for (size_t i = begin; i < end; ++i) {
        sum += values[i];
    }
    return sum / static_cast<float>(end - begin);
}

}  // namespace

Animator_Version_2::Animator_Version_2(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height, "Animator_Version_2", 80, 28.0f) {
    static_cast<AbstractColorAnimator::Preset&>(mPreset) = makePalettes({2, 0, 1, 3});
    // Quiet classes show the long peak stripe alone; beat-driven ones add the short stripes,
    // twist, roll and tilt.
    using P = SoundClassParameters;
    mPreset.parameters = {
        {SoundClass::Soft, P{0.25f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.7f, 0.5f}},
        {SoundClass::Slow, P{0.5f, 1.0f, 0.0f, 0.25f, 0.0f, 0.0f, 0.7f, 1.0f}},
        {SoundClass::Calm, P{0.5f, 1.0f, 0.5f, 0.25f, 0.5f, 0.0f, 0.75f, 1.0f}},
        {SoundClass::Light, P{0.75f, 1.0f, 0.5f, 0.5f, 0.5f, 0.05f, 0.75f, 1.0f}},
        {SoundClass::Moderate, P{1.0f, 1.0f, 1.0f, 0.5f, 0.5f, 0.05f, 0.8f, 1.0f}},
        {SoundClass::Loud, P{1.0f, 1.25f, 1.0f, 1.0f, 1.0f, 0.1f, 0.85f, 1.0f}},
        {SoundClass::Dynamic, P{1.0f, 1.25f, 1.5f, 1.0f, 1.0f, 0.15f, 0.85f, 1.0f}},
        {SoundClass::Dark, P{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.1f, 0.9f, 1.0f}},
        {SoundClass::Powerful, P{1.0f, 1.5f, 1.5f, 1.0f, 1.0f, 0.2f, 0.9f, 1.0f}},
    };
    const uint32_t spacings[3] = {4, 10, 20};
    for (int k = 0; k < 3; ++k) {
        mStripes[k].spacing = spacings[k];
        mStripes[k].stamped.assign(mSegmentCount, 0.0f);
        mStripes[k].levels.assign(mSegmentCount, 0.0f);
    }
    mSegments.resize(mSegmentCount);
    createPalettes(mPreset);
}

void Animator_Version_2::reshuffleStripe(Stripe& stripe, uint32_t low, uint32_t high) {
    stripe.spacing =
        static_cast<uint32_t>(util::randomInt(static_cast<int>(low), static_cast<int>(high)));
    stripe.phase = static_cast<uint32_t>(util::randomInt(0, static_cast<int>(stripe.spacing) - 1));
}

void Animator_Version_2::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& rotation) {
    const float b = newestMaxNormalized(sound);
    const uint32_t n = mSegmentCount;
    const std::vector<float>& relative = sound.getSpectrum().relativeSmoothed();
    const size_t half = relative.size() / 2;
    update_threshold(mStripes[0].trigger, meanOf(relative, 0, half));
    update_threshold(mStripes[1].trigger, meanOf(relative, half, relative.size()));
    update_threshold(mStripes[2].trigger, b);
    const SoundClassParameters p = mixParameters(mPreset.parameters, sound);
    const ColorPalette& palette = updatePalette(mPreset);
    const std::vector<colorf>& c = palette.colors;

    const float d = mCameraDistance * (1.0f + mDistanceModulation * rotation.fractionSnapped);
    placeCamera(mPreset.lineWidth, {0.0f, std::cos(mElevation) * d, -std::sin(mElevation) * d},
                {0.0f, mCenterHeight, 0.0f}, rotation);

    if (mStripes[2].trigger.triggered) {
        for (int k = 0; k < 2; ++k) {
            if (util::random01() >= 0.5f) {
                reshuffleStripe(mStripes[k], 3, 8);
            }
        }
        reshuffleStripe(mStripes[2], 16, 32);
        mTwistDirection = -mTwistDirection;
        mRollOffsetTarget =
            util::randomRange(-math::kPi / 4.0f, math::kPi / 4.0f) * p.rollOffsetAmount;
        // Within an eighth of a turn either way: steps that add up further stand the ring on its
        // edge, and the camera, which looks down at a flat ring, loses its top and bottom.
        const float step = (util::random01() >= 0.5f ? 1.0f : -1.0f) * math::kPi / 4.0f;
        mTiltTarget = std::min(std::max(mTiltTarget + step * p.tiltAmount, -math::kPi / 4.0f),
                               math::kPi / 4.0f);
        mToggle = 1.0f - mToggle;
    }
    mTiltTarget *= 0.995f;
    mTilt += (mTiltTarget - mTilt) * std::min(2.0f * dt, 1.0f);
    mRollOffset += (mRollOffsetTarget - mRollOffset) * std::min(2.0f * dt, 1.0f);
    mToggleSmoothed += (mToggle - mToggleSmoothed) * std::min(dt, 1.0f);
    mScene.mRingMatrix = rotateZ(mTilt);

    const std::vector<float>& history = sound.getSpectrum().historyMaxNormalized();
    for (int k = 0; k < 3; ++k) {
        Stripe& stripe = mStripes[k];
        if (stripe.trigger.triggered) {
            stripe.impulse = 1.0f;
        }
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t position = (i + stripe.phase) % stripe.spacing;
            if (k < 2) {
                stripe.stamped[i] = position == 0 ? stripe.impulse * p.impulseGain : 0.0f;
            } else {
                const float recent = position < history.size() ? history[position] : 0.0f;
                stripe.stamped[i] = std::min(recent * p.historyGain, 1.0f);
            }
        }
        if (mPaused) {
            // No bands arrive while paused: the stripes go out at once rather than fade.
            std::fill(stripe.stamped.begin(), stripe.stamped.end(), 0.0f);
            std::fill(stripe.levels.begin(), stripe.levels.end(), 0.0f);
        } else {
            easeBuffer(&stripe.levels, stripe.stamped, std::min(std::max(8.0f * dt, 0.0f), 1.0f));
        }
        stripe.impulse *= 0.99f;
    }

    mRing.radius = mBaseRadius;
    mRing.width = mBaseWidth;
    for (uint32_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n);
        const float low = mStripes[0].levels[i];
        const float high = mStripes[1].levels[i];
        const float peak = mStripes[2].levels[i] * mStripes[2].levels[i];
        WedgeAxisAligned& s = mSegments[i];
        s.scale = vec3f{p.arcShare, 0.2f + 0.8f * std::max(peak, high),
                        0.2f + 0.8f * std::max(peak, low)} *
                  mFade;
        s.angle = mPhase + mRing.segmentAngle * static_cast<float>(i);
        s.roll = mRollOffset + static_cast<float>(mRing.rollTurns) * math::kPi * t;
        s.twist = mTwist;
        s.push = p.pushAmount * low;
        colorf color = mix_color(c[0], c[3], peak * p.colorMix);
        color = mix_color(color, c[1], low * p.colorMix);
        color = mix_color(color, c[2], high * p.colorMix * (0.5f + 0.5f * mToggleSmoothed));
        s.color = color;
    }
    buildWedges(mSegments, mRing, mScene.mWedges);

    if (!mPaused) {
        mPhase += 0.1f * dt;
        mTwist += 2.0f * mStripes[2].impulse * dt * mTwistDirection * p.twistSpeed;
    }
    for (Stripe& stripe : mStripes) {
        stripe.trigger.triggered = false;
    }
}

}  // namespace ring
}  // namespace content2021
