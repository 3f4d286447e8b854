#include "visualization/content/2020/animator_circular_1.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"

namespace content2020 {

namespace {

using Parameters = AnimatorCircular_1_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;

float at(const std::vector<float>* list, size_t i) {
    return list != nullptr && i < list->size() ? (*list)[i] : 0.0f;
}

float pow4(float x) {
    return x * x * x * x;
}

// The twelve point colours of an entry follow a fixed pattern over three colours of a scheme:
// letters A, B, C pick the first, second and third colour.
std::vector<colorf> entry(const char* pattern, const char* a, const char* b, const char* c) {
    std::vector<colorf> colors;
    for (const char* p = pattern; *p != '\0'; ++p) {
        colors.emplace_back(*p == 'A' ? a : *p == 'B' ? b : c);
    }
    return colors;
}

// Roles of the twelve colours: ambient, rings 1 and 2, ring 0 and base of the outer rings, the
// six-step level gradient, strong and weak band dots.
constexpr const char* kPattern1 = "ABACCCCACCAB";
constexpr const char* kPattern2 = "AABCCCCACCBA";
constexpr const char* kPattern3 = "ABACCBCCBBAB";

Palette palette(std::initializer_list<const char*> background, const char* const (&e1)[3],
                const char* const (&e2)[3], const char* const (&e3)[3]) {
    return Palette{colors(background), entry(kPattern1, e1[0], e1[1], e1[2]),
                   entry(kPattern2, e2[0], e2[1], e2[2]), entry(kPattern3, e3[0], e3[1], e3[2])};
}

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"030F26", "270B42", "000000", "0000FF"}, {"983BBF", "D93280", "FFFFFF"},
                {"FF0D87", "FF0036", "0D9290"}, {"FF00FF", "0000FF", "FFFFFF"}),
        palette({"1B112D", "2E1922", "000201", "3EBCB5"}, {"19AA4B", "F16856", "FFFFFF"},
                {"F16856", "FFD166", "19AA4B"}, {"3EBCB5", "FFFFFF", "F16856"}),
        palette({"00186D", "000000", "000CA3", "00FFE6"}, {"ED565D", "41B797", "FFFCC9"},
                {"00FFE6", "0367A6", "FFFCC9"}, {"41B797", "ED565D", "FFFFFF"}),
        palette({"270B42", "1B112D", "030F26", "D93280"}, {"D93280", "983BBF", "FFFFFF"},
                {"FFB3DE", "FF0D87", "983BBF"}, {"FF0036", "FFFFFF", "D93280"}),
        palette({"00186D", "030F26", "0367A6", "00186D"}, {"0367A6", "00FFE6", "FFFFFF"},
                {"00FFE6", "41B797", "0367A6"}, {"FFFFFF", "00FFE6", "0000FF"}),
        palette({"000201", "000CA3", "0367A6", "000CA3"}, {"FFD166", "F16856", "FFFFFF"},
                {"F16856", "ED565D", "FFD166"}, {"FFFFFF", "FFD166", "0367A6"}),
        palette({"000000", "00186D", "2E1922", "050002"}, {"ED565D", "FFFCC9", "41B797"},
                {"FFFCC9", "ED565D", "0D9290"}, {"41B797", "FFFFFF", "ED565D"}),
        palette({"000CA3", "000201", "00186D", "000CA3"}, {"00FFE6", "FFFFFF", "0367A6"},
                {"19AA4B", "00FFE6", "FFFFFF"}, {"0000FF", "00FFE6", "FFFFFF"}),
        palette({"030F26", "270B42", "000000", "270B42"}, {"FF0D87", "983BBF", "FFFFFF"},
                {"983BBF", "FF00FF", "FF0D87"}, {"FF00FF", "FFFFFF", "983BBF"}),
        palette({"000000", "0367A6", "1B112D", "2E1260"}, {"3EBCB5", "19AA4B", "FFFFFF"},
                {"FFFCC9", "3EBCB5", "19AA4B"}, {"19AA4B", "FFFFFF", "3EBCB5"}),
    };
    return withAODPalettes(palettes);
}

void blend(const Parameters& a, const Parameters& b, float t, Parameters& out) {
    blendPaletteMix(a, b, t, out);
    out.scale = lerp(a.scale, b.scale, t);
    out.historyStart = lerp(a.historyStart, b.historyStart, t);
    out.bandScale = lerp(a.bandScale, b.bandScale, t);
    out.gradientMix = lerp(a.gradientMix, b.gradientMix, t);
    out.falloff = lerp(a.falloff, b.falloff, t);
}

}  // namespace

AnimatorCircular_1_Preset::AnimatorCircular_1_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(0, vec2f{1.0f, 1.0f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, Parameters{{0, 0, 0, 0, 0}, 0.5f, 2.0f, 0, 1, 1}},
          {SoundClass::Slow, Parameters{{0, 0, 0, 0, 0}, 1.0f, 2.0f, 0, 1, 1}},
          {SoundClass::Moderate, Parameters{{1, 0, 0, 1, 0}, 1.0f, 2.0f, 1, 1, 1}},
          {SoundClass::Loud, Parameters{{1, 1, 0, 1, 1}, 1.0f, 2.0f, 1, 1, 1}},
          {SoundClass::Dynamic, Parameters{{1, 1, 1, 1, 1}, 1.0f, 2.0f, 1, 1, 0}},
      } {}

