#include "visualization/content/2020/animator_random_5.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorRandom_5_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;
// Disc sizes are full-HD pixels, scaled to the canvas; three quarters of a size is the disc's
// half side at full level, which keeps the middle band from clotting in the centre.
constexpr float kReferenceSide = 1920.0f;
constexpr float kHalfSidePerSize = 0.75f;

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"070B1A", "101A3A", "000000", "2C3E91"},
                {"2541B2", "3DA5D9", "A9E4FF", "5E2BFF", "3DA5D9", "FFFFFF", "C200FB", "FF6B9A",
                 "FFFFFF"}),
        palette({"1A0B05", "33140A", "000000", "8A2B0E"},
                {"9C2A00", "FF7A00", "FFD8A8", "C1121F", "FF7A00", "FFF3B0", "FF006E", "FFBE0B",
                 "FFFFFF"}),
        palette({"031A14", "07302A", "000000", "0F7A62"},
                {"0B6E4F", "21D19F", "C8FFE0", "087E8B", "F5C400", "E8FFF4", "0B6E4F", "FF5A5F",
                 "FFFFFF"}),
        palette({"14061F", "24103A", "000000", "5B1F8A"},
                {"4C1D95", "A78BFA", "F5D0FE", "7C3AED", "F472B6", "FDF4FF", "DB2777", "FBBF24",
                 "FFFFFF"}),
        palette({"02121A", "06283A", "000000", "0B5C7A"},
                {"0E7490", "67E8F9", "ECFEFF", "155E75", "FB7185", "ECFEFF", "BE123C", "FDA4AF",
                 "67E8F9"}),
        palette({"160B0B", "2C1414", "000000", "6E2A2A"},
                {"7F1D1D", "F87171", "FECACA", "9A3412", "FDBA74", "FFF7ED", "B91C1C", "FDE047",
                 "FFFFFF"}),
        palette({"0A0F0A", "16241A", "000000", "2F5D3A"},
                {"3F6212", "A3E635", "ECFCCB", "166534", "FACC15", "F7FEE7", "15803D", "F97316",
                 "FFFFFF"}),
        palette({"0C0A14", "1C1830", "000000", "3B3470"},
                {"3730A3", "818CF8", "E0E7FF", "6D28D9", "22D3EE", "F5F3FF", "4338CA", "2DD4BF",
                 "FFFFFF"}),
        palette({"120A12", "2A1628", "000000", "7A2E6E"},
                {"86198F", "F0ABFC", "FFE4F7", "A21CAF", "FB923C", "FFF1E6", "C026D3", "FACC15",
                 "FFFFFF"}),
        palette({"08080C", "15151E", "000000", "3A3A52"},
                {"475569", "94A3B8", "F1F5F9", "334155", "38BDF8", "F8FAFC", "0EA5E9", "F43F5E",
                 "FFFFFF"}),
    };
    return withAODPalettes(palettes);
}

}  // namespace

AnimatorRandom_5_Preset::AnimatorRandom_5_Preset()
    : animator(PointMode::CIRCLE_LARGE, buildPalettes(),
               AODMask(4, vec2f{1.1f, 1.7f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, ClassParameters{0, 0, 0, 0, 0}},
          {SoundClass::Slow, ClassParameters{0, 0, 0, 0, 0}},
          {SoundClass::Moderate, ClassParameters{1, 0, 0, 1, 0}},
          {SoundClass::Loud, ClassParameters{1, 1, 0, 1, 1}},
          {SoundClass::Dynamic, ClassParameters{1, 1, 1, 1, 1}},
      },
      // The camera turns the picture upright, so in portrait the bands stand on end.
      rotation{{RotateInfo::Landscape, Parameters{1.0f, 0.5625f}},
               {RotateInfo::Portrait, Parameters{0.5625f, 1.0f}}} {}

AnimatorRandom_5::AnimatorRandom_5(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorRandom_5][Constructor]");
    mCanvasScale = static_cast<float>(std::max(width, height)) / kReferenceSide;
    size_t total = 0;
    for (const Emitter& emitter : mEmitters) {
        total += emitter.count;
    }
    mEntities.reserve(total);
    // Streams in drawing order: the large glows behind, the small spray on top.
    for (uint32_t g = 0; g < 3; ++g) {
        for (uint32_t i = 0; i < mEmitters[g].count; ++i) {
            Entity e;
            e.group = g;
            emit(e);
            // Spread over the whole band at start, so the streams flow from the first frame.
            e.phase = util::random01();
            mEntities.push_back(e);
        }
    }
    mRenderState.instances.reserve(total);
    endScope();
}

