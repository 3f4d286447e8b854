#include "visualization/content/2020/animator_waves_2.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorWaves_2_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"0B0B2B", "1B1464", "000000", "3A0CA3"},
                {"3A86FF", "8338EC", "FFFFFF", "8ECAE6", "3A86FF", "FF006E", "FFBE0B", "8ECAE6",
                 "8338EC", "FF006E", "FFBE0B", "FFFFFF"}),
        palette({"03071E", "370617", "000000", "9D0208"},
                {"DC2F02", "F48C06", "FFFFFF", "FFBA08", "E85D04", "FFBA08", "FFFFFF", "F48C06",
                 "D00000", "FFBA08", "FFFFFF", "FAA307"}),
        palette({"001219", "005F73", "000000", "0A9396"},
                {"0A9396", "94D2BD", "E9D8A6", "94D2BD", "0A9396", "EE9B00", "E9D8A6", "94D2BD",
                 "AE2012", "EE9B00", "E9D8A6", "CA6702"}),
        palette({"10002B", "240046", "000000", "5A189A"},
                {"7B2CBF", "C77DFF", "FFFFFF", "E0AAFF", "9D4EDD", "E0AAFF", "FFFFFF", "C77DFF",
                 "FF4D6D", "E0AAFF", "FFFFFF", "C77DFF"}),
        palette({"011627", "022B3A", "000000", "1F7A8C"},
                {"2EC4B6", "CBF3F0", "FFFFFF", "CBF3F0", "2EC4B6", "FF9F1C", "FFFFFF", "FFBF69",
                 "E71D36", "FF9F1C", "FDFFFC", "2EC4B6"}),
        palette({"0D1B2A", "1B263B", "000000", "415A77"},
                {"778DA9", "E0E1DD", "FFFFFF", "778DA9", "4CC9F0", "F72585", "FFFFFF", "4895EF",
                 "F72585", "4CC9F0", "FFFFFF", "7209B7"}),
        palette({"081C15", "1B4332", "000000", "2D6A4F"},
                {"40916C", "95D5B2", "FFFFFF", "B7E4C7", "52B788", "D8F3DC", "FFFFFF", "74C69D",
                 "FFD60A", "95D5B2", "FFFFFF", "52B788"}),
        palette({"14011F", "3C096C", "000000", "FF006E"},
                {"FF006E", "FB5607", "FFFFFF", "FFBE0B", "FF006E", "FFBE0B", "FFFFFF", "FB5607",
                 "3A86FF", "FFBE0B", "FFFFFF", "FF006E"}),
        palette({"000814", "001D3D", "000000", "003566"},
                {"003566", "FFC300", "FFFFFF", "FFD60A", "0077B6", "FFD60A", "FFFFFF", "00B4D8",
                 "FFC300", "00B4D8", "FFFFFF", "FFD60A"}),
        palette({"1A0F0A", "3D1F12", "000000", "9C6644"},
                {"B08968", "EDE0D4", "FFFFFF", "DDB892", "E76F51", "F4A261", "FFFFFF", "E9C46A",
                 "E63946", "F1FAEE", "FFFFFF", "A8DADC"}),
    };
    return withAODPalettes(palettes);
}

void blend(const ClassParameters& a, const ClassParameters& b, float t, ClassParameters& out) {
    blendPaletteMix(a, b, t, out);
    out.evenSize = lerp(a.evenSize, b.evenSize, t);
    out.oddSize = lerp(a.oddSize, b.oddSize, t);
    out.eighthRowSize = lerp(a.eighthRowSize, b.eighthRowSize, t);
    out.otherRowSize = lerp(a.otherRowSize, b.otherRowSize, t);
    out.phaseSpeed = lerp(a.phaseSpeed, b.phaseSpeed, t);
}

}  // namespace

AnimatorWaves_2_Preset::AnimatorWaves_2_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(3, vec2f{2.0f, 1.0f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, ClassParameters{{0, 0, 0, 0, 0}, 1, 0, 0, 1.15f, 0.5f}},
          {SoundClass::Slow, ClassParameters{{0, 0, 0, 0, 0}, 1, 0, 0.75f, 1.15f, 0.5f}},
          {SoundClass::Moderate, ClassParameters{{1, 0, 0, 1, 0}, 1, 1, 1, 1, 1}},
          {SoundClass::Loud, ClassParameters{{1, 1, 0, 1, 1}, 1, 1, 1.4f, 1, 2}},
          {SoundClass::Dynamic, ClassParameters{{1, 1, 1, 1, 1}, 1, 1, 1.4f, 1, 2}},
      },
      rotation{{RotateInfo::Landscape, Parameters{0.085f}},
               {RotateInfo::Portrait, Parameters{0.0f}}} {}

