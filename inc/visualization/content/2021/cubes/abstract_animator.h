// The base of the cubes animators: the palette machinery, plus the scene each of them fills for
// the renderer every frame.
#pragma once

#include <cstdint>

#include "visualization/content/2021/cubes/cube.h"
#include "visualization/content/abstract_color_animator.h"

namespace content2021::cubes {

class AbstractAnimator : public AbstractColorAnimator {
public:
    AbstractAnimator(uint32_t width, uint32_t height) : AbstractColorAnimator(width, height) {}

    const Scene& getScene() const { return mScene; }

protected:
    Scene mScene;
};

}  // namespace content2021::cubes