AnimatorRandom_5::~AnimatorRandom_5() = default;

size_t AnimatorRandom_5::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

// A fresh disc at the inner edge of its stream, in a random direction.
void AnimatorRandom_5::emit(Entity& e) const {
    const Emitter& emitter = mEmitters[e.group];
    e.angle = util::random01() * 2.0f * kPi;
    e.phase = 0.0f;
    const float size = util::randomRange(emitter.sizeMin, emitter.sizeMax);
    e.baseSize = size * kHalfSidePerSize * mCanvasScale;
    e.alpha = 1.0f - 0.55f * std::sqrt(std::min(size / mEmitters[0].sizeMax, 1.0f));
}

void AnimatorRandom_5::update(float dt, const RotationTransition& rotation,
                              const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blendPaletteMix(parametersFor(mPreset.parameters, sound.soundClassCurrent),
                    parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
                    mParameters);
    const ClassParameters& p = mParameters;
    preUpdate(dt, sound, p);

    getPalette(mPreset.animator.palettes, mPalette);
    mixPointColors(mPalette[1], 3, 3, mColors);

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size());

    const float decay = std::min(dt, 1.0f);
    for (uint32_t g = 0; g < 3; ++g) {
        update_threshold(mTriggers[g], newest(histories[g]));
        if (mTriggers[g].triggered) {
            mPulse[g] = 1.0f;
            mTriggers[g].triggered = false;
        }
    }

    const AnimatorRandom_5_Preset::Parameters& landscape =
        mPreset.rotation.at(RotateInfo::Landscape);
    const AnimatorRandom_5_Preset::Parameters& portrait = mPreset.rotation.at(RotateInfo::Portrait);
    const float half = static_cast<float>(std::max(mWidth, mHeight)) * 0.5f;
    const float extentX =
        mix(landscape.stretchX, portrait.stretchX, rotation.fractionSnapped) * half;
    const float extentY =
        mix(landscape.stretchY, portrait.stretchY, rotation.fractionSnapped) * half;
    const float step = mPaused ? 0.0f : dt;
    const float k4 = std::min(4.0f * dt, 1.0f);

    for (Entity& e : mEntities) {
        const Emitter& emitter = mEmitters[e.group];
        const float pulse = mPulse[e.group];
        // A beat hurries its stream outwards and spins it on.
        e.phase += mTravelRates[e.group] * (1.0f + 4.0f * pulse) * step;
        e.angle += mSpins[e.group] * (1.0f + 2.0f * pulse) * step;
        if (e.phase >= 1.0f) {
            emit(e);
        }
        const float reach = mix(emitter.inner, emitter.outer, e.phase);
        e.x = std::cos(e.angle) * reach * extentX;
        e.y = std::sin(e.angle) * reach * extentY;
        if (camera.isOutside(e.x, e.y, std::max(kCullMargin, e.baseSize))) {
            e.size = 0.0f;
            continue;
        }
        // Older history further out: a loud moment rides outwards with the stream.
        e.level += (sample(histories[e.group], e.phase * 0.5f) - e.level) * k4;
        // Born and gone at the band's edges, so discs neither pop in nor out.
        const float envelope = std::sin(kPi * e.phase);
        // A beat lights its whole stream for a moment, even where the history is still quiet.
        const float level = std::max(e.level, pulse * 0.6f);
        e.size = e.baseSize * level * envelope * (1.0f + 0.35f * pulse) * mTransition;
        if (!camera.isOutside(e.x, e.y, e.size)) {
            colorf color = mix_color(mColors[e.group], mColors[(e.group + 1) % 3], pulse * 0.5f);
            color.a *= e.alpha;
            out.push_back({e.x, e.y, e.size, color});
        }
    }

    for (float& pulse : mPulse) {
        pulse = std::max(pulse - decay, 0.0f);
    }
    postUpdate(dt, sound);
}

}  // namespace content2020
