#include "visualization/content/2020/animator_vertical_1.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorVertical_1_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"06061A", "12123D", "000000", "2B2D8F"},
                {"3F37C9", "4895EF", "CAF0F8", "4CC9F0", "4361EE", "4CC9F0", "FFFFFF", "F72585",
                 "4895EF", "90E0EF", "FFFFFF", "F72585"}),
        palette({"1A0B00", "331600", "000000", "8A3B00"},
                {"BB3E03", "EE9B00", "FFE8A3", "E9D8A6", "CA6702", "EE9B00", "FFFFFF", "94D2BD",
                 "EE9B00", "FFD166", "FFFFFF", "0A9396"}),
        palette({"001A14", "00332A", "000000", "006B5A"},
                {"00856F", "2EC4B6", "CBF3F0", "FFBF69", "2EC4B6", "9BF6FF", "FFFFFF", "FF9F1C",
                 "2EC4B6", "CBF3F0", "FFFFFF", "FF9F1C"}),
        palette({"14001A", "2A0033", "000000", "6A0080"},
                {"7B2CBF", "C77DFF", "F3E8FF", "FFD60A", "9D4EDD", "E0AAFF", "FFFFFF", "FFD60A",
                 "C77DFF", "F3E8FF", "FFFFFF", "FFC300"}),
        palette({"0A0A0A", "1A1A1A", "000000", "404040"},
                {"6C757D", "ADB5BD", "F8F9FA", "E63946", "ADB5BD", "DEE2E6", "FFFFFF", "E63946",
                 "DEE2E6", "F8F9FA", "FFFFFF", "FF1744"}),
        palette({"1F0010", "3D0020", "000000", "8C0047"},
                {"C9184A", "FF4D6D", "FFCCD5", "FFF0F3", "FF4D6D", "FF8FA3", "FFFFFF", "FFFFFF",
                 "FF758F", "FFB3C1", "FFFFFF", "80FFDB"}),
        palette({"001219", "002733", "000000", "005F73"},
                {"005F73", "0A9396", "94D2BD", "EE9B00", "0A9396", "94D2BD", "E9D8A6", "EE9B00",
                 "94D2BD", "E9D8A6", "FFFFFF", "CA6702"}),
        palette({"0B132B", "1C2541", "000000", "3A506B"},
                {"3A506B", "5BC0BE", "DDFFF7", "FFB4A2", "5BC0BE", "6FFFE9", "FFFFFF", "FFB4A2",
                 "6FFFE9", "DDFFF7", "FFFFFF", "E5989B"}),
        palette({"0D1A00", "1F3300", "000000", "3F6600"},
                {"55A630", "80B918", "EEEF20", "FF5D8F", "80B918", "BFD200", "FFFF3F", "FF5D8F",
                 "AACC00", "EEEF20", "FFFFFF", "FF87AB"}),
        palette({"1C0F00", "2E1A05", "000000", "6F4518"},
                {"99582A", "BB9457", "FFE6A7", "6F1D1B", "BB9457", "FFE6A7", "FFFFFF", "9D0208",
                 "FFE6A7", "FFF5D6", "FFFFFF", "D00000"}),
    };
    return withAODPalettes(palettes);
}

void blend(const ClassParameters& a, const ClassParameters& b, float t, ClassParameters& out) {
    blendPaletteMix(a, b, t, out);
    out.reach = lerp(a.reach, b.reach, t);
    out.pushFactor = lerp(a.pushFactor, b.pushFactor, t);
    out.sizeFactor = lerp(a.sizeFactor, b.sizeFactor, t);
    out.levelSpeed = lerp(a.levelSpeed, b.levelSpeed, t);
    out.stripeContrast = lerp(a.stripeContrast, b.stripeContrast, t);
    out.accentMix = lerp(a.accentMix, b.accentMix, t);
    out.peakGrowth = lerp(a.peakGrowth, b.peakGrowth, t);
}

}  // namespace

AnimatorVertical_1_Preset::AnimatorVertical_1_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(2, vec2f{1.0f, 2.0f}, vec2f{0.0f, 0.0f})),
      // Calm music: short rings, little push, slow levels and every other stripe dimmed. Louder
      // classes reach further into the history, push harder and show the stripes evenly.
      parameters{
          {SoundClass::Soft,
           ClassParameters{{0, 0, 0, 0, 0}, 0.5f, 0.15f, 0.75f, 4.0f, 0.5f, 0, 0}},
          {SoundClass::Slow,
           ClassParameters{{0, 0, 0, 0, 0}, 0.6f, 0.3f, 0.9f, 6.0f, 0.35f, 0.5f, 0}},
          {SoundClass::Moderate,
           ClassParameters{{1, 0, 0, 1, 0}, 0.75f, 0.5f, 1.0f, 8.0f, 0.2f, 1.0f, 0.25f}},
          {SoundClass::Loud,
           ClassParameters{{1, 1, 0, 1, 1}, 1.0f, 0.65f, 1.0f, 8.0f, 0, 1.0f, 0.5f}},
          {SoundClass::Dynamic,
           ClassParameters{{1, 1, 1, 1, 1}, 1.0f, 0.8f, 1.1f, 10.0f, 0, 1.0f, 0.75f}},
      } {}

