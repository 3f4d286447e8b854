// Vertex arrays against the GL state they capture, and a full round trip: geometry uploaded
// through the buffer module, drawn instanced and indexed with a linked program, read back.
#include "visualization/util/gl/vertex_array.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "gl/util/gl/gl_state.h"

namespace {

using gltest::integer;
using ::testing::HasSubstr;

GLint attribute(GLuint location, GLenum parameter) {
    GLint value = -1;
    glGetVertexAttribiv(location, parameter, &value);
    return value;
}

gl::VertexArrayAttributeConfig attr(GLuint location, gl::VertexBuffer** buffer, GLint size,
                                    GLsizei offset, GLsizei stride, GLuint divisor = 0) {
    return gl::VertexArrayAttributeConfig()
        .setLocation(location)
        .setBuffer(buffer)
        .setSize(size)
        .setOffset(offset)
        .setStride(stride)
        .setDivisor(divisor);
}

using GlVertexArrayTest = gltest::GlLayerTest;

TEST_F(GlVertexArrayTest, CapturesAttributesAndIndexBufferAndLeavesNothingCurrent) {
    gl::VertexBuffer* vertices =
        gl::createVertexBuffer(std::vector<float>(16, 0.0f), GL_STATIC_DRAW);
    gl::VertexBuffer* instances =
        gl::createVertexBuffer(std::vector<float>(8, 0.0f), GL_STATIC_DRAW);
    gl::IndexBuffer* indices =
        gl::createIndexBuffer(std::vector<uint16_t>{0, 1, 2}, GL_STATIC_DRAW);
    // An index buffer that is already current must still be captured by the new vertex array.
    gl::bindIndexBuffer(indices);

    std::vector<gl::VertexArrayAttributeConfig> configs = {attr(0, &vertices, 2, 0, 16),
                                                           attr(1, &vertices, 2, 8, 16),
                                                           attr(3, &instances, 4, 0, 16, 1)};
    gl::VertexArray* vertexArray = gl::createVertexArray(configs, indices);

    EXPECT_TRUE(gl::vertexArrayCurrent == nullptr && gl::vertexBufferCurrent == nullptr &&
                gl::indexBufferCurrent == nullptr);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);

    glBindVertexArray(vertexArray->id);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(indices->id));
    EXPECT_EQ(attribute(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE);
    EXPECT_EQ(attribute(1, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 16);
    void* offset = nullptr;
    glGetVertexAttribPointerv(1, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(offset), 8u);
    EXPECT_EQ(attribute(1, GL_VERTEX_ATTRIB_ARRAY_DIVISOR), 0);
    EXPECT_EQ(attribute(2, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_FALSE);
    EXPECT_EQ(attribute(3, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING),
              static_cast<GLint>(instances->id));
    EXPECT_EQ(attribute(3, GL_VERTEX_ATTRIB_ARRAY_DIVISOR), 1);
    glBindVertexArray(0);
    gl::deleteVertexArray(vertexArray);
    gl::deleteIndexBuffer(indices);
    gl::deleteVertexBuffer(vertices);
    gl::deleteVertexBuffer(instances);
}

TEST_F(GlVertexArrayTest, EmptyArrayLeavesBufferBindingsAlone) {
    gl::VertexBuffer* vertices = gl::createVertexBuffer();
    gl::bindVertexBuffer(vertices);
    std::vector<gl::VertexArrayAttributeConfig> none;
    gl::VertexArray* vertexArray = gl::createVertexArray(none, nullptr);
    EXPECT_EQ(gl::vertexBufferCurrent, vertices);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(vertices->id));
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    gl::deleteVertexArray(vertexArray);
    gl::deleteVertexBuffer(vertices);
}

TEST_F(GlVertexArrayTest, BindsOnlyWhenNotCurrentAndForgetsTheElementBindingOnSwitch) {
    std::vector<gl::VertexArrayAttributeConfig> none;
    gl::VertexArray* a = gl::createVertexArray(none, nullptr);
    gl::VertexArray* b = gl::createVertexArray(none, nullptr);
    gl::IndexBuffer* indices = gl::createIndexBuffer(std::vector<uint8_t>{0}, GL_STATIC_DRAW);

    gl::bindVertexArray(a);
    glBindVertexArray(0);
    gl::bindVertexArray(a);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0) << "a bind of the current array reached GL";
    gl::unbindVertexArray();
    // Switching vertex arrays switches GL's element binding, so the index buffer bound into one
    // array must be bound again into the next.
    gl::bindVertexArray(a);
    gl::bindIndexBuffer(indices);
    gl::bindVertexArray(b);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    gl::bindIndexBuffer(indices);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(indices->id));

    gl::deleteVertexArray(b);
    EXPECT_EQ(gl::vertexArrayCurrent, nullptr);
    EXPECT_EQ(gl::indexBufferCurrent, nullptr);
    gl::bindVertexArray(a);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(a->id));
    gl::deleteVertexArray(a);
    gl::deleteIndexBuffer(indices);
}

