#include "visualization/content/2020/animator_random_3.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorRandom_3_Preset::ParametersSoundClass;
using Colors = std::initializer_list<const char*>;

constexpr float kPi = 3.1415927f;
constexpr float kCullMargin = 100.0f;
constexpr float kMinLength = 1.1920929e-7f;  // 2^-23

float smoothstep(float e0, float e1, float x) {
    const float t = std::min(std::max((x - e0) / (e1 - e0), 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float newest(const std::vector<float>* list) {
    return list != nullptr && !list->empty() ? (*list)[0] : 0.0f;
}

// The element `frames` back, limited to the list; an empty or missing list reads as silence.
float at(const std::vector<float>* list, size_t frames) {
    if (list == nullptr || list->empty()) {
        return 0.0f;
    }
    return (*list)[std::min(frames, list->size() - 1)];
}

std::vector<colorf> colors(Colors hex) {
    std::vector<colorf> result;
    for (const char* h : hex) {
        result.emplace_back(h);
    }
    return result;
}

// Entries 1 to 3 are the calm, moderate and loud sets; within a set: a dim star, a bright star,
// the flare and the dotted links.
Palette palette(Colors background, Colors calm, Colors moderate, Colors loud) {
    return Palette{colors(background), colors(calm), colors(moderate), colors(loud)};
}

PaletteMap buildPalettes() {
    std::vector<Palette> palettes = {
        palette({"050816", "0B1033", "000000", "2A2F7A"}, {"3D5A80", "98C1D9", "FFFFFF", "5C7AA8"},
                {"98C1D9", "E0FBFC", "EE6C4D", "7FA7D1"}, {"E0FBFC", "FFFFFF", "EE6C4D", "98C1D9"}),
        palette({"071A1A", "0C2B2B", "000201", "1F5C5C"}, {"2A9D8F", "8AD1C2", "F4E285", "3F8C82"},
                {"8AD1C2", "F4E285", "F4A259", "5FB3A6"}, {"F4E285", "FFFFFF", "F4A259", "8AD1C2"}),
        palette({"0E0620", "1D0B3A", "05020D", "4A1A7A"}, {"6A4C93", "B79CED", "FFFFFF", "7E5FAF"},
                {"B79CED", "F0A6CA", "FF4F9A", "9C7FD6"}, {"F0A6CA", "FFFFFF", "FF4F9A", "B79CED"}),
        palette({"02111B", "06243A", "000000", "0E4A6E"}, {"3A7CA5", "A9D6E5", "FFFFFF", "2C6E91"},
                {"A9D6E5", "E8F7FF", "E63946", "6FA9C9"}, {"E8F7FF", "FFFFFF", "E63946", "A9D6E5"}),
        palette({"04130B", "0A2416", "000201", "1D5233"}, {"2D6A4F", "74C69D", "D8F3DC", "40916C"},
                {"74C69D", "B7E4C7", "FFD166", "52B788"}, {"B7E4C7", "FFFFFF", "FFD166", "74C69D"}),
        palette({"0A0E1F", "141B3C", "000000", "2B3A8C"}, {"4361EE", "8DA9FF", "FFB347", "4D5FC4"},
                {"8DA9FF", "FFB347", "FF7B00", "6C85E8"}, {"FFB347", "FFFFFF", "FF7B00", "8DA9FF"}),
        palette({"160A10", "2A1220", "050203", "5C2340"}, {"B5838D", "FFCDB2", "FFFFFF", "9C6B78"},
                {"FFCDB2", "FFB4A2", "6EE7B7", "E5989B"}, {"FFB4A2", "FFFFFF", "6EE7B7", "FFCDB2"}),
        palette({"000814", "001D3D", "000000", "003566"}, {"00B4D8", "90E0EF", "FFFFFF", "0096C7"},
                {"90E0EF", "CAF0F8", "F72585", "48CAE4"}, {"CAF0F8", "FFFFFF", "F72585", "90E0EF"}),
        palette({"140A1A", "26102E", "050203", "4E1F5C"}, {"9D4EDD", "C77DFF", "FFD60A", "7B2CBF"},
                {"C77DFF", "FFD60A", "FF9E00", "9D4EDD"}, {"FFD60A", "FFFFFF", "FF9E00", "C77DFF"}),
        palette({"03050A", "0D1320", "000000", "233452"}, {"6C7A96", "C5CFE3", "FFFFFF", "5A6785"},
                {"C5CFE3", "FFFFFF", "FF5D73", "8E9AB5"}, {"FFFFFF", "FFFFFF", "FF5D73", "C5CFE3"}),
    };
    // The always-on look keeps the stars and drops the background to black.
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
}

}  // namespace

AnimatorRandom_3_Preset::ParametersSoundClass::ParametersSoundClass(float bgMix1, float bgMix2,
                                                                    float bgBeatMix, float ptMix1,
                                                                    float ptMix2)
    : PaletteMixParameters{bgMix1, bgMix2, bgBeatMix, ptMix1, ptMix2} {}

AnimatorRandom_3_Preset::AnimatorRandom_3_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(4, vec2f{1.1f, 1.7f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, ClassParameters(0, 0, 0, 0, 0)},
          {SoundClass::Slow, ClassParameters(0, 0, 0, 0, 0)},
          {SoundClass::Moderate, ClassParameters(1, 0, 0, 1, 0)},
          {SoundClass::Loud, ClassParameters(1, 1, 0, 1, 1)},
          {SoundClass::Dynamic, ClassParameters(1, 1, 1, 1, 1)},
      } {}

AnimatorRandom_3::AnimatorRandom_3(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {
    beginScope("[AnimatorRandom_3][Constructor]");
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    mEntities.reserve(mCount);
    for (uint32_t i = 0; i < mCount; ++i) {
        EntityR e;
        // Drawn in canvas pixels, then moved so that the screen centre is the origin.
        const float canvasX = util::random01() * w;
        const float canvasY = util::random01() * h;
        e.x = e.restX = canvasX - w * 0.5f;
        e.y = e.restY = canvasY - h * 0.5f;
        e.phase = util::random01();
        e.group = i % 3;
        mEntities.push_back(e);
    }
    buildLinks();
    size_t dots = 0;
    for (const Link& link : mLinks) {
        dots += link.dots;
    }
    mRenderState.instances.reserve(mEntities.size() + dots);
    endScope();
}

AnimatorRandom_3::~AnimatorRandom_3() = default;

void AnimatorRandom_3::buildLinks() {
    const size_t n = mEntities.size();
    std::vector<std::pair<float, size_t>> nearest;
    for (size_t i = 0; i < n; ++i) {
        const EntityR& e = mEntities[i];
        nearest.clear();
        for (size_t j = 0; j < n; ++j) {
            const float d = std::hypot(mEntities[j].restX - e.restX, mEntities[j].restY - e.restY);
            // Close pairs would hide their line behind the stars themselves.
            if (j == i || d < mMinLinkLength || d > mLinkReach) {
                continue;
            }
            nearest.emplace_back(d, j);
            std::sort(nearest.begin(), nearest.end());
            if (nearest.size() > mNeighbours) {
                nearest.pop_back();
            }
        }
        for (const auto& candidate : nearest) {
            const auto a = static_cast<uint32_t>(std::min(i, candidate.second));
            const auto b = static_cast<uint32_t>(std::max(i, candidate.second));
            const bool known = std::any_of(mLinks.begin(), mLinks.end(),
                                           [&](const Link& l) { return l.a == a && l.b == b; });
            if (known) {
                continue;
            }
            Link link;
            link.a = a;
            link.b = b;
            const float d = candidate.first;
            link.dots = static_cast<uint32_t>(std::ceil(d / mStarSize)) - 1;
            link.weight = 1.0f - 0.5f * d / mLinkReach;
            mLinks.push_back(link);
        }
    }
}

size_t AnimatorRandom_3::getNumPalettes() const {
    return mPreset.animator.palettes.at(DisplayMode::DEFAULT).size();
}

const ClassParameters& AnimatorRandom_3::parametersFor(SoundClass c) const {
    const auto reduced = SoundClassReduced.find(c);
    const auto found =
        mPreset.parameters.find(reduced != SoundClassReduced.end() ? reduced->second : c);
    return found != mPreset.parameters.end() ? found->second
                                             : mPreset.parameters.at(SoundClass::Moderate);
}

void AnimatorRandom_3::update(float dt, const RotationTransition& rotation,
                              const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blend(parametersFor(sound.soundClassCurrent), parametersFor(sound.soundClassNext),
          sound.switchProgress, mParameters);
    preUpdate(dt, sound, mParameters);

    update_threshold(mThresholdMin, newest(histories[0]));
    update_threshold(mThresholdMid, newest(histories[1]));
    update_threshold(mThresholdMax, newest(histories[2]));

    getPalette(mPreset.animator.palettes, mPalette);
    mColors.resize(4);
    for (size_t i = 0; i < 4; ++i) {
        mColors[i] = mix_color(mix_color(mPalette[1][i], mPalette[2][i], mPointMix1.value),
                               mPalette[3][i], mPointMix2.value);
    }
    mStarGradient.resize(2);
    mStarGradient[0] = mColors[0];
    mStarGradient[1] = mColors[1];
    const colorf& flareColor = mColors[2];
    const colorf& linkColor = mColors[3];

    mRenderState.pointMode = mPreset.animator.pointMode;
    std::vector<Instance>& out = mRenderState.instances;
    out.clear();
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

    if (!mPaused) {
        if (mThresholdMax.triggered) {
            // Picks may repeat; a repeated star simply flares once.
            for (uint32_t i = 0; i < mFlareCount; ++i) {
                const int pick = util::randomInt(0, static_cast<int>(mEntities.size()) - 1);
                mEntities[static_cast<size_t>(pick)].flare = 1.0f;
            }
        }
        if (mThresholdMid.triggered) {
            mLinkPulse = 1.0f;
        }
        if (mThresholdMin.triggered) {
            mDriftDirection = -mDriftDirection;
        }
    }

    const float k1 = std::min(dt, 1.0f);
    const float k8 = std::min(8.0f * dt, 1.0f);
    for (EntityR& e : mEntities) {
        const float flare = e.flare;
        if (!mPaused) {
            e.flare = std::max(e.flare - k1, 0.0f);
        }
        if (camera.isOutside(e.restX, e.restY, kCullMargin)) {
            continue;
        }
        const auto frames = static_cast<size_t>(e.phase * static_cast<float>(mHistorySpan));
        e.level += (at(histories[e.group], frames) - e.level) * k8;

        // Each star circles its place, as far as its level carries it; a flare throws it away
        // from the screen centre and it glides back as the flare fades.
        const float angle = mDriftAngle + e.phase * 2.0f * kPi;
        const float d = std::max(std::sqrt(e.restX * e.restX + e.restY * e.restY), kMinLength);
        const float push = mFlarePush * flare * flare;
        const float reach = mWanderRadius * e.level;
        e.x += (e.restX + std::cos(angle) * reach + e.restX / d * push - e.x) * k8;
        e.y += (e.restY + std::sin(angle) * reach + e.restY / d * push - e.y) * k8;

        // Stars differ in magnitude, so a loud passage does not turn them into even snow.
        const float magnitude = 0.55f + 0.45f * std::fmod(e.phase * 8.0f, 1.0f);
        const float level = std::pow(std::max(e.level, 0.0f), 0.9f) * magnitude;
        e.size = mStarSize * (level * (1.0f + flare) + 1.5f * flare) * mTransition;
        if (!camera.isOutside(e.x, e.y, e.size)) {
            out.push_back({e.x, e.y, e.size,
                           mix_color(sample_color(mStarGradient, level), flareColor, flare)});
        }
    }

    for (const Link& link : mLinks) {
        const EntityR& a = mEntities[link.a];
        const EntityR& b = mEntities[link.b];
        const float level = std::min(a.level, b.level);
        if (level < mLinkThreshold || link.dots == 0) {
            continue;
        }
        const float strength = smoothstep(mLinkThreshold, 0.6f, level) * link.weight;
        const float size = mStarSize * 0.25f * strength * (1.0f + mLinkPulse) * mTransition;
        colorf color = linkColor;
        color.a *= std::min(strength * (0.6f + 0.4f * mLinkPulse), 1.0f);
        const float step = 1.0f / static_cast<float>(link.dots + 1);
        for (uint32_t k = 1; k <= link.dots; ++k) {
            const float t = step * static_cast<float>(k);
            const float x = a.x + (b.x - a.x) * t;
            const float y = a.y + (b.y - a.y) * t;
            if (!camera.isOutside(x, y, size)) {
                out.push_back({x, y, size, color});
            }
        }
    }

    if (!mPaused) {
        mDriftAngle += mDriftDirection * mWanderSpeed * dt;
        mLinkPulse = std::max(mLinkPulse - k1 * 2.0f, 0.0f);
    }
    mThresholdMin.triggered = false;
    mThresholdMid.triggered = false;
    mThresholdMax.triggered = false;
    postUpdate(dt, sound);
}

}  // namespace content2020
