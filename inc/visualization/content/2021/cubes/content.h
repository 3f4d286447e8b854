// The cubes content: three modes, each drawn by its own animator that lives as long as the content,
// and one renderer that draws the current animator's scene.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "visualization/content/2021/cubes/abstract_animator.h"
#include "visualization/content/2021/cubes/renderer.h"
#include "visualization/content/abstract_content.h"

namespace content2021::cubes {

enum class ContentMode : uint32_t { VERSION_0, VERSION_1, VERSION_2 };

extern const std::map<ContentMode, std::string> ContentModeNames;
extern const std::map<std::string, ContentMode> ContentModeValues;

class Content : public AbstractContent {
public:
    Content(uint32_t width, uint32_t height, RotateInfo rotation);
    ~Content() override;

    void onModeIndexChanged() override;
    void update(float dt, const SoundInput& sound, const RotationTransition& rotation) override;
    void render() override;
    // Mode indices above 2 are out of range (std::out_of_range).
    void setModePaletteIndex(size_t modeIndex, size_t paletteIndex) override;
    uint32_t getModePaletteIndex() const override;
    colorf getBackgroundColor() const override;
    colorf getBackgroundColor(uint32_t modeIndex) const override;

private:
    AbstractAnimator& animator(size_t modeIndex) const { return *mAnimators.at(modeIndex); }

    std::unique_ptr<Renderer> mRenderer;
    std::array<std::unique_ptr<AbstractAnimator>, 3> mAnimators;
};

}  // namespace content2021::cubes
