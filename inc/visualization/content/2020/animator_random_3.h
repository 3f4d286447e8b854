// A constellation: stars scattered over the screen, each joined to its nearest neighbours by a
// dotted line. Every star twinkles with its own frame of the level history and circles its place
// with the level; peaks make a handful of stars flare out, the median level pulses the links and
// the quiet level turns the drift around.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"
#include "visualization/content/util/animator_data_util.h"

namespace content2020 {

struct AnimatorRandom_3_Preset {
    // Only the palette weights follow the music's class; the motion reacts to levels and beats.
    using ParametersSoundClass = PaletteMixParameters;

    AnimatorRandom_3_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorRandom_3 : public AbstractAnimator {
public:
    struct EntityR {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float restX = 0.0f;  // centred on the screen
        float restY = 0.0f;
        float phase = 0.0f;  // in [0, 1): the history frame read and the start of the circling
        float level = 0.0f;
        float flare = 0.0f;  // 1 when a peak picks the star, decays by one unit per second
        uint32_t group = 0;  // 0 minimum, 1 median, 2 maximum history
        // False while the star is too far off screen to be updated; its level and place are
        // then those of the last frame it was in view, and its links stay dark.
        bool inView = false;
    };

    // Two stars joined by a dotted line, one dot per star size of their rest distance, so the
    // line does not flicker while the stars move.
    struct Link {
        uint32_t a = 0;
        uint32_t b = 0;
        uint32_t dots = 0;
        float weight = 0.0f;  // 1 for touching stars, 0.5 at the reach
    };

    AnimatorRandom_3(uint32_t width, uint32_t height);
    ~AnimatorRandom_3() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    void buildLinks();

    AnimatorRandom_3_Preset mPreset;
    std::vector<EntityR> mEntities;
    std::vector<Link> mLinks;
    uint32_t mCount = 200;
    float mLinkReach = 300.0f;
    uint32_t mHistorySpan = 100;  // frames of history spread over the stars by their phase
    uint32_t mFlareCount = 50;
    uint32_t mNeighbours = 2;
    float mStarSize = 10.0f;
    float mWanderRadius = 100.0f;
    float mWanderSpeed = 1.0f;     // radians per second
    float mLinkThreshold = 0.05f;  // links of quieter stars stay dark
    float mMinLinkLength = 50.0f;
    float mFlarePush = 200.0f;
    float mDriftAngle = 0.0f;
    float mDriftDirection = 1.0f;
    float mLinkPulse = 0.0f;
    RelThreshold mThresholdMin{0.25f, 0.5f};
    RelThreshold mThresholdMid{0.35f, 0.65f};
    RelThreshold mThresholdMax{0.35f, 0.65f};

    // Per-frame scratch kept for its capacity.
    AnimatorRandom_3_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mColors;
    std::vector<colorf> mStarGradient;
};

}  // namespace content2020
