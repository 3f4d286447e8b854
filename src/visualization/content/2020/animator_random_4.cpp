#include "visualization/content/2020/animator_random_4.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorRandom_4_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;
// Bubbles at least this large are drawn first, so the small bright ones stay on top.
constexpr float kBackLayerRadius = 100.0f;
// Distances, sizes and speeds are full-HD pixels, scaled to the canvas.
constexpr float kReferenceSide = 1920.0f;

// Three point entries for calm, moderate and loud music; each holds a quiet and a bright colour
// for the quiet, the median and the peak bubbles, in that order.
Palette palette(Colors background, Colors calm, Colors moderate, Colors loud) {
    return {colors(background), colors(calm), colors(moderate), colors(loud)};
}

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"04121F", "0A2A3F", "000000", "125E7A"},
                {"1B6CA8", "5FC9F3", "2A9D8F", "8EE3C8", "0E4D92", "A9D6E5"},
                {"1B6CA8", "5FC9F3", "F4A261", "FFD6A5", "2A9D8F", "8EE3C8"},
                {"5FC9F3", "FFFFFF", "F4A261", "FFE8C2", "E76F51", "FFD6A5"}),
        palette({"1A0826", "2D0B3A", "000000", "6A1B9A"},
                {"7B2CBF", "C77DFF", "5A189A", "E0AAFF", "9D4EDD", "F3D9FF"},
                {"7B2CBF", "C77DFF", "FF4D8D", "FFB3C6", "9D4EDD", "E0AAFF"},
                {"C77DFF", "FFFFFF", "FF4D8D", "FFD6E0", "FF8FAB", "FFFFFF"}),
        palette({"1F0A05", "3B1408", "000000", "9C2C0C"},
                {"C2410C", "FB923C", "B45309", "FCD34D", "9A3412", "FDBA74"},
                {"C2410C", "FB923C", "E11D48", "FDA4AF", "B45309", "FCD34D"},
                {"FB923C", "FFF7ED", "E11D48", "FFE4E6", "FACC15", "FFFBEB"}),
        palette({"03140E", "0B2B1E", "000000", "1E6B4A"},
                {"2D6A4F", "95D5B2", "40916C", "D8F3DC", "1B4332", "74C69D"},
                {"2D6A4F", "95D5B2", "E9C46A", "FFF3B0", "40916C", "B7E4C7"},
                {"95D5B2", "FFFFFF", "E9C46A", "FFF8D6", "F4A261", "FFE8C2"}),
        palette({"0A0A1A", "14143A", "000000", "2B2BBF"},
                {"3A0CA3", "7B8CFF", "4361EE", "A5B4FC", "3F37C9", "C7D2FE"},
                {"3A0CA3", "7B8CFF", "F72585", "FF99C8", "4361EE", "A5B4FC"},
                {"7B8CFF", "FFFFFF", "F72585", "FFD1E8", "4CC9F0", "E0FBFF"}),
        palette({"190E12", "2E1A20", "000000", "7A2E3A"},
                {"9E4A5A", "E8A0AE", "B5838D", "F2D0D6", "6D2E46", "D3A0B0"},
                {"9E4A5A", "E8A0AE", "E5989B", "FFDDD2", "B5838D", "F2D0D6"},
                {"E8A0AE", "FFFFFF", "FFB4A2", "FFF1EC", "E5989B", "FFDDD2"}),
        palette({"020C12", "05202B", "000000", "00637C"},
                {"00838F", "4DD0E1", "006064", "80DEEA", "00ACC1", "B2EBF2"},
                {"00838F", "4DD0E1", "C6FF00", "F4FF81", "006064", "80DEEA"},
                {"4DD0E1", "FFFFFF", "C6FF00", "FAFFD1", "76FF03", "E6FFCC"}),
        palette({"120F05", "2A2208", "000000", "806010"},
                {"B8860B", "FFD166", "8D6E00", "FFE8A3", "A47100", "FFF1C2"},
                {"B8860B", "FFD166", "EF476F", "FFB3C1", "8D6E00", "FFE8A3"},
                {"FFD166", "FFFFFF", "EF476F", "FFE0E6", "06D6A0", "D7FFF3"}),
        palette({"0B0D10", "1C2128", "000000", "3D4A5C"},
                {"5C6B7A", "C3CED9", "4A5866", "E1E8EF", "6E7F90", "F0F4F8"},
                {"5C6B7A", "C3CED9", "FF6B6B", "FFC9C9", "4A5866", "E1E8EF"},
                {"C3CED9", "FFFFFF", "FF6B6B", "FFE3E3", "FFA94D", "FFE8CC"}),
        palette({"0E0520", "1F0B3D", "000000", "00B4D8"},
                {"5A189A", "B388EB", "0077B6", "90E0EF", "7209B7", "CDB4DB"},
                {"5A189A", "B388EB", "00B4D8", "CAF0F8", "7209B7", "CDB4DB"},
                {"B388EB", "FFFFFF", "00B4D8", "E6FAFF", "F15BB5", "FFD6EC"}),
    };
    return withAODPalettes(palettes);
}

