#include "visualization/content/2021/lines/content.h"

#include "visualization/content/2021/lines/animator_version_0.h"
#include "visualization/log.h"

namespace content2021 {
namespace lines {

const std::map<ContentMode, std::string> ContentModeNames = {
    {ContentMode::VERSION_0, "VERSION_0"},
    {ContentMode::VERSION_0_REPEAT_0, "VERSION_0_REPEAT_0"},
    {ContentMode::VERSION_0_REPEAT_1, "VERSION_0_REPEAT_1"},
};

const std::map<std::string, ContentMode> ContentModeValues = {
    {"VERSION_0", ContentMode::VERSION_0},
    {"VERSION_0_REPEAT_0", ContentMode::VERSION_0_REPEAT_0},
    {"VERSION_0_REPEAT_1", ContentMode::VERSION_0_REPEAT_1},
};

Content::Content(uint32_t width, uint32_t height, RotateInfo rotation)
    : AbstractContent(width, height, rotation) {
    beginScope("[content2021][lines][Content][Constructor]");
    for (std::unique_ptr<AbstractAnimator>& animator : mAnimators) {
        animator = std::make_unique<Animator_Version_0>(width, height);
    }
    for (std::unique_ptr<AbstractAnimator>& animator : mAnimators) {
        animator->reshufflePalettePlaylist(mRandom);
    }
    mRenderer = std::make_unique<Renderer>();
    endScope();
}

Content::~Content() {
    beginScope("[content2021][lines][Content][Destructor]");
    for (std::unique_ptr<AbstractAnimator>& animator : mAnimators) {
        animator.reset();
    }
    mRenderer.reset();
    endScope();
}

void Content::onModeIndexChanged() {
    animator(mModeIndexPrevious).advancePalettePlaylist(mRandom);
}

void Content::update(float dt, const SoundInput& sound, const RotationTransition& rotation) {
    AbstractAnimator& current = animator(mModeIndex);
    current.setPaused(mPaused);
    current.setFade(mTransition);
    current.setDisplayModeBlend(mDisplayModeBlend);
    current.update(dt, sound, rotation);
}

void Content::render() {
    mRenderer->setScale(mBlend);
    mRenderer->draw(animator(mModeIndex).getScene());
}

void Content::setModePaletteIndex(size_t modeIndex, size_t paletteIndex) {
    animator(modeIndex).advancePaletteIndexTo(paletteIndex);
}

uint32_t Content::getModePaletteIndex() const {
    return animator(mModeIndex).getPaletteIndex();
}

colorf Content::getBackgroundColor() const {
    return animator(mModeIndex).getBackgroundColor();
}

colorf Content::getBackgroundColor(uint32_t modeIndex) const {
    return animator(modeIndex).getBackgroundColor();
}

}  // namespace lines
}  // namespace content2021
