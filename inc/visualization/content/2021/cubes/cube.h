// What the cubes animators hand to the renderer: one record per cube in the layout the instanced
// program reads straight from the buffer, and the scene those records are seen in.
#pragma once

#include <vector>

#include "visualization/util/color.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/orthographic_camera_3d.h"

namespace content2021::cubes {

// One instance: 40 consecutive floats. "Left" and "right" follow the program's attribute names:
// the face at +x takes colorLeft.
struct Cube {
    math::mat44<float> transform;  // unit cube to world
    colorf colorTop;               // +y
    colorf colorBottom;            // -y
    colorf colorLeft;              // +x
    colorf colorRight;             // -x
    colorf colorFront;             // +z
    colorf colorBack;              // -z
};

static_assert(sizeof(Cube) == 160, "a cube instance is 40 tightly packed floats");

// Filled by the current animator every frame; the cube list keeps its capacity between frames.
struct Scene {
    OrthographicCamera3d camera;
    math::mat44<float> model;
    std::vector<Cube> cubes;
};

}  // namespace content2021::cubes
