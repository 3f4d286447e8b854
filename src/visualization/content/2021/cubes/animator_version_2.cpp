#include "visualization/content/2021/cubes/animator_version_2.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2021/cubes/palettes.h"
#include "visualization/log.h"
#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021::cubes {

namespace {

using Parameters = Animator_Version_2::SoundClassParameters;

constexpr float kHalfPi = math::kPi * 0.5f;
constexpr float kTwoPi = math::kPi * 2.0f;
constexpr float kSettled = 0.01f;
constexpr float kBandSmoothing = 0.92f;
// The row's cells read the first bands, the small cube's the ones after them.
constexpr size_t kFirstBandB = 3;
// Centres the pair on screen: the small cube sits further from the centre than the row.
const vec3f kSceneOffset{0.35f, 0.0f, 0.0f};

// reactiveProbability, rotationEasing, bandScale, scaleEasing, layerTurnProbabilityA,
// layerTurnProbabilityB, blockTurnRange, turnBlockA, turnBlockB, slideProbability, slideEasing,
// pulseAmount, hideCells, reactiveSpin.
const std::map<SoundClass, Parameters> kParameters = {
    {SoundClass::Soft, {0.98f, 4, 0.09f, 5, 0.3f, 0.3f, 1, 1, 0, 0.5f, 1, 0.2f, 0, 0.3f}},
    {SoundClass::Slow, {0.9f, 2, 0.08f, 5, 0.5f, 0.5f, 1, 1, 1, 0.5f, 1, 0.3f, 0, 0.3f}},
    {SoundClass::Calm, {0.8f, 2, 0.08f, 5, 0.5f, 0.5f, 1, 1, 1, 0.6f, 1.5f, 0.3f, 0, 0.4f}},
    {SoundClass::Light, {0.7f, 3, 0.07f, 6, 0.6f, 0.4f, 1, 1, 1, 0.6f, 2, 0.5f, 1, 0.5f}},
    {SoundClass::Moderate, {0.6f, 4, 0.1f, 8, 0.5f, 0.5f, 1, 1, 1, 0.7f, 3, 0.6f, 1, 0.6f}},
    {SoundClass::Loud, {0.6f, 5, 0.11f, 10, 0.6f, 0.6f, 2, 1, 1, 0.8f, 4, 0.8f, 1, 0.8f}},
    {SoundClass::Dynamic, {0.6f, 5, 0.11f, 10, 0.8f, 0.8f, 2, 1, 1, 1, 5, 1, 1, 1}},
    {SoundClass::Dark, {0.5f, 3, 0.09f, 10, 0.8f, 0.8f, 1, 0, 1, 0.8f, 3, 0.8f, 1, 0.6f}},
    {SoundClass::Powerful, {0.7f, 6, 0.12f, 12, 0.9f, 0.9f, 2, 1, 1, 1, 6, 1, 1, 1.2f}},
};

float sign(float random) {
    return random <= 0.5f ? 1.0f : -1.0f;
}

float quarterTurns(float range) {
    const float most = std::max(1.0f, range);
    return -kHalfPi * std::min(most, std::floor(util::random01() * most) + 1.0f) *
           sign(util::random01());
}

bool settled(const LayerTurn& turn) {
    return std::abs(turn.target.x - turn.current.x) <= kSettled &&
           std::abs(turn.target.y - turn.current.y) <= kSettled &&
           std::abs(turn.target.z - turn.current.z) <= kSettled;
}

}  // namespace

Animator_Version_2::Animator_Version_2(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height),
      mBlockA(createBlock(0, {0.2f, 0.0f, 0.0f}, 3, 1, 1, {0.85f, 0.85f, 1.7f})),
      mBlockB(createBlock(1, {-1.15f, 0.0f, 0.0f}, 2, 2, 2, {0.85f, 0.85f, 0.85f})),
      mHomeB{-1.15f, 0.0f, 0.0f},
      mOffset{-1.0f, 0.0f, 0.2f + 0.6f * util::random01()} {
    addPalettes(mPreset, paletteTable(2));
    mPreset.parameters = kParameters;
    mScene.cubes.reserve(mBlockA.entities.size() + mBlockB.entities.size());
    mScene.model = translation(kSceneOffset);
    beginScope("[content2021][cubes][Animator_Version_2][Constructor]");
    createPalettePlaylist(mPreset);
    endScope();
}

Animator_Version_2::~Animator_Version_2() {
    beginScope("[content2021][cubes][Animator_Version_2][Destructor]");
    endScope();
}