void blend(const ClassParameters& a, const ClassParameters& b, float t, ClassParameters& out) {
    blendPaletteMix(a, b, t, out);
    out.spawnFactor = lerp(a.spawnFactor, b.spawnFactor, t);
    out.speedFactor = lerp(a.speedFactor, b.speedFactor, t);
}

}  // namespace

AnimatorRandom_4_Preset::AnimatorRandom_4_Preset()
    : animator(PointMode::CIRCLE_LARGE, buildPalettes(),
               AODMask(4, vec2f{1.1f, 1.7f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, ClassParameters{{0, 0, 0, 0, 0}, 0.5f, 0.5f}},
          {SoundClass::Slow, ClassParameters{{0, 0, 0, 0, 0}, 0.75f, 0.75f}},
          {SoundClass::Moderate, ClassParameters{{1, 0, 0, 1, 0}, 1, 1}},
          {SoundClass::Loud, ClassParameters{{1, 1, 0, 1, 1}, 1.5f, 2}},
          {SoundClass::Dynamic, ClassParameters{{1, 1, 1, 1, 1}, 2, 4}},
      },
      // The camera turns the picture upright, so in portrait the visible field stands on end.
      rotation{{RotateInfo::Landscape, Parameters{1.0f, 0.6f}},
               {RotateInfo::Portrait, Parameters{0.6f, 1.0f}}} {}

AnimatorRandom_4::AnimatorRandom_4(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorRandom_4][Constructor]");
    mCanvasScale = static_cast<float>(std::max(width, height)) / kReferenceSide;
    // Every slot exists from the start: spawning only revives slots, it never allocates.
    mEntities.resize(mCount);
    mRenderState.instances.reserve(mCount);
    endScope();
}

AnimatorRandom_4::~AnimatorRandom_4() = default;

size_t AnimatorRandom_4::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorRandom_4::spawn(uint32_t group, float fieldX, float fieldY, float spawnFactor) {
    const auto batch = static_cast<uint32_t>(
        std::floor(static_cast<float>(mSpawnBatch) * std::max(spawnFactor, 0.0f)));
    uint32_t born = 0;
    for (Entity& e : mEntities) {
        if (born == batch) {
            break;
        }
        if (e.alive) {
            continue;
        }
        // sqrt spreads the births evenly over the area rather than crowding the centre.
        const float distance = std::sqrt(util::random01());
        const float angle = util::random01() * 2.0f * kPi;
        const float heading = util::random01() * 2.0f * kPi;
        const float speed = mDriftSpeed * mCanvasScale * (0.5f + util::random01());
        // A steep power keeps most bubbles small and makes the huge ones rare.
        const float u = util::random01();
        const float bigness = u * u * u * u * u;
        const float radius = mix(mMinRadius, mMaxRadius, bigness) * mCanvasScale;
        e = Entity{};
        e.originX = e.x = std::cos(angle) * distance * mSpawnRadius * mCanvasScale * fieldX;
        e.originY = e.y = std::sin(angle) * distance * mSpawnRadius * mCanvasScale * fieldY;
        e.velocityX = std::cos(heading) * speed;
        e.velocityY = std::sin(heading) * speed;
        e.radius = radius;
        e.lifetime = e.life = mMaxLifetime * (0.4f + 0.6f * util::random01());
        e.distance = std::min(distance, 1.0f);
        e.alpha = 1.0f - 0.75f * std::sqrt(bigness);
        e.group = group;
        e.alive = true;
        ++born;
    }
}

