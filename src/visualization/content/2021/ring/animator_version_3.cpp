#include "visualization/content/2021/ring/animator_version_3.h"

#include <algorithm>
#include <cmath>

#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace ring {

namespace {

// Segments behind the head that one frame's pulse covers.
constexpr uint32_t kPulseLength = 12;

}  // namespace

Animator_Version_3::Animator_Version_3(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height, "Animator_Version_3", 90,
                       // A narrow field of view: the ring is small and far, so the perspective
                       // stays flat.
                       6.0f, 30.0f) {
    static_cast<AbstractColorAnimator::Preset&>(mPreset) = makePalettes({3, 2, 0, 1});
    mPreset.lineWidth = 1.5f;
    // The head runs faster and the energy shows stronger the more driven the music.
    using P = SoundClassParameters;
    mPreset.parameters = {
        {SoundClass::Soft, P{15.0f, 0.5f, 0.5f, 0.0f, 0.0f, 0.7f, 0.05f, 0.5f}},
        {SoundClass::Slow, P{15.0f, 0.75f, 0.5f, 0.5f, 0.0f, 0.7f, 0.05f, 1.0f}},
        {SoundClass::Calm, P{20.0f, 0.75f, 0.75f, 0.5f, 0.05f, 0.75f, 0.1f, 1.0f}},
        {SoundClass::Light, P{25.0f, 1.0f, 0.75f, 1.0f, 0.05f, 0.75f, 0.1f, 1.0f}},
        {SoundClass::Moderate, P{30.0f, 1.0f, 1.0f, 1.0f, 0.1f, 0.8f, 0.15f, 1.0f}},
        {SoundClass::Loud, P{45.0f, 1.5f, 1.0f, 1.0f, 0.15f, 0.85f, 0.2f, 1.0f}},
        {SoundClass::Dynamic, P{60.0f, 1.5f, 1.25f, 1.0f, 0.15f, 0.85f, 0.25f, 1.0f}},
        {SoundClass::Dark, P{30.0f, 1.25f, 1.0f, 1.0f, 0.1f, 0.9f, 0.15f, 1.0f}},
        {SoundClass::Powerful, P{60.0f, 1.75f, 1.5f, 1.0f, 0.2f, 0.9f, 0.25f, 1.0f}},
    };
    mRing.radius = mBaseRadius;
    mRing.width = mBaseWidth;
    mRing.rollTurns = mRollTurns;
    mSegments.resize(mSegmentCount);
    mEnergy.assign(mSegmentCount, 0.0f);
    mEnergySmoothed.assign(mSegmentCount, 0.0f);
    mScene.mDrawMidLines = true;
    createPalettes(mPreset);
}

void Animator_Version_3::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& rotation) {
    const float b = newestMaxNormalized(sound);
    const uint32_t n = mSegmentCount;
    update_threshold(mTrigger, b);
    const SoundClassParameters p = mixParameters(mPreset.parameters, sound);
    const ColorPalette& palette = updatePalette(mPreset);
    const std::vector<colorf>& c = palette.colors;

    const float cube = std::min(std::max(b * b * b, 0.0f), 1.0f);
    mLevel += (cube - mLevel) * std::min(std::max(8.0f * dt, 0.0f), 1.0f);

    const float d =
        mCameraDistance * (1.0f + 0.25f * rotation.fractionSnapped - p.levelZoom * mLevel);
    placeCamera(mPreset.lineWidth, {0.0f, std::sin(mElevation) * d, -std::cos(mElevation) * d},
                {0.0f, 0.0f, 0.0f}, rotation);
    mScene.mRingMatrix = rotateY(mPhase);

    if (mTrigger.triggered) {
        mBandOffset = util::randomInt(0, 8);
        mToggle = 1.0f - mToggle;
    }
    mToggleSmoothed += (mToggle - mToggleSmoothed) * std::min(std::max(dt, 0.0f), 1.0f);

    // Energy: a pulse stamped behind the head each frame, then falling and followed smoothly.
    if (mPaused) {
        std::fill(mEnergy.begin(), mEnergy.end(), 0.0f);
    } else {
        mHead = std::fmod(mHead + p.headSpeed * dt, static_cast<float>(n));
    }
    const uint32_t head = static_cast<uint32_t>(mHead) % n;
    for (uint32_t k = 0; k <= kPulseLength; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(kPulseLength);
        const float pulse = (0.5f * std::sin(2.0f * math::kPi * t - math::kPi / 2.0f) + 0.5f) *
                            mLevel * p.energyGain;
        float& energy = mEnergy[(head + n - k) % n];
        energy = std::max(energy, pulse);
    }
    const float fall = std::min(0.65f * dt, 1.0f);
    const float follow = std::min(std::max(8.0f * dt, 0.0f), 1.0f);
    for (uint32_t i = 0; i < n; ++i) {
        mEnergy[i] = std::min(std::max(mEnergy[i] - fall, 0.0f), 1.0f);
        mEnergySmoothed[i] += (mEnergy[i] - mEnergySmoothed[i]) * follow;
    }

    rotateBuffer(mBands, sound.getSpectrum().relativeSmoothed(), mBandOffset);
    if (!mBands.empty()) {
        mBands.push_back(mBands.front());
    }
    for (float& v : mBands) {
        v = mPaused ? 0.0f : std::min(std::max(v * v * v * v * 4.5f, 0.0f), 1.0f);
    }
    resampleNearest(mResampled, mBands);
    easeBuffer(&mEased, mResampled, std::min(std::max(2.0f * dt, 0.0f), 1.0f));

    for (uint32_t i = 0; i < n; ++i) {
        const float fi = static_cast<float>(i);
        const float angle = 2.0f * math::kPi * fi / static_cast<float>(n) + mAngleOffset;
        const float energy = mEnergySmoothed[i];
        const float v = mEased[i] * p.bandGain;
        const float emphasis = i % 10 == 0 ? 1.0f + 0.5f * p.emphasis * mToggleSmoothed : 1.0f;
        WedgeLineAligned& s = mSegments[i];
        s.position = {mBaseRadius * std::cos(angle),
                      mBaseRadius * mWaveHeight * std::sin(4.0f * math::kPi * fi / n),
                      mBaseRadius * std::sin(angle)};
        const float size = (0.45f + 0.6f * energy + 0.35f * v) * emphasis;
        s.scale = vec3f{p.arcShare, size, size} * mFade;
        s.roll = static_cast<float>(mRollTurns) * math::kPi * fi / static_cast<float>(n);
        s.twist = 0.0f;
        colorf color = mix_color(c[0], c[1], v * p.colorMix);
        color = mix_color(color, c[2], energy * p.colorMix);
        s.color = i % 10 == 0 ? mix_color(color, c[3], mToggleSmoothed) : color;
    }
    buildWedges(mSegments, mRing, mScene.mWedges);

    if (!mPaused) {
        mPhase += p.spinSpeed * dt;
    }
    mTrigger.triggered = false;
}

}  // namespace ring
}  // namespace content2021
