#include "visualization/content/2020/animator_random_1.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorRandom_1_Preset::ParametersSoundClass;

// A steady population under dense beats stays well below this; reserving it keeps the frame
// path free of allocations.
constexpr size_t kReservedParticles = 4096;
constexpr float kMinLength = 1.1920929e-7f;  // 2^-23

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"0A0718", "1C0B33", "05020D", "4B1670"},
                {"3A1C71", "7B2FBF", "D93280", "FFB3DE", "7B2FBF", "D93280", "FF5E9C", "FFFFFF",
                 "D93280", "FF0D87", "00E5FF", "FFFFFF"}),
        palette({"04151A", "0B2A2E", "000201", "1F6F6A"},
                {"0D5C63", "1F8A8A", "3EBCB5", "BFF4EE", "1F8A8A", "3EBCB5", "F16856", "FFFFFF",
                 "3EBCB5", "F16856", "FFD166", "FFFFFF"}),
        palette({"020A24", "00186D", "000000", "0A3DCC"},
                {"0A2A8C", "1E5BFF", "6F9BFF", "D6E2FF", "1E5BFF", "6F9BFF", "FFC300", "FFFFFF",
                 "6F9BFF", "FFC300", "FFE680", "FFFFFF"}),
        palette({"03140A", "0A2614", "000201", "1E5C35"},
                {"146B3A", "19AA4B", "7DDB8C", "E4FFE8", "19AA4B", "7DDB8C", "FF4FA3", "FFFFFF",
                 "7DDB8C", "FF4FA3", "FFE3F1", "FFFFFF"}),
        palette({"140405", "2A0A08", "000000", "5C1A0E"},
                {"7A1E14", "C0392B", "E67E22", "FFD9B3", "C0392B", "E67E22", "F9D56E", "FFFFFF",
                 "E67E22", "F9D56E", "FFF6D6", "FFFFFF"}),
        palette({"061821", "0B2A3A", "000000", "155A78"},
                {"0E4D64", "1E90B8", "7FD8F0", "E6FAFF", "1E90B8", "7FD8F0", "B388FF", "FFFFFF",
                 "7FD8F0", "B388FF", "E8DDFF", "FFFFFF"}),
        palette({"0D0620", "240B36", "030F26", "6B1A4F"},
                {"4A1A6B", "8E2C8A", "E0507A", "FFB3A0", "8E2C8A", "E0507A", "FF9A56", "FFFFFF",
                 "E0507A", "FF9A56", "FFD6A5", "FFFFFF"}),
        palette({"0F1A17", "1E2E2A", "050807", "3C5E55"},
                {"2E6B5E", "41B797", "A8E6CF", "F3FFF9", "41B797", "A8E6CF", "FFAAA5", "FFFFFF",
                 "A8E6CF", "FFAAA5", "FFD3B6", "FFFFFF"}),
        palette({"000814", "001D3D", "000000", "003566"},
                {"003566", "0077B6", "00B4D8", "CAF0F8", "0077B6", "00B4D8", "B5E48C", "FFFFFF",
                 "00B4D8", "B5E48C", "F1FFE0", "FFFFFF"}),
        palette({"1A0A14", "2E1224", "050203", "5E2246"},
                {"5E2246", "9E3F6E", "E8A0BF", "FFE5EF", "9E3F6E", "E8A0BF", "F2C14E", "FFFFFF",
                 "E8A0BF", "F2C14E", "FFF1C1", "FFFFFF"}),
    };
    return withAODPalettes(palettes);
}

void blend(const ClassParameters& a, const ClassParameters& b, float t, ClassParameters& out) {
    blendPaletteMix(a, b, t, out);
    out.countFactor = lerp(a.countFactor, b.countFactor, t);
    out.minRadiusFactor = lerp(a.minRadiusFactor, b.minRadiusFactor, t);
    out.maxRadiusFactor = lerp(a.maxRadiusFactor, b.maxRadiusFactor, t);
    out.minLifeFactor = lerp(a.minLifeFactor, b.minLifeFactor, t);
    out.maxLifeFactor = lerp(a.maxLifeFactor, b.maxLifeFactor, t);
    out.pushFactor = lerp(a.pushFactor, b.pushFactor, t);
}

}  // namespace

AnimatorRandom_1_Preset::AnimatorRandom_1_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(4, vec2f{1.1f, 1.7f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft,
           ClassParameters{{0, 0, 0, 0, 0}, 0.125f, 0.215f, 0.695f, 0.215f, 0.75f, 0.5f}},
          {SoundClass::Slow, ClassParameters{{0, 0, 0, 0, 0}, 0.5f, 0.215f, 0.695f, 0.5f, 1, 0.5f}},
          {SoundClass::Moderate, ClassParameters{{1, 0, 0, 1, 0}, 1, 1, 1, 1, 1, 1}},
          {SoundClass::Loud, ClassParameters{{1, 1, 0, 1, 1}, 3.5f, 1, 1, 1, 1, 5}},
          {SoundClass::Dynamic, ClassParameters{{1, 1, 1, 1, 1}, 3.5f, 0.85f, 1.325f, 1, 1, 10}},
      } {}

