#include "visualization/content/2020/animator_waves_1.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorWaves_1_Preset::ParametersSoundClass;

constexpr float kCullMargin = 150.0f;
constexpr float kMinLength = 1.0f / 8388608.0f;  // 2^-23
constexpr size_t kHistoryLength = 240;

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"021024", "052659", "000814", "1E3A8A"},
                {"1E6091", "52B69A", "D9ED92", "168AAD", "76C893", "FFFFFF", "1A759F", "99D98C",
                 "FFFFFF", "34A0A4", "D9ED92"}),
        palette({"1A0A2E", "2D0B4E", "0B0014", "6A1B9A"},
                {"5A189A", "C77DFF", "FFFFFF", "7B2CBF", "E0AAFF", "FFFFFF", "9D4EDD", "FF70A6",
                 "FFFFFF", "FF70A6", "FFD6E8"}),
        palette({"1F0A02", "3D1403", "0A0300", "9A3412"},
                {"9C2C00", "F77F00", "FCBF49", "D62828", "F77F00", "FFF3B0", "F77F00", "FCBF49",
                 "FFFFFF", "D62828", "FCBF49"}),
        palette({"00151A", "002F35", "000A0C", "00535E"},
                {"007F89", "00C2C7", "E0FBFC", "00A6A6", "5CE1E6", "FFFFFF", "00C2C7", "F4F1BB",
                 "FFFFFF", "EE6C4D", "F4F1BB"}),
        palette({"0B0B0B", "1C1C1C", "000000", "3A3A3A"},
                {"8D99AE", "EDF2F4", "FFFFFF", "8D99AE", "EF233C", "FFFFFF", "D90429", "EF233C",
                 "FFFFFF", "D90429", "EDF2F4"}),
        palette({"04160C", "0B2E1A", "010A05", "1B5E20"},
                {"2D6A4F", "74C69D", "D8F3DC", "40916C", "95D5B2", "FFFFFF", "52B788", "B7E4C7",
                 "FFE66D", "FFE66D", "FFFFFF"}),
        palette({"1B0014", "3A0029", "0A0008", "7A0045"},
                {"B5179E", "F72585", "FFB3D9", "7209B7", "F72585", "FFFFFF", "F72585", "4CC9F0",
                 "FFFFFF", "4CC9F0", "B8F2FF"}),
        palette({"0D1321", "1D2D44", "050910", "3E5C76"},
                {"3E5C76", "748CAB", "F0EBD8", "748CAB", "F0EBD8", "FFFFFF", "F0EBD8", "FFC857",
                 "FFFFFF", "FFC857", "FFFFFF"}),
        palette({"140F00", "2B2100", "070500", "5C4700"},
                {"B08900", "FFD60A", "FFF3B0", "E09F3E", "FFD60A", "FFFFFF", "FFD60A", "FFFFFF",
                 "FFFFFF", "9E2A2B", "E09F3E"}),
        palette({"001233", "001845", "000814", "0353A4"},
                {"023E7D", "0466C8", "979DAC", "0466C8", "33A1FD", "FFFFFF", "33A1FD", "FDCA40",
                 "FFFFFF", "FDCA40", "F79824"}),
    };
    return withAODPalettes(palettes);
}

void blend(const ClassParameters& a, const ClassParameters& b, float t, ClassParameters& out) {
    blendPaletteMix(a, b, t, out);
    out.reach2 = lerp(a.reach2, b.reach2, t);
    out.sizeFactor0 = lerp(a.sizeFactor0, b.sizeFactor0, t);
    out.sizeFactor1 = lerp(a.sizeFactor1, b.sizeFactor1, t);
    out.sizeFactor2 = lerp(a.sizeFactor2, b.sizeFactor2, t);
    out.waveGain = lerp(a.waveGain, b.waveGain, t);
    out.patternA = b.patternA;
    out.patternB = b.patternB;
}

}  // namespace

AnimatorWaves_1_Preset::AnimatorWaves_1_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(5, vec2f{2.0f, 1.0f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, ClassParameters{{0, 0, 0, 0, 0}, 0.2f, 0.2f, 0.2f, 1.0f, 0.5f, 1, 2}},
          {SoundClass::Slow,
           ClassParameters{{0, 0, 0, 0, 0}, 0.2f, 0.5f, 0.875f, 1.0f, 1.0f, 1, 2}},
          {SoundClass::Moderate, ClassParameters{{1, 0, 0, 1, 0}, 0.2f, 1, 1, 1, 1, 3, 4}},
          {SoundClass::Loud, ClassParameters{{1, 1, 0, 1, 1}, 0.5f, 1, 1, 1.25f, 1.25f, 3, 4}},
          {SoundClass::Dynamic, ClassParameters{{1, 1, 1, 1, 1}, 1, 1, 1, 1.25f, 1.5f, 3, 4}},
      } {}

