#include "visualization/content/2020/animator_random_2.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorRandom_2_Preset::ParametersSoundClass;
using Group = AnimatorRandom_2_Preset::GroupParameters;

// Room for the largest swarm plus a whole swarm still fading out after a change of class, so
// the frame path never grows the lists.
constexpr size_t kReservedSparks = 2048;
constexpr size_t kTrailDots = 5;
constexpr float kTrailStep = 0.04f;      // seconds of motion between streak dots
constexpr float kTrailMinSpeed = 30.0f;  // px/s below which a streak would hide under its spark

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"07051A", "160A30", "000000", "3A1466"},
                {"FFE8A3", "FF8FAB", "7B4DFF", "FFF3C4", "FF5C8A", "9B6BFF", "FFFFFF", "FF2E6E",
                 "00E5FF"}),
        palette({"021417", "06282C", "000201", "0F5257"},
                {"D8FFF4", "3EBCB5", "1F6F8B", "FFFFFF", "5FE0D0", "F16856", "FFFFFF", "FFD166",
                 "F16856"}),
        palette({"0A0A0A", "1A1410", "000000", "4A2A10"},
                {"FFE5B4", "FF9F1C", "C2410C", "FFF1D6", "FFB703", "E85D04", "FFFFFF", "FFD60A",
                 "FF4800"}),
        palette({"020A24", "00186D", "000000", "0A3DCC"},
                {"CFE3FF", "4F8BFF", "1E3A8A", "FFFFFF", "6FA8FF", "7C3AED", "FFFFFF", "00E5FF",
                 "C026D3"}),
        palette({"03140A", "0A2614", "000201", "1E5C35"},
                {"E4FFE8", "7DDB8C", "19AA4B", "FFFFFF", "B5E48C", "2D9CDB", "FFFFFF", "F9F871",
                 "00C2A8"}),
        palette({"1A0A14", "2E1224", "050203", "5E2246"},
                {"FFE5EF", "E8A0BF", "9E3F6E", "FFFFFF", "F2C14E", "D93280", "FFFFFF", "FFE066",
                 "FF0D87"}),
        palette({"061821", "0B2A3A", "000000", "155A78"},
                {"E6FAFF", "7FD8F0", "1E90B8", "FFFFFF", "B388FF", "1E90B8", "FFFFFF", "E8DDFF",
                 "7F5AF0"}),
        palette({"120F08", "241C0E", "000000", "4D3B12"},
                {"FFF6D6", "F9D56E", "B08968", "FFFFFF", "F9D56E", "E07A5F", "FFFFFF", "FFE8A3",
                 "E63946"}),
        palette({"000814", "001D3D", "000000", "003566"},
                {"CAF0F8", "00B4D8", "0077B6", "FFFFFF", "B5E48C", "0096C7", "FFFFFF", "F1FFE0",
                 "52B788"}),
        palette({"0D0620", "240B36", "030F26", "6B1A4F"},
                {"FFD6A5", "E0507A", "4A1A6B", "FFFFFF", "FF9A56", "8E2C8A", "FFFFFF", "FFD6A5",
                 "E0507A"}),
    };
    return withAODPalettes(palettes);
}

void blend(const ClassParameters& a, const ClassParameters& b, float t, ClassParameters& out) {
    auto lerpGroup = [t](const Group& x, const Group& y) {
        return Group{lerp(x.count, y.count, t), lerp(x.size, y.size, t)};
    };
    blendPaletteMix(a, b, t, out);
    out.kick = lerp(a.kick, b.kick, t);
    out.drag = lerp(a.drag, b.drag, t);
    out.swirl = lerp(a.swirl, b.swirl, t);
    out.group0 = lerpGroup(a.group0, b.group0);
    out.group1 = lerpGroup(a.group1, b.group1);
    out.group2 = lerpGroup(a.group2, b.group2);
}

const Group& groupOf(const ClassParameters& p, uint32_t group) {
    return group == 0 ? p.group0 : group == 1 ? p.group1 : p.group2;
}

}  // namespace

AnimatorRandom_2_Preset::AnimatorRandom_2_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(4, vec2f{1.1f, 1.7f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft,
           ClassParameters{
               {0, 0, 0, 0, 0}, 30, 1.5f, 0.02f, {200, 0.06f}, {80, 0.1f}, {20, 0.18f}}},
          {SoundClass::Slow,
           ClassParameters{
               {0, 0, 0, 0, 0}, 40, 1.5f, 0.03f, {300, 0.06f}, {120, 0.11f}, {30, 0.18f}}},
          {SoundClass::Moderate,
           ClassParameters{{1, 0, 0, 1, 0}, 60, 2, 0.05f, {420, 0.07f}, {160, 0.12f}, {40, 0.2f}}},
          {SoundClass::Loud,
           ClassParameters{
               {1, 1, 0, 1, 1}, 80, 2.5f, 0.06f, {520, 0.075f}, {200, 0.13f}, {50, 0.22f}}},
          {SoundClass::Dynamic,
           ClassParameters{
               {1, 1, 1, 1, 1}, 120, 3, 0.08f, {600, 0.08f}, {220, 0.14f}, {60, 0.24f}}},
      } {}

