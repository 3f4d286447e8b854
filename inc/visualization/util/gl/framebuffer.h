// Framebuffer objects with 2D texture attachments, and framebuffer status reporting.
//
// The module keeps three binding records: the framebuffer bound to both targets, and the ones
// bound to the draw and to the read target alone. A combined bind sets all three. A split bind
// that reaches GL records its target, clears the combined record (it no longer describes both
// targets) and, as a precaution, the other target's record when that held the same framebuffer.
// A combined record therefore always means that GL has it on both targets.
//
// A framebuffer does not own its textures unless it is deleted with deleteAttachments set.
#pragma once

#include <GLES3/gl3.h>

#include <vector>

#include "visualization/util/gl/texture_2d.h"

namespace gl {

struct Framebuffer {
    GLuint id = 0;
    GLuint width = 0;  // of the last colour texture attached
    GLuint height = 0;
    std::vector<Texture2d*> colorAttachments;  // attachment i is GL_COLOR_ATTACHMENT0 + i
    Texture2d* depthAttachment = nullptr;
    Texture2d* depthStencilAttachment = nullptr;
    std::vector<GLenum> drawBuffers;
};

extern Framebuffer* framebufferCurrent;
extern Framebuffer* framebufferDrawCurrent;
extern Framebuffer* framebufferReadCurrent;

// Attaches the textures (at most one of depth and depth-stencil) and stops the program when the
// framebuffer is incomplete after any attachment. GL's bindings are restored afterwards.
Framebuffer* createFramebuffer(std::vector<Texture2d*>& colorTextures, Texture2d* depthAttachment,
                               Texture2d* depthStencilAttachment);
// New colour textures of one size, one per config, in order.
Framebuffer* createFramebuffer(GLuint width, GLuint height,
                               const std::vector<Texture2dConfig>& colorConfigs);
Framebuffer* createFramebuffer(GLuint width, GLuint height, const Texture2dConfig& colorConfig);
Framebuffer* createFramebufferDepth(GLuint width, GLuint height,
                                    const std::vector<Texture2dConfig>& colorConfigs,
                                    const Texture2dConfig& depthConfig);
Framebuffer* createFramebufferDepth(GLuint width, GLuint height, const Texture2dConfig& colorConfig,
                                    const Texture2dConfig& depthConfig);
Framebuffer* createFramebufferDepthStencil(GLuint width, GLuint height,
                                           const std::vector<Texture2dConfig>& colorConfigs,
                                           const Texture2dConfig& depthStencilConfig);
Framebuffer* createFramebufferDepthStencil(GLuint width, GLuint height,
                                           const Texture2dConfig& colorConfig,
                                           const Texture2dConfig& depthStencilConfig);

void bindFramebuffer(Framebuffer* framebuffer);
// Back to framebuffer 0, the host's default framebuffer.
void unbindFramebuffer();
void bindFramebufferDraw(Framebuffer* framebuffer);
void unbindFramebufferDraw();
void bindFramebufferRead(Framebuffer* framebuffer);
void unbindFramebufferRead();
void deleteFramebuffer(Framebuffer*& framebuffer, bool deleteAttachments);

// Checks the framebuffer bound to GL_FRAMEBUFFER. Logs "FRAMEBUFFER ERROR <status>" and answers
// true when it is not complete.
bool getFramebufferError();

}  // namespace gl
