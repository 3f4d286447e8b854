#include "visualization/content/2020/animator_diamond_1.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using Parameters = AnimatorDiamond_1_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;

// Rises from 0 at both ends to 1 in the middle.
float tri(float x) {
    return x < 0.5f ? 2.0f * x : 2.0f - 2.0f * x;
}

// Three sets (quiet, moderate, loud music) of: the outer squares' colour, the level gradient of
// the inner squares (low to high) and the gradient across the squares (outer to inner); then
// the glow of the beat-chosen squares.
Palette palette(Colors background, Colors outer1, Colors level1, Colors across1, Colors outer2,
                Colors level2, Colors across2, Colors outer3, Colors level3, Colors across3,
                Colors glow) {
    return Palette{colors(background), colors(outer1),  colors(level1),  colors(across1),
                   colors(outer2),     colors(level2),  colors(across2), colors(outer3),
                   colors(level3),     colors(across3), colors(glow)};
}

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"0A0420", "1F0A3C", "05010F", "6A1B9A"}, {"7B2CBF"},
                {"3C096C", "9D4EDD", "E0AAFF"}, {"4CC9F0", "7B2CBF", "F72585"}, {"F72585"},
                {"7209B7", "F72585", "FFC8DD"}, {"4CC9F0", "4361EE", "F72585"}, {"FFC8DD"},
                {"B5179E", "FF4D6D", "FFFFFF"}, {"4CC9F0", "FFFFFF", "F72585"}, {"FFFFFF"}),
        palette({"02141A", "06303A", "000201", "3EBCB5"}, {"1B7F79"},
                {"0B3C49", "3EBCB5", "C6F1E7"}, {"FFD166", "3EBCB5", "1B7F79"}, {"3EBCB5"},
                {"1B7F79", "F16856", "FFD166"}, {"FFD166", "F16856", "3EBCB5"}, {"FFD166"},
                {"F16856", "FFD166", "FFFFFF"}, {"FFFFFF", "FFD166", "F16856"}, {"F16856"}),
        palette({"00186D", "000000", "000CA3", "00FFE6"}, {"0367A6"},
                {"022B5E", "0367A6", "00FFE6"}, {"41B797", "0367A6", "022B5E"}, {"00FFE6"},
                {"0367A6", "00FFE6", "C8FFF4"}, {"B8F35D", "41B797", "0367A6"}, {"C8FFF4"},
                {"00FFE6", "B8F35D", "FFFFFF"}, {"FFFFFF", "B8F35D", "00FFE6"}, {"B8F35D"}),
        palette({"14030A", "3A0A1E", "000000", "D00000"}, {"9D0208"},
                {"370617", "9D0208", "E85D04"}, {"FAA307", "DC2F02", "6A040F"}, {"DC2F02"},
                {"9D0208", "E85D04", "FFBA08"}, {"FFBA08", "E85D04", "9D0208"}, {"FFBA08"},
                {"E85D04", "FFBA08", "FFFFFF"}, {"FFFFFF", "FFBA08", "DC2F02"}, {"FFF3B0"}),
        palette({"011627", "022B3A", "000000", "1F7A8C"}, {"1F7A8C"},
                {"022B3A", "1F7A8C", "BFDBF7"}, {"FF9F1C", "1F7A8C", "022B3A"}, {"2EC4B6"},
                {"1F7A8C", "2EC4B6", "FF9F1C"}, {"FF9F1C", "E71D36", "2EC4B6"}, {"FDFFFC"},
                {"2EC4B6", "FF9F1C", "FDFFFC"}, {"FDFFFC", "FF9F1C", "E71D36"}, {"FF9F1C"}),
        palette({"030F26", "270B42", "000000", "0000FF"}, {"983BBF"},
                {"270B42", "983BBF", "D93280"}, {"0000FF", "983BBF", "FF0D87"}, {"D93280"},
                {"983BBF", "FF0D87", "FFB3DE"}, {"0D9290", "0000FF", "FF0D87"}, {"FFB3DE"},
                {"FF0D87", "FF00FF", "FFFFFF"}, {"FFFFFF", "FF00FF", "0000FF"}, {"0D9290"}),
        palette({"081C15", "1B4332", "000000", "2D6A4F"}, {"2D6A4F"},
                {"1B4332", "52B788", "B7E4C7"}, {"FFD60A", "52B788", "2D6A4F"}, {"52B788"},
                {"2D6A4F", "95D5B2", "FFD60A"}, {"FFD60A", "95D5B2", "40916C"}, {"D8F3DC"},
                {"95D5B2", "FFD60A", "FFFFFF"}, {"FFFFFF", "FFD60A", "52B788"}, {"FFD60A"}),
        palette({"000814", "001D3D", "000000", "003566"}, {"003566"},
                {"001D3D", "00B4D8", "90E0EF"}, {"FFC300", "00B4D8", "003566"}, {"00B4D8"},
                {"003566", "00B4D8", "FFC300"}, {"FFD60A", "FFC300", "00B4D8"}, {"90E0EF"},
                {"00B4D8", "FFD60A", "FFFFFF"}, {"FFFFFF", "FFD60A", "FFC300"}, {"FFC300"}),
        palette({"10002B", "240046", "000000", "5A189A"}, {"5A189A"},
                {"240046", "C77DFF", "E0AAFF"}, {"FFB4A2", "FF4D6D", "5A189A"}, {"C77DFF"},
                {"5A189A", "FF4D6D", "FFB4A2"}, {"FFB4A2", "E0AAFF", "FF4D6D"}, {"E0AAFF"},
                {"FF4D6D", "FFB4A2", "FFFFFF"}, {"FFFFFF", "FFB4A2", "C77DFF"}, {"FF4D6D"}),
        palette({"1A0F0A", "3D1F12", "000000", "9C6644"}, {"9C6644"},
                {"3D1F12", "9C6644", "E6CCB2"}, {"A8DADC", "E63946", "9C6644"}, {"E63946"},
                {"9C6644", "E63946", "F1FAEE"}, {"A8DADC", "F1FAEE", "E63946"}, {"F1FAEE"},
                {"E63946", "F1FAEE", "FFFFFF"}, {"FFFFFF", "A8DADC", "E63946"}, {"A8DADC"}),
    };
    return withAODPalettes(palettes);
}

