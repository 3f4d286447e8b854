// Vertex arrays: their binding record, and a full round trip in which the attributes and the
// index buffer they captured are checked through pixels: geometry uploaded through the buffer
// module, drawn instanced and indexed with a linked program, read back.
#include "visualization/util/gl/vertex_array.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "visualization/util/gl/shared_context.h"

namespace {

using gltest::integer;

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

TEST_F(GlVertexArrayTest, BindsOnlyWhenNotCurrentAndForgetsTheElementBindingOnSwitch) {
    // An array without attributes leaves the buffer bindings alone.
    gl::VertexBuffer* vertices = gl::createVertexBuffer();
    gl::bindVertexBuffer(vertices);
    std::vector<gl::VertexArrayAttributeConfig> none;
    gl::VertexArray* a = gl::createVertexArray(none, nullptr);
    gl::VertexArray* b = gl::createVertexArray(none, nullptr);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(vertices->id));
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    gltest::expectBindsOnlyWhenNotCurrent(
        GL_VERTEX_ARRAY_BINDING, a->id, [&] { gl::bindVertexArray(a); }, gl::unbindVertexArray);

    // Switching vertex arrays switches GL's element binding, so the index buffer bound into one
    // array must be bound again into the next.
    gl::IndexBuffer* indices = gl::createIndexBuffer(std::vector<uint8_t>{0}, GL_STATIC_DRAW);
    gl::bindIndexBuffer(indices);
    gl::bindVertexArray(b);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    gl::bindIndexBuffer(indices);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(indices->id));

    gl::deleteVertexArray(b);
    EXPECT_TRUE(gl::vertexArrayCurrent == nullptr && gl::indexBufferCurrent == nullptr);
    gl::deleteVertexArray(a);
    gl::deleteIndexBuffer(indices);
    gl::deleteVertexBuffer(vertices);
}

// One renderer's draw leaves its vertex array bound; the next renderer built creates its index
// buffer. The first renderer's array must keep its own indices (it once drew the other's, as
// shards), and binding it again for a draw must bind them too.
TEST_F(GlVertexArrayTest, AnotherRenderersIndexBufferNeverLandsInABoundArray) {
    gl::VertexBuffer* vertices = gl::createVertexBuffer(std::vector<float>{0, 0}, GL_STATIC_DRAW);
    std::vector<gl::VertexArrayAttributeConfig> configs = {attr(0, &vertices, 2, 0, 0)};
    gl::IndexBuffer* own = gl::createIndexBuffer(std::vector<uint8_t>{0, 0, 0}, GL_STATIC_DRAW);
    gl::VertexArray* array = gl::createVertexArray(configs, own);
    gl::bindVertexArray(array);

    gl::IndexBuffer* other = gl::createIndexBuffer(std::vector<uint16_t>{0, 0}, GL_STATIC_DRAW);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(array->id));
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(own->id));
    // Binding another buffer with none of the module's arrays current goes to the default one.
    gl::unbindVertexArray();
    gl::bindIndexBuffer(other);
    glBindVertexArray(array->id);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(own->id));

    // A host that rewrote the array's element binding behind the module's back cannot make the
    // next draw read its indices.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, other->id);
    gl::resetBindingRecords();
    gl::bindVertexArray(array);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(own->id));

    gl::unbindVertexArray();
    gl::deleteVertexArray(array);
    gl::deleteIndexBuffer(other);
    gl::deleteIndexBuffer(own);
    gl::deleteVertexBuffer(vertices);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
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
    // An index buffer that is already current must still be captured by the new vertex array.
    gl::bindIndexBuffer(indices);
    std::vector<gl::VertexArrayAttributeConfig> configs = {attr(0, &corners, 2, 0, 8),
                                                           attr(1, &instances, 2, 0, 24, 1),
                                                           attr(2, &instances, 4, 8, 24, 1)};
    gl::VertexArray* vertexArray = gl::createVertexArray(configs, indices);
    EXPECT_TRUE(gl::vertexArrayCurrent == nullptr && gl::vertexBufferCurrent == nullptr &&
                gl::indexBufferCurrent == nullptr);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);

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
    const testsupport::Rgba red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255};
    for (const auto& [x, y, colour] : {std::tuple{16, 48, red},
                                       {48, 16, green},
                                       {9, 48, red},
                                       {7, 48, blue},
                                       {23, 48, red},
                                       {24, 48, blue}}) {
        EXPECT_EQ(pixel(x, y), colour) << x << ", " << y;
    }

    gl::deleteProgram(program);
    gl::deleteVertexArray(vertexArray);
    gl::deleteIndexBuffer(indices);
    gl::deleteVertexBuffer(instances);
    gl::deleteVertexBuffer(corners);
}

}  // namespace
