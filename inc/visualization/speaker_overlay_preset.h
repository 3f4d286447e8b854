// Timing and geometry of the start-up speaker rings, one parameter record per speaker
// configuration. Radii are in units of an eighth of the screen width, delays in wave cycles.
#pragma once

#include <cstdint>
#include <map>

#include "visualization/types.h"

struct SpeakerOverlayPreset {
    struct Parameters {
        float topRadius = 0.0f;  // 0: no source at that edge
        float sideRadius = 0.0f;
        float bottomRadius = 0.0f;
        float topDelay = 0.0f;
        float sideDelay = 0.0f;
        float bottomDelay = 0.0f;
        float waveLag = 0.0f;       // the second wave follows the first by this many cycles
        uint32_t bottomCount = 2;   // 1, 2 or 3 bottom sources
        float bottomSpread = 0.0f;  // outward shift of the outer bottom sources, in width / 4
    };

    SpeakerOverlayPreset();

    float cycleDuration = 4.5f;  // seconds for a wave to cross its source's radius
    std::map<SpeakerInfo, Parameters> parameters;
};
