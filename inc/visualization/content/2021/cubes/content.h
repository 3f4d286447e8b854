// The cubes content: three modes, each drawn by its own animator that lives as long as the content,
// and one renderer that draws the current animator's scene.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "visualization/content/2021/color_animator_content.h"
#include "visualization/content/2021/cubes/abstract_animator.h"
#include "visualization/content/2021/cubes/renderer.h"

namespace content2021::cubes {

enum class ContentMode : uint32_t { VERSION_0, VERSION_1, VERSION_2 };

extern const std::map<ContentMode, std::string> ContentModeNames;
extern const std::map<std::string, ContentMode> ContentModeValues;

class Content : public ColorAnimatorContent<AbstractAnimator, 3> {
public:
    Content(uint32_t width, uint32_t height, RotateInfo rotation);
    ~Content() override;

    void render() override;

private:
    std::unique_ptr<Renderer> mRenderer;
};

}  // namespace content2021::cubes
