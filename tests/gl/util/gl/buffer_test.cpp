// Buffers against the real GL state of the headless context: streamed uploads and error
// reporting.
#include "visualization/util/gl/buffer.h"

#include <gtest/gtest.h>

#include <EGL/egl.h>

#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"

namespace {

GLint bufferSize(GLenum target) {
    GLint value = -1;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &value);
    return value;
}

using GlBufferTest = gltest::GlLayerTest;

// Data rebuilt every frame keeps one store while it fits, so the driver is not asked for a block
// of a new size every frame; the data itself still arrives whole.
TEST_F(GlBufferTest, StreamedDataKeepsItsStoreUntilItOutgrowsIt) {
    gl::VertexBuffer* vertices = gl::createVertexBuffer();
    gl::bindVertexBuffer(vertices);
    const std::vector<float> values = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    gl::streamVertexData(10, sizeof(float), values.data());
    EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER), 256);
    gl::streamVertexData(3, sizeof(float), values.data() + 7);
    EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER), 256);
    EXPECT_EQ(vertices->size, 12);
    const auto* stored =
        static_cast<const float*>(gl::mapVertexBufferRange(0, 3 * sizeof(float), GL_MAP_READ_BIT));
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(std::vector<float>(stored, stored + 3), std::vector<float>({8, 9, 10}));
    gl::unmapVertexBuffer();

    gl::IndexBuffer* indices = gl::createIndexBuffer(std::vector<uint8_t>{0}, GL_STATIC_DRAW);
    gl::bindIndexBuffer(indices);
    const std::vector<uint16_t> many(300, 7);
    gl::streamIndexData(300, sizeof(uint16_t), many.data(), GL_UNSIGNED_SHORT);
    EXPECT_EQ(bufferSize(GL_ELEMENT_ARRAY_BUFFER), 1024);
    EXPECT_EQ(indices->type, static_cast<GLenum>(GL_UNSIGNED_SHORT));
    gl::streamIndexData(0, sizeof(uint16_t), nullptr, GL_UNSIGNED_SHORT);
    EXPECT_EQ(bufferSize(GL_ELEMENT_ARRAY_BUFFER), 1024);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    gl::deleteIndexBuffer(indices);
    gl::deleteVertexBuffer(vertices);
}

TEST_F(GlBufferTest, GetErrorNamesOneErrorPerCall) {
    testsupport::LogCapture log;
    EXPECT_FALSE(gl::getError());
    glUnmapBuffer(GL_ARRAY_BUFFER);  // nothing bound: GL_INVALID_OPERATION
    glBindBuffer(0x1234, 0);         // GL_INVALID_ENUM
    EXPECT_TRUE(gl::getError());
    EXPECT_FALSE(gl::getError()) << "GL keeps only the first error until it is read";
    glEnableVertexAttribArray(100000);  // beyond the attribute count: GL_INVALID_VALUE
    EXPECT_TRUE(gl::getError());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"GL ERROR GL_INVALID_OPERATION",
                                                     "GL ERROR GL_INVALID_VALUE"}));

    // A code outside the named ones: popping an empty debug group stack underflows it.
    auto popDebugGroup = reinterpret_cast<void (*)()>(eglGetProcAddress("glPopDebugGroupKHR"));
    if (popDebugGroup == nullptr) {
        GTEST_SKIP() << "no KHR_debug: the unnamed error code cannot be produced";
    }
    log.clear();
    popDebugGroup();
    EXPECT_TRUE(gl::getError());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"GL ERROR 0x504"}));
}

}  // namespace