AnimatorCircular_1::AnimatorCircular_1(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorCircular_1][Constructor]");
    const auto d = static_cast<float>(std::max(width, height));
    mRingEntities.reserve(static_cast<size_t>(mRings) * mPointsPerRing);
    for (uint32_t i = 0; i < mRings; ++i) {
        for (uint32_t j = 0; j < mPointsPerRing; ++j) {
            Entity e;
            const float r =
                mInnerRadius + (static_cast<float>(i) / static_cast<float>(mRings)) * d * 0.75f;
            const float a =
                (static_cast<float>(j) / static_cast<float>(mPointsPerRing)) * kPi * 2.0f;
            e.x = std::sin(a) * r;
            e.y = std::cos(a) * r;
            e.distance = std::min(r / (d * 0.5f), 1.0f);
            e.ring = i;
            e.index = j;
            mRingEntities.push_back(e);
        }
    }
    mBandEntities = mRingEntities;
    mAmbientEntities = mRingEntities;
    endScope();
}

AnimatorCircular_1::~AnimatorCircular_1() = default;

size_t AnimatorCircular_1::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorCircular_1::update(float dt, const RotationTransition& rotation,
                                const SoundFrame& sound) {
    const std::vector<float>* levels = sound.levels;
    const std::vector<float>* historyMin = sound.historyMin;
    const std::vector<float>* historyMax = sound.historyMax;

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const Parameters& p = mParameters;
    preUpdate(dt, sound, p);

    getPalette(mPreset.animator.palettes, mPalette);
    mixPointEntries(mPalette, 1, 1, mPointColors);
    const std::vector<colorf>& q = mPointColors;
    const colorf* gradient = q.data() + 4;
    constexpr size_t kGradientLength = 6;

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mRingEntities.size() * 2);

    const float d = std::min(dt, 1.0f);
    const float s = mSizeBase * mSizeFactor * p.scale;
    const auto rings = static_cast<float>(mRings);
    const auto points = static_cast<float>(mPointsPerRing);

    for (Entity& e : mAmbientEntities) {
        if (camera.isOutside(e.x, e.y, kCullMargin)) {
            continue;
        }
        float v = sample(historyMin, static_cast<float>(e.ring) / rings);
        v = mix(v, v * 0.125f, pow4(e.distance));
        v = smoothstep(0.9f, 1.0f, v);
        e.level = std::max(e.level, v);
        e.level = std::max(e.level - d, 0.0f);
        e.size = e.level * s * 0.25f * mTransition;
        if (!camera.isOutside(e.x, e.y, e.size)) {
            out.push_back({e.x, e.y, e.size, q[0]});
        }
    }

    const size_t historyLength = historyMax != nullptr ? historyMax->size() : 0;
    for (Entity& e : mRingEntities) {
        if (camera.isOutside(e.x, e.y, kCullMargin)) {
            continue;
        }
        const uint32_t i = e.ring;
        const uint32_t j = e.index;
        const float ringT = static_cast<float>(i) / rings;
        const float angleT = static_cast<float>(j) / points;
        const auto k = static_cast<uint32_t>(
            posmod(static_cast<float>(j) + static_cast<float>(i * mTwist), points));
        const float kT = static_cast<float>(k) / points;
        const float h = at(
            historyMax,
            static_cast<size_t>(
                mix(p.historyStart * 40.0f, static_cast<float>(historyLength) - 1.0f, ringT) * kT));
        const float h2 = sample(historyMax, ringT);
        float v = std::max(h, h2);
        v = mix(v, mix(v, v * 0.125f, pow4(e.distance)), p.falloff);
        v = smoothstep(0.2f, 1.0f, v);
        if (i == 0) {
            v *= 0.5f;
        }
        e.level = v;
        const float b = sample(levels, std::fmod(mBandOffset + angleT, 1.0f));
        e.level *= mix(1.0f, b * b, smoothstep(0.0f, 0.5f, e.distance));
        const float m = i <= 2 ? (1.0f - p.scale) + 1.0f : 1.0f;
        e.size = e.level * s * m * mTransition;
        if (camera.isOutside(e.x, e.y, e.size)) {
            continue;
        }
        colorf color;
        if (i == 0) {
            color = q[3];
        } else if (i == 1) {
            color = q[1];
        } else if (i == 2) {
            color = q[2];
        } else {
            color =
                mix_color(q[3], sample_color(gradient, kGradientLength, e.level), p.gradientMix);
        }
        out.push_back({e.x, e.y, e.size, color});
    }

    for (Entity& e : mBandEntities) {
        if ((e.ring & 1u) != 0 || (e.index & 1u) != 0) {
            continue;
        }
        if (camera.isOutside(e.x, e.y, kCullMargin)) {
            continue;
        }
        const float ringT = static_cast<float>(e.ring) / rings;
        const float angleT = static_cast<float>(e.index) / points;
        const float b = sample(levels, std::fmod(2.0f * angleT, 1.0f));
        const float h = sample(historyMax, ringT);
        const float v = smoothstep(0.5f, 0.55f, b * b) * smoothstep(0.85f, 1.0f, h) *
                        smoothstep(0.0f, 0.5f, 1.0f - e.distance) * (e.distance * h + 1.0f) *
                        smoothstep(0.0015f, 1.0f, e.distance);
        e.level = std::max(e.level, v);
        e.level = std::max(e.level - d, 0.0f);
        e.size = e.level * s * 2.0f * p.bandScale * mTransition;
        if (!camera.isOutside(e.x, e.y, e.size)) {
            const float w = smoothstep(0.75f, 1.0f, std::min(e.level, 1.0f));
            out.push_back({e.x, e.y, e.size, mix_color(q[10], q[11], 1.0f - w)});
        }
    }

    postUpdate(dt, sound);
}

}  // namespace content2020
