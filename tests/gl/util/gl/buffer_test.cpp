// Buffers against the real GL state of the headless context. A redundant bind is detected by
// changing the GL binding behind the module's back: a skipped bind leaves GL's binding alone.
#include "visualization/util/gl/buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <EGL/egl.h>

#include <cstring>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"
#include "visualization/util/gl/framebuffer.h"
#include "visualization/util/gl/texture_2d.h"

namespace {

using ::testing::AllOf;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;

using gltest::integer;

GLint bufferParameter(GLenum target, GLenum parameter) {
    GLint value = -1;
    glGetBufferParameteriv(target, parameter, &value);
    return value;
}

using GlBufferTest = gltest::GlLayerTest;

TEST_F(GlBufferTest, VertexBufferBindsOnlyWhenNotCurrent) {
    gl::VertexBuffer* a = gl::createVertexBuffer();
    // Nothing was current: the new buffer stays bound in GL but is not recorded.
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(a->id));
    EXPECT_EQ(gl::vertexBufferCurrent, nullptr);

    gl::bindVertexBuffer(a);
    EXPECT_EQ(gl::vertexBufferCurrent, a);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(a->id));

    glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl::bindVertexBuffer(a);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0) << "a bind of the current buffer reached GL";

    gl::unbindVertexBuffer();
    gl::bindVertexBuffer(a);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(a->id));

    // Creating another buffer restores the current one, with and without data.
    gl::VertexBuffer* b = gl::createVertexBuffer();
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(a->id));
    gl::VertexBuffer* c = gl::createVertexBuffer(std::vector<float>{1, 2, 3}, GL_DYNAMIC_DRAW);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(a->id));
    EXPECT_EQ(gl::vertexBufferCurrent, a);

    // Deleting the current buffer clears the record, so a new record is never skipped.
    gl::deleteVertexBuffer(a);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(gl::vertexBufferCurrent, nullptr);
    gl::bindVertexBuffer(c);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(c->id));
    gl::deleteVertexBuffer(b);
    EXPECT_EQ(gl::vertexBufferCurrent, c) << "deleting another buffer keeps the record";
    gl::deleteVertexBuffer(c);
}

TEST_F(GlBufferTest, VertexDataUploadsWholeAndInElements) {
    gl::VertexBuffer* buffer = gl::createVertexBuffer();
    gl::bindVertexBuffer(buffer);

    const std::vector<float> zeros(12, 0.0f);
    gl::bufferVertexData(zeros, GL_DYNAMIC_DRAW);
    EXPECT_EQ(buffer->count, 12);
    EXPECT_EQ(bufferParameter(GL_ARRAY_BUFFER, GL_BUFFER_SIZE), 48);
    EXPECT_EQ(bufferParameter(GL_ARRAY_BUFFER, GL_BUFFER_USAGE), GL_DYNAMIC_DRAW);

    // Offset and count in elements: 6 floats at element 3 are bytes 12 to 35.
    gl::bufferVertexSubData(3, std::vector<float>{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(buffer->count, 12) << "a partial upload leaves the record alone";
    const auto* mapped =
        static_cast<const float*>(gl::mapVertexBufferRange(0, 48, GL_MAP_READ_BIT));
    ASSERT_NE(mapped, nullptr);
    const std::vector<float> seen(mapped, mapped + 12);
    gl::unmapVertexBuffer();
    EXPECT_EQ(seen, (std::vector<float>{0, 0, 0, 1, 2, 3, 4, 5, 6, 0, 0, 0}));

    gl::bufferVertexData(5, 16, nullptr, GL_STREAM_DRAW);
    EXPECT_EQ(buffer->size, 80);
    EXPECT_EQ(bufferParameter(GL_ARRAY_BUFFER, GL_BUFFER_SIZE), 80);
    gl::deleteVertexBuffer(buffer);
}

TEST_F(GlBufferTest, IndexBuffersRecordTypeAndRestoreBinding) {
    gl::IndexBuffer* bytes = gl::createIndexBuffer(std::vector<uint8_t>{0, 1, 2}, GL_STATIC_DRAW);
    EXPECT_EQ(bytes->type, static_cast<GLenum>(GL_UNSIGNED_BYTE));

    gl::bindIndexBuffer(bytes);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(bytes->id));
    gl::IndexBuffer* shorts =
        gl::createIndexBuffer(std::vector<uint16_t>{0, 1, 2, 2, 3}, GL_DYNAMIC_DRAW);
    EXPECT_EQ(shorts->size, 10);
    gl::IndexBuffer* ints = gl::createIndexBuffer(std::vector<uint32_t>{9, 8}, GL_STATIC_DRAW);
    EXPECT_EQ(ints->type, static_cast<GLenum>(GL_UNSIGNED_INT));
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(bytes->id));
    EXPECT_EQ(gl::indexBufferCurrent, bytes);

    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    gl::bindIndexBuffer(bytes);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);

    gl::bindIndexBuffer(ints);
    gl::bufferIndexData(std::vector<uint16_t>{1, 2, 3, 4}, GL_STREAM_DRAW);
    EXPECT_EQ(ints->type, static_cast<GLenum>(GL_UNSIGNED_SHORT));
    gl::bufferIndexSubData(2, std::vector<uint16_t>{7});
    const auto* mapped =
        static_cast<const uint16_t*>(gl::mapIndexBufferRange(0, 8, GL_MAP_READ_BIT));
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(std::vector<uint16_t>(mapped, mapped + 4), (std::vector<uint16_t>{1, 2, 7, 4}));
    gl::unmapIndexBuffer();

    gl::bindIndexBuffer(shorts);
    gl::deleteIndexBuffer(shorts);
    EXPECT_EQ(gl::indexBufferCurrent, nullptr);
    gl::deleteIndexBuffer(bytes);
    gl::deleteIndexBuffer(ints);
}

