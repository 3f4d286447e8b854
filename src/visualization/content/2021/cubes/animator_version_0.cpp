#include "visualization/content/2021/cubes/animator_version_0.h"

#include <algorithm>
#include <cmath>

#include "visualization/content/2021/cubes/palettes.h"
#include "visualization/log.h"
#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021::cubes {

namespace {

using Parameters = Animator_Version_0::SoundClassParameters;

constexpr float kHalfPi = math::kPi * 0.5f;
constexpr float kTwoPi = math::kPi * 2.0f;
constexpr float kSettled = 0.01f;

// p0, rotationEasing, scaleEasing, reactiveProbability, bandScale, blockTurnRange, p6,
// blockTurnAxis, bandSmoothing, layerExpansion, pulseAmount, turnLayersY, turnLayersZ, turnBlock,
// layerTurnProbability.
const std::map<SoundClass, Parameters> kParameters = {
    {SoundClass::Soft,
     {0.85f, 0.85f, 5.0f, 0.45f, 0.09f, 0.2f, 0.0f, {0, 1, 1}, 0.2f, 0, 0, 0, 0, 1, 0}},
    {SoundClass::Slow,
     {0.85f, 2.0f, 5.0f, 0.5f, 0.2f, 0.9f, 1.0f, {1, 1, 1}, 0.0f, 0, 0, 0, 0, 1, 0.5f}},
    {SoundClass::Calm,
     {0.85f, 2.0f, 5.0f, 0.5f, 0.2f, 0.9f, 1.0f, {0, 1, 1}, 0.0f, 0, 0, 0, 1, 1, 0.5f}},
    {SoundClass::Light,
     {0.85f, 2.0f, 5.0f, 0.6f, 0.02f, 0.9f, 1.0f, {0, 1, 1}, 0.8f, 0, 1, 0, 1, 1, 0.5f}},
    {SoundClass::Moderate,
     {3.0f, 5.0f, 10.0f, 0.45f, 0.2f, 1.0f, 1.0f, {0, 1, 1}, 0.0f, 0, 1, 0, 0, 1, 0}},
    {SoundClass::Loud,
     {3.0f, 6.0f, 10.0f, 0.593f, 0.134f, 1.0f, 1.0f, {1, 1, 1}, 0.0f, 1, 1, 0, 0, 1, 0}},
    {SoundClass::Dynamic,
     {3.0f, 2.0f, 10.0f, 0.593f, 0.134f, 1.0f, 1.0f, {1, 1, 1}, 0.0f, 1, 1, 1, 0, 0, 1}},
    {SoundClass::Dark,
     {3.0f, 2.0f, 10.0f, 0.593f, 0.134f, 1.0f, 1.0f, {1, 1, 1}, 0.0f, 1, 1, 1, 1, 0, 1}},
    {SoundClass::Powerful,
     {3.0f, 2.0f, 10.0f, 0.4f, 0.1f, 0.0f, 1.0f, {1, 1, 1}, 0.0f, 1, 1, 1, 1, 1, 0.75f}},
};

float sign(float random) {
    return random <= 0.5f ? 1.0f : -1.0f;
}

bool roundsToOne(float random) {
    return std::round(random) == 1.0f;
}

float newestOf(const std::vector<float>& history) {
    return history.empty() ? 0.0f : history[0];
}

float at(const std::vector<float>& history, size_t index) {
    return history.empty() ? 0.0f : history[std::min(index, history.size() - 1)];
}

bool near(float a, float b) {
    return std::abs(a - b) <= kSettled;
}

}  // namespace

Animator_Version_0::Animator_Version_0(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height),
      mBlock(createBlock(0, {0.0f, 0.0f, 0.0f}, 3, 2, 3, {0.8f, 0.8f, 0.8f})),
      mLowerLayer{0, 1, 2, 6, 7, 8, 12, 13, 14},
      mUpperLayer{3, 4, 5, 9, 10, 11, 15, 16, 17},
      mSlices{{{0, 1, 2, 3, 4, 5}, {6, 7, 8, 9, 10, 11}, {12, 13, 14, 15, 16, 17}}} {
    addPalettes(mPreset, paletteTable(0));
    mPreset.parameters = kParameters;
    mScene.cubes.reserve(mBlock.entities.size());
    beginScope("[content2021][cubes][Animator_Version_0][Constructor]");
    createPalettePlaylist(mPreset);
    endScope();
}

Animator_Version_0::~Animator_Version_0() {
    beginScope("[content2021][cubes][Animator_Version_0][Destructor]");
    endScope();
}