AnimatorRandom_1::AnimatorRandom_1(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorRandom_1][Constructor]");
    // No layout: the discs are born on beats. Only the list's room is made here.
    mParticles.reserve(kReservedParticles);
    mRenderState.instances.reserve(kReservedParticles);
    endScope();
}

AnimatorRandom_1::~AnimatorRandom_1() = default;

size_t AnimatorRandom_1::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorRandom_1::spawn(float factor, const ClassParameters& p) {
    const float large = static_cast<float>(std::max(mWidth, mHeight));
    const float radiusMin = mMinRadius * factor * p.minRadiusFactor;
    const float radiusMax = mMaxRadius * factor * p.maxRadiusFactor;
    const float lifeMin = mMinLife * p.minLifeFactor;
    const float lifeMax = mMaxLife * p.maxLifeFactor;
    const auto attempts = static_cast<uint32_t>(
        std::max(std::floor(static_cast<float>(mSpawnCount) * p.countFactor), 0.0f));
    // Every disc born in one frame reads the same history, so a burst pulses as one.
    const auto group = static_cast<uint32_t>(mFrameCounter % 3);
    for (uint32_t i = 0; i < attempts; ++i) {
        const float x = util::randomRange(-0.5f, 0.5f) * large;
        const float y = util::randomRange(-0.5f, 0.5f) * large;
        const float radius = util::randomRange(radiusMin, radiusMax);
        const bool overlaps =
            std::any_of(mParticles.begin(), mParticles.end(), [&](const Entity& o) {
                const float reach = radius + o.radius;
                const float dx = x - o.originX;
                const float dy = y - o.originY;
                return dx * dx + dy * dy <= reach * reach;
            });
        if (overlaps) {
            continue;
        }
        const float span = radiusMax - radiusMin;
        const float u = span > 0.0f ? (radius - radiusMin) / span : 0.0f;
        Entity e;
        e.x = e.originX = x;
        e.y = e.originY = y;
        e.radius = radius;
        e.group = group;
        e.lifetime = e.life = lifeMin + (lifeMax - lifeMin) * u;
        mParticles.push_back(e);
    }
}

void AnimatorRandom_1::update(float dt, const RotationTransition& rotation,
                              const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blend(parametersFor(mPreset.parameters, sound.soundClassCurrent),
          parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
          mParameters);
    const ClassParameters& p = mParameters;
    preUpdate(dt, sound, p);

    update_threshold(mThresholdMin, newest(histories[0]));
    update_threshold(mThresholdMid, newest(histories[1]));
    update_threshold(mThresholdMax, newest(histories[2]));

    getPalette(mPreset.animator.palettes, mPalette);
    mixPointColors(mPalette[1], 4, 4, mGradient);

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;

    if (!mPaused) {
        // The strongest trigger spawns first, so its large discs claim the room.
        if (mThresholdMax.triggered) {
            spawn(mStrongSpawn, p);
        }
        if (mThresholdMid.triggered) {
            spawn(mWeakSpawn, p);
        }
        if (mThresholdMin.triggered) {
            spawn(mWeakSpawn, p);
        }

        const float large = static_cast<float>(std::max(mWidth, mHeight));
        const float k8 = std::min(8.0f * dt, 1.0f);
        const float k32 = std::min(32.0f * dt, 1.0f);
        const float k2 = std::min(2.0f * dt, 1.0f);
        for (Entity& e : mParticles) {
            const std::vector<float>* history = histories[e.group];
            const float t = std::min(std::abs(e.originX) / large, 1.0f);
            const float v = sample(history, t);
            e.level1 += (v - e.level1) * k8;
            e.level3 += (v - e.level3) * k8;
            e.level2 += (newest(history) - e.level2) * k8;
            e.growth = std::min(e.growth + k32, 1.0f);

            const float d =
                std::max(std::sqrt(e.originX * e.originX + e.originY * e.originY), kMinLength);
            const float push =
                std::pow(std::max(e.level1, 0.0f), 1.15f) * mPushDistance * t * p.pushFactor;
            e.x += (e.originX + e.originX / d * push - e.x) * k2;
            e.y += (e.originY + e.originY / d * push - e.y) * k2;
            e.size = e.radius * (e.level2 * 0.875f + 0.125f) * e.growth *
                     std::max(0.0f, e.life / e.lifetime) * mSizeFactor * mTransition;
            e.life -= k2;
        }
        mParticles.erase(std::remove_if(mParticles.begin(), mParticles.end(),
                                        [](const Entity& e) { return e.life <= 0.0f; }),
                         mParticles.end());
    }

    for (const Entity& e : mParticles) {
        if (!camera.isOutside(e.x, e.y, e.size)) {
            out.push_back({e.x, e.y, e.size, sample_color(mGradient, e.level3)});
        }
    }

    mThresholdMin.triggered = false;
    mThresholdMid.triggered = false;
    mThresholdMax.triggered = false;
    postUpdate(dt, sound);
    ++mFrameCounter;
}

}  // namespace content2020
