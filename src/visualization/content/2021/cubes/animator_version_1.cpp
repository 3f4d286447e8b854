#include "visualization/content/2021/cubes/animator_version_1.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2021/cubes/palettes.h"
#include "visualization/log.h"
#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021::cubes {

namespace {

using Parameters = Animator_Version_1::SoundClassParameters;

constexpr float kHalfPi = math::kPi * 0.5f;
constexpr float kSettled = 0.01f;
constexpr float kBandSmoothing = 0.92f;
constexpr float kDriftPerFrame = 0.005f;

// driftRate, rotationEasing, scaleEasing, reactiveProbability, bandScale, layerTurnProbability,
// layerTurnAxes, blockTurnRange, turnBlockAll, pulseAmount, cellSpread, spreadBandScale,
// spreadEasing, hideCells, beatSpread, tilt.
const std::map<SoundClass, Parameters> kParameters = {
    {SoundClass::Soft,
     {1.0f, 1.5f, 4, 0.3f, 0.06f, 0, {0, 0, 0}, 1, 0, 0.2f, 0.04f, 0.1f, 2, 0, 0, 0.1f}},
    {SoundClass::Slow,
     {0.6f, 2, 4, 0.4f, 0.08f, 0, {0, 0, 0}, 1, 0, 0.3f, 0.06f, 0.12f, 2, 0, 0, 0.15f}},
    {SoundClass::Calm,
     {0.8f, 2, 5, 0.4f, 0.08f, 0, {0, 0, 0}, 1, 0, 0.3f, 0.05f, 0.12f, 2, 0, 0, 0.1f}},
    {SoundClass::Light,
     {1.2f, 3, 6, 0.5f, 0.07f, 0, {0, 0, 0}, 1, 0, 0.4f, 0.08f, 0.15f, 3, 1, 0, 0.2f}},
    {SoundClass::Moderate,
     {0, 4, 8, 0.5f, 0.1f, 0.6f, {0, 1, 1}, 1, 0, 0.6f, 0.06f, 0.12f, 4, 1, 0.05f, 0}},
    {SoundClass::Loud,
     {0, 5, 10, 0.6f, 0.12f, 0.7f, {1, 1, 1}, 2, 0, 0.8f, 0.08f, 0.15f, 6, 1, 0.08f, 0}},
    {SoundClass::Dynamic,
     {0, 5, 10, 0.6f, 0.12f, 0.8f, {1, 1, 1}, 2, 1, 1.0f, 0.08f, 0.18f, 8, 1, 0.12f, 0}},
    {SoundClass::Dark,
     {0, 3, 10, 0.5f, 0.09f, 0.8f, {1, 0, 1}, 1, 0, 0.8f, 0.04f, 0.12f, 5, 1, 0.1f, 0}},
    {SoundClass::Powerful,
     {0, 6, 12, 0.7f, 0.14f, 0.9f, {1, 1, 1}, 2, 1, 1.0f, 0.1f, 0.2f, 8, 1, 0.15f, 0}},
};

float sign(float random) {
    return random <= 0.5f ? 1.0f : -1.0f;
}

float component(const vec3f& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

math::mat44<float> rotationAbout(int axis, float angle) {
    return axis == 0 ? rotationX(angle) : axis == 1 ? rotationY(angle) : rotationZ(angle);
}

// The Euler angles (X, then Y, then Z) of a rotation; exact for the quarter-turn rotations the
// cells are left in, whose entries are 0 and +-1.
vec3f eulerXYZ(const math::mat44<float>& m) {
    // Row r, column c of the rotation part is m[4c + r].
    const float sinY = std::clamp(m[8], -1.0f, 1.0f);
    const float y = std::asin(sinY);
    if (std::abs(sinY) < 0.9999f) {
        return {std::atan2(-m[9], m[10]), y, std::atan2(-m[4], m[0])};
    }
    // Gimbal lock: x and z turn about the same axis, so z takes none of it.
    return {std::atan2(m[6], m[5]), y, 0.0f};
}

}  // namespace

Animator_Version_1::Animator_Version_1(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height),
      mBlock(createBlock(0, {0.0f, 0.0f, 0.0f}, 2, 2, 4, {1.0f, 1.0f, 1.0f})),
      mOrientations(mBlock.entities.size()) {
    addPalettes(mPreset, paletteTable(1));
    mPreset.parameters = kParameters;
    mScene.cubes.reserve(mBlock.entities.size());
    beginScope("[content2021][cubes][Animator_Version_1][Constructor]");
    createPalettePlaylist(mPreset);
    endScope();
}

Animator_Version_1::~Animator_Version_1() {
    beginScope("[content2021][cubes][Animator_Version_1][Destructor]");
    endScope();
}

void Animator_Version_1::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& orientation) {
    mAccumulatedTime += dt;

    const Spectrum& spectrum = sound.getSpectrum();
    const std::vector<float>& historyMax = spectrum.historyMaxNormalized();
    const std::vector<float>& historyMin = spectrum.historyMinNormalized();
    const float loudest = historyMax.empty() ? 0.0f : historyMax[0];
    update_threshold(mBeatTrigger, loudest);
    update_threshold(mBeatTriggerLow, historyMin.empty() ? 0.0f : historyMin[0]);
    for (size_t i = 0; i < mBands.size() && !historyMax.empty(); ++i) {
        const float level = historyMax[std::min(4 * i, historyMax.size() - 1)];
        mBands[i] = level * (1.0f - kBandSmoothing) + mBands[i] * kBandSmoothing;
    }

    mParameters =
        mixParameters(mPreset.parameters.at(sound.getSoundClassCurrent()),
                      mPreset.parameters.at(sound.getSoundClassNext()), sound.getSwitchProgress());
    const SoundClassParameters& p = mParameters;

    const ColorPalette& palette = updatePalette(mPreset);
    mBackgroundColor = mix_color(palette.background[0], palette.background[1], getBeatImpulse());

    OrthographicCamera3d& camera = mScene.camera;
    camera.aspect = static_cast<float>(mWidth) / static_cast<float>(mHeight);
    camera.baseSize = 1.35f;
    camera.rotationMode = 3;
    camera.update(orientation);

    const float easeStill = std::min(1.0f, p.scaleEasing * dt);
    const float easeTurn = std::min(1.0f, p.rotationEasing * dt);
    if (mBeatTrigger.triggered && p.driftRate == 0.0f &&
        mFramesSinceTurn > kMinFramesBetweenTurns) {
        startTurn();
    }
    if (mBeatTrigger.triggered || mBeatTriggerLow.triggered) {
        rerollCells(mBlock, mAccumulatedTime, p.reactiveProbability);
        if (p.hideCells == 0.0f) {
            for (Entity& cell : mBlock.entities) {
                cell.visible = true;
            }
        }
    }
    updateCells(mBlock, mBands.data(), p.bandScale, easeStill, easeTurn, palette.colors,
                easeTwice(mBands[0]));
    turnBlock(mBlock, easeTurn);
    turnLayers(easeTurn);

    const float spread =
        p.cellSpread + p.spreadBandScale * loudest + p.beatSpread * getBeatImpulse();
    mSpread += (spread - mSpread) * std::min(1.0f, p.spreadEasing * dt);
    for (size_t i = 0; i < mBlock.entities.size(); ++i) {
        mBlock.entities[i].position = mBlock.positions[i] * (1.0f + mSpread);
    }

    mPulse = (1.0f - 0.85f * mPulse) * loudest + 0.85f * mPulse * mPulse;
    const float q = p.pulseAmount;
    const float pulseScale = 1.0f - 0.15f * q + 0.3f * mPulse * q;
    mBlock.transform.multiply(scaling({pulseScale, pulseScale, pulseScale}));

    // Frame-rate independent: the rate is given per frame at 60 frames per second.
    mDrift += kDriftPerFrame * p.driftRate * dt * 60.0f;
    mScene.model = rotationX(p.tilt * std::sin(mAccumulatedTime * 0.3f)) * rotationY(mDrift);

    mScene.cubes.clear();
    appendCubes(mBlock, mFade, mScene.cubes);
    mBeatTriggerLow.triggered = false;
    ++mFramesSinceTurn;
}

