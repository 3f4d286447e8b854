#include "visualization/content/2020/animator_waves_2.h"

#include <algorithm>
#include <cmath>

#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorWaves_2_Preset::ParametersSoundClass;

constexpr float kPi = 3.1415927f;
constexpr float kCullMargin = 100.0f;

float mix(float a, float b, float t) {
    return a + (b - a) * t;
}

float smoothstep(float e0, float e1, float x) {
    const float t = std::min(std::max((x - e0) / (e1 - e0), 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Nearest-lower element; an empty or missing list reads as silence.
float sample(const std::vector<float>* list, float t) {
    if (list == nullptr || list->empty()) {
        return 0.0f;
    }
    const float c = std::min(std::max(t, 0.0f), 1.0f);
    return (*list)[static_cast<size_t>(c * static_cast<float>(list->size() - 1))];
}

float newest(const std::vector<float>* list) {
    return list != nullptr && !list->empty() ? (*list)[0] : 0.0f;
}

// Point colours in three sets of four (calm, moderate, loud music); within a set: the even rows'
// low and high colour, the accent of every eighth row and the faint odd rows.
Palette palette(std::initializer_list<const char*> background,
                std::initializer_list<const char*> points) {
    Palette p(2);
    for (const char* h : background) {
        p[0].emplace_back(h);
    }
    for (const char* h : points) {
        p[1].emplace_back(h);
    }
    return p;
}

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
    std::vector<Palette> aod = palettes;
    for (Palette& p : aod) {
        for (colorf& c : p[0]) {
            c = colorf("000000");
        }
    }
    PaletteMap map;
    map[DisplayMode::DEFAULT] = palettes;
    map[DisplayMode::AOD] = aod;
    return map;
}

void blend(const ClassParameters& a, const ClassParameters& b, float t, ClassParameters& out) {
    auto lerp = [t](float x, float y) { return x * (1.0f - t) + y * t; };
    out.backgroundMix1 = lerp(a.backgroundMix1, b.backgroundMix1);
    out.backgroundMix2 = lerp(a.backgroundMix2, b.backgroundMix2);
    out.backgroundBeatMix = lerp(a.backgroundBeatMix, b.backgroundBeatMix);
    out.pointMix1 = lerp(a.pointMix1, b.pointMix1);
    out.pointMix2 = lerp(a.pointMix2, b.pointMix2);
    out.evenSize = lerp(a.evenSize, b.evenSize);
    out.oddSize = lerp(a.oddSize, b.oddSize);
    out.eighthRowSize = lerp(a.eighthRowSize, b.eighthRowSize);
    out.otherRowSize = lerp(a.otherRowSize, b.otherRowSize);
    out.phaseSpeed = lerp(a.phaseSpeed, b.phaseSpeed);
}

}  // namespace

AnimatorWaves_2_Preset::ParametersSoundClass::ParametersSoundClass(
    float bgMix1, float bgMix2, float bgBeatMix, float ptMix1, float ptMix2, float evenSizeValue,
    float oddSizeValue, float eighthRowSizeValue, float otherRowSizeValue, float phaseSpeedValue)
    : PaletteMixParameters{bgMix1, bgMix2, bgBeatMix, ptMix1, ptMix2},
      evenSize(evenSizeValue),
      oddSize(oddSizeValue),
      eighthRowSize(eighthRowSizeValue),
      otherRowSize(otherRowSizeValue),
      phaseSpeed(phaseSpeedValue) {}

AnimatorWaves_2_Preset::AnimatorWaves_2_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(3, vec2f{2.0f, 1.0f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, ClassParameters(0, 0, 0, 0, 0, 1, 0, 0, 1.15f, 0.5f)},
          {SoundClass::Slow, ClassParameters(0, 0, 0, 0, 0, 1, 0, 0.75f, 1.15f, 0.5f)},
          {SoundClass::Moderate, ClassParameters(1, 0, 0, 1, 0, 1, 1, 1, 1, 1)},
          {SoundClass::Loud, ClassParameters(1, 1, 0, 1, 1, 1, 1, 1.4f, 1, 2)},
          {SoundClass::Dynamic, ClassParameters(1, 1, 1, 1, 1, 1, 1, 1.4f, 1, 2)},
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

const ClassParameters& AnimatorWaves_2::parametersFor(SoundClass c) const {
    const auto reduced = SoundClassReduced.find(c);
    const auto found =
        mPreset.parameters.find(reduced != SoundClassReduced.end() ? reduced->second : c);
    return found != mPreset.parameters.end() ? found->second
                                             : mPreset.parameters.at(SoundClass::Moderate);
}

void AnimatorWaves_2::update(float dt, const RotationTransition& rotation,
                             const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blend(parametersFor(sound.soundClassCurrent), parametersFor(sound.soundClassNext),
          sound.switchProgress, mParameters);
    const ClassParameters& p = mParameters;
    preUpdate(dt, sound, p);

    getPalette(mPreset.animator.palettes, mPalette);
    const std::vector<colorf>& points = mPalette[1];
    mColors.resize(4);
    for (size_t i = 0; i < 4; ++i) {
        mColors[i] = mix_color(mix_color(points[i], points[i + 4], mPointMix1.value), points[i + 8],
                               mPointMix2.value);
    }
    const std::vector<colorf>& a = mColors;

    mRenderState.pointMode = mPreset.animator.pointMode;
    std::vector<Instance>& out = mRenderState.instances;
    out.clear();
    out.reserve(mEntities.size());
    OrthographicCamera2d& camera = mRenderState.camera;
    camera.aspect = static_cast<float>(mWidth) / static_cast<float>(mHeight);
    camera.size = static_cast<float>(mHeight) * 0.5f;
    camera.rotationMode = 3;
    camera.update(rotation);
    mAODMask = mPreset.animator.aodMask;
    mAODMask.rotation = camera.roll;

    const std::vector<colorf>& background = mPalette[0];
    mBackgroundColor = mix_color(background[0], background[1], mBackgroundMix1.value);
    mBackgroundColor = mix_color(mBackgroundColor, background[2], mBackgroundMix2.value);
    mBackgroundColor = mix_color(mBackgroundColor, background[3], mBeat.value);

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
