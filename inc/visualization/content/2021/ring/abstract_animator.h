// The base of the ring animators and what they hand to the renderer: every frame an animator
// turns its segments into boxes (wedges) around the ring and places them with its camera and two
// model matrices; the renderer draws the boxes' edges as thick lines with round corners.
#pragma once

#include <cstdint>
#include <vector>

#include "visualization/content/abstract_color_animator.h"
#include "visualization/util/color.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"
#include "visualization/util/perspective_camera.h"

namespace content2021 {
namespace ring {

// One box of the ring. Corners 0 to 3 are the face at the start of the wedge, 4 to 7 the face at
// its end, corner k + 4 opposite corner k.
struct WedgeGeometry {
    vec3f corners[8];
    float unused[3];
    colorf color;
};
static_assert(sizeof(WedgeGeometry) == 31 * sizeof(float), "a wedge is 31 floats");

// What the renderer reads of an animator each frame.
struct Scene {
    // Its aspect is also the line shader's: lines are widened in clip space.
    PerspectiveCamera camera;
    math::mat44<float> mModelMatrix;
    math::mat44<float> mRingMatrix;
    // Line width in clip units.
    float mThickness = 1.0f;
    std::vector<WedgeGeometry> mWedges;
    // Four more lines per wedge, along its length through the middle of each side.
    bool mDrawMidLines = false;
};

class AbstractAnimator : public AbstractColorAnimator {
public:
    AbstractAnimator(uint32_t width, uint32_t height) : AbstractColorAnimator(width, height) {}

    const Scene& getScene() const { return mScene; }

protected:
    Scene mScene;
};

}  // namespace ring
}  // namespace content2021
