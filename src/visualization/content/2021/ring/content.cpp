#include "visualization/content/2021/ring/content.h"

#include "visualization/content/2021/ring/animator_version_0.h"
#include "visualization/content/2021/ring/animator_version_1.h"
#include "visualization/content/2021/ring/animator_version_2.h"
#include "visualization/content/2021/ring/animator_version_3.h"
#include "visualization/content/2021/ring/animator_version_4.h"
#include "visualization/content/2021/ring/animator_version_5.h"
#include "visualization/log.h"

namespace content2021 {
namespace ring {

const std::map<ContentMode, std::string> ContentModeNames = {
    {ContentMode::VERSION_0, "VERSION_0"}, {ContentMode::VERSION_1, "VERSION_1"},
    {ContentMode::VERSION_2, "VERSION_2"}, {ContentMode::VERSION_3, "VERSION_3"},
    {ContentMode::VERSION_4, "VERSION_4"}, {ContentMode::VERSION_5, "VERSION_5"},
    {ContentMode::NONE, "NONE"},
};

const std::map<std::string, ContentMode> ContentModeValues = {
    {"VERSION_0", ContentMode::VERSION_0}, {"VERSION_1", ContentMode::VERSION_1},
    {"VERSION_2", ContentMode::VERSION_2}, {"VERSION_3", ContentMode::VERSION_3},
    {"VERSION_4", ContentMode::VERSION_4}, {"VERSION_5", ContentMode::VERSION_5},
    {"NONE", ContentMode::NONE},
};

Content::Content(uint32_t width, uint32_t height, RotateInfo rotation)
    : AbstractContent(width, height, rotation) {
    beginScope("[content2021][ring][Content][Constructor]");
    mAnimators[0] = std::make_unique<Animator_Version_0>(width, height);
    mAnimators[1] = std::make_unique<Animator_Version_1>(width, height);
    mAnimators[2] = std::make_unique<Animator_Version_2>(width, height);
    mAnimators[3] = std::make_unique<Animator_Version_3>(width, height);
    mAnimators[4] = std::make_unique<Animator_Version_4>(width, height);
    mAnimators[5] = std::make_unique<Animator_Version_5>(width, height);
    for (auto& animator : mAnimators) {
        animator->reshufflePalettePlaylist(mRandom);
    }
    mRenderer = std::make_unique<Renderer>();
    endScope();
}

Content::~Content() {
    beginScope("[content2021][ring][Content][Destructor]");
    for (auto& animator : mAnimators) {
        animator.reset();
    }
    mRenderer.reset();
    endScope();
}

void Content::onModeIndexChanged() {
    if (!isNone(mModeIndexPrevious)) {
        mAnimators.at(mModeIndexPrevious)->advancePalettePlaylist(mRandom);
    }
}

void Content::update(float dt, const SoundInput& sound, const RotationTransition& rotation) {
    if (isNone(mModeIndex)) {
        return;
    }
    AbstractAnimator& animator = *mAnimators.at(mModeIndex);
    animator.setPaused(mPaused);
    animator.setFade(mTransition);
    animator.setDisplayModeBlend(mDisplayModeBlend);
    animator.update(dt, sound, rotation);
}

void Content::render() {
    if (isNone(mModeIndex)) {
        return;
    }
    const AbstractAnimator& animator = *mAnimators.at(mModeIndex);
    mRenderer->setAlpha(mTransition * mBlend);
    mRenderer->setGlobalColor(animator.getBackgroundColor());
    mRenderer->draw(animator.getScene());
}

void Content::setModePaletteIndex(size_t modeIndex, size_t paletteIndex) {
    mAnimators.at(modeIndex)->advancePaletteIndexTo(paletteIndex);
}

uint32_t Content::getModePaletteIndex() const {
    return isNone(mModeIndex) ? 0u : mAnimators.at(mModeIndex)->getPaletteIndex();
}

colorf Content::getBackgroundColor() const {
    return getBackgroundColor(mModeIndex);
}

colorf Content::getBackgroundColor(uint32_t modeIndex) const {
    return isNone(modeIndex) ? colorf(0.0f, 1.0f) : mAnimators.at(modeIndex)->getBackgroundColor();
}

}  // namespace ring
}  // namespace content2021
