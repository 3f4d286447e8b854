// A GL fixture for a family's content: drives it with music as the player does and reads the
// last frame back.
#pragma once

#include <cstdint>
#include <vector>

#include "support/band_music.h"
#include "support/resource_gl_test.h"
#include "visualization/util/color.h"
#include "visualization/util/gl/shared_context.h"

namespace testsupport {

class ContentGlTest : public ResourceGlTest {
protected:
    static constexpr uint32_t kWidth = 320;
    static constexpr uint32_t kHeight = 180;

    ContentGlTest() : ResourceGlTest(kWidth, kHeight) {}

    // Frames of music through the content as the player drives it; the last one is read back.
    template <class Content>
    std::vector<uint8_t> play(Content& content, BandMusic& music, float loudness, int frames,
                              float blend = 1.0f) {
        for (int i = 0; i < frames; ++i) {
            music.feed(loudness);
            content.setBlend(blend);
            content.update(kMusicDt, music.sound, RotationTransition{});
            draw(content);
        }
        readBack();
        return pixels();
    }

    // The content's frame as it stands, on its background; returns that colour.
    template <class Content>
    static colorf draw(Content& content) {
        gl::applyBaseRenderState();
        const colorf background = content.getBackgroundColor();
        glClearColor(background.r, background.g, background.b, background.a);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        content.render();
        return background;
    }

    // Pixels that are not the background colour of the top-left corner.
    static int drawnPixels(const std::vector<uint8_t>& p) {
        std::vector<uint8_t> background(p.size());
        for (size_t i = 0; i < p.size(); ++i) {
            background[i] = p[i % 4];
        }
        return differingPixels(p, background);
    }
};

}  // namespace testsupport
