#include "visualization/content/2021/cubes/content.h"

#include "visualization/content/2021/cubes/animator_version_0.h"
#include "visualization/content/2021/cubes/animator_version_1.h"
#include "visualization/content/2021/cubes/animator_version_2.h"
#include "visualization/log.h"

namespace content2021::cubes {

const std::map<ContentMode, std::string> ContentModeNames = {
    {ContentMode::VERSION_0, "VERSION_0"},
    {ContentMode::VERSION_1, "VERSION_1"},
    {ContentMode::VERSION_2, "VERSION_2"},
};

const std::map<std::string, ContentMode> ContentModeValues = {
    {"VERSION_0", ContentMode::VERSION_0},
    {"VERSION_1", ContentMode::VERSION_1},
    {"VERSION_2", ContentMode::VERSION_2},
};

Content::Content(uint32_t width, uint32_t height, RotateInfo rotation)
    : AbstractContent(width, height, rotation) {
    beginScope("[content2021][cubes][Content][Constructor]");
    mAnimators[0] = std::make_unique<Animator_Version_0>(width, height);
    mAnimators[1] = std::make_unique<Animator_Version_1>(width, height);
    mAnimators[2] = std::make_unique<Animator_Version_2>(width, height);
    for (std::unique_ptr<AbstractAnimator>& animator : mAnimators) {
        animator->reshufflePalettePlaylist(mRandom);
    }
    mRenderer = std::make_unique<Renderer>();
    endScope();
}

Content::~Content() {
    beginScope("[content2021][cubes][Content][Destructor]");
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
    const AbstractAnimator& current = animator(mModeIndex);
    mRenderer->setAlpha(mTransition * mBlend);
    mRenderer->setGlobalColor(current.getBackgroundColor());
    mRenderer->draw(current.getScene());
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

}  // namespace content2021::cubes
