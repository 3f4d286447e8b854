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
    : ColorAnimatorContent(width, height, rotation) {
    beginScope("[content2021][lines][Content][Constructor]");
    for (std::unique_ptr<AbstractAnimator>& animator : mAnimators) {
        animator = std::make_unique<Animator_Version_0>(width, height);
    }
    reshufflePalettePlaylists();
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

void Content::render() {
    mRenderer->setScale(mBlend);
    mRenderer->draw(animator(mModeIndex).getScene());
}

}  // namespace lines
}  // namespace content2021