TEST_F(GlBufferTest, UniformBufferAttachesToBindingPoint) {
    const float colour[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    gl::UniformBuffer* buffer = gl::createUniformBuffer(sizeof(colour), colour, GL_DYNAMIC_DRAW);
    EXPECT_EQ(integer(GL_UNIFORM_BUFFER_BINDING), 0) << "nothing current: back to 0";

    gl::bindUniformBuffer(buffer);
    EXPECT_EQ(integer(GL_UNIFORM_BUFFER_BINDING), static_cast<GLint>(buffer->id));
    gl::UniformBuffer* other = gl::createUniformBuffer(16, nullptr, GL_STATIC_DRAW);
    EXPECT_EQ(integer(GL_UNIFORM_BUFFER_BINDING), static_cast<GLint>(buffer->id));

    gl::bindUniformBufferBase(2);
    GLint indexed = -1;
    glGetIntegeri_v(GL_UNIFORM_BUFFER_BINDING, 2, &indexed);
    EXPECT_EQ(indexed, static_cast<GLint>(buffer->id));

    gl::bufferUniformData(32, nullptr, GL_STREAM_DRAW);
    EXPECT_EQ(bufferParameter(GL_UNIFORM_BUFFER, GL_BUFFER_SIZE), 32);

    gl::deleteUniformBuffer(buffer);
    EXPECT_EQ(gl::uniformBufferCurrent, nullptr);
    gl::deleteUniformBuffer(other);
    gl::unbindUniformBuffer();
}

TEST_F(GlBufferTest, GetErrorNamesOneErrorPerCall) {
    testsupport::LogCapture log;
    EXPECT_FALSE(gl::getError());
    EXPECT_TRUE(log.lines().empty());

    glUnmapBuffer(GL_ARRAY_BUFFER);  // nothing bound: GL_INVALID_OPERATION
    glBindBuffer(0x1234, 0);         // GL_INVALID_ENUM
    EXPECT_TRUE(gl::getError());
    EXPECT_FALSE(gl::getError()) << "GL keeps only the first error until it is read";
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"GL ERROR GL_INVALID_OPERATION"}));

    log.clear();
    glEnableVertexAttribArray(100000);  // beyond the attribute count: GL_INVALID_VALUE
    EXPECT_TRUE(gl::getError());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"GL ERROR GL_INVALID_VALUE"}));

    // A code outside the named ones: popping an empty debug group stack underflows it.
    using PopDebugGroup = void (*)();
    auto popDebugGroup = reinterpret_cast<PopDebugGroup>(eglGetProcAddress("glPopDebugGroupKHR"));
    if (popDebugGroup == nullptr) {
        GTEST_SKIP() << "no KHR_debug: the unnamed error code cannot be produced";
    }
    log.clear();
    popDebugGroup();
    EXPECT_TRUE(gl::getError());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"GL ERROR 0x504"}));
}

