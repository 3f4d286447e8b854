// Framebuffers against GL: drawing into several colour targets, ownership of attachments, the
// binding record, and status reporting by name.
#include "visualization/util/gl/framebuffer.h"

#include <gtest/gtest.h>

#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"

namespace {

using gltest::integer;
using testsupport::Rgba;

Rgba readPixel(GLenum attachment, GLint x, GLint y) {
    glReadBuffer(attachment);
    uint8_t rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

using GlFramebufferTest = gltest::GlLayerTest;

TEST_F(GlFramebufferTest, DrawsIntoEveryColourAttachmentWhichStayWithTheCaller) {
    gl::Framebuffer* framebuffer =
        gl::createFramebuffer(16, 8, std::vector<gl::Texture2dConfig>(2));
    ASSERT_EQ(framebuffer->drawBuffers,
              (std::vector<GLenum>{GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1}));
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0) << "nothing current: back to 0";
    const char* fragmentSource = R"(#version 300 es
precision mediump float;
layout(location = 0) out vec4 first;
layout(location = 1) out vec4 second;
void main() {
    first = vec4(1.0, 0.0, 0.0, 1.0);
    second = vec4(0.0, 0.0, 1.0, 1.0);
}
)";
    gl::Program* program = gl::createProgram(gltest::kColourVertexSource, fragmentSource, {});
    gl::bindFramebuffer(framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, 16, 8);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    gltest::drawPositions(program, {-1, -1, 1, -1, -1, 1}, GL_TRIANGLES);  // the lower left half
    EXPECT_EQ(readPixel(GL_COLOR_ATTACHMENT0, 1, 1), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(readPixel(GL_COLOR_ATTACHMENT1, 1, 1), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(readPixel(GL_COLOR_ATTACHMENT1, 15, 7), (Rgba{0, 255, 0, 255}));
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    gl::deleteProgram(program);

    // Without deleteAttachments the textures stay with the caller.
    std::vector<gl::Texture2d*> colours = framebuffer->colorAttachments;
    gl::deleteFramebuffer(framebuffer, false);
    EXPECT_EQ(gl::framebufferCurrent, nullptr);
    for (gl::Texture2d*& colour : colours) {
        EXPECT_TRUE(glIsTexture(colour->id));
        gl::deleteTexture2d(colour);
    }
}

TEST_F(GlFramebufferTest, BindsOnlyWhenNotCurrentAndDeletesItsAttachmentsOnRequest) {
    gl::Framebuffer* framebuffer = gl::createFramebuffer(4, 4, gl::Texture2dConfig());
    gltest::expectBindsOnlyWhenNotCurrent(
        GL_FRAMEBUFFER_BINDING, framebuffer->id, [&] { gl::bindFramebuffer(framebuffer); },
        gl::unbindFramebuffer);
    // A creation restores the binding the record describes.
    gl::Framebuffer* other = gl::createFramebuffer(2, 2, gl::Texture2dConfig());
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(framebuffer->id));
    const GLuint colourId = framebuffer->colorAttachments[0]->id;
    gl::deleteFramebuffer(framebuffer, true);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0) << "GL let go of the deleted framebuffer";
    EXPECT_TRUE(gl::framebufferCurrent == nullptr && !glIsTexture(colourId));
    gl::deleteFramebuffer(other, true);
}

TEST_F(GlFramebufferTest, StatusIsLoggedByName) {
    testsupport::LogCapture log;
    GLuint id = 0;
    glGenFramebuffers(1, &id);
    glBindFramebuffer(GL_FRAMEBUFFER, id);
    EXPECT_TRUE(gl::getFramebufferError());

    // A colour attachment in a format that cannot be rendered to.
    gl::Texture2dConfig luminance;
    luminance.format = luminance.internalFormat = GL_LUMINANCE;
    gl::Texture2d* texture = gl::createTexture2d(4, 4, luminance);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture->id, 0);
    EXPECT_TRUE(gl::getFramebufferError());

    // Renderbuffers with different sample counts: a status outside the named ones.
    GLuint renderbuffers[2] = {};
    glGenRenderbuffers(2, renderbuffers);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, 4, GL_RGBA8, 4, 4);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, 0, GL_DEPTH_COMPONENT16, 4, 4);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              renderbuffers[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              renderbuffers[1]);
    EXPECT_TRUE(gl::getFramebufferError());

    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
    EXPECT_FALSE(gl::getFramebufferError());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "FRAMEBUFFER ERROR GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT",
                               "FRAMEBUFFER ERROR GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT",
                               "FRAMEBUFFER ERROR 0x8D56"}));

    mTarget->bind();
    glDeleteFramebuffers(1, &id);
    glDeleteRenderbuffers(2, renderbuffers);
    gl::deleteTexture2d(texture);
}

}  // namespace
