// The lines content: two tubes chasing a trail through space. Its three modes run the same
// animator, each instance with its own palette order and its own tubes, which keep their state
// while another mode plays; one renderer draws the current one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "visualization/content/2021/lines/abstract_animator.h"
#include "visualization/content/2021/lines/renderer.h"
#include "visualization/content/abstract_content.h"

namespace content2021 {
namespace lines {

enum class ContentMode : uint32_t { VERSION_0, VERSION_0_REPEAT_0, VERSION_0_REPEAT_1 };

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

}  // namespace lines
}  // namespace content2021
