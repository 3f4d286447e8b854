// One dot of the speaker rings as the renderer draws it.
#pragma once

#include "visualization/util/color.h"
#include "visualization/util/math/vector.h"

struct SpeakerOverlayRenderEntity {
    vec2f position;     // screen pixels, origin top left, y downwards
    float size = 0.0f;  // half side of the quad, pixels
    colorf color;
};
