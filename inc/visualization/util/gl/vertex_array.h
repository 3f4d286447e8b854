// Vertex array objects and the attribute configs they are built from.
//
// A vertex array does not own its vertex buffers or its index buffer; their owners delete them
// separately. The module remembers the vertex array it last bound, like the buffer module.
#pragma once

#include <GLES3/gl3.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "visualization/util/gl/buffer.h"

namespace gl {

// One vertex attribute, filled with chained setters:
//   VertexArrayAttributeConfig().setLocation(0).setBuffer(&mVertexBuffer).setSize(2)
//       .setOffset(0).setStride(16)
struct VertexArrayAttributeConfig {
    GLuint location = 0;
    GLint size = 0;  // components, 1 to 4
    GLboolean normalized = GL_FALSE;
    GLsizei stride = 0;    // bytes
    uintptr_t offset = 0;  // bytes into the buffer
    GLenum type = GL_FLOAT;
    GLuint divisor = 0;
    // The address of the owner's buffer pointer, read when the vertex array is created, so a
    // config can be written before the buffer exists.
    VertexBuffer** buffer = nullptr;
    // Or the buffer itself, for owners that create it before writing the config.
    VertexBuffer* bufferDirect = nullptr;

    VertexArrayAttributeConfig& setLocation(GLuint value) {
        location = value;
        return *this;
    }
    VertexArrayAttributeConfig& setSize(GLint value) {
        size = value;
        return *this;
    }
    VertexArrayAttributeConfig& setStride(GLsizei value) {
        stride = value;
        return *this;
    }
    VertexArrayAttributeConfig& setOffset(uintptr_t value) {
        offset = value;
        return *this;
    }
    VertexArrayAttributeConfig& setDivisor(GLuint value) {
        divisor = value;
        return *this;
    }
    VertexArrayAttributeConfig& setBuffer(VertexBuffer** value) {
        buffer = value;
        return *this;
    }
    VertexArrayAttributeConfig& setBuffer(VertexBuffer* value) {
        bufferDirect = value;
        return *this;
    }
};

struct VertexArray {
    GLuint id = 0;
    IndexBuffer* indexBuffer = nullptr;  // not owned; null when created without one
};

// The vertex array last bound through this module; null when none is.
extern VertexArray* vertexArrayCurrent;

// Builds a vertex array from the configs (in order) and the optional index buffer. Afterwards no
// vertex array, vertex buffer or index buffer is recorded as current.
VertexArray* createVertexArray(std::vector<VertexArrayAttributeConfig>& configs,
                               IndexBuffer* indexBuffer);
void deleteVertexArray(VertexArray*& vertexArray);
// Binding a vertex array also switches GL's element-array binding, so it clears the index-buffer
// record: the next bindIndexBuffer always reaches GL.
void bindVertexArray(VertexArray* vertexArray);
void unbindVertexArray();

// One interleaved vertex buffer: attribute i at location i, with its component count and byte
// offset, all with the same stride.
VertexArray* createInterleavedVertexArray(
    VertexBuffer* buffer, IndexBuffer* indexBuffer,
    std::initializer_list<std::pair<GLint, uintptr_t>> sizesAndOffsets, GLsizei stride);

// Uploads this frame's vertices and 16-bit indices into the vertex array's buffers and draws them
// as triangles: the draw of a pass whose geometry is rebuilt every frame.
template <typename Vertex>
void drawTriangles(VertexArray* vertexArray, VertexBuffer* vertexBuffer, IndexBuffer* indexBuffer,
                   const std::vector<Vertex>& vertices, const std::vector<uint16_t>& indices) {
    bindVertexArray(vertexArray);
    bindVertexBuffer(vertexBuffer);
    streamVertexData(static_cast<GLsizeiptr>(vertices.size()), sizeof(Vertex), vertices.data());
    bindIndexBuffer(indexBuffer);
    streamIndexData(static_cast<GLsizeiptr>(indices.size()), sizeof(uint16_t), indices.data(),
                    GL_UNSIGNED_SHORT);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, nullptr);
}

}  // namespace gl
