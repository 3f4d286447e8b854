// Two tubes chase a trail through space. The trail heads for a target inside a box and picks a
// new one when it arrives or on a high beat; each tube's head circles the trail on its own side;
// a low beat swaps the tubes' gradients and, in the powerful classes, their thickness; the camera
// drifts after the trail and leans in with the level.
#pragma once

#include <cstdint>
#include <map>

#include "visualization/content/2021/lines/abstract_animator.h"
#include "visualization/content/2021/lines/line.h"
#include "visualization/content/util/animator_data_util.h"
#include "visualization/util/math/scalar.h"

namespace content2021 {
namespace lines {

class Animator_Version_0 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float cameraFollow;
        float colorSwap;
        float cameraZoom;
        float radiusBase;
        float radiusToggleMix;
        float radiusFactorA;
        float radiusFactorB;
        float trailSpeed;
    };

    struct Preset : AbstractColorAnimator::Preset {
        std::map<SoundClass, SoundClassParameters> parameters;
    };

    // The point a tube's head circles: on a circle about the trail's heading.
    struct Orbit {
        vec3f point;
        vec3f angle;
        vec3f offset;
    };

    struct Trail {
        vec3f target;
        vec3f position;
        vec3f heading{0.0f, 0.0f, 1.0f};
        // Rebuilt from the heading every frame; the third axis is the heading.
        vec3f frame[3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
        float orbitSpeed = 4.0f;  // radians per second
        float reserved = 0.0f;
        // The orbit widens to 0.25 near the target and narrows to orbitRadiusFar on the way.
        float orbitRadiusFar = 0.135f;
        float orbitRadius = 0.135f;
        float turnEasing = 0.001f;
        float minSpeed = 0.05f;
        float speedFactor = 3.5f;
        Orbit orbits[2] = {{{}, {}, {0.0f, 0.0f, 0.0f}}, {{}, {}, {0.0f, 0.0f, math::kPi}}};
    };

    Animator_Version_0(uint32_t width, uint32_t height);

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    void pickTarget(const vec3f& min, const vec3f& max);
    void moveTrail(float dt, float trailSpeed);

    Preset mPreset;
    Line mLines[2];
    Trail mTrail;
    vec3f mBoundsMin{-1.0f, -0.5f, -0.5f};
    vec3f mBoundsMax{1.0f, 0.5f, 1.0f};
    RelThreshold mTriggerHigh{0.35f, 0.65f};
    RelThreshold mTriggerLow{0.35f, 0.65f};
    float mLevel = 0.0f;
    float mImpulse = 0.0f;
    float mFov = 65.0f;
    float mFar = 10.0f;
    float mCameraDistance = 1.0f;
    float mCameraEasing = 0.75f;
    float mToggle = 0.0f;
    float mToggleSmoothed = 0.0f;
};

}  // namespace lines
}  // namespace content2021
