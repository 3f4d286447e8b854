// The GL layer's binding records against GL's own bindings: a bind is skipped only while its object
// is current, and an index buffer lands only in the vertex array it was made for.
#include "visualization/util/gl/vertex_array.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/gl/texture_2d.h"

namespace {

using gltest::integer;

using GlBindingTest = gltest::GlLayerTest;
using GlVertexArrayTest = gltest::GlLayerTest;

// Moves the GL binding that `query` reads to 0 behind the module's back.
void clearBinding(GLenum query) {
    const std::pair<GLenum, void (*)()> clears[] = {
        {GL_ARRAY_BUFFER_BINDING, [] { glBindBuffer(GL_ARRAY_BUFFER, 0); }},
        {GL_ELEMENT_ARRAY_BUFFER_BINDING, [] { glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0); }},
        {GL_CURRENT_PROGRAM, [] { glUseProgram(0); }},
        {GL_VERTEX_ARRAY_BINDING, [] { glBindVertexArray(0); }},
        {GL_TEXTURE_BINDING_2D, [] { glBindTexture(GL_TEXTURE_2D, 0); }},
    };
    for (const auto& [binding, clear] : clears) {
        if (binding == query) {
            clear();
        }
    }
}

// For one kind of object: a bind of an object that is not current reaches GL; a second bind of
// the current one does not (GL's binding, cleared behind the module's back, stays cleared); after
// the module's own unbind, and after making or deleting another object, the record is still true
// to GL's binding; deleting the current one forgets it, so that a new object (which may reuse its
// name and its address) is bound for real.
template <typename Create, typename Bind, typename Unbind, typename Delete>
void expectRecordsFollowGl(GLenum query, Create create, Bind bind, Unbind unbind, Delete remove) {
    auto* a = create();
    clearBinding(query);
    bind(a);
    EXPECT_EQ(integer(query), static_cast<GLint>(a->id)) << "the first bind was skipped";
    clearBinding(query);
    bind(a);
    EXPECT_EQ(integer(query), 0) << "a bind of the current object reached GL";
    unbind();
    bind(a);
    EXPECT_EQ(integer(query), static_cast<GLint>(a->id)) << "a bind after the unbind was skipped";
    auto* b = create();
    bind(a);
    EXPECT_EQ(integer(query), static_cast<GLint>(a->id)) << "making another misled the record";
    remove(b);
    bind(a);
    EXPECT_EQ(integer(query), static_cast<GLint>(a->id)) << "deleting another misled the record";
    remove(a);
    auto* c = create();
    clearBinding(query);
    bind(c);
    EXPECT_EQ(integer(query), static_cast<GLint>(c->id)) << "the deleted object's record stayed";
    unbind();
    remove(c);
}

TEST_F(GlBindingTest, EveryKindBindsOnlyWhenNotCurrent) {
    std::vector<gl::VertexArrayAttributeConfig> none;
    {
        SCOPED_TRACE("vertex buffer");
        expectRecordsFollowGl(
            GL_ARRAY_BUFFER_BINDING, [] { return gl::createVertexBuffer(); }, gl::bindVertexBuffer,
            gl::unbindVertexBuffer, [](gl::VertexBuffer* b) { gl::deleteVertexBuffer(b); });
    }
    {
        SCOPED_TRACE("index buffer");
        expectRecordsFollowGl(
            GL_ELEMENT_ARRAY_BUFFER_BINDING,
            [] {
                return gl::createIndexBuffer(std::vector<uint16_t>{0, 1}, GL_STATIC_DRAW);
            },
            gl::bindIndexBuffer, gl::unbindIndexBuffer,
            [](gl::IndexBuffer* b) { gl::deleteIndexBuffer(b); });
    }
    {
        SCOPED_TRACE("program");
        expectRecordsFollowGl(
            GL_CURRENT_PROGRAM,
            [] {
                return gl::createProgram(gltest::kColourVertexSource, gltest::kColourFragmentSource,
                                         {});
            },
            gl::bindProgram, gl::unbindProgram, [](gl::Program* p) { gl::deleteProgram(p); });
    }
    {
        SCOPED_TRACE("texture");
        expectRecordsFollowGl(
            GL_TEXTURE_BINDING_2D, [] { return gl::createTexture2d(4, 4, gl::Texture2dConfig()); },
            gl::bindTexture2d, gl::unbindTexture2d,
            [](gl::Texture2d* t) { gl::deleteTexture2d(t); });
    }
    {
        SCOPED_TRACE("vertex array");
        expectRecordsFollowGl(
            GL_VERTEX_ARRAY_BINDING, [&] { return gl::createVertexArray(none, nullptr); },
            gl::bindVertexArray, gl::unbindVertexArray,
            [](gl::VertexArray* v) { gl::deleteVertexArray(v); });
    }
}

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
