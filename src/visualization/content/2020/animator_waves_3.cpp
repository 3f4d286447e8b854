#include "visualization/content/2020/animator_waves_3.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorWaves_3_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;
constexpr float kMinLength = 1.0f / 8388608.0f;  // 2^-23

// After the background: the low, middle and high colour of each string group's level gradient,
// groups 0, 1 and 2 for calm music, then again for moderate and for loud music.
Palette palette(Colors background, Colors calm0, Colors calm1, Colors calm2, Colors moderate0,
                Colors moderate1, Colors moderate2, Colors loud0, Colors loud1, Colors loud2) {
    return Palette{colors(background), colors(calm0),     colors(calm1),     colors(calm2),
                   colors(moderate0),  colors(moderate1), colors(moderate2), colors(loud0),
                   colors(loud1),      colors(loud2)};
}

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"040B1F", "0A1A3F", "000000", "1D3F8F"}, {"1D4E89", "3E7CB1", "A9D6E5"},
                {"0F5257", "2A9D8F", "B8F2E6"}, {"3D2C8D", "7F5AF0", "D6CCFF"},
                {"1D4E89", "4EA8DE", "E0F4FF"}, {"0F5257", "48BFE3", "E0FBFC"},
                {"5E2BFF", "9B5DE5", "F1E3FF"}, {"4EA8DE", "90E0EF", "FFFFFF"},
                {"2A9D8F", "80FFDB", "FFFFFF"}, {"F15BB5", "FF99C8", "FFFFFF"}),
        palette({"1A0500", "330A00", "000000", "7A1F00"}, {"9B2226", "BB3E03", "EE9B00"},
                {"6A040F", "9D0208", "E85D04"}, {"7F5539", "B08968", "E6CCB2"},
                {"BB3E03", "EE9B00", "FFD166"}, {"9D0208", "E85D04", "FAA307"},
                {"9C6644", "DDB892", "FFF3E0"}, {"EE9B00", "FFD166", "FFFFFF"},
                {"E85D04", "FFBA08", "FFFFFF"}, {"FFB4A2", "FFE5D9", "FFFFFF"}),
        palette({"00140F", "002A20", "000000", "00644D"}, {"1B4332", "2D6A4F", "95D5B2"},
                {"134E5E", "1F7A8C", "A8DADC"}, {"606C38", "A3B18A", "DDE5B6"},
                {"2D6A4F", "52B788", "D8F3DC"}, {"1F7A8C", "48CAE4", "CAF0F8"},
                {"A3B18A", "DDE5B6", "FEFAE0"}, {"52B788", "B7E4C7", "FFFFFF"},
                {"48CAE4", "ADE8F4", "FFFFFF"}, {"FFD166", "FFE8A3", "FFFFFF"}),
        palette({"12001F", "25003D", "000000", "5A0F8C"}, {"5A189A", "7B2CBF", "C77DFF"},
                {"7209B7", "B5179E", "F72585"}, {"3A0CA3", "4361EE", "4CC9F0"},
                {"7B2CBF", "C77DFF", "E0AAFF"}, {"B5179E", "F72585", "FFB3D9"},
                {"4361EE", "4CC9F0", "CAF0F8"}, {"C77DFF", "E0AAFF", "FFFFFF"},
                {"F72585", "FF8FC7", "FFFFFF"}, {"4CC9F0", "B8F2FF", "FFFFFF"}),
        palette({"0A0A0A", "161616", "000000", "3B0A0A"}, {"495057", "6C757D", "ADB5BD"},
                {"343A40", "6C757D", "CED4DA"}, {"6A040F", "9D0208", "D00000"},
                {"6C757D", "ADB5BD", "E9ECEF"}, {"495057", "ADB5BD", "F8F9FA"},
                {"9D0208", "D00000", "FF5C5C"}, {"ADB5BD", "E9ECEF", "FFFFFF"},
                {"CED4DA", "F8F9FA", "FFFFFF"}, {"E5383B", "FF8A8A", "FFFFFF"}),
        palette({"001018", "002233", "000000", "005577"}, {"006D77", "83C5BE", "EDF6F9"},
                {"005F73", "0A9396", "94D2BD"}, {"E29578", "FFDDD2", "FFF1EB"},
                {"0A9396", "83C5BE", "EDF6F9"}, {"0A9396", "94D2BD", "E9D8A6"},
                {"EE9B00", "FFDDD2", "FFFFFF"}, {"83C5BE", "EDF6F9", "FFFFFF"},
                {"94D2BD", "E9D8A6", "FFFFFF"}, {"CA6702", "EE9B00", "FFE8A3"}),
        palette({"1F0014", "3A0026", "000000", "7A004F"}, {"80004D", "C9184A", "FF758F"},
                {"590D22", "A4133C", "FF4D6D"}, {"3C096C", "5A189A", "9D4EDD"},
                {"C9184A", "FF4D6D", "FFB3C1"}, {"A4133C", "FF758F", "FFCCD5"},
                {"5A189A", "9D4EDD", "E0AAFF"}, {"FF4D6D", "FFB3C1", "FFFFFF"},
                {"FF758F", "FFCCD5", "FFFFFF"}, {"9D4EDD", "C8B6FF", "FFFFFF"}),
        palette({"0B0F1A", "141B2D", "000000", "2E3A59"}, {"3A506B", "5BC0BE", "B2F7EF"},
                {"1C2541", "3A506B", "6FFFE9"}, {"6B2737", "E08E45", "F8F4A6"},
                {"5BC0BE", "6FFFE9", "DDFFF7"}, {"3A506B", "5BC0BE", "B2F7EF"},
                {"E08E45", "F8F4A6", "FFFFFF"}, {"6FFFE9", "DDFFF7", "FFFFFF"},
                {"5BC0BE", "B2F7EF", "FFFFFF"}, {"F8F4A6", "FFFDE0", "FFFFFF"}),
        palette({"141000", "2B2300", "000000", "5C4B00"}, {"7F6A00", "C9A227", "F1DCA7"},
                {"6F4E37", "A47148", "E7BC91"}, {"2B4141", "0E8388", "CBE4DE"},
                {"C9A227", "FFD60A", "FFF3B0"}, {"A47148", "E7BC91", "FFEDD8"},
                {"0E8388", "2E8A99", "CBE4DE"}, {"FFD60A", "FFF3B0", "FFFFFF"},
                {"E7BC91", "FFEDD8", "FFFFFF"}, {"2E8A99", "84D2C5", "FFFFFF"}),
        palette({"000A1A", "001433", "000000", "00306B"}, {"023E8A", "0077B6", "90E0EF"},
                {"03045E", "0096C7", "CAF0F8"}, {"7A0045", "D81159", "FFBC42"},
                {"0077B6", "00B4D8", "CAF0F8"}, {"0096C7", "48CAE4", "E0FBFC"},
                {"D81159", "FF5E5B", "FFBC42"}, {"00B4D8", "90E0EF", "FFFFFF"},
                {"48CAE4", "CAF0F8", "FFFFFF"}, {"FFBC42", "FFE3A3", "FFFFFF"}),
    };
    return withAODPalettes(palettes);
}

}  // namespace

