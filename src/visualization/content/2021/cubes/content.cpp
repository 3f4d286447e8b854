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
    : ColorAnimatorContent(width, height, rotation) {
    beginScope("[content2021][cubes][Content][Constructor]");
    mAnimators[0] = std::make_unique<Animator_Version_0>(width, height);
    mAnimators[1] = std::make_unique<Animator_Version_1>(width, height);
    mAnimators[2] = std::make_unique<Animator_Version_2>(width, height);
    reshufflePalettePlaylists();
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

void Content::render() {
    const AbstractAnimator& current = animator(mModeIndex);
    mRenderer->setAlpha(mTransition * mBlend);
    mRenderer->setGlobalColor(current.getBackgroundColor());
    mRenderer->draw(current.getScene());
}

}  // namespace content2021::cubes
