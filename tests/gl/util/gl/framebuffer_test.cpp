// Framebuffers against GL: completeness, attachments, drawing into several colour targets, the
// three binding records, ownership of attachments, and status reporting by name.
#include "visualization/util/gl/framebuffer.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"

namespace {

using gltest::integer;
using testsupport::Rgba;

gl::Texture2dConfig depthConfig(GLenum internalFormat = GL_DEPTH_COMPONENT24,
                                GLenum format = GL_DEPTH_COMPONENT, GLenum type = GL_UNSIGNED_INT) {
    gl::Texture2dConfig config;
    config.internalFormat = internalFormat;
    config.format = format;
    config.type = type;
    config.minFilter = config.magFilter = GL_NEAREST;
    return config;
}

Rgba readPixel(GLenum attachment, GLint x, GLint y) {
    glReadBuffer(attachment);
    uint8_t rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

using GlFramebufferTest = gltest::GlLayerTest;

TEST_F(GlFramebufferTest, DrawsIntoEveryColourAttachment) {
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
    gl::Texture2d* first = framebuffer->colorAttachments[0];
    const GLuint firstId = first->id;
    gl::deleteFramebuffer(framebuffer, true);
    EXPECT_EQ(gl::framebufferCurrent, nullptr);
    EXPECT_FALSE(glIsTexture(firstId)) << "attachments deleted on request";
}

TEST_F(GlFramebufferTest, DepthAttachmentsAreCompleteAndStayWithTheCallerUnlessDeleted) {
    gl::Framebuffer* depth = gl::createFramebufferDepth(8, 8, gl::Texture2dConfig(), depthConfig());
    gl::Framebuffer* depthStencil = gl::createFramebufferDepthStencil(
        8, 8, gl::Texture2dConfig(),
        depthConfig(GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8));
    gl::Texture2d* depthOnly = gl::createTexture2d(4, 4, depthConfig());
    std::vector<gl::Texture2d*> none;
    gl::Framebuffer* shadow = gl::createFramebuffer(none, depthOnly, nullptr);
    for (const auto& [framebuffer, attachment, texture] :
         {std::tuple{depth, GL_DEPTH_ATTACHMENT, depth->depthAttachment},
          {depthStencil, GL_DEPTH_STENCIL_ATTACHMENT, depthStencil->depthStencilAttachment},
          {shadow, GL_DEPTH_ATTACHMENT, depthOnly}}) {
        gl::bindFramebuffer(framebuffer);
        GLint name = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
        EXPECT_EQ(name, static_cast<GLint>(texture->id));
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
                  static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    }
    // Without colour textures there is nothing to draw into.
    EXPECT_TRUE(shadow->drawBuffers.empty() && integer(GL_DRAW_BUFFER0) == GL_NONE);
    gl::unbindFramebuffer();

    const GLuint colourId = depth->colorAttachments[0]->id;
    const GLuint depthId = depth->depthAttachment->id;
    const GLuint depthOnlyId = depthOnly->id;
    gl::Texture2d* colour = depth->colorAttachments[0];
    gl::Texture2d* depthTexture = depth->depthAttachment;
    gl::deleteFramebuffer(depth, false);
    gl::deleteFramebuffer(shadow, true);
    EXPECT_TRUE(glIsTexture(colourId) && glIsTexture(depthId)) << "kept without deleteAttachments";
    EXPECT_FALSE(glIsTexture(depthOnlyId));
    gl::deleteTexture2d(colour);
    gl::deleteTexture2d(depthTexture);
    gl::deleteFramebuffer(depthStencil, true);
}

TEST_F(GlFramebufferTest, BindingRecordsFollowCombinedAndSplitBinds) {
    gl::Framebuffer* a = gl::createFramebuffer(4, 4, gl::Texture2dConfig());
    gl::Framebuffer* b = gl::createFramebuffer(4, 4, gl::Texture2dConfig());
    using Bindings = std::pair<GLint, GLint>;  // draw, read
    const auto bindings = [] {
        return Bindings{integer(GL_DRAW_FRAMEBUFFER_BINDING), integer(GL_READ_FRAMEBUFFER_BINDING)};
    };
    const GLint idA = static_cast<GLint>(a->id);
    const GLint idB = static_cast<GLint>(b->id);
    gltest::expectBindsOnlyWhenNotCurrent(
        GL_FRAMEBUFFER_BINDING, a->id, [&] { gl::bindFramebuffer(a); }, gl::unbindFramebuffer);
    // The combined bind is current for drawing and reading too.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gl::bindFramebufferDraw(a);
    gl::bindFramebufferRead(a);
    EXPECT_EQ(bindings(), Bindings(0, 0)) << "binds of the current framebuffer reached GL";
    glBindFramebuffer(GL_FRAMEBUFFER, a->id);

    // A split bind ends the combined record, and a creation restores the split bindings.
    gl::bindFramebufferDraw(b);
    gl::Framebuffer* c = gl::createFramebuffer(2, 2, gl::Texture2dConfig());
    gl::deleteFramebuffer(c, true);
    EXPECT_EQ(bindings(), Bindings(idB, idA));
    gl::bindFramebuffer(a);
    EXPECT_EQ(bindings(), Bindings(idA, idA)) << "the combined bind was skipped after a split one";
    gl::bindFramebufferRead(b);
    gl::bindFramebufferDraw(b);  // b was the read record: that record is dropped
    EXPECT_EQ(gl::framebufferReadCurrent, nullptr);
    gl::unbindFramebufferRead();
    EXPECT_EQ(bindings(), Bindings(idB, 0));

    gl::bindFramebuffer(b);
    gl::deleteFramebuffer(b, true);
    EXPECT_TRUE(gl::framebufferCurrent == nullptr && gl::framebufferDrawCurrent == nullptr &&
                gl::framebufferReadCurrent == nullptr);
    EXPECT_EQ(bindings(), Bindings(0, 0)) << "GL let go of the deleted framebuffer";
    gl::deleteFramebuffer(a, true);
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
