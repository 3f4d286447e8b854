// The empty content: the mode NONE, which draws nothing over an opaque red clear colour.
#pragma once

#include <array>

#include "visualization/content/abstract_content.h"

namespace contentNone {

enum class ContentMode : uint32_t { NONE };

class Content : public AbstractContent {
public:
    Content(uint32_t width, uint32_t height, RotateInfo rotation);
    ~Content() override;

    void update(float dt, const SoundInput& sound, const RotationTransition& rotation) override;
    void render() override;
    void setModePaletteIndex(size_t modeIndex, size_t paletteIndex) override;
    uint32_t getModePaletteIndex() const override;
    colorf getBackgroundColor() const override;
    // Only mode index 0 exists.
    colorf getBackgroundColor(uint32_t modeIndex) const override;

private:
    std::array<colorf, 1> mBackgroundColors;
};

}  // namespace contentNone