void Animator_Version_1::startTurn() {
    const SoundClassParameters& p = mParameters;
    int axes[3];
    int axisCount = 0;
    for (int axis = 0; axis < 3; ++axis) {
        if (component(p.layerTurnAxes, axis) != 0.0f) {
            axes[axisCount++] = axis;
        }
    }
    if (axisCount > 0 && mTurningAxis < 0 && util::random01() < p.layerTurnProbability) {
        mTurningAxis =
            axes[std::min(axisCount - 1, static_cast<int>(util::random01() * axisCount))];
        for (int half = 0; half < 2; ++half) {
            LayerTurn& turn = mLayerTurns[2 * mTurningAxis + half];
            const float angle = -kHalfPi * sign(util::random01());
            turn.target = {mTurningAxis == 0 ? angle : 0.0f, mTurningAxis == 1 ? angle : 0.0f,
                           mTurningAxis == 2 ? angle : 0.0f};
        }
    } else {
        const float range = std::max(1.0f, p.blockTurnRange);
        const float quarters = std::min(range, std::floor(util::random01() * range) + 1.0f);
        const float angle = -kHalfPi * quarters * sign(util::random01());
        mBlock.rotationTarget.y += angle;
        if (p.turnBlockAll != 0.0f) {
            mBlock.rotationTarget.x += angle;
            mBlock.rotationTarget.z += angle;
        }
    }
    mFramesSinceTurn = 0;
}