AnimatorWaves_3_Preset::AnimatorWaves_3_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(2, vec2f{1.0f, 2.0f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, ClassParameters{0, 0, 0, 0, 0}},
          {SoundClass::Slow, ClassParameters{0, 0, 0, 0, 0}},
          {SoundClass::Moderate, ClassParameters{1, 0, 0, 1, 0}},
          {SoundClass::Loud, ClassParameters{1, 1, 0, 1, 1}},
          {SoundClass::Dynamic, ClassParameters{1, 1, 1, 1, 1}},
      },
      // A 16:9 picture is 1.75 times as wide as high; in portrait the camera turns, so the
      // long side lies along y.
      rotation{{RotateInfo::Landscape, Parameters{1.0f, 1.75f}},
               {RotateInfo::Portrait, Parameters{1.75f, 1.0f}}} {}

AnimatorWaves_3::AnimatorWaves_3(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorWaves_3][Constructor]");
    // Honeycomb over the larger side with its rows pulled far apart, moved so that the canvas
    // centre is at (0, 0) and turned upright: the rows become strings of dots.
    const auto large = static_cast<float>(std::max(width, height));
    const auto small = static_cast<float>(std::min(width, height));
    const int32_t columns = std::max(mColumns, 2);
    const float s = (large / std::sqrt(3.0f)) / static_cast<float>(columns - 1);
    const float stepX = s * std::sqrt(3.0f);
    const float stepY = 2.0f * 3.0f * s / 4.0f * mVerticalStepFactor;
    const auto rows = static_cast<int32_t>(std::floor(large / stepY)) + 1;
    mDotSpacing = stepX;
    mStringSpacing = stepY;
    mEntities.reserve(static_cast<size_t>(rows + 2 * mRowMargin) *
                      static_cast<size_t>(columns + 2 * mColumnMargin));
    for (int32_t row = -mRowMargin; row < rows + mRowMargin; ++row) {
        const bool odd = (row & 1) != 0;
        const int32_t last = (odd ? columns - 1 : columns) + mColumnMargin;
        for (int32_t column = -mColumnMargin; column < last; ++column) {
            const float x =
                (static_cast<float>(column) + (odd ? 0.5f : 0.0f)) * stepX - large * 0.5f;
            const float y = static_cast<float>(row) * stepY - small * 0.5f;
            Entity e;
            // A quarter turn, exact: (x, y) becomes (-y, x).
            e.x = e.restX = -y;
            e.y = e.restY = x;
            e.row = row;
            e.column = column;
            e.group = static_cast<uint32_t>(((row % 3) + 3) % 3);
            mEntities.push_back(e);
        }
    }
    endScope();
}

