// Brings the library's full-size frame to the size the host shows or writes: a linear blit
// on the GPU (cheaper than reading back the full frame on a software rasteriser), keeping the
// aspect ratio with black bars when the sizes disagree.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "headless_gl.h"

namespace vizhost {

class FrameScaler {
public:
    // Needs a current context.
    FrameScaler(uint32_t width, uint32_t height);

    // Scales `source` into the output target and reads it back, top row first.
    void scale(const headless::Target& source, std::vector<uint8_t>& rgba);
    // Scales `source` into the framebuffer `destination` of the given size (a window's).
    static void blit(const headless::Target& source, uint32_t destination, uint32_t width,
                     uint32_t height);

    uint32_t width() const { return mOutput->width(); }
    uint32_t height() const { return mOutput->height(); }

private:
    std::unique_ptr<headless::Target> mOutput;
};

}  // namespace vizhost
