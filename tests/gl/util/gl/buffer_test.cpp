// Buffers against the real GL state of the headless context: binding records, uploads in
// elements, index types and error reporting.
#include "visualization/util/gl/buffer.h"

#include <gtest/gtest.h>

#include <EGL/egl.h>

#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"

namespace {

using gltest::integer;

GLint bufferSize(GLenum target) {
    GLint value = -1;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &value);
    return value;
}

using GlBufferTest = gltest::GlLayerTest;

TEST_F(GlBufferTest, VertexBuffersBindOnlyWhenNotCurrentAndTakeDataInElements) {
    gl::VertexBuffer* a = gl::createVertexBuffer();
    gltest::expectBindsOnlyWhenNotCurrent(
        GL_ARRAY_BUFFER_BINDING, a->id, [&] { gl::bindVertexBuffer(a); }, gl::unbindVertexBuffer);
    // Creating another buffer, with or without data, restores the current one.
    gl::VertexBuffer* b = gl::createVertexBuffer();
    gl::VertexBuffer* c = gl::createVertexBuffer(std::vector<float>{1, 2, 3}, GL_DYNAMIC_DRAW);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(a->id));
    // Five elements of 16 bytes.
    gl::bufferVertexData(5, 16, nullptr, GL_STREAM_DRAW);
    EXPECT_EQ(a->size, 80);
    EXPECT_EQ(bufferSize(GL_ARRAY_BUFFER), 80);

    // Deleting the current buffer clears the record; deleting another keeps it.
    gl::deleteVertexBuffer(a);
    EXPECT_TRUE(a == nullptr && gl::vertexBufferCurrent == nullptr);
    gl::bindVertexBuffer(c);
    gl::deleteVertexBuffer(b);
    EXPECT_EQ(gl::vertexBufferCurrent, c);
    gl::deleteVertexBuffer(c);
}

TEST_F(GlBufferTest, IndexBuffersRecordTheirTypeAndRestoreTheBinding) {
    gl::IndexBuffer* shorts =
        gl::createIndexBuffer(std::vector<uint16_t>{0, 1, 2, 2, 3}, GL_DYNAMIC_DRAW);
    gltest::expectBindsOnlyWhenNotCurrent(
        GL_ELEMENT_ARRAY_BUFFER_BINDING, shorts->id, [&] { gl::bindIndexBuffer(shorts); },
        gl::unbindIndexBuffer);
    gl::IndexBuffer* ints = gl::createIndexBuffer(std::vector<uint32_t>{9, 8}, GL_STATIC_DRAW);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(shorts->id));
    EXPECT_EQ(shorts->size, 10);
    EXPECT_EQ(ints->type, static_cast<GLenum>(GL_UNSIGNED_INT));
    gl::bindIndexBuffer(ints);
    gl::bufferIndexData(std::vector<uint16_t>{1, 2, 3, 4}, GL_STREAM_DRAW);
    EXPECT_EQ(ints->type, static_cast<GLenum>(GL_UNSIGNED_SHORT));
    EXPECT_EQ(bufferSize(GL_ELEMENT_ARRAY_BUFFER), 8);
    gl::deleteIndexBuffer(ints);
    EXPECT_EQ(gl::indexBufferCurrent, nullptr);
    gl::deleteIndexBuffer(shorts);
}

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