void blend(const Parameters& a, const Parameters& b, float t, Parameters& out) {
    blendPaletteMix(a, b, t, out);
    out.radialScale = lerp(a.radialScale, b.radialScale, t);
    out.sizeFactor = lerp(a.sizeFactor, b.sizeFactor, t);
    out.pushAmount = lerp(a.pushAmount, b.pushAmount, t);
    out.patternGlow = lerp(a.patternGlow, b.patternGlow, t);
    out.fillMix = lerp(a.fillMix, b.fillMix, t);
}

}  // namespace

AnimatorDiamond_1_Preset::AnimatorDiamond_1_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(1, vec2f{1.0f, 1.0f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, Parameters{{0, 0, 0, 0, 0}, 1, 1, 0.15f, 0, 0}},
          {SoundClass::Slow, Parameters{{0, 0, 0, 0, 0}, 1, 1, 0.5f, 0, 1}},
          {SoundClass::Moderate, Parameters{{1, 0, 0, 1, 0}, 1, 1, 1, 0, 1}},
          {SoundClass::Loud, Parameters{{1, 1, 0, 1, 1}, 1, 1, 1, 1, 1}},
          {SoundClass::Dynamic, Parameters{{1, 1, 1, 1, 1}, 1, 1, 2, 1, 1}},
      } {}

AnimatorDiamond_1::AnimatorDiamond_1(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorDiamond_1][Constructor]");
    const uint32_t every = mStep + 1;
    const uint32_t used = (mSquares + mStep) / every;
    const float turnCos = std::cos(kPi * 0.25f);
    const float turnSin = std::sin(kPi * 0.25f);
    const float cornerX[4] = {-0.5f, 0.5f, 0.5f, -0.5f};
    const float cornerY[4] = {-0.5f, -0.5f, 0.5f, 0.5f};
    const float directionX[4] = {1.0f, 0.0f, -1.0f, 0.0f};
    const float directionY[4] = {0.0f, 1.0f, 0.0f, -1.0f};
    for (uint32_t k = 0, j = 0; k < mSquares; ++k) {
        if (k % every != 0) {
            continue;
        }
        // Neighbours sit two spacings apart, so an edge of n points spans n of those gaps.
        const float side = static_cast<float>(k + 1) * 4.0f * mSpacing;
        const uint32_t n = 2 * (k + 1);
        for (uint32_t q = 0; q < 4; ++q) {
            for (uint32_t c = 0; c < n; ++c) {
                const float along = 2.0f * mSpacing * static_cast<float>(c);
                const float px = cornerX[q] * side + along * directionX[q];
                const float py = cornerY[q] * side + along * directionY[q];
                Entity e;
                e.x = e.restX = px * turnCos - py * turnSin;
                e.y = e.restY = px * turnSin + py * turnCos;
                e.baseSize = 15.0f;
                e.distance = std::sqrt(e.x * e.x + e.y * e.y);
                e.angle = std::atan2(e.y, e.x);
                e.square = j;
                e.t = static_cast<float>(j) / static_cast<float>(used);
                e.perimeterIndex = c + q * n;
                e.perimeterFraction =
                    static_cast<float>(e.perimeterIndex) / static_cast<float>(4 * n);
                e.edgeIndex = c;
                e.edgeFraction = static_cast<float>(c) / static_cast<float>(n);
                e.nx = (px + side * 0.5f) / side;
                e.ny = (py + side * 0.5f) / side;
                mEntities.push_back(e);
            }
        }
        ++j;
    }
    endScope();
}