AnimatorRandom_2::AnimatorRandom_2(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorRandom_2][Constructor]");
    // No layout: the sparks are born during the frames. Only the lists' room is made here.
    mEntities.reserve(kReservedSparks);
    mRenderState.instances.reserve(kReservedSparks * (1 + kTrailDots));
    endScope();
}

AnimatorRandom_2::~AnimatorRandom_2() = default;

size_t AnimatorRandom_2::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

void AnimatorRandom_2::balance(const ClassParameters& p) {
    const OrthographicCamera2d& camera = mRenderState.camera;
    for (uint32_t g = 0; g < 3; ++g) {
        const auto target = static_cast<size_t>(std::max(std::floor(groupOf(p, g).count), 0.0f));
        size_t live = 0;
        for (const EntityR& e : mEntities) {
            live += e.group == g && !e.retired ? 1 : 0;
        }
        // The youngest go first: they have been seen the least.
        for (auto it = mEntities.rbegin(); it != mEntities.rend() && live > target; ++it) {
            if (it->group == g && !it->retired) {
                it->retired = true;
                --live;
            }
        }
        for (uint32_t i = 0; i < mBirthsPerFrame && live < target; ++i, ++live) {
            if (mEntities.size() == mEntities.capacity()) {
                return;
            }
            // Born anywhere in the view, in view coordinates so a turned screen is covered too.
            EntityR e;
            float x = util::randomRange(camera.boundsMin.x, camera.boundsMax.x);
            float y = util::randomRange(camera.boundsMin.y, camera.boundsMax.y);
            camera.fromView(x, y);
            e.x = e.restX = x;
            e.y = e.restY = y;
            e.random = util::random01();
            e.group = g;
            mEntities.push_back(e);
        }
    }
}

void AnimatorRandom_2::update(float dt, const RotationTransition& rotation,
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
    mixPointColors(mPalette[1], 3, 3, mColors);

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;

    const float step = mPaused ? 0.0f : dt;
    if (!mPaused) {
        // Each layer flashes on its own history's trigger; peaks also scatter the whole swarm.
        const RelThreshold* triggers[3] = {&mThresholdMin, &mThresholdMid, &mThresholdMax};
        for (size_t g = 0; g < 3; ++g) {
            if (triggers[g]->triggered) {
                mFlashes[g] = 1.0f;
            }
        }
        if (mThresholdMax.triggered) {
            for (EntityR& e : mEntities) {
                const float speed = mGroupSpeeds[e.group] * p.kick;
                e.vx = util::randomRange(-1.0f, 1.0f) * speed;
                e.vy = util::randomRange(-1.0f, 1.0f) * speed;
            }
        }
        balance(p);
    }

    const float k8 = std::min(8.0f * step, 1.0f);
    const float k2 = std::min(2.0f * step, 1.0f);
    const float keep = std::max(1.0f - p.drag * step, 0.0f);
    const colorf white(1.0f, 1.0f);
    for (EntityR& e : mEntities) {
        const Group& group = groupOf(p, e.group);
        const float flash = mFlashes[e.group];
        e.vx *= keep;
        e.vy *= keep;
        // The swirl turns the field round the centre, the fast layers ahead of the slow ones.
        const float turn = p.swirl * mGroupSpeeds[e.group];
        const float vx = e.vx - e.y * turn;
        const float vy = e.vy + e.x * turn;
        e.x += vx * step;
        e.y += vy * step;
        e.growth = e.retired ? std::max(e.growth - k2, 0.0f) : std::min(e.growth + k2, 1.0f);
        e.level += (sample(histories[e.group], e.random) - e.level) * k8;
        e.size = mSize * group.size * e.level * e.growth * (1.0f + 0.75f * flash) * mTransition;
        camera.wrap(e.x, e.y, e.size);
        if (camera.isOutside(e.x, e.y, e.size)) {
            continue;
        }
        const colorf color = mix_color(mColors[e.group], white, 0.5f * flash);
        out.push_back({e.x, e.y, e.size, color});
        if (vx * vx + vy * vy < kTrailMinSpeed * kTrailMinSpeed) {
            continue;
        }
        for (size_t k = 1; k <= kTrailDots; ++k) {
            const float back = kTrailStep * static_cast<float>(k);
            const float x = e.x - vx * back;
            const float y = e.y - vy * back;
            const float size = e.size * (1.0f - 0.15f * static_cast<float>(k));
            if (!camera.isOutside(x, y, size)) {
                colorf faded = color;
                faded.a *= 0.8f - 0.15f * static_cast<float>(k);
                out.push_back({x, y, size, faded});
            }
        }
    }
    mEntities.erase(std::remove_if(mEntities.begin(), mEntities.end(),
                                   [](const EntityR& e) { return e.retired && e.growth <= 0.0f; }),
                    mEntities.end());

    if (!mPaused) {
        for (float& flash : mFlashes) {
            flash = std::max(flash - 2.0f * std::min(dt, 1.0f), 0.0f);
        }
    }
    mThresholdMin.triggered = false;
    mThresholdMid.triggered = false;
    mThresholdMax.triggered = false;
    postUpdate(dt, sound);
}

}  // namespace content2020
