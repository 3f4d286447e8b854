#include "visualization/content/2020/animator_circular_2.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using Parameters = AnimatorCircular_2_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;

// Entries 1, 3 and 5 are the quiet, moderate and loud versions of the ring gradient, entries 2,
// 4 and 6 those of the beat layer.
Palette palette(Colors background, Colors a1, Colors b1, Colors a2, Colors b2, Colors a3,
                Colors b3) {
    return Palette{colors(background), colors(a1), colors(b1), colors(a2),
                   colors(b2),         colors(a3), colors(b3)};
}

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"030F26", "270B42", "000000", "0000FF"}, {"983BBF", "D93280", "FF0D87", "983BBF"},
                {"FFFFFF", "FFB3DE", "FF00FF", "FFFFFF"}, {"FF0D87", "FF0036", "983BBF", "0D9290"},
                {"FFFFFF", "00FFE6", "FFB3DE", "FFFFFF"}, {"FF00FF", "0000FF", "FF0036", "FF00FF"},
                {"FFFFFF", "FFFFFF", "00FFE6", "FFB3DE"}),
        palette({"1B112D", "2E1922", "000201", "3EBCB5"}, {"19AA4B", "3EBCB5", "19AA4B", "F16856"},
                {"FFD166", "FFFFFF", "F16856", "FFD166"}, {"F16856", "FFD166", "3EBCB5", "19AA4B"},
                {"FFFFFF", "3EBCB5", "FFD166", "FFFFFF"}, {"FFD166", "F16856", "FFFFFF", "3EBCB5"},
                {"FFFFFF", "FFD166", "FFFFFF", "19AA4B"}),
        palette({"00186D", "000000", "000CA3", "00FFE6"}, {"0367A6", "41B797", "00FFE6", "0367A6"},
                {"FFFCC9", "ED565D", "FFFCC9", "00FFE6"}, {"41B797", "00FFE6", "ED565D", "41B797"},
                {"FFFFFF", "FFFCC9", "00FFE6", "FFFFFF"}, {"ED565D", "FFFCC9", "00FFE6", "ED565D"},
                {"FFFFFF", "00FFE6", "FFFFFF", "FFFCC9"}),
        palette({"270B42", "1B112D", "030F26", "D93280"}, {"D93280", "983BBF", "D93280", "FF0D87"},
                {"FFB3DE", "FFFFFF", "FFB3DE", "FF0036"}, {"FF0D87", "FF0036", "983BBF", "D93280"},
                {"FFFFFF", "FFB3DE", "FF00FF", "FFFFFF"}, {"FF0036", "FFFFFF", "FF0D87", "983BBF"},
                {"FFFFFF", "FF00FF", "FFFFFF", "FFB3DE"}),
        palette({"00186D", "030F26", "0367A6", "00186D"}, {"0367A6", "00FFE6", "0367A6", "41B797"},
                {"FFFFFF", "00FFE6", "FFFFFF", "0000FF"}, {"00FFE6", "41B797", "0000FF", "00FFE6"},
                {"FFFFFF", "0367A6", "00FFE6", "FFFFFF"}, {"41B797", "FFFFFF", "00FFE6", "0000FF"},
                {"FFFFFF", "00FFE6", "FFFFFF", "41B797"}),
        palette({"000201", "000CA3", "0367A6", "000CA3"}, {"FFD166", "F16856", "ED565D", "FFD166"},
                {"FFFFFF", "FFD166", "FFFFFF", "0367A6"}, {"F16856", "ED565D", "FFD166", "F16856"},
                {"FFFFFF", "F16856", "FFD166", "FFFFFF"}, {"ED565D", "FFFFFF", "F16856", "FFD166"},
                {"FFFFFF", "FFD166", "FFFFFF", "ED565D"}),
        palette({"000000", "00186D", "2E1922", "050002"}, {"ED565D", "FFFCC9", "41B797", "ED565D"},
                {"FFFFFF", "41B797", "FFFCC9", "0D9290"}, {"FFFCC9", "ED565D", "0D9290", "41B797"},
                {"FFFFFF", "FFFCC9", "ED565D", "FFFFFF"}, {"41B797", "FFFFFF", "ED565D", "FFFCC9"},
                {"FFFFFF", "ED565D", "FFFFFF", "41B797"}),
        palette({"000CA3", "000201", "00186D", "000CA3"}, {"00FFE6", "0367A6", "19AA4B", "00FFE6"},
                {"FFFFFF", "00FFE6", "FFFFFF", "19AA4B"}, {"19AA4B", "00FFE6", "0000FF", "19AA4B"},
                {"FFFFFF", "19AA4B", "00FFE6", "FFFFFF"}, {"0000FF", "00FFE6", "FFFFFF", "0367A6"},
                {"FFFFFF", "00FFE6", "FFFFFF", "0000FF"}),
        palette({"030F26", "270B42", "000000", "270B42"}, {"FF0D87", "983BBF", "FF00FF", "FF0D87"},
                {"FFFFFF", "FF00FF", "FFFFFF", "983BBF"}, {"983BBF", "FF00FF", "FF0D87", "983BBF"},
                {"FFFFFF", "FF0D87", "FFB3DE", "FFFFFF"}, {"FF00FF", "FFFFFF", "983BBF", "FF0D87"},
                {"FFFFFF", "FFB3DE", "FFFFFF", "FF00FF"}),
        palette({"000000", "0367A6", "1B112D", "2E1260"}, {"3EBCB5", "19AA4B", "FFFCC9", "3EBCB5"},
                {"FFFFFF", "3EBCB5", "FFFFFF", "19AA4B"}, {"19AA4B", "3EBCB5", "FFFCC9", "19AA4B"},
                {"FFFFFF", "FFFCC9", "3EBCB5", "FFFFFF"}, {"FFFCC9", "19AA4B", "FFFFFF", "3EBCB5"},
                {"FFFFFF", "19AA4B", "FFFFFF", "3EBCB5"}),
    };
    return withAODPalettes(palettes);
}

