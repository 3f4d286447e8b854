// Three streams of soft discs flowing out of the screen centre in counter-turning bands: a few
// huge faint glows, a middle band of medium discs and a wide spray of small bright ones. Each
// stream breathes with its own history (quiet, median, peak); a beat on that history swells the
// stream and hurries it outwards.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"

namespace content2020 {

struct AnimatorRandom_5_Preset {
    using ParametersSoundClass = PaletteMixParameters;
    // Chosen by the screen orientation: the bands' extents along x and y in units of half the
    // larger canvas side, so that they fill the upright picture.
    struct Parameters {
        float stretchX = 1.0f;
        float stretchY = 1.0f;
    };

    AnimatorRandom_5_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
    std::map<RotateInfo, Parameters> rotation;
};

class AnimatorRandom_5 : public AbstractAnimator {
public:
    // One stream: disc sizes from sizeMin to sizeMax (full-HD pixels), travelling from inner to
    // outer (in units of half the larger canvas side), with count discs in flight.
    struct Emitter {
        float sizeMin;
        float sizeMax;
        float inner;
        float outer;
        uint32_t count;
    };

    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float angle = 0.0f;     // around the centre, radians
        float phase = 0.0f;     // 0 at the band's inner edge, 1 at its outer edge
        float baseSize = 0.0f;  // half side at full level
        float level = 0.0f;     // the stream's history where the disc is, smoothed
        float alpha = 1.0f;     // large discs are fainter
        uint32_t group = 0;     // emitter index, also the history: 0 quiet, 1 median, 2 peak
    };

    AnimatorRandom_5(uint32_t width, uint32_t height);
    ~AnimatorRandom_5() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    void emit(Entity& e) const;

    AnimatorRandom_5_Preset mPreset;
    std::vector<Entity> mEntities;
    Emitter mEmitters[3] = {{200.0f, 400.0f, 0.4f, 0.65f, 5},
                            {95.0f, 250.0f, 0.145f, 0.4f, 10},
                            {3.45f, 45.0f, 0.245f, 1.0f, 30}};
    // Crossings of the band per second at rest; a beat adds to it.
    float mTravelRates[3] = {1.0f / 14.0f, 1.0f / 9.0f, 1.0f / 5.0f};
    // Neighbouring bands turn against each other, radians per second.
    float mSpins[3] = {0.04f, -0.07f, 0.11f};
    RelThreshold mTriggers[3] = {{0.25f, 0.5f}, {0.35f, 0.65f}, {0.35f, 0.65f}};
    float mPulse[3] = {0.0f, 0.0f, 0.0f};
    float mCanvasScale = 1.0f;  // larger canvas side / 1920

    AnimatorRandom_5_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mColors;
};

}  // namespace content2020
