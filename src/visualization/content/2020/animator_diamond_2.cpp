#include "visualization/content/2020/animator_diamond_2.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using Parameters = AnimatorDiamond_2_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;
constexpr float kMargin = 50.0f;
// Laps per second of the chase heads in silence; the peak adds up to the chase gain times this.
constexpr float kChaseSpeed = 0.05f;
constexpr float kGlowThreshold = 0.001f;

// Three sets (quiet, moderate, loud music) of: the colours across the tunnel (centre to rim),
// the level gradient (low to high) and the chase head (tail to head); then the outline colour of
// the beat-chosen squares.
Palette palette(Colors background, Colors across1, Colors level1, Colors chase1, Colors across2,
                Colors level2, Colors chase2, Colors across3, Colors level3, Colors chase3,
                Colors glow) {
    return Palette{colors(background), colors(across1), colors(level1), colors(chase1),
                   colors(across2),    colors(level2),  colors(chase2), colors(across3),
                   colors(level3),     colors(chase3),  colors(glow)};
}

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"020A1A", "061A3A", "000000", "2B59C3"}, {"1B3B6F", "2B59C3", "21295C"},
                {"0B1D3A", "2B59C3", "9BD1FF"}, {"9BD1FF", "FFFFFF"},
                {"2B59C3", "5E60CE", "48BFE3"}, {"2B59C3", "48BFE3", "E0FBFC"},
                {"72EFDD", "FFFFFF"}, {"5E60CE", "48BFE3", "72EFDD"},
                {"48BFE3", "72EFDD", "FFFFFF"}, {"FFFFFF", "E0FBFC"}, {"80FFDB"}),
        palette({"1A0510", "3B0A1F", "000000", "FF5E5B"}, {"6B0F3A", "A4133C", "590D22"},
                {"3B0A1F", "C9184A", "FF8FA3"}, {"FFB3C1", "FFFFFF"},
                {"C9184A", "FF4D6D", "FF7F51"}, {"A4133C", "FF7F51", "FFD6A5"},
                {"FFD6A5", "FFFFFF"}, {"FF4D6D", "FF7F51", "FFB703"},
                {"FF7F51", "FFB703", "FFFFFF"}, {"FFFFFF", "FFE8A3"}, {"FFB703"}),
        palette({"03140E", "0B2E22", "000000", "1F8A70"}, {"0B3D2E", "1F8A70", "0B2E22"},
                {"0B2E22", "1F8A70", "7AE582"}, {"BEE3B5", "FFFFFF"},
                {"1F8A70", "00A878", "3E8E41"}, {"1F8A70", "7AE582", "FFE066"},
                {"FFE066", "FFFFFF"}, {"00A878", "7AE582", "FFE066"},
                {"7AE582", "FFE066", "FFFFFF"}, {"FFFFFF", "FFF3B0"}, {"FFE066"}),
        palette({"0D0221", "261447", "000000", "FF2A6D"}, {"261447", "541388", "2E1760"},
                {"261447", "D90368", "FF2A6D"}, {"05D9E8", "FFFFFF"},
                {"541388", "D90368", "05D9E8"}, {"D90368", "FF2A6D", "D1F7FF"},
                {"05D9E8", "D1F7FF"}, {"FF2A6D", "05D9E8", "D1F7FF"},
                {"FF2A6D", "D1F7FF", "FFFFFF"}, {"FFFFFF", "05D9E8"}, {"05D9E8"}),
        palette({"0F0A05", "2A1A0E", "000000", "B5651D"}, {"5C3317", "8C5A2B", "3A2412"},
                {"2A1A0E", "B5651D", "E8A87C"}, {"41B3A3", "FFFFFF"},
                {"B5651D", "E8A87C", "41B3A3"}, {"B5651D", "E8A87C", "F6E7CB"},
                {"41B3A3", "F6E7CB"}, {"E8A87C", "41B3A3", "F6E7CB"},
                {"E8A87C", "F6E7CB", "FFFFFF"}, {"FFFFFF", "85DCB0"}, {"85DCB0"}),
        palette({"03045E", "023E8A", "000000", "F77F00"}, {"023E8A", "0077B6", "03045E"},
                {"03045E", "0077B6", "90E0EF"}, {"F77F00", "FFFFFF"},
                {"0077B6", "00B4D8", "F77F00"}, {"0077B6", "90E0EF", "FCBF49"},
                {"FCBF49", "FFFFFF"}, {"00B4D8", "F77F00", "FCBF49"},
                {"F77F00", "FCBF49", "FFFFFF"}, {"FFFFFF", "EAE2B7"}, {"FCBF49"}),
        palette({"150F24", "2D1E4A", "000000", "9A8BD4"}, {"3F2E6B", "6A5ACD", "2D1E4A"},
                {"2D1E4A", "9A8BD4", "D7CCFF"}, {"FFC4A8", "FFFFFF"},
                {"6A5ACD", "9A8BD4", "FF9E80"}, {"6A5ACD", "D7CCFF", "FFC4A8"},
                {"FFC4A8", "FFFFFF"}, {"9A8BD4", "FF9E80", "FFC4A8"},
                {"FF9E80", "FFC4A8", "FFFFFF"}, {"FFFFFF", "FFE5D9"}, {"FF9E80"}),
        palette({"0B0C10", "1F2833", "000000", "C3073F"}, {"1F2833", "45A29E", "1F2833"},
                {"1F2833", "45A29E", "C5C6C7"}, {"C3073F", "FFFFFF"},
                {"45A29E", "66FCF1", "C3073F"}, {"45A29E", "66FCF1", "FFFFFF"},
                {"C3073F", "FF5C8A"}, {"66FCF1", "C3073F", "FF5C8A"},
                {"C3073F", "FF5C8A", "FFFFFF"}, {"FFFFFF", "66FCF1"}, {"FF5C8A"}),
        palette({"04151F", "183A37", "000000", "EF476F"}, {"118AB2", "073B4C", "06D6A0"},
                {"073B4C", "118AB2", "06D6A0"}, {"FFD166", "FFFFFF"},
                {"118AB2", "06D6A0", "EF476F"}, {"118AB2", "06D6A0", "FFD166"},
                {"EF476F", "FFD166"}, {"06D6A0", "EF476F", "FFD166"},
                {"EF476F", "FFD166", "FFFFFF"}, {"FFFFFF", "FFD166"}, {"EF476F"}),
        palette({"120B00", "2B1A00", "000000", "FF9F00"}, {"4D2E00", "7A4A00", "2B1A00"},
                {"2B1A00", "B36B00", "FFB84D"}, {"FFE0A3", "FFFFFF"},
                {"7A4A00", "B36B00", "FF9F00"}, {"B36B00", "FF9F00", "FFD27F"},
                {"FFD27F", "FFFFFF"}, {"FF9F00", "FFB84D", "FFD27F"},
                {"FF9F00", "FFD27F", "FFFFFF"}, {"FFFFFF", "FFF1D6"}, {"FFFFFF"}),
    };
    return withAODPalettes(palettes);
}

