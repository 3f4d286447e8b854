// The base of the lines animators and what they hand to the renderer: a camera, a model matrix
// and the tubes of the frame.
#pragma once

#include <cstdint>
#include <vector>

#include "visualization/content/2021/lines/line.h"
#include "visualization/content/abstract_color_animator.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/perspective_camera.h"

namespace content2021 {
namespace lines {

struct Scene {
    PerspectiveCamera camera;
    math::mat44<float> model;
    std::vector<LineDrawable> lines;
};

class AbstractAnimator : public AbstractColorAnimator {
public:
    AbstractAnimator(uint32_t width, uint32_t height) : AbstractColorAnimator(width, height) {}

    const Scene& getScene() const { return mScene; }

protected:
    Scene mScene;
};

}  // namespace lines
}  // namespace content2021