void Animator_Version_2::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& orientation) {
    mAccumulatedTime += dt;

    const Spectrum& spectrum = sound.getSpectrum();
    const std::vector<float>& historyMax = spectrum.historyMaxNormalized();
    const std::vector<float>& historyMin = spectrum.historyMinNormalized();
    const std::vector<float>& historyMid = spectrum.historyMidNormalized();
    const float loudest = historyMax.empty() ? 0.0f : historyMax[0];
    update_threshold(mBeatTrigger, loudest);
    update_threshold(mBeatTriggerLow, historyMin.empty() ? 0.0f : historyMin[0]);
    update_threshold(mBeatTriggerSlide, historyMid.empty() ? 0.0f : historyMid[0]);
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

    if (mBeatTrigger.triggered && mFramesSinceTurn[0] > kMinFramesBetweenTurns) {
        turnRow();
    }
    if (mBeatTriggerLow.triggered && mFramesSinceTurn[1] > kMinFramesBetweenTurns) {
        turnSmallCube();
    }
    if (mBeatTriggerSlide.triggered && mFramesSinceTurn[2] > kMinFramesBetweenTurns) {
        if (util::random01() < p.slideProbability) {
            mSlidOut = !mSlidOut;
        }
        mFramesSinceTurn[2] = 0;
    }
    if (mBeatTrigger.triggered || mBeatTriggerLow.triggered) {
        for (Block* block : {&mBlockA, &mBlockB}) {
            rerollCells(*block, mAccumulatedTime + static_cast<float>(block->id) * 7.0f,
                        p.reactiveProbability);
            if (p.hideCells == 0.0f) {
                for (Entity& cell : block->entities) {
                    cell.visible = true;
                }
            }
        }
        // Hiding one of three cells breaks the row; only the small cube loses cells.
        for (Entity& cell : mBlockA.entities) {
            cell.visible = true;
        }
    }

    const float easeStill = std::min(1.0f, p.scaleEasing * dt);
    const float easeTurn = std::min(1.0f, p.rotationEasing * dt);
    const float gradient = easeTwice(mBands[0]);
    updateCells(mBlockA, mBands.data(), p.bandScale, easeStill, easeTurn, palette.colors, gradient);
    updateCells(mBlockB, mBands.data() + kFirstBandB, p.bandScale, easeStill, easeTurn,
                palette.colors, gradient);
    for (size_t i = 0; i < mBlockA.entities.size(); ++i) {
        Entity& cell = mBlockA.entities[i];
        cell.rotation.x = cell.reactive ? mBands[i] * p.reactiveSpin : 0.0f;
    }

    mSlide += ((mSlidOut ? 1.0f : 0.0f) - mSlide) * std::min(1.0f, p.slideEasing * dt);
    const vec3f home = mHomeB + (mOffset - mHomeB) * math::smoothstep(0.0f, 1.0f, mSlide);
    mBlockB.baseTransform = translation(home);
    turnBlock(mBlockA, easeTurn);
    turnBlock(mBlockB, easeTurn);
    animateLayers(easeTurn);

    mPulse = (1.0f - 0.8f * mPulse) * loudest + 0.8f * mPulse * mPulse;
    const float pulseScale = 1.0f + mPulse * 0.3f * p.pulseAmount;
    const math::mat44<float> pulse = scaling({pulseScale, pulseScale, pulseScale});
    mBlockA.transform.multiply(pulse);
    mBlockB.transform.multiply(pulse);

    mScene.cubes.clear();
    appendCubes(mBlockA, mFade, mScene.cubes);
    appendCubes(mBlockB, mFade, mScene.cubes);
    mBeatTriggerLow.triggered = false;
    mBeatTriggerSlide.triggered = false;
    for (uint64_t& frames : mFramesSinceTurn) {
        ++frames;
    }
}

void Animator_Version_2::turnRow() {
    const SoundClassParameters& p = mParameters;
    const bool cellsSettled =
        settled(mLayerTurns[0]) && settled(mLayerTurns[1]) && settled(mLayerTurns[2]);
    if (cellsSettled && util::random01() < p.layerTurnProbabilityA) {
        // At least one cell spins, never all three the same way.
        const size_t first = static_cast<size_t>(std::min(2.0f, util::random01() * 3.0f));
        for (size_t k = 0; k < 3; ++k) {
            if (k == first || util::random01() < 0.5f) {
                mLayerTurns[k].target.x += kTwoPi * (k == first ? 1.0f : -1.0f);
            }
        }
    } else if (p.turnBlockA != 0.0f) {
        mBlockA.rotationTarget.x += quarterTurns(p.blockTurnRange);
    }
    mFramesSinceTurn[0] = 0;
}

void Animator_Version_2::turnSmallCube() {
    const SoundClassParameters& p = mParameters;
    bool layersSettled = true;
    for (size_t k = 3; k < mLayerTurns.size(); ++k) {
        layersSettled = layersSettled && settled(mLayerTurns[k]);
    }
    if (layersSettled && util::random01() < p.layerTurnProbabilityB) {
        // One layer of each kind, in opposite directions, so the cube twists.
        const size_t layer = 3 + (util::random01() < 0.5f ? 0 : 1);
        const size_t slice = 5 + (util::random01() < 0.5f ? 0 : 1);
        const float direction = sign(util::random01());
        if (util::random01() < 0.5f) {
            mLayerTurns[layer].target.y += kTwoPi * direction;
        } else {
            mLayerTurns[slice].target.z -= kTwoPi * direction;
        }
    } else if (p.turnBlockB != 0.0f) {
        const float angle = quarterTurns(p.blockTurnRange);
        mBlockB.rotationTarget = mBlockB.rotationTarget + vec3f{angle, angle, 0.0f};
    }
    mFramesSinceTurn[1] = 0;
}

void Animator_Version_2::animateLayers(float ease) {
    for (size_t k = 0; k < mLayerTurns.size(); ++k) {
        LayerTurn& turn = mLayerTurns[k];
        turn.current = turn.current + (turn.target - turn.current) * ease;
        turn.transform = k < 3   ? rotationX(turn.current.x)
                         : k < 5 ? rotationY(turn.current.y)
                                 : rotationZ(turn.current.z);
    }
    for (size_t i = 0; i < mBlockA.entities.size(); ++i) {
        mBlockA.entities[i].layerRotationA = mLayerTurns[i].transform;
    }
    // The small cube's cell i has y = (i / 2) % 2 and z = i / 4.
    for (size_t i = 0; i < mBlockB.entities.size(); ++i) {
        Entity& cell = mBlockB.entities[i];
        cell.layerRotationA = mLayerTurns[3 + (i / 2) % 2].transform;
        cell.layerRotationB = mLayerTurns[5 + i / 4].transform;
    }
}

}  // namespace content2021::cubes
