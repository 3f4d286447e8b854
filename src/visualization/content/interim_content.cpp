#include "visualization/content/interim_content.h"

#include "visualization/log.h"

namespace {

const colorf kInterimBackground(0.25f, 0.25f, 0.25f, 1.0f);

}  // namespace

InterimContent::InterimContent(uint32_t width, uint32_t height, RotateInfo rotation,
                               ContentCategory category)
    : AbstractContent(width, height, rotation),
      mCategory(category),
      mScopePrefix(std::string("[interim][") + toString(category) + "]") {
    beginScope(mScopePrefix + "[Content][Constructor]");
    endScope();
}

InterimContent::~InterimContent() {
    beginScope(mScopePrefix + "[Destructor]");
    endScope();
}

void InterimContent::update(float, const SoundInput&, const RotationTransition&) {}

void InterimContent::render() {}

void InterimContent::setModePaletteIndex(size_t, size_t) {}

uint32_t InterimContent::getModePaletteIndex() const {
    return 0;
}

colorf InterimContent::getBackgroundColor() const {
    return kInterimBackground;
}

colorf InterimContent::getBackgroundColor(uint32_t) const {
    return kInterimBackground;
}