void AnimatorRandom_4::update(float dt, const RotationTransition& rotation,
                              const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const ClassParameters& p = mParameters;
    preUpdate(dt, sound, p);

    getPalette(mPreset.animator.palettes, mPalette);
    // Entry 1 towards entry 2 by the first point weight, then towards entry 3 by the second.
    mixPointEntries(mPalette, 1, 1, mColors);

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;
    out.reserve(mEntities.size());

    const float newestOf[3] = {newest(histories[0]), newest(histories[1]), newest(histories[2])};
    for (uint32_t g = 0; g < 3; ++g) {
        update_threshold(mTriggers[g], newestOf[g]);
    }
    if (!mPaused) {
        const AnimatorRandom_4_Preset::Parameters& landscape =
            mPreset.rotation.at(RotateInfo::Landscape);
        const AnimatorRandom_4_Preset::Parameters& portrait =
            mPreset.rotation.at(RotateInfo::Portrait);
        const float fieldX = mix(landscape.fieldX, portrait.fieldX, rotation.fractionSnapped);
        const float fieldY = mix(landscape.fieldY, portrait.fieldY, rotation.fractionSnapped);
        // The peak trigger first, so a loud beat gets the free slots before the quieter ones.
        for (uint32_t g = 3; g-- > 0;) {
            if (mTriggers[g].triggered) {
                spawn(g, fieldX, fieldY, p.spawnFactor);
            }
        }
    }

    const float step = mPaused ? 0.0f : dt;
    const float kLevel = std::min(6.0f * dt, 1.0f);
    const float kTone = std::min(2.0f * dt, 1.0f);
    for (Entity& e : mEntities) {
        if (!e.alive) {
            continue;
        }
        e.age += step;
        e.life -= step;
        e.x += e.velocityX * p.speedFactor * step;
        e.y += e.velocityY * p.speedFactor * step;
        if (e.life <= 0.0f) {
            e.alive = false;
            e.size = 0.0f;
            continue;
        }
        // The margin grows with the bubble: a large one reaches the screen from far outside.
        if (camera.isOutside(e.x, e.y, std::max(kCullMargin, e.radius))) {
            e.size = 0.0f;
            continue;
        }
        e.level += (newestOf[e.group] - e.level) * kLevel;
        e.tone += (sample(histories[e.group], e.distance) - e.tone) * kTone;
        const float envelope =
            smoothstep(0.0f, mSwellTime, e.age) * smoothstep(0.0f, 0.5f, e.life / e.lifetime);
        e.size = envelope < mMinVisible
                     ? 0.0f
                     : e.radius * (e.level * (1.0f - mLevelFloor) + mLevelFloor) * envelope *
                           mTransition;
        e.color = mix_color(mColors[2 * e.group], mColors[2 * e.group + 1], e.tone);
        e.color.a *= e.alpha;
    }

    for (int layer = 0; layer < 2; ++layer) {
        for (const Entity& e : mEntities) {
            if (!e.alive || (e.radius >= kBackLayerRadius * mCanvasScale) != (layer == 0)) {
                continue;
            }
            if (!camera.isOutside(e.x, e.y, e.size)) {
                out.push_back({e.x, e.y, e.size, e.color});
            }
        }
    }

    for (RelThreshold& trigger : mTriggers) {
        trigger.triggered = false;
    }
    postUpdate(dt, sound);
}

}  // namespace content2020