AnimatorWaves_1::AnimatorWaves_1(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorWaves_1][Constructor]");
    // Honeycomb over the larger side: neighbours s * sqrt(3) apart, rows 3s / 2 apart, odd rows
    // shifted by half a step and one point shorter; eight extra rows above and below keep the
    // swell from uncovering an edge.
    const auto side = static_cast<float>(std::max(width, height));
    const int32_t columns = std::max(mColumns, 2);
    const float s = (side / std::sqrt(3.0f)) / static_cast<float>(columns - 1);
    const float stepX = s * std::sqrt(3.0f);
    const float stepY = 2.0f * 3.0f * s / 4.0f * mVerticalStepFactor;
    const auto rows = static_cast<int32_t>(std::floor(side / stepY)) + 1;
    mEntities.reserve(static_cast<size_t>(rows + 16) * static_cast<size_t>(columns));
    for (int32_t row = -8; row < rows + 8; ++row) {
        const bool odd = (row & 1) != 0;
        const int32_t count = odd ? columns - 1 : columns;
        for (int32_t column = 0; column < count; ++column) {
            Entity e;
            e.x = e.restX =
                -side * 0.5f + (static_cast<float>(column) + (odd ? 0.5f : 0.0f)) * stepX;
            e.y = e.restY = -side * 0.5f + static_cast<float>(row) * stepY;
            e.group = static_cast<uint32_t>(((row % 3) + 3) % 3);
            e.random = util::random01();
            mEntities.push_back(e);
        }
    }
    endScope();
}

AnimatorWaves_1::~AnimatorWaves_1() = default;

size_t AnimatorWaves_1::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorWaves_1::update(float dt, const RotationTransition& rotation,
                             const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const ClassParameters& p = mParameters;
    preUpdate(dt, sound, p);

    getPalette(mPreset.animator.palettes, mPalette);
    const std::vector<colorf>& e = mPalette[1];
    mixPointColors(e, 3, 3, mGradient1);
    mGradient2.resize(2);
    mGradient2[0] = e[9];
    mGradient2[1] = e[10];

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size());

    const auto m = static_cast<float>(std::max(mWidth, mHeight));
    const float k4 = std::min(4.0f * dt, 1.0f);
    const float k6 = std::min(6.0f * dt, 1.0f);
    const float waveNumber = mWaveNumber * mWaveLengthFactor;
    const float phase = mTime * mWaveSpeed;
    const float lift = mSmoothedPeak * mPeakGain * p.waveGain + 1.0f;
    const float sizeFactors[3] = {p.sizeFactor0, p.sizeFactor1, p.sizeFactor2};

    for (Entity& en : mEntities) {
        if (camera.isOutside(en.restX, en.restY, kCullMargin)) {
            continue;
        }
        const float d = std::max(std::sqrt(en.x * en.x + en.y * en.y), kMinLength);
        const float angle = std::atan2(en.y / d, en.x / d);
        const float t = std::min(std::abs(en.x) / m, 1.0f);

        const float reach = en.group == 2 ? p.reach2 : mReach;
        const auto index =
            static_cast<size_t>(std::floor(static_cast<float>(kHistoryLength) * t * reach));
        const float v = element(histories[en.group], index);
        en.level += (std::pow(v, 1.15f) - en.level) * k4;

        // Only x is pushed, so the music spreads to the left and right edges while the rows
        // keep their swell.
        const float targetX = en.restX + std::cos(angle) * en.level * mPushDistance * t;
        const float targetY = en.restY + mWaveHeight * std::cos(en.x * waveNumber + phase) * lift;
        en.x += (targetX - en.x) * k6;
        en.y += (targetY - en.y) * k6;

        // Half of group 2 ignores the class's size factor, so quiet music keeps a sparse set of
        // full-size accents.
        const float factor = en.group == 2 && en.random >= 0.5f ? 1.0f : sizeFactors[en.group];
        en.size = mSizeBase * v * factor * mSizeFactor * mTransition;
        if (!camera.isOutside(en.x, en.y, en.size)) {
            colorf color = sample_color(mGradient1, v);
            if (en.group == 2) {
                color = mix_color(color, sample_color(mGradient2, v), p.pointMix2);
            }
            out.push_back({en.x, en.y, en.size, color});
        }
    }

    mSmoothedPeak += (element(histories[1], 0) - mSmoothedPeak) * k4;
    postUpdate(dt, sound);
}

}  // namespace content2020
