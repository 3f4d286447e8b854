#include "visualization/content/2020/animator_random_3.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2020 {

namespace {

using ClassParameters = AnimatorRandom_3_Preset::ParametersSoundClass;

constexpr float kCullMargin = 100.0f;
constexpr float kMinLength = 1.1920929e-7f;  // 2^-23

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
    return withAODPalettes(palettes);
}

}  // namespace

AnimatorRandom_3_Preset::AnimatorRandom_3_Preset()
    : animator(PointMode::CIRCLE_SMALL, buildPalettes(),
               AODMask(4, vec2f{1.1f, 1.7f}, vec2f{0.0f, 0.0f})),
      parameters{
          {SoundClass::Soft, ClassParameters{0, 0, 0, 0, 0}},
          {SoundClass::Slow, ClassParameters{0, 0, 0, 0, 0}},
          {SoundClass::Moderate, ClassParameters{1, 0, 0, 1, 0}},
          {SoundClass::Loud, ClassParameters{1, 1, 0, 1, 1}},
          {SoundClass::Dynamic, ClassParameters{1, 1, 1, 1, 1}},
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

void AnimatorRandom_3::update(float dt, const RotationTransition& rotation,
                              const SoundFrame& sound) {
    const std::vector<float>* histories[3] = {sound.historyMin, sound.historyMid, sound.historyMax};

    blendPaletteMix(parametersFor(mPreset.parameters, sound.soundClassCurrent),
                    parametersFor(mPreset.parameters, sound.soundClassNext), sound.switchProgress,
                    mParameters);
    preUpdate(dt, sound, mParameters);

    update_threshold(mThresholdMin, newest(histories[0]));
    update_threshold(mThresholdMid, newest(histories[1]));
    update_threshold(mThresholdMax, newest(histories[2]));

    getPalette(mPreset.animator.palettes, mPalette);
    mixPointEntries(mPalette, 1, 1, mColors);
    mStarGradient.resize(2);
    mStarGradient[0] = mColors[0];
    mStarGradient[1] = mColors[1];
    const colorf& flareColor = mColors[2];
    const colorf& linkColor = mColors[3];

    OrthographicCamera2d& camera = beginFrame(rotation, mPreset.animator, mPalette);
    std::vector<Instance>& out = mRenderState.instances;

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
        e.inView = !camera.isOutside(e.restX, e.restY, kCullMargin);
        if (!e.inView) {
            continue;
        }
        const auto frames = static_cast<size_t>(e.phase * static_cast<float>(mHistorySpan));
        e.level += (element(histories[e.group], frames) - e.level) * k8;

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
        if (!a.inView || !b.inView) {
            continue;
        }
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
