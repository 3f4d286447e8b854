#include "visualization/content/abstract_content.h"

#include "platform.h"

AbstractContent::AbstractContent(uint32_t width, uint32_t height, RotateInfo rotation)
    : mWidth(width),
      mHeight(height),
      mRotation(rotation),
      mRandom(static_cast<uint32_t>(platform_clock_now_ns())) {}

void AbstractContent::setModeIndex(uint32_t modeIndex) {
    if (modeIndex != mModeIndex) {
        mModeIndexPrevious = mModeIndex;
        onModeIndexChanged();
        mModeIndex = modeIndex;
    }
    onModeIndexSet();
}
