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

#include "visualization/content/2021/color_animator_content.h"
#include "visualization/content/2021/lines/abstract_animator.h"
#include "visualization/content/2021/lines/renderer.h"

namespace content2021 {
namespace lines {

enum class ContentMode : uint32_t { VERSION_0, VERSION_0_REPEAT_0, VERSION_0_REPEAT_1 };

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

}  // namespace lines
}  // namespace content2021