AnimatorDiamond_1::~AnimatorDiamond_1() = default;

size_t AnimatorDiamond_1::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorDiamond_1::update(float dt, const RotationTransition& rotation,
                               const SoundFrame& sound) {
    const std::vector<float>* history = sound.historyMax;
    const bool hasHistory = history != nullptr && !history->empty();
    const float peak = hasHistory ? (*history)[0] : 0.0f;

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const Parameters& p = mParameters;
    preUpdate(dt, sound, p);

    const float k1 = std::min(dt, 1.0f);
    const float kHalf = std::min(0.5f * dt, 1.0f);
    const float k4 = std::min(4.0f * dt, 1.0f);
    const float k16 = std::min(16.0f * dt, 1.0f);

    update_threshold(mTrigger, peak);
    getPalette(mPreset.animator.palettes, mPalette);
    mixPointEntries(mPalette, 1, 3, mGradient1);
    mixPointEntries(mPalette, 2, 3, mGradient2);
    mixPointEntries(mPalette, 3, 3, mGradient3);
    const colorf glow = mPalette[10][0];

    mRadialScale += (p.radialScale - mRadialScale) * k1;
    mSizeFactor += (p.sizeFactor - mSizeFactor) * k1;
    mPush += (p.pushAmount - mPush) * k1;

    if (mTrigger.triggered) {
        mParity = 1 - mParity;
        mPatternA = util::randomInt(1, 6);
        mPatternB = util::randomInt(1, 6);
    }

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size() * 2);

    // The glow runs along the edges of the chosen squares: the middle of an edge shows the
    // newest peak, the corners the level of a third of a second ago.
    const size_t glowLast = hasHistory ? std::min<size_t>(mGlowSamples, history->size() - 1) : 0;
    const auto patternA = static_cast<uint32_t>(mPatternA);
    const auto patternB = static_cast<uint32_t>(mPatternB);

    for (Entity& e : mEntities) {
        e.level0 += (sample(history, e.t * mHistoryReach) - e.level0) * kHalf;
        const float scale = mRadialScale + mPush * e.level0 * e.t;
        e.x = e.restX * scale;
        e.y = e.restY * scale;
        if (camera.isOutside(e.x, e.y, kCullMargin)) {
            continue;
        }
        e.level2 += (sample(history, e.t) - e.level2) * k4;
        e.level5 += (sample(history, 1.0f - tri(mParity == 0 ? e.nx : e.ny)) - e.level5) * k4;
        e.level6 += (peak - e.level6) * k16;
        float g = 0.0f;
        if (hasHistory && (e.square == patternA || e.square == patternB)) {
            const float reach = std::min(std::max(1.0f - tri(e.edgeFraction), 0.0f), 1.0f);
            g = (*history)[static_cast<size_t>(reach * static_cast<float>(glowLast))];
        }
        e.level7 += (g * p.patternGlow - e.level7) * k16;

        if (e.square == 1) {
            // The second square is the beat ring: it follows only the newest peak.
            e.size = e.baseSize * e.level6 * mCentreBeatSize;
        } else {
            const float w = e.square < 4 ? 1.0f : static_cast<float>(e.square & 1);
            e.size = e.level2 * e.level5 * e.baseSize * mix(w, 1.0f, p.fillMix) * mLevelSize;
        }
        e.size *= mSizeFactor * mTransition;

        if (!camera.isOutside(e.x, e.y, e.size)) {
            const colorf inner = mix_color(sample_color(mGradient2, e.level2), mGradient1[0], e.t);
            out.push_back(
                {e.x, e.y, e.size,
                 mix_color(inner, sample_color(mGradient3, 1.0f - e.t), e.level5 * e.level5)});
        }
        if (e.square != 1 && e.level7 >= mGlowThreshold) {
            const float glowSize = e.level7 * e.baseSize * mSizeFactor * mTransition;
            if (!camera.isOutside(e.x, e.y, glowSize)) {
                out.push_back({e.x, e.y, glowSize, glow});
            }
        }
    }

    mTrigger.triggered = false;
    postUpdate(dt, sound);
}

}  // namespace content2020
