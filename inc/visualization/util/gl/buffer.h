// Buffer objects and GL error reporting.
//
// Every record is created by its gl::create... function, owned by the caller and released by its
// gl::delete... function, which also nulls the caller's pointer. For each target the module
// remembers the record it last bound (the "current" pointers below): a bind of the current
// record costs a pointer comparison and no GL call, and the data functions act on the current
// record and stop the program when none is bound.
//
// Creating a buffer binds it directly and then restores the binding of the current record, so
// creation never disturbs what a renderer has bound. When nothing is current the new buffer
// stays bound in GL while the module still records none; the next bind through the module
// therefore always reaches GL.
//
// All functions must run on the thread that owns the GL context.
#pragma once

#include <GLES3/gl3.h>

#include <cstdint>
#include <vector>

namespace gl {

// A buffer on GL_ARRAY_BUFFER. count, size and usage describe the last upload only.
struct VertexBuffer {
    GLuint id = 0;
    GLsizeiptr count = 0;
    GLsizeiptr size = 0;  // bytes: count x element size
    GLenum usage = GL_STATIC_DRAW;
    GLsizeiptr capacity = 0;  // bytes of GL's store
};

// A buffer on GL_ELEMENT_ARRAY_BUFFER. Draw calls take counts and index types from the
// renderer's own data, not from here.
struct IndexBuffer {
    GLuint id = 0;
    GLsizeiptr count = 0;
    GLsizeiptr size = 0;
    GLenum type = GL_UNSIGNED_BYTE;
    GLenum usage = GL_STATIC_DRAW;
    GLsizeiptr capacity = 0;  // bytes of GL's store
};

// A buffer on GL_UNIFORM_BUFFER.
struct UniformBuffer {
    GLuint id = 0;
    GLenum usage = GL_STATIC_DRAW;
};

// The records last bound through this module; null when nothing is.
extern VertexBuffer* vertexBufferCurrent;
extern IndexBuffer* indexBufferCurrent;
extern UniformBuffer* uniformBufferCurrent;

VertexBuffer* createVertexBuffer();
VertexBuffer* createVertexBuffer(GLsizeiptr count, GLsizeiptr elementSize, const void* data,
                                 GLenum usage);
VertexBuffer* createVertexBuffer(const std::vector<float>& values, GLenum usage);
void deleteVertexBuffer(VertexBuffer*& buffer);
void bindVertexBuffer(VertexBuffer* buffer);
void unbindVertexBuffer();
void bufferVertexData(GLsizeiptr count, GLsizeiptr elementSize, const void* data, GLenum usage);
void bufferVertexData(const std::vector<float>& values, GLenum usage);
// offset and count are in elements; the record keeps describing the last whole upload.
void bufferVertexSubData(GLintptr offset, GLsizeiptr count, GLsizeiptr elementSize,
                         const void* data);
void bufferVertexSubData(GLintptr offset, const std::vector<float>& values);
// For data rebuilt every frame, whose length changes from frame to frame (GL_DYNAMIC_DRAW): the
// store only ever grows, to the next power of two, and is otherwise orphaned at its own size
// before the data is written to its start. The driver then takes a block of one size again and
// again, where a store of each frame's own length would leave the host process's heap ever more
// fragmented.
void streamVertexData(GLsizeiptr count, GLsizeiptr elementSize, const void* data);
// offset and length are in bytes.
void* mapVertexBufferRange(GLintptr offset, GLsizeiptr length, GLbitfield access);
void unmapVertexBuffer();

IndexBuffer* createIndexBuffer(GLsizeiptr count, GLsizeiptr elementSize, const void* data,
                               GLenum type, GLenum usage);
IndexBuffer* createIndexBuffer(const std::vector<uint32_t>& indices, GLenum usage);
IndexBuffer* createIndexBuffer(const std::vector<uint8_t>& indices, GLenum usage);
IndexBuffer* createIndexBuffer(const std::vector<uint16_t>& indices, GLenum usage);
void deleteIndexBuffer(IndexBuffer*& buffer);
void bindIndexBuffer(IndexBuffer* buffer);
void unbindIndexBuffer();
void bufferIndexData(GLsizeiptr count, GLsizeiptr elementSize, const void* data, GLenum type,
                     GLenum usage);
void bufferIndexData(const std::vector<uint32_t>& indices, GLenum usage);
void bufferIndexData(const std::vector<uint8_t>& indices, GLenum usage);
void bufferIndexData(const std::vector<uint16_t>& indices, GLenum usage);
void bufferIndexSubData(GLintptr offset, GLsizeiptr count, GLsizeiptr elementSize,
                        const void* data);
// As streamVertexData, for indices of `type`.
void streamIndexData(GLsizeiptr count, GLsizeiptr elementSize, const void* data, GLenum type);
void bufferIndexSubData(GLintptr offset, const std::vector<uint32_t>& indices);
void bufferIndexSubData(GLintptr offset, const std::vector<uint8_t>& indices);
void bufferIndexSubData(GLintptr offset, const std::vector<uint16_t>& indices);
void* mapIndexBufferRange(GLintptr offset, GLsizeiptr length, GLbitfield access);
void unmapIndexBuffer();

UniformBuffer* createUniformBuffer(GLsizeiptr size, const void* data, GLenum usage);
// Uploads into `buffer`, which GL_UNIFORM_BUFFER must already hold.
void bufferUniformDataInternal(UniformBuffer* buffer, GLsizeiptr size, const void* data,
                               GLenum usage);
void bufferUniformData(GLsizeiptr size, const void* data, GLenum usage);
void deleteUniformBuffer(UniformBuffer*& buffer);
void bindUniformBuffer(UniformBuffer* buffer);
void unbindUniformBuffer();
// Attaches the current uniform buffer to binding point `index`; programs bind each uniform
// block to the point equal to its block index.
void bindUniformBufferBase(GLuint index);

// Unbinds program, vertex array, vertex buffer, index buffer, 2D texture and framebuffer, in
// that order, through their modules.
void unbindAll();

// The name of a GL error code, or null for a code outside the known five.
const char* errorName(GLenum error);

// Reads one pending GL error. Logs "GL ERROR <name>" and answers true when there was one;
// further queued errors stay for the next call.
bool getError();

}  // namespace gl
