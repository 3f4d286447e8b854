#include "visualization/content/2021/kaleidoscope/content.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform.h"
#include "visualization/log.h"
#include "visualization/util/shuffle.h"
#include "visualization/util/system/fs.h"

namespace content2021 {
namespace kaleidoscope {

const std::map<ContentMode, std::string> ContentModeNames = {
    {ContentMode::VERSION_0, "VERSION_0"},
    {ContentMode::VERSION_0_REPEAT_0, "VERSION_0_REPEAT_0"},
    {ContentMode::VERSION_0_REPEAT_1, "VERSION_0_REPEAT_1"},
    {ContentMode::VERSION_0_REPEAT_2, "VERSION_0_REPEAT_2"},
    {ContentMode::VERSION_0_REPEAT_3, "VERSION_0_REPEAT_3"},
};

Content::Content(uint32_t width, uint32_t height, RotateInfo rotation)
    : AbstractContent(width, height, rotation),
      mBackgroundColor(mPreset.backgroundColors.at(DisplayMode::DEFAULT)),
      mPathDefaultImages(fs::getResourcePath() + "/" + mPreset.pathDefaultImages),
      mGenerator(static_cast<uint32_t>(platform_clock_now_ns())) {
    beginScope("[content2021][kaleidoscope][Content][Constructor]");
    logInScope("Path default images: \"%s\"", mPathDefaultImages.c_str());
    std::string extensions;
    for (const std::string& extension : mPreset.validImageExtensions) {
        extensions += extensions.empty() ? extension : ", " + extension;
    }
    logInScope("Valid image extensions: %s", extensions.c_str());

    beginSubScope("Validating resource directories:");
    if (!pathExists(mPathDefaultImages)) {
        logInSubScope("Default images path does not exist!");
    }
    for (const std::string& entry : fs::getDirectoryFilepaths(mPathDefaultImages.c_str())) {
        if (hasValidExtension(entry)) {
            mEntriesDefaultImages.push_back(entry);
        }
    }
    if (mEntriesDefaultImages.empty()) {
        logInSubScope("Default images path is empty!");
    }
    logInSubScope("Path default images num entries: %i",
                  static_cast<int>(mEntriesDefaultImages.size()));
    endSubScope();

    mDistribution =
        util::UniformInt(0, std::max(0, static_cast<int>(mEntriesDefaultImages.size()) - 1));
    createPlaylist();

    for (auto& animator : mAnimators) {
        animator = std::make_unique<Animator_Version_0>(width, height);
    }
    mImageLoader = std::make_unique<ImageLoader>();
    if (!mPlaylist.empty()) {
        const std::string& first = mEntriesDefaultImages.at(mPlaylist.at(mPlaylistPosition));
        for (auto& animator : mAnimators) {
            animator->setImagePath(first);
        }
        mPlaylistPosition = (mPlaylistPosition + 1) % mPlaylist.size();
        prefetchNext();
    }
    mRenderer = std::make_unique<Renderer>(width, height);
    mRenderer->setImageLoader(mImageLoader.get());
    if (!mPlaylist.empty()) {
        mRenderer->stageNextImage();
    }
    endScope();
}

Content::~Content() {
    beginScope("[content2021][kaleidoscope][Content][Destructor]");
    for (auto& animator : mAnimators) {
        animator.reset();
    }
    mRenderer.reset();
    mImageLoader.reset();
    endScope();
}

bool Content::pathExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Content::hasValidExtension(const std::string& entry) const {
    const size_t dot = entry.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : entry.substr(dot + 1);
    return std::find(mPreset.validImageExtensions.begin(), mPreset.validImageExtensions.end(),
                     extension) != mPreset.validImageExtensions.end();
}

void Content::createPlaylist() {
    if (mEntriesDefaultImages.empty()) {
        return;
    }
    beginScope("[2021][kaleidoscope][Content][createPlaylist]");
    bool remembered = false;
    uint32_t index = 0;
    if (!mPlaylist.empty() && mAnimators[mModeIndex]) {
        const std::string& path = mAnimators[mModeIndex]->getImagePath();
        const auto found =
            std::find(mEntriesDefaultImages.begin(), mEntriesDefaultImages.end(), path);
        if (found != mEntriesDefaultImages.end()) {
            remembered = true;
            index = static_cast<uint32_t>(found - mEntriesDefaultImages.begin());
        }
    }
    mPlaylist.resize(mEntriesDefaultImages.size());
    for (size_t i = 0; i < mPlaylist.size(); ++i) {
        mPlaylist[i] = static_cast<uint32_t>(i);
    }
    reshufflePlaylist();
    if (remembered) {
        mPlaylistPosition = static_cast<uint32_t>(
            std::find(mPlaylist.begin(), mPlaylist.end(), index) - mPlaylist.begin());
    }
    endScope();
}

void Content::reshufflePlaylist() {
    if (!mShuffleEnabled || mPlaylist.size() < util::NUM_ELEMENTS_MIN_RESHUFFABLE) {
        return;
    }
    beginScope("[2021][kaleidoscope][Content][reshufflePlaylist]");
    util::reshuffle(mPlaylist.data(), mPlaylist.size(), mDistribution, mGenerator);
    endScope();
}

void Content::advancePlaylist() {
    if (mPlaylist.empty()) {
        return;
    }
    beginScope("[2021][kaleidoscope][Content][advancePlaylist]");
    const uint32_t index = mPlaylist.at(mPlaylistPosition);
    ++mPlaylistPosition;
    mAnimators.at(mModeIndex)->setImagePath(mEntriesDefaultImages.at(index));
    if (mPlaylistPosition >= mPlaylist.size()) {
        reshufflePlaylist();
        mPlaylistPosition = 0;
    }
    prefetchNext();
    endScope();
}

void Content::prefetchNext() {
    mImageLoader->request(mEntriesDefaultImages.at(mPlaylist.at(mPlaylistPosition)));
}

void Content::onModeIndexSet() {
    advancePlaylist();
}

void Content::update(float dt, const SoundInput& sound, const RotationTransition& rotation) {
    mBackgroundColor = mix_color(mPreset.backgroundColors.at(DisplayMode::DEFAULT),
                                 mPreset.backgroundColors.at(DisplayMode::AOD), mDisplayModeBlend);
    if (mEntriesDefaultImages.empty()) {
        return;
    }
    Animator& animator = *mAnimators.at(mModeIndex);
    animator.setPaused(mPaused);
    animator.update(dt, sound, rotation);
    mAODMask.rotation = animator.getRenderState().camera.roll;
}

void Content::render() {
    if (mEntriesDefaultImages.empty()) {
        return;
    }
    mRenderer->setBlend(mTransition * mBlend);
    mRenderer->draw(mAnimators.at(mModeIndex)->getRenderState());
}

}  // namespace kaleidoscope
}  // namespace content2021
