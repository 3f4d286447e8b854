#include "visualization/content/2021/cubes/block.h"

#include <algorithm>
#include <cmath>

#include "visualization/util/noise.h"
#include "visualization/util/random.h"

namespace content2021::cubes {

namespace {

// The cell size is the block's scale over this, whatever the grid: a 2 x 2 x 4 block of scale 1
// is made of the same cells as a 3 x 3 x 3 one.
constexpr float kCellDivisor = 3.0f;
// Noise below this hides a cell; with noise spread over 0..1 most cells qualify, so the cap on
// hidden cells decides how many go and the noise mostly decides which.
constexpr float kHideThreshold = 0.85f;
// Per-axis pace of a block turn: the three angles arrive one after another, so a turn about
// several axes tumbles instead of swinging in a plane.
constexpr vec3f kBlockTurnPace{1.0f, 2.0f, 2.5f};

float cellCentre(uint32_t i, uint32_t count, float cell) {
    return (static_cast<float>(i) + 0.5f) * cell - static_cast<float>(count) * cell * 0.5f;
}

}  // namespace

Block createBlock(int id, const vec3f& position, uint32_t countX, uint32_t countY, uint32_t countZ,
                  const vec3f& scale) {
    Block block;
    block.id = id;
    block.gridSize = {countX, countY, countZ};
    block.cellSize = {scale.x / kCellDivisor, scale.y / kCellDivisor, scale.z / kCellDivisor};
    block.baseTransform = translation(position);
    block.transform = block.baseTransform;
    const size_t count = static_cast<size_t>(countX) * countY * countZ;
    block.entities.resize(count);
    block.initialPositions.resize(count);
    for (uint32_t z = 0; z < countZ; ++z) {
        for (uint32_t y = 0; y < countY; ++y) {
            for (uint32_t x = 0; x < countX; ++x) {
                const vec3f centre{cellCentre(x, countX, block.cellSize.x),
                                   cellCentre(y, countY, block.cellSize.y),
                                   cellCentre(z, countZ, block.cellSize.z)};
                const size_t i = cellIndex(block, x, y, z);
                block.initialPositions[i] = centre;
                block.entities[i].position = centre;
                block.entities[i].scale = block.cellSize;
            }
        }
    }
    block.positions = block.initialPositions;
    return block;
}

size_t cellIndex(const Block& block, uint32_t x, uint32_t y, uint32_t z) {
    return x + static_cast<size_t>(block.gridSize[0]) * y +
           static_cast<size_t>(block.gridSize[0]) * block.gridSize[1] * z;
}

math::mat44<float> translation(const vec3f& offset) {
    math::mat44<float> m;
    m[12] = offset.x;
    m[13] = offset.y;
    m[14] = offset.z;
    return m;
}

math::mat44<float> scaling(const vec3f& factors) {
    math::mat44<float> m;
    m[0] = factors.x;
    m[5] = factors.y;
    m[10] = factors.z;
    return m;
}

math::mat44<float> rotationX(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    math::mat44<float> m;
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
    return m;
}

math::mat44<float> rotationY(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    math::mat44<float> m;
    m[0] = c;
    m[2] = -s;
    m[8] = s;
    m[10] = c;
    return m;
}

math::mat44<float> rotationZ(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    math::mat44<float> m;
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
    return m;
}

math::mat44<float> rotationXYZ(const vec3f& angles) {
    math::mat44<float> m = rotationX(angles.x);
    m.multiply(rotationY(angles.y));
    m.multiply(rotationZ(angles.z));
    return m;
}

void rerollCells(Block& block, float time, float reactiveProbability) {
    int hidden = 0;
    for (size_t i = 0; i < block.entities.size(); ++i) {
        Entity& cell = block.entities[i];
        const float half = static_cast<float>(i) * 0.5f;
        const float t = (math::noise(time + half, half) + 1.0f) * 0.5f;
        cell.visible = !(t < kHideThreshold && hidden < kMaxHiddenCells);
        if (!cell.visible) {
            ++hidden;
        }
        cell.reactive = util::random01() < reactiveProbability;
    }
}

void updateCells(Block& block, const float* bands, float bandScale, float easeStill,
                 float easeReactive, const std::vector<colorf>& colors, float gradient) {
    const colorf sides[3] = {colors[2], colors[6], colors[7]};
    const colorf reactiveSide = sample_color(sides, 3, gradient);
    for (size_t i = 0; i < block.entities.size(); ++i) {
        Entity& cell = block.entities[i];
        const float swell = cell.reactive ? bands[i] * bandScale : 0.0f;
        const float target = (cell.visible ? block.cellSize.x : 0.0f) + swell;
        const float ease = cell.reactive ? easeReactive : easeStill;
        // The x axis leads: cells stay cubes however the three components were left.
        const float size = std::max(0.0f, cell.scale.x + (target - cell.scale.x) * ease);
        cell.scale = {size, size, size};
        cell.colors[FACE_TOP] = colors[0];
        cell.colors[FACE_BOTTOM] = colors[1];
        cell.colors[FACE_LEFT] = cell.colors[FACE_RIGHT] = cell.reactive ? reactiveSide : colors[2];
        cell.colors[FACE_FRONT] = colors[4];
        cell.colors[FACE_BACK] = colors[5];
    }
}

void turnBlock(Block& block, float ease) {
    vec3f& r = block.rotation;
    const vec3f& t = block.rotationTarget;
    // Capped at a full step so that a long frame lands on the target instead of overshooting.
    r.x += (t.x - r.x) * std::min(1.0f, kBlockTurnPace.x * ease);
    r.y += (t.y - r.y) * std::min(1.0f, kBlockTurnPace.y * ease);
    r.z += (t.z - r.z) * std::min(1.0f, kBlockTurnPace.z * ease);
    block.transform = block.baseTransform * rotationXYZ(r);
}

void appendCubes(const Block& block, float fade, std::vector<Cube>& cubes) {
    for (const Entity& cell : block.entities) {
        Cube cube;
        cube.transform = block.transform * cell.layerRotationA;
        cube.transform.multiply(cell.layerRotationB);
        cube.transform.multiply(translation(cell.position));
        cube.transform.multiply(rotationXYZ(cell.rotation));
        cube.transform.multiply(scaling(cell.scale * fade));
        cube.colorTop = cell.colors[FACE_TOP];
        cube.colorBottom = cell.colors[FACE_BOTTOM];
        cube.colorLeft = cell.colors[FACE_LEFT];
        cube.colorRight = cell.colors[FACE_RIGHT];
        cube.colorFront = cell.colors[FACE_FRONT];
        cube.colorBack = cell.colors[FACE_BACK];
        cubes.push_back(cube);
    }
}

float easeTwice(float x) {
    const float s = x * x * (3.0f - 2.0f * x);
    return s * s;
}

}  // namespace content2021::cubes