AnimatorWaves_2::AnimatorWaves_2(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorWaves_2][Constructor]");
    const auto large = static_cast<float>(std::max(width, height));
    const auto small = static_cast<float>(std::min(width, height));
    mEntities.reserve(static_cast<size_t>(mColumns + 2 * mColumnMargin) *
                      static_cast<size_t>(mRows + 2 * mRowMargin));
    for (int32_t row = -mRowMargin; row < mRows + mRowMargin; ++row) {
        const auto group = static_cast<uint32_t>(util::randomInt(0, 2));
        for (int32_t column = -mColumnMargin; column < mColumns + mColumnMargin; ++column) {
            Entity e;
            e.u = static_cast<float>(column) / static_cast<float>(mColumns - 1);
            e.v = static_cast<float>(row) / static_cast<float>(mRows - 1);
            e.x = e.restX = (e.u - 0.5f) * large;
            e.y = e.restY = (e.v - 0.5f) * small;
            e.random = util::random01();
            e.row = row;
            e.group = group;
            mEntities.push_back(e);
        }
    }
    endScope();
}

AnimatorWaves_2::~AnimatorWaves_2() = default;

size_t AnimatorWaves_2::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorWaves_2::update(float dt, const RotationTransition& rotation,
                             const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const ClassParameters& p = mParameters;
    preUpdate(dt, sound, p);

    getPalette(mPreset.animator.palettes, mPalette);
    mixPointColors(mPalette[1], 4, 4, mColors);
    const std::vector<colorf>& a = mColors;

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size());

    const float turn =
        mix(mPreset.rotation.at(RotateInfo::Landscape).turn,
            mPreset.rotation.at(RotateInfo::Portrait).turn, rotation.fractionSnapped) *
        kPi;
    const float turnCos = std::cos(turn);
    const float turnSin = std::sin(turn);
    const float k16 = std::min(16.0f * dt, 1.0f);
    const float newestOf[3] = {newest(histories[0]), newest(histories[1]), newest(histories[2])};

    for (Entity& e : mEntities) {
        const bool odd = (e.row & 1) != 0;
        const float c = std::cos(2.0f * kPi * e.u + kPi * e.v + mPhase * mPhaseScale);
        const float x = e.restX * mScaleX;
        const float y = e.restY + (odd ? mOddAmplitude : mEvenAmplitude) * c * mWaveGain;
        e.x = x * turnCos - y * turnSin;
        e.y = x * turnSin + y * turnCos;
        if (camera.isOutside(e.x, e.y, kCullMargin)) {
            continue;
        }
        e.level1 += (sample(histories[2], (e.u + e.v) * 0.5f) - e.level1) * k16;
        e.level2 += (newestOf[e.group] - e.level2) * k16;
        e.level3 += (sample(histories[1], e.u) - e.level3) * k16;

        colorf color;
        if (odd) {
            e.size = mOddSize * e.level3 * mSizeFactor * p.oddSize * mTransition;
            color = a[3];
            color.a = smoothstep(0.5f, 0.75f, e.level3) * 0.25f;
        } else {
            const bool eighth = e.row % 8 == 0;
            // The transition enters twice on purpose: the bright rows fade in later.
            e.size = mEvenSize * smoothstep(0.15f, 0.85f, e.level1) * 2.0f * mTransition *
                     (0.5f * e.level2 + 0.5f) * mSizeFactor * p.evenSize *
                     (eighth ? p.eighthRowSize : p.otherRowSize) * mTransition;
            color = mix_color(mix_color(a[0], a[1], smoothstep(0.5f, 1.0f, e.level1)), a[2],
                              eighth ? e.level2 : 0.0f);
        }
        if (!camera.isOutside(e.x, e.y, e.size)) {
            out.push_back({e.x, e.y, e.size, color});
        }
    }

    if (!mPaused) {
        mPhase += p.phaseSpeed * dt;
    }
    postUpdate(dt, sound);
}

}  // namespace content2020
