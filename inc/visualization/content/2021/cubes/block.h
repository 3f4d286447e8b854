// The grid of cells every cubes animator is built from, and the per-frame steps the three versions
// share: re-rolling which cells hide and which swell with the music, easing the cells toward their
// sizes, easing the block's turn, and turning the cells into cube instances.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "visualization/content/2021/cubes/cube.h"
#include "visualization/util/color.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"

namespace content2021::cubes {

enum Face : size_t { FACE_TOP, FACE_BOTTOM, FACE_LEFT, FACE_RIGHT, FACE_FRONT, FACE_BACK };

// One grid cell of a block.
struct Entity {
    std::array<colorf, 6> colors;       // indexed by Face
    vec3f position;                     // centre inside the block
    vec3f rotation;                     // Euler angles, applied X, then Y, then Z
    vec3f scale;                        // starts at the block's cell size
    math::mat44<float> layerRotationA;  // turn of the horizontal layer holding the cell
    math::mat44<float> layerRotationB;  // turn of the depth slice holding the cell
    bool visible = true;                // false: the cell shrinks to nothing
    bool reactive = false;              // true: the cell's size follows its band level
};

struct Block {
    vec3f origin;
    vec3f rotationTarget;
    vec3f rotation;
    std::array<uint32_t, 3> gridSize{};
    vec3f extent;
    vec3f cellSize;
    std::vector<vec3f> initialPositions;
    std::vector<vec3f> positions;
    math::mat44<float> transform;  // recomputed every frame
    math::mat44<float> baseTransform;
    std::vector<Entity> entities;
    int id = 0;
};

// One group of turning layers. Only one component of the angles turns per group.
struct LayerTurn {
    math::mat44<float> transform;
    vec3f target;
    vec3f current;
};

// Hiding more cells than this leaves too little of a small grid to read as a block.
constexpr int kMaxHiddenCells = 4;

// A block at `position` whose cells, scale / 3 in size whatever the grid, are centred on it.
Block createBlock(int id, const vec3f& position, uint32_t countX, uint32_t countY, uint32_t countZ,
                  const vec3f& scale);

// x + gridSize.x * y + gridSize.x * gridSize.y * z.
size_t cellIndex(const Block& block, uint32_t x, uint32_t y, uint32_t z);

math::mat44<float> translation(const vec3f& offset);
math::mat44<float> scaling(const vec3f& factors);
math::mat44<float> rotationX(float angle);
math::mat44<float> rotationY(float angle);
math::mat44<float> rotationZ(float angle);
// rotationX(angles.x) x rotationY(angles.y) x rotationZ(angles.z).
math::mat44<float> rotationXYZ(const vec3f& angles);

// On a beat: each cell in order is hidden where the noise of time and its index runs low, at most
// kMaxHiddenCells of them, and becomes reactive with the given probability.
void rerollCells(Block& block, float time, float reactiveProbability);

// Eases every cell toward its size (reactive cells swell by bands[i] x bandScale, at easeReactive;
// the others at easeStill) and colours its faces from the palette: top 0, bottom 1, sides 2,
// front 4, back 5; the sides of reactive cells run along the gradient 2, 6, 7 with `gradient`.
void updateCells(Block& block, const float* bands, float bandScale, float easeStill,
                 float easeReactive, const std::vector<colorf>& colors, float gradient);

// Eases the block's angles toward their target, each axis at its own pace, and rebuilds the
// block transform from them.
void turnBlock(Block& block, float ease);

// Appends one cube per cell, in cell order, each shrunk by `fade`.
void appendCubes(const Block& block, float fade, std::vector<Cube>& cubes);

// The component-wise linear mix of two parameter records made of floats only, as every version
// blends the records of the current and the next sound class.
template <typename Parameters>
Parameters mixParameters(const Parameters& a, const Parameters& b, float t) {
    static_assert(
        std::is_trivially_copyable_v<Parameters> && sizeof(Parameters) % sizeof(float) == 0,
        "parameter records hold floats only");
    constexpr size_t n = sizeof(Parameters) / sizeof(float);
    float fa[n];
    float fb[n];
    std::memcpy(fa, &a, sizeof(Parameters));
    std::memcpy(fb, &b, sizeof(Parameters));
    for (size_t i = 0; i < n; ++i) {
        fa[i] += (fb[i] - fa[i]) * t;
    }
    Parameters mixed;
    std::memcpy(&mixed, fa, sizeof(Parameters));
    return mixed;
}

// (x^2 (3 - 2x))^2: an ease that lingers at both ends longer than smoothstep.
float easeTwice(float x);

}  // namespace content2021::cubes
