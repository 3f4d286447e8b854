// Framebuffers against GL: completeness, attachments, drawing into several colour targets, the
// three binding records, ownership of attachments, and status reporting by name.
#include "visualization/util/gl/framebuffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"

namespace {

using gltest::integer;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using testsupport::Rgba;

gl::Texture2dConfig depthConfig() {
    gl::Texture2dConfig config;
    config.internalFormat = GL_DEPTH_COMPONENT24;
    config.format = GL_DEPTH_COMPONENT;
    config.type = GL_UNSIGNED_INT;
    config.minFilter = config.magFilter = GL_NEAREST;
    return config;
}

gl::Texture2dConfig depthStencilConfig() {
    gl::Texture2dConfig config;
    config.internalFormat = GL_DEPTH24_STENCIL8;
    config.format = GL_DEPTH_STENCIL;
    config.type = GL_UNSIGNED_INT_24_8;
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

TEST_F(GlFramebufferTest, DepthAttachmentsAndOwnership) {
    gl::Framebuffer* depth = gl::createFramebufferDepth(8, 8, gl::Texture2dConfig(), depthConfig());
    ASSERT_NE(depth->depthAttachment, nullptr);
    gl::Framebuffer* depthStencil =
        gl::createFramebufferDepthStencil(8, 8, gl::Texture2dConfig(), depthStencilConfig());
    ASSERT_NE(depthStencil->depthStencilAttachment, nullptr);

    gl::bindFramebuffer(depthStencil);
    GLint type = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &type);
    EXPECT_EQ(type, static_cast<GLint>(depthStencil->depthStencilAttachment->id));
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    gl::unbindFramebuffer();

    // Without deleteAttachments the textures stay with the caller.
    std::vector<gl::Texture2d*> colours = depth->colorAttachments;
    gl::Texture2d* depthTexture = depth->depthAttachment;
    gl::deleteFramebuffer(depth, false);
    EXPECT_TRUE(glIsTexture(colours[0]->id));
    EXPECT_TRUE(glIsTexture(depthTexture->id));
    gl::deleteTexture2d(colours[0]);
    gl::deleteTexture2d(depthTexture);
    gl::deleteFramebuffer(depthStencil, true);

    // No colour textures: no draw buffers and no size.
    std::vector<gl::Texture2d*> none;
    gl::Texture2d* depthOnly = gl::createTexture2d(4, 4, depthConfig());
    gl::Framebuffer* shadow = gl::createFramebuffer(none, depthOnly, nullptr);
    EXPECT_TRUE(shadow->drawBuffers.empty());
    gl::bindFramebuffer(shadow);
    EXPECT_EQ(integer(GL_DRAW_BUFFER0), GL_NONE);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    const GLuint depthOnlyId = depthOnly->id;
    gl::deleteFramebuffer(shadow, true);
    EXPECT_FALSE(glIsTexture(depthOnlyId));
}

TEST_F(GlFramebufferTest, BindingRecordsFollowCombinedAndSplitBinds) {
    gl::Framebuffer* a = gl::createFramebuffer(4, 4, gl::Texture2dConfig());
    gl::Framebuffer* b = gl::createFramebuffer(4, 4, gl::Texture2dConfig());
    const auto draw = [] { return integer(GL_DRAW_FRAMEBUFFER_BINDING); };
    const auto read = [] { return integer(GL_READ_FRAMEBUFFER_BINDING); };
    const GLint idA = static_cast<GLint>(a->id);
    const GLint idB = static_cast<GLint>(b->id);

    gl::bindFramebuffer(a);
    EXPECT_TRUE(gl::framebufferCurrent == a && gl::framebufferDrawCurrent == a &&
                gl::framebufferReadCurrent == a);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gl::bindFramebuffer(a);
    gl::bindFramebufferDraw(a);
    gl::bindFramebufferRead(a);
    EXPECT_EQ(draw(), 0) << "binds of the current framebuffer reached GL";
    EXPECT_EQ(read(), 0);
    glBindFramebuffer(GL_FRAMEBUFFER, a->id);

    // A creation restores the bindings the records describe.
    gl::Framebuffer* c = gl::createFramebuffer(2, 2, gl::Texture2dConfig());
    EXPECT_EQ(draw(), idA);
    EXPECT_EQ(read(), idA);

    gl::bindFramebufferDraw(b);
    EXPECT_EQ(draw(), idB);
    EXPECT_EQ(read(), idA);
    EXPECT_EQ(gl::framebufferCurrent, nullptr) << "the combined record no longer holds";
    gl::Framebuffer* d = gl::createFramebuffer(2, 2, gl::Texture2dConfig());
    EXPECT_EQ(draw(), idB);
    EXPECT_EQ(read(), idA);

    // The combined bind is not skipped after a split one.
    gl::bindFramebuffer(a);
    EXPECT_EQ(draw(), idA);
    EXPECT_EQ(read(), idA);

    gl::bindFramebufferRead(b);
    EXPECT_EQ(read(), idB);
    gl::bindFramebufferDraw(b);  // b was the read record: that record is dropped
    EXPECT_EQ(draw(), idB);
    EXPECT_EQ(gl::framebufferReadCurrent, nullptr);
    gl::bindFramebufferRead(b);
    EXPECT_EQ(read(), idB);

    gl::unbindFramebufferRead();
    EXPECT_EQ(read(), 0);
    EXPECT_EQ(draw(), idB);
    gl::unbindFramebufferDraw();
    EXPECT_EQ(draw(), 0);

    gl::bindFramebuffer(b);
    gl::deleteFramebuffer(b, true);
    EXPECT_TRUE(gl::framebufferCurrent == nullptr && gl::framebufferDrawCurrent == nullptr &&
                gl::framebufferReadCurrent == nullptr);
    EXPECT_EQ(draw(), 0) << "GL let go of the deleted framebuffer";
    gl::deleteFramebuffer(a, true);
    gl::deleteFramebuffer(c, true);
    gl::deleteFramebuffer(d, true);
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

using GlFramebufferDeathTest = GlFramebufferTest;

TEST_F(GlFramebufferDeathTest, BrokenFramebuffersStopWithTheirCondition) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            std::vector<gl::Texture2d*> none;
            gl::Texture2d* depth = gl::createTexture2d(4, 4, depthConfig());
            gl::createFramebuffer(none, depth, depth);
        },
        HasSubstr("Assertion failed: !(depthAttachment != nullptr && depthStencilAttachment != "
                  "nullptr) && \"Invalid double attachment\""));
    EXPECT_DEATH(
        {
            gltest::logToStderr();
            gl::Texture2dConfig luminance;
            luminance.format = luminance.internalFormat = GL_LUMINANCE;
            gl::createFramebuffer(4, 4, luminance);
        },
        ContainsRegex("FRAMEBUFFER ERROR GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT.*"
                      "Assertion failed: !getFramebufferError\\(\\)"));
    EXPECT_DEATH(gl::bindFramebuffer(nullptr),
                 HasSubstr("Assertion failed: framebuffer != nullptr && \"Framebuffer not "
                           "valid\""));
}

}  // namespace
