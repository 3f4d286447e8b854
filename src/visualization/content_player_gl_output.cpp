#include "visualization/content_player_gl_output.h"

#include <GLES3/gl3.h>

ContentPlayerGlOutput::ContentPlayerGlOutput(uint32_t width, uint32_t height, SpeakerInfo speaker)
    : mWidth(width),
      mHeight(height),
      mSpeakerOverlay(std::make_unique<SpeakerOverlay>(width, height, speaker)),
      mAODOverlay(std::make_unique<AODOverlay>(width, height)) {}

ContentPlayerGlOutput::~ContentPlayerGlOutput() {
    mSpeakerOverlay.reset();
    mAODOverlay.reset();
}

void ContentPlayerGlOutput::clear(const colorf& color) {
    glViewport(0, 0, static_cast<GLsizei>(mWidth), static_cast<GLsizei>(mHeight));
    glClearColor(color.r, color.g, color.b, color.a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void ContentPlayerGlOutput::beginContent(float displayModeBlend, const AODMask& mask) {
    mAODOverlay->setDisplayModeBlend(displayModeBlend);
    mAODOverlay->update(mask);
    mAODOverlay->begin();
}

void ContentPlayerGlOutput::endContent() {
    mAODOverlay->draw();
}

void ContentPlayerGlOutput::drawSpeakerOverlay(float opacity, float dt) {
    mSpeakerOverlay->setOpacity(opacity);
    mSpeakerOverlay->draw(dt);
}
