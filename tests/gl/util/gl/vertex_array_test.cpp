// The GL layer's binding records against GL's own bindings: an index buffer lands only in the
// vertex array it was made for. That the records follow GL otherwise shows in every picture.
#include "visualization/util/gl/vertex_array.h"

#include <gtest/gtest.h>

#include <vector>

#include "gl/util/gl/gl_state.h"
#include "visualization/util/gl/shared_context.h"

namespace {

using gltest::integer;

using GlVertexArrayTest = gltest::GlLayerTest;

// One renderer's draw leaves its vertex array bound; the next renderer built creates its index
// buffer. The first renderer's array must keep its own indices (it once drew the other's, as
// shards), and binding it again for a draw must bind them too.
TEST_F(GlVertexArrayTest, AnotherRenderersIndexBufferNeverLandsInABoundArray) {
    gl::VertexBuffer* vertices = gl::createVertexBuffer(std::vector<float>{0, 0}, GL_STATIC_DRAW);
    std::vector<gl::VertexArrayAttributeConfig> configs = {
        gl::VertexArrayAttributeConfig().setLocation(0).setBuffer(&vertices).setSize(2)};
    gl::IndexBuffer* own = gl::createIndexBuffer(std::vector<uint8_t>{0, 0, 0}, GL_STATIC_DRAW);
    // An index buffer that is already current must still be captured by a new vertex array.
    gl::bindIndexBuffer(own);
    gl::VertexArray* array = gl::createVertexArray(configs, own);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0) << "creation binds nothing";
    gl::bindVertexArray(array);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(own->id));

    gl::IndexBuffer* other = gl::createIndexBuffer(std::vector<uint16_t>{0, 0}, GL_STATIC_DRAW);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(array->id));
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(own->id));
    // Binding another buffer with none of the module's arrays current goes to the default one.
    gl::unbindVertexArray();
    gl::bindIndexBuffer(other);
    glBindVertexArray(array->id);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(own->id));

    glBindVertexArray(0);

    // Switching arrays switches GL's element binding: the index buffer bound into the default
    // array must be bound again into the next.
    std::vector<gl::VertexArrayAttributeConfig> none;
    gl::VertexArray* bare = gl::createVertexArray(none, nullptr);
    gl::bindVertexArray(bare);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    gl::bindIndexBuffer(other);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(other->id));

    // A host that rewrote the array's element binding behind the module's back cannot make the
    // next draw read its indices.
    gl::bindVertexArray(array);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, other->id);
    gl::resetBindingRecords();
    gl::bindVertexArray(array);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(own->id));

    gl::unbindVertexArray();
    gl::deleteVertexArray(bare);
    gl::deleteVertexArray(array);
    gl::deleteIndexBuffer(other);
    gl::deleteIndexBuffer(own);
    gl::deleteVertexBuffer(vertices);
}

}  // namespace
