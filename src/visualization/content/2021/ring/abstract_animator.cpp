#include "visualization/content/2021/ring/abstract_animator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "visualization/content/2021/ring/animator_util.h"
#include "visualization/log.h"
#include "visualization/util/math/scalar.h"

namespace content2021 {
namespace ring {

AbstractAnimator::AbstractAnimator(uint32_t width, uint32_t height, const char* name,
                                   uint32_t segmentCount, float fov, float far)
    : AbstractColorAnimator(width, height), mSegmentCount(segmentCount), mName(name) {
    PerspectiveCamera& camera = mScene.camera;
    camera.rotationMode = 3;
    camera.baseFov = fov;
    if (far != 0.0f) {
        camera.far = far;
    }
    mRing.segmentAngle = 2.0f * math::kPi / static_cast<float>(mSegmentCount);
    mResampled.assign(mSegmentCount, 0.0f);
    mEased.assign(mSegmentCount, 0.0f);
    mScene.mWedges.reserve(mSegmentCount);
}

AbstractAnimator::~AbstractAnimator() {
    // Composed on the stack: a destructor must not allocate (it may run with memory exhausted).
    char scope[96];
    std::snprintf(scope, sizeof(scope), "[content2021][ring][%s][Destructor]", mName);
    beginScope(scope);
    endScope();
}

void AbstractAnimator::createPalettes(const AbstractColorAnimator::Preset& preset) {
    beginScope(std::string("[content2021][ring][") + mName + "][Constructor]");
    createPalettePlaylist(preset);
    endScope();
}

void AbstractAnimator::placeCamera(float lineWidth, const vec3f& eye, const vec3f& center,
                                   const RotationTransition& rotation) {
    const float aspect = static_cast<float>(mWidth) / static_cast<float>(mHeight);
    mScene.mThickness = (2.0f * lineWidth / (static_cast<float>(mWidth) * 0.5f)) * aspect;
    PerspectiveCamera& camera = mScene.camera;
    camera.aspect = aspect;
    camera.eye = eye;
    camera.center = center;
    camera.update(rotation);
}

void AbstractAnimator::easeBandsAroundRing(const SoundInput& sound, float dt) {
    rotateBuffer(mBands, sound.getSpectrum().relativeSmoothed(), mBandOffset);
    if (!mBands.empty()) {
        mBands.push_back(mBands.front());
    }
    if (mPaused) {
        for (float& v : mBands) {
            v = std::min(0.0f, v);
        }
    }
    resampleCosine(mResampled, mBands);
    for (float& v : mResampled) {
        v = std::min(std::max(std::pow(v, 20.0f) * 2048.0f, 0.0f), 1.0f);
    }
    easeBuffer(&mEased, mResampled, std::min(std::max(8.0f * dt, 0.0f), 1.0f));
}

}  // namespace ring
}  // namespace content2021