void blend(const Parameters& a, const Parameters& b, float t, Parameters& out) {
    blendPaletteMix(a, b, t, out);
    out.radialScale = lerp(a.radialScale, b.radialScale, t);
    out.pulseReach = lerp(a.pulseReach, b.pulseReach, t);
    out.colourSpeed = lerp(a.colourSpeed, b.colourSpeed, t);
    out.peakGrowth = lerp(a.peakGrowth, b.peakGrowth, t);
}

}  // namespace

AnimatorCircular_2_Preset::AnimatorCircular_2_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(4, vec2f{1.0f, 1.0f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, Parameters{{0, 0, 0, 0, 0}, 1.25f, 1, 0, 0}},
          {SoundClass::Slow, Parameters{{0, 0, 0, 0, 0}, 1, 1, 0, 0}},
          {SoundClass::Moderate, Parameters{{1, 0, 0, 1, 0}, 1, 0.65f, 0, 0}},
          {SoundClass::Loud, Parameters{{1, 1, 0, 1, 1}, 1, 0.65f, 0.5f, 0.5f}},
          {SoundClass::Dynamic, Parameters{{1, 1, 1, 1, 1}, 1, 0.65f, 0.5f, 0.5f}},
      } {}

AnimatorCircular_2::AnimatorCircular_2(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorCircular_2][Constructor]");
    for (uint32_t c = 0; c < mRings; ++c) {
        const uint32_t n = mPointsStep * c + mPointsFirst;
        // Neighbours on a ring sit two base sizes apart, so the dots just touch.
        const float radius = static_cast<float>(n) * mSizeBase * 2.0f / (2.0f * kPi);
        for (uint32_t k = 0; k < n; ++k) {
            Entity e;
            e.angle = static_cast<float>(k) * 2.0f * kPi / static_cast<float>(n);
            e.distance = radius;
            e.x = e.restX = std::cos(e.angle) * radius;
            e.y = e.restY = std::sin(e.angle) * radius;
            e.r1 = util::random01();
            e.r2 = util::random01();
            e.ring = c;
            e.ringT = static_cast<float>(c) / static_cast<float>(mRings);
            e.point = k;
            e.pointT = static_cast<float>(k) / static_cast<float>(n);
            e.colorGroup = static_cast<uint32_t>(util::randomInt(0, 2));
            mEntities.push_back(e);
        }
    }
    endScope();
}