void blend(const Parameters& a, const Parameters& b, float t, Parameters& out) {
    blendPaletteMix(a, b, t, out);
    out.historyReach = lerp(a.historyReach, b.historyReach, t);
    out.patternGlow = lerp(a.patternGlow, b.patternGlow, t);
}

}  // namespace

// Livelier music makes the rings cross the tunnel faster and the beat outlines brighter.
AnimatorDiamond_2_Preset::AnimatorDiamond_2_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(1, vec2f{1.75f, 1.75f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, Parameters{{0, 0, 0, 0, 0}, 1, 0}},
          {SoundClass::Slow, Parameters{{0, 0, 0, 0, 0}, 1, 0.35f}},
          {SoundClass::Moderate, Parameters{{1, 0, 0, 1, 0}, 0.75f, 0.75f}},
          {SoundClass::Loud, Parameters{{1, 1, 0, 1, 1}, 0.6f, 1}},
          {SoundClass::Dynamic, Parameters{{1, 1, 1, 1, 1}, 0.45f, 1}},
      } {}

AnimatorDiamond_2::AnimatorDiamond_2(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorDiamond_2][Constructor]");
    const uint32_t every = mStep + 1;
    mUsedSquares = (mSquares + mStep) / every;
    // The outer squares are far larger than the screen; only what a turned screen can show is
    // kept.
    const float bound = static_cast<float>(std::max(width, height)) * 0.5f + kMargin;
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
        const float side = static_cast<float>(k + 1) * 4.0f * mSpacing;
        const uint32_t n = 2 * (k + 1);
        for (uint32_t q = 0; q < 4; ++q) {
            for (uint32_t c = 0; c < n; ++c) {
                const float along = 2.0f * mSpacing * static_cast<float>(c);
                const float px = cornerX[q] * side + along * directionX[q];
                const float py = cornerY[q] * side + along * directionY[q];
                const float x = px * turnCos - py * turnSin;
                const float y = px * turnSin + py * turnCos;
                if (std::abs(x) > bound || std::abs(y) > bound) {
                    continue;
                }
                Entity e;
                e.x = e.restX = x;
                e.y = e.restY = y;
                e.square = j;
                e.t = static_cast<float>(j) / static_cast<float>(mUsedSquares);
                e.radius = std::min(side * 0.5f / bound, 1.0f);
                e.perimeterFraction = static_cast<float>(c + q * n) / static_cast<float>(4 * n);
                e.edgeFraction = static_cast<float>(c) / static_cast<float>(n);
                mEntities.push_back(e);
            }
        }
        ++j;
    }
    endScope();
}

