// Cameras: the picture's up direction turning with the roll part-way through a rotation, and
// culling and wrapping in the rolled view.
#include "visualization/util/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <type_traits>

#include "visualization/util/orthographic_camera_2d.h"
#include "visualization/util/orthographic_camera_3d.h"
#include "visualization/util/perspective_camera.h"

namespace {

// glm is the independent oracle for the library's own matrix code.
glm::mat4 toGlm(const math::mat44<float>& m) {
    return glm::make_mat4(m.data());
}

RotationTransition rotationAt(RotateInfo current, float fractionSmoothed,
                              float fractionSnapped = 0.0f) {
    RotationTransition rotation{};
    rotation.current = rotation.from = rotation.to = current;
    rotation.fractionSmoothed = fractionSmoothed;
    rotation.angleSmoothed = fractionSmoothed * kHalfPi;
    rotation.fractionSnapped = fractionSnapped;
    rotation.angleSnapped = fractionSnapped * kHalfPi;
    return rotation;
}

// Where a world point lands on a screen with square pixels, in units of half the screen height:
// x to the right, y upwards.
glm::vec2 onScreen(const util::AbstractCamera& camera, const glm::vec3& point) {
    const glm::vec4 clip = toGlm(camera.viewProjectionMatrix) * glm::vec4(point, 1.0f);
    return {clip.x / clip.w * camera.aspect, clip.y / clip.w};
}

// The clockwise angle from straight up at which the world direction appears on screen.
float screenAngle(const util::AbstractCamera& camera, const glm::vec3& from, const glm::vec3& to) {
    const glm::vec2 d = onScreen(camera, to) - onScreen(camera, from);
    return std::atan2(d.x, d.y);
}

// A camera of the given kind set up as the contents set theirs, for one frame of a rotation.
template <typename Camera>
Camera cameraAt(const RotationTransition& rotation, float aspect) {
    Camera camera;
    camera.rotationMode = 3;
    camera.aspect = aspect;
    if constexpr (std::is_same_v<Camera, OrthographicCamera2d>) {
        camera.size = 540.0f;
    }
    camera.update(rotation);
    return camera;
}

// Every content rolls its cameras by the snapped angle (rotation mode 3), a quarter turn less on
// an upright screen. The pictures show every camera at rest; part-way through a turn the
// picture's up direction must follow the roll.
TEST(Camera, PictureUpTurnsWithTheSnappedRollPartWayThroughARotation) {
    const RotationTransition rotation = rotationAt(RotateInfo::Landscape, 0.6f, 0.3f);
    for (const float aspect : {16.0f / 9.0f, 9.0f / 16.0f}) {
        const float roll = 0.3f * kHalfPi - (aspect < 1.0f ? kHalfPi : 0.0f);
        // The flat camera's world y grows downwards, so its screen up is world -y.
        const auto flat = cameraAt<OrthographicCamera2d>(rotation, aspect);
        EXPECT_NEAR(screenAngle(flat, {0, 0, 0}, {0, -100, 0}), roll, 1e-4f) << aspect;
        EXPECT_NEAR(screenAngle(flat, {0, 0, 0}, {100, 0, 0}), roll + kHalfPi, 1e-4f) << aspect;
        const auto iso = cameraAt<OrthographicCamera3d>(rotation, aspect);
        EXPECT_NEAR(screenAngle(iso, {0, 0, 0}, {0, 1, 0}), roll, 1e-4f) << aspect;
        const auto perspective = cameraAt<PerspectiveCamera>(rotation, aspect);
        EXPECT_NEAR(screenAngle(perspective, {0, 0, 0}, {0, 0.1f, 0}), roll, 1e-4f) << aspect;
    }
}

TEST(Camera, FlatCameraCullsAndWrapsInTheRolledView) {
    OrthographicCamera2d camera;
    camera.aspect = 16.0f / 9.0f;
    camera.size = 540.0f;
    camera.rotationMode = 3;
    camera.update(rotationAt(RotateInfo::Landscape, 0.0f, 0.0f));
    EXPECT_TRUE(camera.isOutside(0, 0, 0)) << "a point without extent is never visible";
    EXPECT_TRUE(camera.isOutside(970, 0, 10)) << "touching the edge from outside";
    EXPECT_FALSE(camera.isOutside(969.5f, 0, 10));

    // Halfway through a turn the view is rolled: culling happens in view coordinates, which are
    // the eye-space coordinates of the view matrix (with y pointing down).
    camera.update(rotationAt(RotateInfo::Landscape, 0.5f, 0.5f));
    const glm::mat4 view = toGlm(camera.viewMatrix);
    for (const glm::vec2 p : {glm::vec2(300, -200), glm::vec2(-700, 650), glm::vec2(0, 1000)}) {
        float vx = p.x, vy = p.y;
        camera.toView(vx, vy);
        const glm::vec4 eye = view * glm::vec4(p, 0.0f, 1.0f);
        EXPECT_NEAR(vx, eye.x, 1e-2f);
        EXPECT_NEAR(vy, -eye.y, 1e-2f);
        camera.fromView(vx, vy);
        EXPECT_NEAR(vx, p.x, 1e-2f);
        EXPECT_NEAR(vy, p.y, 1e-2f);
        const bool visible = std::fabs(eye.x) < 960.0f - 1.0f && std::fabs(eye.y) < 540.0f - 1.0f;
        EXPECT_EQ(camera.isOutside(p.x, p.y, 1.0f), !visible) << p.x << " " << p.y;
    }
    // A wrapped disc ends up just outside the rolled view, on the far sides: (2000, 0) is beyond
    // the right and the bottom edge of the view turned by an eighth.
    float x = 2000.0f, y = 0.0f;
    camera.wrap(x, y, 10.0f);
    camera.toView(x, y);
    EXPECT_NEAR(x, camera.boundsMin.x - 10.0f, 1e-2f);
    EXPECT_NEAR(y, camera.boundsMin.y - 10.0f, 1e-2f);
}

}  // namespace
