#include "frame_scaler.h"

#include <GLES3/gl3.h>

#include <algorithm>

namespace vizhost {

FrameScaler::FrameScaler(uint32_t width, uint32_t height)
    : mOutput(std::make_unique<headless::Target>(width, height)) {}

void FrameScaler::blit(const headless::Target& source, uint32_t destination, uint32_t width,
                       uint32_t height) {
    // The library may leave a scissor box or a clear colour of its own; the blit must not be
    // clipped by it and the library must find its state as it left it.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glDisable(GL_SCISSOR_TEST);

    const double scale = std::min(double(width) / source.width(), double(height) / source.height());
    const GLint w = GLint(source.width() * scale + 0.5);
    const GLint h = GLint(source.height() * scale + 0.5);
    const GLint x = (GLint(width) - w) / 2;
    const GLint y = (GLint(height) - h) / 2;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, destination);
    if (w != GLint(width) || h != GLint(height)) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source.framebuffer());
    glBlitFramebuffer(0, 0, GLint(source.width()), GLint(source.height()), x, y, x + w, y + h,
                      GL_COLOR_BUFFER_BIT, GL_LINEAR);

    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor) {
        glEnable(GL_SCISSOR_TEST);
    }
}

void FrameScaler::scale(const headless::Target& source, std::vector<uint8_t>& rgba) {
    blit(source, mOutput->framebuffer(), mOutput->width(), mOutput->height());
    mOutput->read(rgba);
}

}  // namespace vizhost
