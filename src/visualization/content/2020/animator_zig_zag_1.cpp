#include "visualization/content/2020/animator_zig_zag_1.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"

namespace content2020 {

namespace {

using Parameters = AnimatorZigZag_1_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;
// The ribbon keeps the lattice points whose weighted distance from the centre is within this
// fraction of the larger canvas side: about 0.4 of the screen height on either side of the
// middle, so the zigzag's swing stays on screen.
constexpr float kRibbonRadius = 0.25f;

// Fifteen point colours in three sets of five (quiet, moderate, loud music); within a set: the
// loud dots at the centre, the outer loud dots (two colours blended by the loudness) and the
// quiet dots (likewise).
Palette palette(Colors background, Colors quiet, Colors moderate, Colors loud) {
    Palette p(2);
    for (const char* h : background) {
        p[0].emplace_back(h);
    }
    for (Colors set : {quiet, moderate, loud}) {
        for (const char* h : set) {
            p[1].emplace_back(h);
        }
    }
    return p;
}

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"0B0B2B", "1B1464", "000000", "3A0CA3"},
                {"FF006E", "8338EC", "3A0CA3", "FB5607", "3A0CA3"},
                {"FFBE0B", "FF006E", "8338EC", "FB5607", "3A86FF"},
                {"FFBE0B", "FF006E", "8338EC", "FFFFFF", "3A86FF"}),
        palette({"03071E", "370617", "000000", "9D0208"},
                {"F48C06", "DC2F02", "6A040F", "FFBA08", "9D0208"},
                {"FFBA08", "F48C06", "9D0208", "DC2F02", "6A040F"},
                {"FFBA08", "E85D04", "DC2F02", "FFF3B0", "9D0208"}),
        palette({"001219", "005F73", "000000", "0A9396"},
                {"94D2BD", "0A9396", "005F73", "E9D8A6", "005F73"},
                {"EE9B00", "0A9396", "005F73", "E9D8A6", "0A9396"},
                {"EE9B00", "AE2012", "0A9396", "E9D8A6", "CA6702"}),
        palette({"12012E", "2A0A4A", "000000", "7B2CBF"},
                {"C77DFF", "9D4EDD", "3C096C", "E0AAFF", "5A189A"},
                {"FF4D6D", "C77DFF", "7B2CBF", "E0AAFF", "9D4EDD"},
                {"FF4D6D", "FF758F", "C77DFF", "FFFFFF", "7B2CBF"}),
        palette({"011627", "022B3A", "000000", "1F7A8C"},
                {"2EC4B6", "1F7A8C", "022B3A", "CBF3F0", "1F7A8C"},
                {"FF9F1C", "2EC4B6", "1F7A8C", "FFBF69", "2EC4B6"},
                {"FF9F1C", "E71D36", "2EC4B6", "FDFFFC", "1F7A8C"}),
        palette({"0D1B2A", "1B263B", "000000", "415A77"},
                {"4CC9F0", "4361EE", "3A0CA3", "4895EF", "3F37C9"},
                {"F72585", "4CC9F0", "4361EE", "B5179E", "7209B7"},
                {"F72585", "4CC9F0", "7209B7", "FFFFFF", "4361EE"}),
        palette({"06140F", "143628", "000000", "2D6A4F"},
                {"74C69D", "40916C", "1B4332", "95D5B2", "2D6A4F"},
                {"FFD60A", "74C69D", "40916C", "D8F3DC", "52B788"},
                {"FFD60A", "52B788", "40916C", "FFFFFF", "2D6A4F"}),
        palette({"021024", "03254E", "000000", "00BBF9"},
                {"00F5D4", "00BBF9", "023E8A", "9BF6FF", "0077B6"},
                {"9EF01A", "00F5D4", "00BBF9", "CAFFBF", "0077B6"},
                {"9EF01A", "00F5D4", "00BBF9", "FFFFFF", "023E8A"}),
        palette({"000814", "001D3D", "000000", "003566"},
                {"48CAE4", "0077B6", "001D3D", "90E0EF", "003566"},
                {"FFC300", "00B4D8", "0077B6", "90E0EF", "0077B6"},
                {"FFD60A", "FFC300", "00B4D8", "FFFFFF", "0077B6"}),
        palette({"1A0F0A", "3D1F12", "000000", "9C6644"},
                {"DDB892", "9C6644", "3D1F12", "E6CCB2", "7F5539"},
                {"E63946", "A8DADC", "9C6644", "F1FAEE", "7F5539"},
                {"E63946", "F1FAEE", "A8DADC", "FFFFFF", "9C6644"}),
    };
    return withAODPalettes(palettes);
}

void blend(const Parameters& a, const Parameters& b, float t, Parameters& out) {
    blendPaletteMix(a, b, t, out);
    out.reach = lerp(a.reach, b.reach, t);
    out.sizeFactor = lerp(a.sizeFactor, b.sizeFactor, t);
    out.oddRowFactor = lerp(a.oddRowFactor, b.oddRowFactor, t);
    out.phaseSpeed = lerp(a.phaseSpeed, b.phaseSpeed, t);
    out.peakGain = lerp(a.peakGain, b.peakGain, t);
}

}  // namespace

