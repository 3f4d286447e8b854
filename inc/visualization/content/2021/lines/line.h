// One tube of the lines family: a chain of points whose head chases a target and whose other
// points follow like links, each carrying a frame (tangent, normal, binormal) that the renderer
// turns into a ring of vertices. The frames are carried from point to point and from frame to
// frame, so the tube neither twists nor flips while it turns.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "visualization/util/color.h"
#include "visualization/util/math/vector.h"

namespace content2021 {
namespace lines {

struct LinePoint {
    vec3f position;
    vec3f tangent{0.0f, 0.0f, 1.0f};
    vec3f normal{0.0f, 1.0f, 0.0f};
    // tangent x normal: with the other two a left-handed frame, which the mesh winding expects.
    vec3f binormal{-1.0f, 0.0f, 0.0f};
    float radius = 0.0f;
    colorf color;
};
static_assert(sizeof(LinePoint) == 17 * sizeof(float), "a line point is 17 floats");

// What the renderer needs of a tube.
struct LineDrawable {
    std::vector<LinePoint> points;
    uint32_t sides = 0;  // vertices around the tube
};

// The tube's three gradient colours, head to tail.
using LineGradient = std::array<colorf, 3>;

struct Line {
    vec3f head;
    vec3f headTarget;
    // Rest length of the chain when slack is 0; slack shortens it (see update).
    float length = 2.0f;
    // Share of the way to its predecessor a point keeps each frame: small is taut, large lags.
    float slack = 0.25f;
    // Radius along the tube: radiusStart at the head, radiusEnd at the tail, bent by radiusMid.
    float radiusStart = 0.03f;
    float radiusMid = 0.06f;
    float radiusEnd = 0.004f;
    float reserved = 0.0f;
    // Moves the thickness between thicknessMin and thicknessMax, following the music.
    float thicknessMix = 0.0f;
    float thicknessMin = 0.25f;
    float thicknessMax = 1.0f;
    // Share of the distance still left after one second (0 jumps at once).
    float headEasing = 0.05f;
    float followEasing = 0.01f;
    LineDrawable drawable;

    // count points at position, all with the same frame.
    Line(const vec3f& position, size_t count, uint32_t sides);

    // One frame: the head and the chain move, the frames are carried along, and every point takes
    // its colour from the gradient and its radius from the radius rule times radiusFactor.
    void update(float dt, const LineGradient& gradient, float radiusFactor);
};

}  // namespace lines
}  // namespace content2021