AnimatorCircular_2::~AnimatorCircular_2() = default;

size_t AnimatorCircular_2::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorCircular_2::update(float dt, const RotationTransition& rotation,
                                const SoundFrame& sound) {
    const std::vector<float>* historyMax = sound.historyMax;
    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const Parameters& p = mParameters;
    preUpdate(dt, sound, p);

    const float k16 = std::min(16.0f * dt, 1.0f);
    const float k4 = std::min(4.0f * dt, 1.0f);
    const float k1 = std::min(dt, 1.0f);
    const float peak = newest(historyMax);

    update_threshold_history(mPulseHistory, peak, dt);
    mRadialScale += (p.radialScale - mRadialScale) * k1;
    mColourSpeed += (p.colourSpeed - mColourSpeed) * k4;

    getPalette(mPreset.animator.palettes, mPalette);
    mixPointEntries(mPalette, 1, 2, mGradientA);
    mixPointEntries(mPalette, 2, 2, mGradientB);

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size() * 2);

    const std::vector<float>* pulse = &mPulseHistory.data;
    for (Entity& e : mEntities) {
        const float a = e.angle + mRotationAngle;
        const float r = e.distance * mRadialScale;
        e.x = std::cos(a) * r;
        e.y = std::sin(a) * r;
        if (camera.isOutside(e.x, e.y, kCullMargin)) {
            continue;
        }
        e.l1 += (smoothstep(mLevelEdge0, mLevelEdge1, sample(historyMax, e.ringT * 0.25f)) - e.l1) *
                k16;
        // The pulse edge widens only right at the centre; elsewhere it stays at its floor.
        const float edge =
            mPulseEdge0 + smoothstep(0.5f, 1.0f, 1.0f - e.distance) * (1.0f - mPulseEdge0);
        e.l2 += (smoothstep(edge, mPulseEdge1, sample(pulse, e.ringT * p.pulseReach)) - e.l2) * k16;
        e.l3 += (peak - e.l3) * k16;
        e.l4 += (sample(historyMax, (1.0f - e.ringT) * 0.25f) - e.l4) * k16;
        const float w = smoothstep(0.0f, 0.125f, e.ringT) * 0.75f + 0.25f;

        e.size = mSizeBase * e.l1 * 0.625f * w *
                 (smoothstep(0.125f, 0.5f, e.ringT) * peak * p.peakGrowth + 1.0f) * mSizeFactor *
                 mTransition;
        if (!camera.isOutside(e.x, e.y, e.size)) {
            const float phase = mColourPhase * smoothstep(0.125f, 0.25f, e.ringT);
            out.push_back(
                {e.x, e.y, e.size, sample_color(mGradientA, std::fmod(e.r1 + phase, 1.0f))});
        }
        const float size = mSizeBase * smoothstep(mLayerEdge0, mLayerEdge1, e.l2) * 0.625f * w *
                           (e.r2 * 0.75f + 0.25f) * (e.l3 * 0.5f + 1.5f) * mSizeFactor *
                           mTransition;
        if (!camera.isOutside(e.x, e.y, size)) {
            out.push_back(
                {e.x, e.y, size,
                 sample_color(mGradientB, std::fmod(e.pointT + e.r2 * mColourPhaseFactor, 1.0f))});
        }
    }

    if (!mPaused) {
        mRotationAngle += mTurnSpeed * dt;
        mColourPhase += mColourSpeed * dt;
    }
    postUpdate(dt, sound);
}

}  // namespace content2020
