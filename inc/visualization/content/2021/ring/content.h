// The ring content: six modes of wireframe rings, each drawn by its own animator that lives as
// long as the content, and one renderer shared by all of them. The mode NONE has no animator and
// draws nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/renderer.h"
#include "visualization/content/abstract_content.h"

namespace content2021 {
namespace ring {

enum class ContentMode : uint32_t {
    VERSION_0,
    VERSION_1,
    VERSION_2,
    VERSION_3,
    VERSION_4,
    VERSION_5,
    NONE,
};

constexpr size_t kAnimatorCount = 6;

extern const std::map<ContentMode, std::string> ContentModeNames;
extern const std::map<std::string, ContentMode> ContentModeValues;

class Content : public AbstractContent {
public:
    Content(uint32_t width, uint32_t height, RotateInfo rotation);
    ~Content() override;

    void onModeIndexChanged() override;
    void update(float dt, const SoundInput& sound, const RotationTransition& rotation) override;
    void render() override;
    void setModePaletteIndex(size_t modeIndex, size_t paletteIndex) override;
    uint32_t getModePaletteIndex() const override;
    colorf getBackgroundColor() const override;
    colorf getBackgroundColor(uint32_t modeIndex) const override;

private:
    bool isNone(size_t modeIndex) const {
        return modeIndex == static_cast<size_t>(ContentMode::NONE);
    }

    std::unique_ptr<Renderer> mRenderer;
    std::array<std::unique_ptr<AbstractAnimator>, kAnimatorCount> mAnimators;
};

}  // namespace ring
}  // namespace content2021
