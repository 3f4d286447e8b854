// The kaleidoscope content: five modes, each with its own animator and photograph, sharing one
// renderer. The photographs come from a directory below the resource directory, read once at
// construction, and play in a shuffled order that advances every time the player sets a mode;
// the photograph after the current one is decoded ahead on the image loader's worker.
//
// Without a usable photograph the content reports it, draws nothing and answers isPlayable()
// with false, so that the player leaves its modes out of the playlist.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "visualization/content/2021/kaleidoscope/animator_version_0.h"
#include "visualization/content/2021/kaleidoscope/image_loader.h"
#include "visualization/content/2021/kaleidoscope/renderer.h"
#include "visualization/content/abstract_content.h"
#include "visualization/util/shuffle.h"

namespace content2021 {
namespace kaleidoscope {

enum class ContentMode : uint32_t {
    VERSION_0,
    VERSION_0_REPEAT_0,
    VERSION_0_REPEAT_1,
    VERSION_0_REPEAT_2,
    VERSION_0_REPEAT_3,
};

constexpr size_t kAnimatorCount = 5;

extern const std::map<ContentMode, std::string> ContentModeNames;

class Content : public AbstractContent {
public:
    struct Preset {
        std::string pathDefaultImages = "images/kaleidoscope_default";
        std::vector<std::string> validImageExtensions = {"jpg", "jpeg", "png"};
        std::map<DisplayMode, colorf> backgroundColors = {
            {DisplayMode::DEFAULT, colorf("150B0FFF")},
            {DisplayMode::AOD, colorf("000000FF")},
        };
    };

    Content(uint32_t width, uint32_t height, RotateInfo rotation);
    ~Content() override;

    void onModeIndexSet() override;
    void update(float dt, const SoundInput& sound, const RotationTransition& rotation) override;
    void render() override;
    AODMask getAODMask() const override { return mAODMask; }
    void setModePaletteIndex(size_t, size_t) override {}
    uint32_t getModePaletteIndex() const override { return 0; }
    colorf getBackgroundColor() const override { return mBackgroundColor; }
    colorf getBackgroundColor(uint32_t) const override { return mBackgroundColor; }
    bool isPlayable() const override { return !mEntriesDefaultImages.empty(); }

    const std::vector<std::string>& getImageEntries() const { return mEntriesDefaultImages; }
    const Animator& getAnimator(size_t modeIndex) const { return *mAnimators.at(modeIndex); }

private:
    static bool pathExists(const std::string& path);
    bool hasValidExtension(const std::string& entry) const;
    void createPlaylist();
    void reshufflePlaylist();
    void advancePlaylist();
    void prefetchNext();

    Preset mPreset;
    colorf mBackgroundColor;
    AODMask mAODMask{0, vec2f{1.0f, 1.0f}, vec2f{0.0f, 0.0f}};
    std::string mPathDefaultImages;
    std::vector<std::string> mEntriesDefaultImages;
    bool mShuffleEnabled = true;
    std::mt19937 mGenerator;
    util::UniformInt mDistribution;
    std::vector<uint32_t> mPlaylist;
    uint32_t mPlaylistPosition = 0;
    std::unique_ptr<ImageLoader> mImageLoader;
    std::unique_ptr<Renderer> mRenderer;
    std::array<std::unique_ptr<Animator>, kAnimatorCount> mAnimators;
};

}  // namespace kaleidoscope
}  // namespace content2021