TEST_F(GlBufferTest, UnbindAllClearsEveryRecordAndBinding) {
    gl::Program* program =
        gl::createProgram(gltest::kColourVertexSource, gltest::kColourFragmentSource, {});
    gl::VertexBuffer* vertices = gl::createVertexBuffer();
    gl::IndexBuffer* indices = gl::createIndexBuffer(std::vector<uint8_t>{0}, GL_STATIC_DRAW);
    std::vector<gl::VertexArrayAttributeConfig> none;
    gl::VertexArray* vertexArray = gl::createVertexArray(none, nullptr);
    gl::Texture2d* texture = gl::createTexture2d(2, 2, gl::Texture2dConfig());
    gl::Framebuffer* framebuffer = gl::createFramebuffer(2, 2, gl::Texture2dConfig());
    gl::bindProgram(program);
    gl::bindVertexArray(vertexArray);
    gl::bindVertexBuffer(vertices);
    gl::bindIndexBuffer(indices);
    gl::bindTexture2d(texture);
    gl::bindFramebuffer(framebuffer);

    gl::unbindAll();
    EXPECT_TRUE(gl::programCurrent == nullptr && gl::vertexArrayCurrent == nullptr &&
                gl::vertexBufferCurrent == nullptr && gl::indexBufferCurrent == nullptr &&
                gl::texture2dCurrent == nullptr && gl::framebufferCurrent == nullptr);
    for (GLenum query :
         {GL_CURRENT_PROGRAM, GL_VERTEX_ARRAY_BINDING, GL_ARRAY_BUFFER_BINDING,
          GL_ELEMENT_ARRAY_BUFFER_BINDING, GL_TEXTURE_BINDING_2D, GL_FRAMEBUFFER_BINDING}) {
        EXPECT_EQ(integer(query), 0) << std::hex << query;
    }
    mTarget->bind();
    gl::deleteFramebuffer(framebuffer, true);
    gl::deleteTexture2d(texture);
    gl::deleteVertexArray(vertexArray);
    gl::deleteIndexBuffer(indices);
    gl::deleteVertexBuffer(vertices);
    gl::deleteProgram(program);
}

using GlBufferDeathTest = GlBufferTest;

TEST_F(GlBufferDeathTest, BrokenPreconditionsStopWithTheirCondition) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(gl::bindVertexBuffer(nullptr),
                 HasSubstr("Assertion failed: buffer != nullptr && \"Buffer not valid\""));
    EXPECT_DEATH(
        {
            gl::VertexBuffer* buffer = gl::createVertexBuffer();
            gl::bindVertexBuffer(buffer);
            gl::deleteVertexBuffer(buffer);
            gl::bufferVertexData(std::vector<float>{1.0f}, GL_STATIC_DRAW);
        },
        HasSubstr("Assertion failed: vertexBufferCurrent != nullptr && \"No vertex buffer "
                  "bound\""));
    EXPECT_DEATH(gl::mapIndexBufferRange(0, 4, GL_MAP_READ_BIT),
                 HasSubstr("Assertion failed: indexBufferCurrent != nullptr && \"No index "
                           "buffer bound\""));
    EXPECT_DEATH(gl::bindUniformBufferBase(0),
                 HasSubstr("Assertion failed: uniformBufferCurrent != nullptr && \"No uniform "
                           "buffer bound\""));
    // A GL error pending after a GL call is named in the log before the report.
    EXPECT_DEATH(
        {
            gltest::logToStderr();
            gl::VertexBuffer* buffer = gl::createVertexBuffer();
            glBindBuffer(0x1234, 0);
            gl::deleteVertexBuffer(buffer);
        },
        ContainsRegex("GL ERROR GL_INVALID_ENUM.*Assertion failed: !gl::getError\\(\\)"));
}

}  // namespace