TEST_F(GlVertexArrayTest, RoundTripDrawsIndexedInstancedQuads) {
    const char* vertexSource = R"(#version 300 es
layout(location = 0) in vec2 aCorner;
layout(location = 1) in vec2 aOffset;
layout(location = 2) in vec4 aColor;
uniform float uScale;
out vec4 vColor;
void main() {
    vColor = aColor;
    gl_Position = vec4(aCorner * uScale + aOffset, 0.0, 1.0);
}
)";
    gl::Program* program = gl::createProgram(vertexSource, gltest::kColourFragmentSource, {});
    // Corners of a unit quad; two instances: offset then colour, 6 floats each.
    gl::VertexBuffer* corners =
        gl::createVertexBuffer(std::vector<float>{-1, -1, 1, -1, -1, 1, 1, 1}, GL_STATIC_DRAW);
    gl::VertexBuffer* instances = gl::createVertexBuffer();
    gl::IndexBuffer* indices =
        gl::createIndexBuffer(std::vector<uint16_t>{0, 1, 2, 2, 1, 3}, GL_STATIC_DRAW);
    std::vector<gl::VertexArrayAttributeConfig> configs = {attr(0, &corners, 2, 0, 8),
                                                           attr(1, &instances, 2, 0, 24, 1),
                                                           attr(2, &instances, 4, 8, 24, 1)};
    gl::VertexArray* vertexArray = gl::createVertexArray(configs, indices);

    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // Per frame, as a renderer does it: bind, re-upload the dynamic data, set uniforms, draw.
    gl::bindProgram(program);
    gl::uniform("uScale", 0.25f);
    gl::bindVertexArray(vertexArray);
    gl::bindVertexBuffer(instances);
    gl::bufferVertexData(std::vector<float>{-0.5f, -0.5f, 1, 0, 0, 1,  //
                                            0.5f, 0.5f, 0, 1, 0, 1},
                         GL_DYNAMIC_DRAW);
    glDrawElementsInstanced(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr, 2);
    gl::unbindVertexArray();
    readBack();
    savePng("gl_round_trip");

    // NDC (-0.5, -0.5) is the lower left quadrant, (0.5, 0.5) the upper right; (0, 0) is the
    // top-left pixel of the read-back. Each quad spans 16 pixels.
    EXPECT_EQ(pixel(16, 48), (testsupport::Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(48, 16), (testsupport::Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixel(9, 48), (testsupport::Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(7, 48), (testsupport::Rgba{0, 0, 255, 255}));
    EXPECT_EQ(pixel(23, 48), (testsupport::Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(24, 48), (testsupport::Rgba{0, 0, 255, 255}));

    gl::deleteProgram(program);
    gl::deleteVertexArray(vertexArray);
    gl::deleteIndexBuffer(indices);
    gl::deleteVertexBuffer(instances);
    gl::deleteVertexBuffer(corners);
}

using GlVertexArrayDeathTest = GlVertexArrayTest;

TEST_F(GlVertexArrayDeathTest, NullRecordsStopWithTheirCondition) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            gl::VertexBuffer* missing = nullptr;
            std::vector<gl::VertexArrayAttributeConfig> configs = {
                gl::VertexArrayAttributeConfig().setLocation(0).setBuffer(&missing).setSize(2)};
            gl::createVertexArray(configs, nullptr);
        },
        HasSubstr("Assertion failed: *buffer != nullptr && \"Buffer not valid\""));
    EXPECT_DEATH(gl::bindVertexArray(nullptr),
                 HasSubstr("Assertion failed: vertexArray != nullptr && \"Vertex array not "
                           "valid\""));
}

}  // namespace