void Animator_Version_1::turnLayers(float ease) {
    for (size_t i = 0; i < mBlock.entities.size(); ++i) {
        Entity& cell = mBlock.entities[i];
        cell.rotation = eulerXYZ(mOrientations[i]);
        cell.layerRotationA = math::mat44<float>();
    }
    if (mTurningAxis < 0) {
        return;
    }
    bool settled = true;
    for (int half = 0; half < 2; ++half) {
        LayerTurn& turn = mLayerTurns[2 * mTurningAxis + half];
        turn.current = turn.current + (turn.target - turn.current) * ease;
        const float current = component(turn.current, mTurningAxis);
        turn.transform = rotationAbout(mTurningAxis, current);
        settled = settled && std::abs(component(turn.target, mTurningAxis) - current) <= kSettled;
    }
    // A half is every cell on one side of the axis' plane through the centre: turning it about the
    // axis keeps its cells on that side and on the grid, so no two cells ever meet.
    for (size_t i = 0; i < mBlock.entities.size(); ++i) {
        const int half = component(mBlock.positions[i], mTurningAxis) > 0.0f ? 1 : 0;
        mBlock.entities[i].layerRotationA = mLayerTurns[2 * mTurningAxis + half].transform;
    }
    if (settled) {
        settleLayers();
    }
}

void Animator_Version_1::settleLayers() {
    math::mat44<float> exact[2];
    for (int half = 0; half < 2; ++half) {
        const LayerTurn& turn = mLayerTurns[2 * mTurningAxis + half];
        exact[half] = rotationAbout(mTurningAxis, component(turn.target, mTurningAxis));
        // A quarter turn has entries 0 and +-1 only; rounding keeps the grid exact over any
        // number of turns.
        for (float& value : exact[half].m) {
            value = std::round(value);
        }
    }
    for (size_t i = 0; i < mBlock.entities.size(); ++i) {
        vec3f& position = mBlock.positions[i];
        const math::mat44<float>& turn = exact[component(position, mTurningAxis) > 0.0f ? 1 : 0];
        float w = 1.0f;
        turn.transform(position.x, position.y, position.z, w);
        mOrientations[i] = turn * mOrientations[i];
        mBlock.entities[i].rotation = eulerXYZ(mOrientations[i]);
        mBlock.entities[i].layerRotationA = math::mat44<float>();
    }
    for (LayerTurn& turn : mLayerTurns) {
        turn = LayerTurn();
    }
    mTurningAxis = -1;
}

}  // namespace content2021::cubes
