// What the ring animators share: the level-buffer helpers, the segment record and the wedge
// builder, the per-sound-class parameter mix, and the palette tables. All of it runs in the frame
// path and works on buffers the animators own, so nothing here allocates once they are sized.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/util/sound_parameters.h"
#include "visualization/sound_input.h"
#include "visualization/types.h"

namespace content2021 {
namespace ring {

// buffer[i] moves toward data[i] by t; the two must be equally long.
void easeBuffer(std::vector<float>* buffer, const std::vector<float>& data, float t);
// out[i] = in[(i + shift) mod size].
void rotateBuffer(std::vector<float>& out, const std::vector<float>& in, int shift);
// Stretches in over out with a cosine ease between neighbours, so a few bands become a smooth
// ring of many segments.
void resampleCosine(std::vector<float>& out, const std::vector<float>& in);
void resampleNearest(std::vector<float>& out, const std::vector<float>& in);
// The element at trunc(clamp(x, 0, 1) * (size - 1)); 0 for an empty list.
float sample(const std::vector<float>& list, float x);

// One ring segment, placed about the ring's vertical axis.
struct WedgeAxisAligned {
    float angle = 0.0f;             // around the ring, radians
    vec3f scale{1.0f, 1.0f, 1.0f};  // x: share of the arc; y, z: cross-section
    float push = 0.0f;              // radial, as a fraction of the radius
    float roll = 0.0f;              // cross-section about the ring's tangent
    float twist = 0.0f;             // added to roll
    colorf color;
};

// One box per segment into wedges (resized to the segment count).
void buildWedges(const std::vector<WedgeAxisAligned>& segments, const RingGeometry& ring,
                 std::vector<WedgeGeometry>& wedges);

// One segment of a ring that is not a flat circle: it runs from its own position to the next
// segment's, and its cross-section stays upright about that direction.
struct WedgeLineAligned {
    vec3f position;
    vec3f scale{1.0f, 1.0f, 1.0f};  // x: share of the way to the next; y, z: cross-section
    float roll = 0.0f;
    float twist = 0.0f;
    colorf color;
};

// The same for segments placed by position; ring.radius and ring.segmentAngle are not read.
void buildWedges(const std::vector<WedgeLineAligned>& segments, const RingGeometry& ring,
                 std::vector<WedgeGeometry>& wedges);

math::mat44<float> rotateX(float angle);
math::mat44<float> rotateY(float angle);
math::mat44<float> rotateZ(float angle);
math::mat44<float> translate(float x, float y, float z);
math::mat44<float> scale(float x, float y, float z);

// Half turns of the ring about x, y or z, eased toward; a beat starts the next once the last has
// arrived, about another axis than the last and either way round.
struct HalfTurns {
    vec3f target;
    vec3f current;
    float sign = 1.0f;

    void startNext();
    void ease(float rate) { current = current + (target - current) * rate; }
};

// The ring palettes: five palettes, each with one entry per sound-class group, built with
// `colorCount` foreground colours picked from the family's four-colour table (picks names the
// table columns). The AOD list repeats the DEFAULT colours on a black background.
AbstractColorAnimator::Preset makePalettes(const std::vector<int>& picks);

// 16-bit indices address 65536 vertices per pass; the line pass, at 16 lines of four vertices
// per wedge with mid-lines, is the first to run out.
constexpr size_t kMaxVerticesPerPass = 65536;
constexpr size_t kMaxWedges = kMaxVerticesPerPass / (16 * 4);

}  // namespace ring
}  // namespace content2021