AnimatorVertical_1::AnimatorVertical_1(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorVertical_1][Constructor]");
    // Honeycomb over a square as wide as the screen's diagonal, so it covers the picture in
    // either orientation: neighbours s * sqrt(3) apart, rows 3s / 2 apart, odd rows shifted by
    // half a step and one point shorter.
    const float side = std::sqrt(2.0f) * static_cast<float>(std::max(width, height));
    const int32_t columns = std::max(mColumns, 2);
    const float s = (side / std::sqrt(3.0f)) / static_cast<float>(columns - 1);
    const float stepX = s * std::sqrt(3.0f);
    const float stepY = 2.0f * 3.0f * s / 4.0f * mVerticalStepFactor;
    const auto rows = static_cast<int32_t>(std::floor(side / stepY)) + 1;
    // The rings reach the screen's corners at t = 1, in either orientation.
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    const float halfDiagonal = std::max(0.5f * std::sqrt(w * w + h * h), 1.0f);
    const uint32_t stripes = std::max(mStripes, 1u);
    mEntities.reserve(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    for (int32_t row = 0; row < rows; ++row) {
        const bool odd = (row & 1) != 0;
        const int32_t count = odd ? columns - 1 : columns;
        for (int32_t column = 0; column < count; ++column) {
            const float u = static_cast<float>(column) + (odd ? 0.5f : 0.0f);
            Entity e;
            e.x = e.restX = -side * 0.5f + u * stepX;
            e.y = e.restY = -side * 0.5f + static_cast<float>(row) * stepY;
            // The rest position never moves, so the direction and distance of the push are
            // fixed too.
            const float angle = std::atan2(e.restY, e.restX);
            e.directionX = std::cos(angle);
            e.directionY = std::sin(angle);
            e.t = std::min(std::sqrt(e.restX * e.restX + e.restY * e.restY) / halfDiagonal, 1.0f);
            e.stripe = std::min(static_cast<uint32_t>(u / static_cast<float>(columns) *
                                                      static_cast<float>(stripes)),
                                stripes - 1);
            e.group = e.stripe % 3;
            mEntities.push_back(e);
        }
    }
    endScope();
}

AnimatorVertical_1::~AnimatorVertical_1() = default;

size_t AnimatorVertical_1::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorVertical_1::update(float dt, const RotationTransition& rotation,
                                const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const ClassParameters& p = mParameters;
    preUpdate(dt, sound, p);

    getPalette(mPreset.animator.palettes, mPalette);
    const std::vector<colorf>& e = mPalette[1];
    mixPointColors(e, 3, 4, mGradient);
    mAccent = mixPoints(e[3], e[7], e[11]);

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size());

    const float k = std::min(p.levelSpeed * dt, 1.0f);
    const float peak = newest(histories[2]);
    const float size = mSizeBase * mSizeFactor * p.sizeFactor * mTransition;
    const float push = mPushDistance * p.pushFactor;
    const float stripeSizes[2] = {1.0f, 1.0f - p.stripeContrast};

    for (Entity& en : mEntities) {
        // Pushing only moves points outwards, so one that is out of view at rest stays out.
        if (camera.isOutside(en.restX, en.restY, kCullMargin)) {
            continue;
        }
        const float t = en.t;
        // Reading at t squared spends the recent history on the middle of the screen: a beat
        // bursts out of the centre quickly and then slows down as it spreads, like a ripple.
        en.level += (sample(histories[en.group], t * t * p.reach) - en.level) * k;

        const float offset = en.level * push * t;
        en.x = en.restX + en.directionX * offset;
        en.y = en.restY + en.directionY * offset;
        const float centre = (1.0f - t) * (1.0f - t);
        en.size = size * std::pow(en.level, 0.9f) * (1.0f + peak * p.peakGrowth * centre) *
                  stripeSizes[en.stripe & 1];
        if (!camera.isOutside(en.x, en.y, en.size)) {
            colorf color = sample_color(mGradient, en.level);
            if (en.group == 2) {
                color = mix_color(color, mAccent, p.accentMix * en.level);
            }
            out.push_back({en.x, en.y, en.size, color});
        }
    }

    postUpdate(dt, sound);
}

}  // namespace content2020