void Animator_Version_0::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& orientation) {
    mAccumulatedTime += dt;

    const Spectrum& spectrum = sound.getSpectrum();
    const std::vector<float>& historyMin = spectrum.historyMinNormalized();
    const std::vector<float>& historyMax = spectrum.historyMaxNormalized();
    update_threshold(mBeatTrigger, newestOf(historyMax));
    update_threshold(mBeatTriggerLow, newestOf(historyMin));

    // The smoothing of the previous frame's mix: the parameters of this frame are mixed below.
    const float s = mParameters.bandSmoothing;
    for (size_t i = 0; i < mBandsLow.size(); ++i) {
        mBandsLow[i] = at(historyMin, 4 * i) * (1.0f - s) + mBandsLow[i] * s;
        mBandsHigh[i] = at(historyMax, 4 * i) * (1.0f - s) + mBandsHigh[i] * s;
    }

    mParameters =
        mixParameters(mPreset.parameters.at(sound.getSoundClassCurrent()),
                      mPreset.parameters.at(sound.getSoundClassNext()), sound.getSwitchProgress());
    mParameters.layerExpansion = std::min(1.0f, 2.0f * easeTwice(mParameters.layerExpansion));
    mBlockTurnAxis = {std::floor(mParameters.blockTurnAxis.x),
                      std::floor(mParameters.blockTurnAxis.y),
                      std::floor(mParameters.blockTurnAxis.z)};

    const ColorPalette& palette = updatePalette(mPreset);
    mBackgroundColor = mix_color(palette.background[0], palette.background[1], getBeatImpulse());

    OrthographicCamera3d& camera = mScene.camera;
    camera.aspect = static_cast<float>(mWidth) / static_cast<float>(mHeight);
    camera.baseSize = 1.35f;
    camera.rotationMode = 3;
    camera.update(orientation);

    animateBlock(dt, palette.colors);

    const float loudest = newestOf(historyMax);
    mPulse = (1.0f - 0.75f * mPulse) * loudest + 0.75f * mPulse * mPulse;
    const float pulseScale = 1.0f + mPulse * 0.4f * mParameters.pulseAmount;
    mPulseMatrix = scaling({pulseScale, pulseScale, pulseScale});
    mBlock.transform.multiply(mPulseMatrix);

    mScene.cubes.clear();
    appendCubes(mBlock, mFade, mScene.cubes);

    // The base trigger's flag is cleared by the base once the frame is done; it still needs it
    // to count the frames since the beat.
    mBeatTriggerLow.triggered = false;
}

void Animator_Version_0::startTurn() {
    const SoundClassParameters& p = mParameters;
    if (p.turnLayersY == 0.0f && p.turnLayersZ == 0.0f) {
        mBlock.rotationTarget =
            mBlock.rotationTarget + mBlockTurnAxis * (-kHalfPi * sign(util::random01()));
    } else if (util::random01() < p.layerTurnProbability && mLayersSettled) {
        mLayersSettled = false;
        if (util::random01() < 0.5f && p.turnLayersY != 0.0f) {
            const bool lower = roundsToOne(util::random01());
            LayerTurn& layer = mLayerTurns[lower ? 0 : 1];
            layer.target.y += kTwoPi * sign(util::random01());
        } else {
            const bool first = roundsToOne(util::random01());
            const bool second = roundsToOne(util::random01());
            const bool third =
                !first && !second ? true : !(first && second) && roundsToOne(util::random01());
            const bool turns[3] = {first, second, third};
            for (size_t k = 0; k < 3; ++k) {
                if (turns[k]) {
                    mLayerTurns[2 + k].target.z += kTwoPi * sign(util::random01());
                }
            }
        }
    } else if (p.turnBlock != 0.0f) {
        const float quarters = std::round(util::random01() * p.blockTurnRange + 1.0f);
        mBlock.rotationTarget = mBlock.rotationTarget + mBlockTurnAxis * (quarters * -kHalfPi);
    }
    mFramesSinceTurn = 0;
}

void Animator_Version_0::animateBlock(float dt, const std::vector<colorf>& colors) {
    const float easeStill = std::min(1.0f, mParameters.scaleEasing * dt);
    const float easeTurn = std::min(1.0f, mParameters.rotationEasing * dt);

    if (mBeatTrigger.triggered && mFramesSinceTurn > mMinFramesBetweenTurns) {
        startTurn();
    }
    if (mBeatTrigger.triggered || mBeatTriggerLow.triggered) {
        rerollCells(mBlock, mAccumulatedTime, mParameters.reactiveProbability);
    }

    const float b = mBandsLow[0];
    updateCells(mBlock, mBandsLow.data(), mParameters.bandScale, easeStill, easeTurn, colors,
                easeTwice(b));
    turnBlock(mBlock, easeTurn);

    for (size_t k = 0; k < mLayerTurns.size(); ++k) {
        LayerTurn& turn = mLayerTurns[k];
        turn.current = turn.current + (turn.target - turn.current) * easeTurn;
        turn.transform = k < 2 ? rotationY(turn.current.y) : rotationZ(turn.current.z);
    }

    const float expansion = mParameters.layerExpansion;
    for (size_t k = 0; k < mLowerLayer.size(); ++k) {
        Entity& lower = mBlock.entities[mLowerLayer[k]];
        lower.scale = lower.scale * expansion;
        lower.layerRotationA = mLayerTurns[0].transform;
        Entity& upper = mBlock.entities[mUpperLayer[k]];
        upper.position.y = mBlock.cellSize.y * 0.5f * expansion;
        upper.layerRotationA = mLayerTurns[1].transform;
    }
    for (size_t k = 0; k < mSlices.size(); ++k) {
        for (size_t cell : mSlices[k]) {
            mBlock.entities[cell].layerRotationB = mLayerTurns[2 + k].transform;
        }
    }

    mLayersSettled = true;
    for (size_t k = 0; k < mLayerTurns.size(); ++k) {
        const LayerTurn& turn = mLayerTurns[k];
        mLayersSettled = mLayersSettled && (k < 2 ? near(turn.current.y, turn.target.y)
                                                  : near(turn.current.z, turn.target.z));
    }
    ++mFramesSinceTurn;
}

}  // namespace content2021::cubes
