#include "rotation_driver.h"

#include <algorithm>

namespace vizhost {

namespace {

constexpr float kRamp = 0.25f;

float degrees(RotateInfo orientation) {
    return orientation == RotateInfo::Portrait ? 90.0f : 0.0f;
}

}  // namespace

RotationDriver::RotationDriver(const LibraryApi& api, RotateInfo orientation, float seconds)
    : mApi(api), mSeconds(std::max(seconds, 0.05f)), mFrom(orientation), mTo(orientation) {}

float RotationDriver::travel(float fraction) {
    const float u = std::clamp(fraction, 0.0f, 1.0f);
    const float top = 1.0f / (1.0f - kRamp);  // the cruise speed that covers the whole turn
    if (u < kRamp) {
        return 0.5f * top / kRamp * u * u;
    }
    if (u > 1.0f - kRamp) {
        const float left = 1.0f - u;
        return 1.0f - 0.5f * top / kRamp * left * left;
    }
    return 0.5f * top * kRamp + top * (u - kRamp);
}

bool RotationDriver::start(double now) {
    if (mTurning) {
        return false;
    }
    mFrom = mTo;
    mTo = mFrom == RotateInfo::Landscape ? RotateInfo::Portrait : RotateInfo::Landscape;
    mTurning = true;
    mStart = now;
    mApi.startRotatingDevice(int32_t(mTo));
    return true;
}

void RotationDriver::update(double now) {
    if (!mTurning) {
        return;
    }
    const float fraction = float((now - mStart) / mSeconds);
    if (fraction >= 1.0f) {
        mApi.updateRotationDegree(degrees(mTo));
        mTurning = false;
        mFrom = mTo;
        return;
    }
    const float from = degrees(mFrom);
    const float to = degrees(mTo);
    mApi.updateRotationDegree(from + (to - from) * travel(fraction));
}

}  // namespace vizhost