AnimatorWaves_3::~AnimatorWaves_3() = default;

size_t AnimatorWaves_3::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorWaves_3::update(float dt, const RotationTransition& rotation,
                             const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blendPaletteMix(parametersFor(mPreset.parameters, sound.soundClassCurrent),
                    parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
                    mParameters);
    preUpdate(dt, sound, mParameters);

    getPalette(mPreset.animator.palettes, mPalette);
    for (size_t g = 0; g < 3; ++g) {
        mixPointEntries(mPalette, 1 + g, 3, mGradients[g]);
    }

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size());

    const AnimatorWaves_3_Preset::Parameters& landscape =
        mPreset.rotation.at(RotateInfo::Landscape);
    const AnimatorWaves_3_Preset::Parameters& portrait = mPreset.rotation.at(RotateInfo::Portrait);
    const float stretchX = mix(landscape.stretchX, portrait.stretchX, rotation.fractionSnapped);
    const float stretchY = mix(landscape.stretchY, portrait.stretchY, rotation.fractionSnapped);
    const float halfLarge = std::max(0.5f * static_cast<float>(std::max(mWidth, mHeight)), 1.0f);
    const float k8 = std::min(8.0f * dt, 1.0f);
    const float size = mDotSpacing * mSizeRatio * mTransition;

    for (Entity& e : mEntities) {
        // The push only moves dots outwards and the quiver by less than the margin, so a dot that
        // is out of view at rest stays out.
        if (camera.isOutside(e.restX, e.restY, kCullMargin)) {
            continue;
        }
        const float d = std::max(std::sqrt(e.restX * e.restX + e.restY * e.restY), kMinLength);
        const float sx = e.restX * stretchX;
        const float sy = e.restY * stretchY;
        const float t = std::min(std::sqrt(sx * sx + sy * sy) / halfLarge, 1.0f);
        // Reading at t squared lets a beat burst out of the centre and slow down as it spreads.
        e.level += (sample(histories[e.group], t * t * mReach[e.group]) - e.level) * k8;

        const float quiver = mQuiver * e.level *
                             std::sin(e.restY * mQuiverWaveNumber - mTime * mQuiverSpeed +
                                      static_cast<float>(e.group) * 2.1f);
        const float push = mPushDistance * e.level * t;
        e.x = e.restX + e.restX / d * push + quiver;
        e.y = e.restY + e.restY / d * push;
        e.size = size * std::pow(e.level, 0.9f);
        if (!camera.isOutside(e.x, e.y, e.size)) {
            out.push_back({e.x, e.y, e.size, sample_color(mGradients[e.group], e.level)});
        }
    }

    postUpdate(dt, sound);
}

}  // namespace content2020
