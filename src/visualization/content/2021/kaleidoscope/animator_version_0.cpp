#include "visualization/content/2021/kaleidoscope/animator_version_0.h"

#include <algorithm>
#include <cmath>

#include "visualization/log.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace kaleidoscope {

namespace {

constexpr float kTwoPi = 6.28318530717958647692f;

using Record = Animator_Version_0::SoundClassParameters;

Record mixRecords(const Record& a, const Record& b, float t) {
    auto mix = [t](float x, float y) { return x + (y - x) * t; };
    return Record{mix(a.drift, b.drift),
                  mix(a.levelDrift, b.levelDrift),
                  mix(a.levelRate, b.levelRate),
                  mix(a.beatTurns, b.beatTurns),
                  mix(a.turnTime, b.turnTime),
                  mix(a.segmentsMin, b.segmentsMin),
                  mix(a.segmentsMax, b.segmentsMax),
                  mix(a.mirrorA, b.mirrorA),
                  mix(a.mirrorB, b.mirrorB),
                  mix(a.mirrorTime, b.mirrorTime),
                  mix(a.mirrorOffset, b.mirrorOffset),
                  mix(a.mirrorOffsetTime, b.mirrorOffsetTime),
                  mix(a.offsetJump, b.offsetJump),
                  mix(a.zoom, b.zoom)};
}

size_t classIndex(SoundClass soundClass) {
    return static_cast<size_t>(soundClass);
}

}  // namespace

Animator_Version_0::Animator_Version_0(uint32_t width, uint32_t height) : Animator(width, height) {
    beginScope("[2021][kaleidoscope][Animator_Version_0][Constructor]");
    auto& p = mParameters.soundClasses;
    // clang-format off
    //                                     drift  lDrift  lRate beatTurns turn  sMin sMax mA  mB   mTime mOff  mOffT jump zoom
    p[classIndex(SoundClass::Soft)]     = {0.003f, 0.0015f, 1.35f, 0.0f,    0.5f,   3, 3, 0, 0.0f, 0.5f, 0.0f,  2.5f, 0, 1};
    p[classIndex(SoundClass::Slow)]     = {0.003f, 0.0015f, 1.35f, 0.05f,   0.45f,  3, 3, 0, 0.0f, 0.5f, 0.0f,  2.5f, 0, 1};
    p[classIndex(SoundClass::Calm)]     = {0.003f, 0.002f,  1.9f,  0.05f,   0.45f,  2, 3, 0, 0.0f, 0.5f, 0.0f,  2.5f, 0, 1};
    p[classIndex(SoundClass::Light)]    = {0.003f, 0.002f,  1.9f,  0.05f,   0.45f,  1, 3, 0, 0.0f, 0.5f, 0.5f,  1.5f, 0, 1};
    p[classIndex(SoundClass::Moderate)] = {0.003f, 0.0025f, 3.0f,  0.05f,   0.45f,  3, 4, 0, 0.5f, 0.5f, 0.0f,  2.5f, 0, 1};
    p[classIndex(SoundClass::Loud)]     = {0.003f, 0.0065f, 1.0f,  0.0675f, 0.375f, 3, 5, 0, 0.5f, 0.5f, 0.0f,  1.5f, 0, 3};
    p[classIndex(SoundClass::Dynamic)]  = {0.003f, 0.0065f, 1.0f,  0.0675f, 0.375f, 3, 5, 0, 0.5f, 0.5f, 0.25f, 1.0f, 1, 3};
    p[classIndex(SoundClass::Dark)]     = {0.003f, 0.0065f, 1.0f,  0.0675f, 0.275f, 4, 6, 0, 0.5f, 0.5f, 0.0f,  1.5f, 1, 6};
    p[classIndex(SoundClass::Powerful)] = {0.01f,  0.01f,   4.0f,  0.0675f, 0.275f, 2, 7, 0, 0.5f, 0.5f, 0.5f,  1.0f, 1, 6};
    // clang-format on
    endScope();
}

void Animator_Version_0::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& rotation) {
    const std::vector<float>& mids = sound.getSpectrum().historyMidNormalized();
    const float mid = mids.empty() ? 0.0f : mids[0];
    const Record p =
        mixRecords(mParameters.soundClasses.at(classIndex(sound.getSoundClassCurrent())),
                   mParameters.soundClasses.at(classIndex(sound.getSoundClassNext())),
                   sound.getSwitchProgress());

    OrthographicCamera2d& camera = mRenderState.camera;
    camera.aspect = static_cast<float>(mWidth) / static_cast<float>(mHeight);
    camera.size = static_cast<float>(mHeight) * 0.5f;
    camera.rotationMode = 3;
    camera.update(rotation);

    if (mPaused) {
        return;
    }

    if (isBeatTriggered()) {
        const uint64_t frames = getFramesSinceBeat();
        if (frames >= kFramesTurn) {
            mRollTarget += p.beatTurns * kTwoPi;
        }
        if (frames >= kFramesSegments) {
            mSegments = static_cast<uint32_t>(
                util::randomInt(static_cast<int>(p.segmentsMin), static_cast<int>(p.segmentsMax)));
            if (p.offsetJump != 0.0f) {
                mOffsetX =
                    std::fmod(mOffsetX + std::max(0.175f, util::random01() * p.offsetJump), 1.0f);
            } else {
                mOffsetX = 0.0f;
            }
        }
        mZoomValue = p.zoom;
        if (frames >= kFramesMirrorOffset) {
            mMirrorOffsetValue = 0.0f;
        }
    }

    KaleidoscopeParameters& out = mRenderState.parameters;
    out.textureOffset = vec3f{mOffsetX, 0.0f, mOffsetZ};
    out.angleRoll = mRoll;
    out.segments = mSegments;
    out.mirror =
        mMirrorAValue + (mMirrorBValue - mMirrorAValue) * mMirrorLevel + mMirrorOffsetValue;
    out.zoom = mZoomValue;

    mOffsetZ += p.drift * dt;
    mOffsetZ += mLevel * p.levelDrift;
    mLevel += (mid - mLevel) * std::min(std::max(p.levelRate * dt, 0.0f), 1.0f);

    mRollTarget = posmod(mRollTarget, kTwoPi);
    if (p.beatTurns == 0.0f) {
        mRollTarget = smoothDampAngle(mRollTarget, 0.0f, mRollVelocity, mParameters.rollTime, dt);
    }
    mRoll = posmod(mRoll, kTwoPi);
    mRoll = smoothDampAngle(mRoll, mRollTarget, mRollVelocity,
                            p.beatTurns != 0.0f ? p.turnTime : mParameters.rollTime, dt);

    mMirrorAValue = smoothDamp(mMirrorAValue, p.mirrorA, mMirrorAVelocity, 1.0f, dt);
    mMirrorBValue = smoothDamp(mMirrorBValue, p.mirrorB, mMirrorBVelocity, 1.0f, dt);
    mMirrorLevel = smoothDamp(mMirrorLevel, mid, mMirrorLevelVelocity, p.mirrorTime, dt);
    mMirrorOffsetValue = smoothDamp(mMirrorOffsetValue, p.mirrorOffset, mMirrorOffsetVelocity,
                                    p.mirrorOffsetTime, dt);
}

}  // namespace kaleidoscope
}  // namespace content2021
