#include "visualization/content/none/content.h"

#include "visualization/log.h"

namespace contentNone {

Content::Content(uint32_t width, uint32_t height, RotateInfo rotation)
    : AbstractContent(width, height, rotation) {
    beginScope("[contentNone][Content][Constructor]");
    mBackgroundColors[0] = colorf(1.0f, 0.0f, 0.0f, 1.0f);
    endScope();
}

Content::~Content() {
    beginScope("[contentNone][Destructor]");
    endScope();
}

void Content::update(float, const SoundInput&, const RotationTransition&) {}

void Content::render() {}

void Content::setModePaletteIndex(size_t, size_t) {}

uint32_t Content::getModePaletteIndex() const {
    return 0;
}

colorf Content::getBackgroundColor() const {
    return getBackgroundColor(mModeIndex);
}

colorf Content::getBackgroundColor(uint32_t modeIndex) const {
    // Only index 0 exists; a wrong index from a caller must not read past the table.
    return mBackgroundColors[modeIndex < mBackgroundColors.size() ? modeIndex : 0];
}

}  // namespace contentNone
