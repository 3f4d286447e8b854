// The base of the ring animators and what they hand to the renderer: every frame an animator
// turns its segments into boxes (wedges) around the ring and places them with its camera and two
// model matrices; the renderer draws the boxes' edges as thick lines with round corners.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/abstract_color_animator.h"
#include "visualization/content/util/animator_data_util.h"
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

struct RingGeometry {
    float radius = 0.0f;
    float width = 0.0f;  // full side of the square cross-section
    float segmentAngle = 0.0f;
    // Half turns of roll across the ring; the last segment closes it onto the first.
    int rollTurns = 1;
};

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

// A version's palettes, line width and sound-class table.
template <class Parameters>
struct RingPreset : AbstractColorAnimator::Preset {
    float lineWidth = 1.85f;  // pixels
    std::map<SoundClass, Parameters> parameters;
};

// What the versions share: the camera, the beat trigger, the spin and twist, and the bands eased
// around the ring. Each version keeps its segments, its parameters and what it does with them.
class AbstractAnimator : public AbstractColorAnimator {
public:
    ~AbstractAnimator() override;

    const Scene& getScene() const { return mScene; }

protected:
    // name: the version's class, for its log scopes; fov in degrees; far 0 keeps the camera's.
    AbstractAnimator(uint32_t width, uint32_t height, const char* name, uint32_t segmentCount,
                     float fov, float far = 0.0f);

    // The end of a version's constructor, once it has filled its preset.
    void createPalettes(const AbstractColorAnimator::Preset& preset);
    // Every frame: the line width in clip units and the camera looking from eye at center.
    void placeCamera(float lineWidth, const vec3f& eye, const vec3f& center,
                     const RotationTransition& rotation);
    // The smoothed bands, turned by mBandOffset and closed into a loop, spread with a cosine over
    // the segments, sharpened so that only the peaks stand out, and eased into mEased.
    void easeBandsAroundRing(const SoundInput& sound, float dt);

    Scene mScene;
    const uint32_t mSegmentCount;
    RingGeometry mRing;
    RelThreshold mTrigger{0.35f, 0.65f};
    float mPhase = 0.0f;
    float mTwist = 0.0f;
    float mTwistDirection = 1.0f;
    float mImpulse = 0.0f;
    float mLevel = 0.0f;
    std::vector<float> mBands;
    int mBandOffset = 0;
    std::vector<float> mResampled;  // one a segment
    std::vector<float> mEased;      // one a segment

private:
    const char* mName;
};

}  // namespace ring
}  // namespace content2021