AnimatorZigZag_1_Preset::AnimatorZigZag_1_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(3, vec2f{1.7f, 1.25f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, Parameters{{0, 0, 0, 0, 0}, 0.5f, 0.75f, 0, 1, 0}},
          {SoundClass::Slow, Parameters{{0, 0, 0, 0, 0}, 1, 1, 0.5f, 1, 0.25f}},
          {SoundClass::Moderate, Parameters{{1, 0, 0, 1, 0}, 1, 1, 1, 1, 1}},
          {SoundClass::Loud, Parameters{{1, 1, 0, 1, 1}, 1, 1.125f, 1, 3, 1}},
          {SoundClass::Dynamic, Parameters{{1, 1, 1, 1, 1}, 1, 1.125f, 1, 10, 1}},
      } {}

AnimatorZigZag_1::AnimatorZigZag_1(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorZigZag_1][Constructor]");
    // Honeycomb over the square of the canvas diagonal, so a turned screen is still covered:
    // neighbours s * sqrt(3) apart, rows 3s / 2 apart, odd rows shifted by half a step and one
    // point shorter.
    const auto large = static_cast<float>(std::max(width, height));
    const float side = std::sqrt(2.0f) * large;
    const int32_t columns = std::max(mColumns, 2);
    const float s = (side / std::sqrt(3.0f)) / static_cast<float>(columns - 1);
    const float stepX = s * std::sqrt(3.0f);
    const float stepY = 2.0f * 3.0f * s / 4.0f;
    const auto rows = static_cast<int32_t>(std::floor(side / stepY)) + 1;
    const float radius = kRibbonRadius * large;
    for (int32_t row = 0; row < rows; ++row) {
        const bool odd = (row & 1) != 0;
        const int32_t count = odd ? columns - 1 : columns;
        for (int32_t column = 0; column < count; ++column) {
            const float x =
                -side * 0.5f + (static_cast<float>(column) + (odd ? 0.5f : 0.0f)) * stepX;
            const float y = -side * 0.5f + static_cast<float>(row) * stepY;
            if (x * x * mWeightX + y * y * mWeightY > radius * radius) {
                continue;
            }
            Entity e;
            e.x = e.restX = x;
            e.y = e.restY = y;
            e.row = row;
            mEntities.push_back(e);
        }
    }
    endScope();
}

AnimatorZigZag_1::~AnimatorZigZag_1() = default;

size_t AnimatorZigZag_1::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorZigZag_1::update(float dt, const RotationTransition& rotation,
                              const SoundFrame& sound) {
    const std::vector<float>* history = sound.historyMax;
    const float peak = newest(history);

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const Parameters& p = mParameters;
    preUpdate(dt, sound, p);

    getPalette(mPreset.animator.palettes, mPalette);
    const std::vector<colorf>& e = mPalette[1];
    mixPointColors(e, 5, 5, mGradient);
    const std::vector<colorf>& g = mGradient;
    // The record's own target, not the smoothed weight: the outer colours switch with the class.
    const colorf outerLoud = mix_color(g[1], g[3], p.pointMix2);
    const colorf quiet = mix_color(g[2], g[4], p.pointMix2);

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size());

    const float large = static_cast<float>(std::max(mWidth, mHeight));
    const float k16 = std::min(16.0f * dt, 1.0f);
    const float lift = mAmplitude * (peak * mPeakGain * p.peakGain + 1.0f);
    const float tiny = std::ldexp(1.0f, -23);

    for (Entity& en : mEntities) {
        if (camera.isOutside(en.restX, en.restY, kCullMargin)) {
            continue;
        }
        const float d = std::max(
            std::sqrt(en.restX * en.restX * mWeightX + en.restY * en.restY * mWeightY), tiny);
        const float t = std::min(d / large, 1.0f);
        const float v = std::pow(sample(history, p.reach * t), 1.15f);

        float s = std::fmod(std::abs((en.restX * mFrequency + mPhase * mPhaseScale) / kPi), 2.0f);
        if (s > 1.0f) {
            s = 2.0f - s;
        }
        const float z = -(2.0f * s - 1.0f);
        en.x = en.restX;
        en.y = en.restY + z * lift;

        const float rowFactor = (en.row & 1) != 0 ? p.oddRowFactor : 1.0f;
        en.size += (v * mSizeBase * p.sizeFactor * rowFactor - en.size) * k16;
        // Stored with the transition, so the fade also enters the next frame's smoothing.
        en.size *= mTransition;

        if (!camera.isOutside(en.x, en.y, en.size)) {
            const colorf loud = mix_color(g[0], outerLoud, v * t);
            out.push_back(
                {en.x, en.y, en.size, mix_color(quiet, loud, smoothstep(0.05f, 1.0f, v))});
        }
    }

    if (!mPaused) {
        mPhase += p.phaseSpeed * dt;
    }
    postUpdate(dt, sound);
}

}  // namespace content2020
