// What a kaleidoscope animator hands its renderer every frame: the photograph to show, the camera
// that keeps it upright while the screen turns, and the numbers of the fold. Also the easing
// functions the animators share.
#pragma once

#include <cstdint>
#include <string>

#include "visualization/content/abstract_animator.h"
#include "visualization/util/math/vector.h"
#include "visualization/util/orthographic_camera_2d.h"

namespace content2021 {
namespace kaleidoscope {

struct KaleidoscopeParameters {
    float tile = 0.0f;
    vec2f center{0.5f, 0.5f};
    uint32_t segments = 3;  // the shader folds by pi / segments
    float angleOffset = 0.0f;
    float angleRoll = 0.0f;
    vec3f textureOffset{0.0f, 0.0f, 0.0f};
    float zoom = 1.0f;
    float mirror = 0.0f;  // the shader mirrors the picture at mirror + 1
};

struct RenderState {
    OrthographicCamera2d camera;
    std::string imagePath;  // empty until the content hands one over
    KaleidoscopeParameters parameters;
};

class Animator : public ::AbstractAnimator {
public:
    Animator(uint32_t width, uint32_t height) : ::AbstractAnimator(width, height) {}

    // Assigning keeps the string's capacity, so handing over the next photograph of similar
    // path length does not allocate.
    void setImagePath(const std::string& path) { mRenderState.imagePath = path; }
    const std::string& getImagePath() const { return mRenderState.imagePath; }
    const RenderState& getRenderState() const { return mRenderState; }

protected:
    RenderState mRenderState;
};

// fmod that always answers in [0, m).
float posmod(float a, float m);
// The signed shortest turn from a to b, in (-pi, pi].
float deltaAngle(float a, float b);
// A critically damped spring with unlimited speed towards target; velocity is its state. It
// never passes the target.
float smoothDamp(float current, float target, float& velocity, float smoothTime, float dt);
// smoothDamp along the shortest way round the circle.
float smoothDampAngle(float current, float target, float& velocity, float smoothTime, float dt);

}  // namespace kaleidoscope
}  // namespace content2021