AnimatorDiamond_2::~AnimatorDiamond_2() = default;

size_t AnimatorDiamond_2::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

bool AnimatorDiamond_2::isChosen(uint32_t square) const {
    const auto family = static_cast<int>(square % 6) + 1;
    return family == mPatternA || family == mPatternB;
}

void AnimatorDiamond_2::update(float dt, const RotationTransition& rotation,
                               const SoundFrame& sound) {
    const std::vector<float>* history = sound.historyMax;
    const float peak = newest(history);

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const Parameters& p = mParameters;
    preUpdate(dt, sound, p);

    const float k4 = std::min(4.0f * dt, 1.0f);
    const float k16 = std::min(16.0f * dt, 1.0f);

    update_threshold(mTrigger, peak);
    if (mTrigger.triggered) {
        mParity = 1 - mParity;
        mPatternA = util::randomInt(1, 6);
        mPatternB = util::randomInt(1, 6);
    }
    mPeak += (peak - mPeak) * k4;

    getPalette(mPreset.animator.palettes, mPalette);
    mixPointEntries(mPalette, 1, 3, mGradient1);
    mixPointEntries(mPalette, 2, 3, mGradient2);
    mixPointEntries(mPalette, 3, 3, mGradient3);
    const colorf glowColor = mPalette[10][0];

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size() * 2);

    const float size = mSize * mSizeFactor * mTransition;
    for (Entity& e : mEntities) {
        if (camera.isOutside(e.restX, e.restY, kCullMargin)) {
            continue;
        }
        // Parity 0 reads the history from the centre outwards, so the rings travel out; parity
        // 1 from the rim inwards.
        const float w = mParity == 0 ? e.radius : 1.0f - e.radius;
        e.level += (sample(history, w * p.historyReach) - e.level) * k4;
        // Outlines flare up fast and fade more slowly, so a beat reads as a flash.
        const float glow = isChosen(e.square) ? p.patternGlow * peak : 0.0f;
        e.glow += (glow - e.glow) * (glow > e.glow ? k16 : k4);

        // Neighbouring squares chase in opposite directions; the head is where the phase just
        // wrapped, with its tail fading behind it.
        const float direction = (e.square & 1) != 0 ? -1.0f : 1.0f;
        const float phase = posmod(e.perimeterFraction + direction * mChase, 1.0f);
        const float head = smoothstep(0.7f, 1.0f, 1.0f - phase) * mPeak;

        const float lit = smoothstep(0.1f, 1.0f, e.level);
        e.size = size * (0.55f * lit + 0.3f * head);
        if (!camera.isOutside(e.x, e.y, e.size)) {
            const colorf across = sample_color(mGradient1, e.radius);
            const colorf level =
                mix_color(across, sample_color(mGradient2, e.level), smoothstep(0.3f, 1.0f, lit));
            out.push_back(
                {e.x, e.y, e.size, mix_color(level, sample_color(mGradient3, head), head)});
        }
        if (e.glow >= kGlowThreshold) {
            const float glowSize = e.glow * size * mGlowSize;
            if (!camera.isOutside(e.x, e.y, glowSize)) {
                out.push_back({e.x, e.y, glowSize, glowColor});
            }
        }
    }

    if (!mPaused) {
        mChase += kChaseSpeed * (1.0f + mChaseGain * mPeak) * dt;
        mChase -= std::floor(mChase);
    }
    mTrigger.triggered = false;
    postUpdate(dt, sound);
}

}  // namespace content2020
