#include "visualization/util/gl/buffer.h"

#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/gl/framebuffer.h"
#include "visualization/util/gl/program.h"
#include "visualization/util/gl/texture_2d.h"
#include "visualization/util/gl/vertex_array.h"

namespace gl {

VertexBuffer* vertexBufferCurrent = nullptr;
IndexBuffer* indexBufferCurrent = nullptr;
UniformBuffer* uniformBufferCurrent = nullptr;

const char* errorName(GLenum error) {
    switch (error) {
        case GL_INVALID_ENUM:
            return "GL_INVALID_ENUM";
        case GL_INVALID_VALUE:
            return "GL_INVALID_VALUE";
        case GL_INVALID_OPERATION:
            return "GL_INVALID_OPERATION";
        case GL_OUT_OF_MEMORY:
            return "GL_OUT_OF_MEMORY";
        case GL_INVALID_FRAMEBUFFER_OPERATION:
            return "GL_INVALID_FRAMEBUFFER_OPERATION";
        default:
            return nullptr;
    }
}

namespace {

void uploadVertexData(VertexBuffer* buffer, GLsizeiptr count, GLsizeiptr elementSize,
                      const void* data, GLenum usage) {
    buffer->count = count;
    buffer->size = elementSize * count;
    buffer->usage = usage;
    buffer->capacity = buffer->size;
    glBufferData(GL_ARRAY_BUFFER, buffer->size, data, usage);
}

void uploadIndexData(IndexBuffer* buffer, GLsizeiptr count, GLsizeiptr elementSize,
                     const void* data, GLenum type, GLenum usage) {
    buffer->count = count;
    buffer->size = elementSize * count;
    buffer->type = type;
    buffer->usage = usage;
    buffer->capacity = buffer->size;
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, buffer->size, data, usage);
}

// Orphans the store bound on `target` (growing it to fit `size` bytes) and writes the data to
// its start; answers the capacity.
GLsizeiptr streamData(GLenum target, GLsizeiptr capacity, GLsizeiptr size, const void* data) {
    if (size > capacity) {
        capacity = 256;
        while (capacity < size) {
            capacity *= 2;
        }
    }
    glBufferData(target, capacity, nullptr, GL_DYNAMIC_DRAW);
    if (size > 0) {
        glBufferSubData(target, 0, size, data);
    }
    return capacity;
}

template <typename T>
constexpr GLenum indexType();
template <>
constexpr GLenum indexType<uint8_t>() {
    return GL_UNSIGNED_BYTE;
}
template <>
constexpr GLenum indexType<uint16_t>() {
    return GL_UNSIGNED_SHORT;
}
template <>
constexpr GLenum indexType<uint32_t>() {
    return GL_UNSIGNED_INT;
}

}  // namespace

bool getError() {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) {
        return false;
    }
    if (const char* name = errorName(error)) {
        logMessage("GL ERROR %s", name);
    } else {
        logMessage("GL ERROR 0x%X", error);
    }
    return true;
}

void unbindAll() {
    unbindProgram();
    unbindVertexArray();
    unbindVertexBuffer();
    unbindIndexBuffer();
    unbindTexture2d();
    unbindFramebuffer();
}

// ---- Vertex buffers ----

VertexBuffer* createVertexBuffer() {
    auto* buffer = new VertexBuffer();
    glGenBuffers(1, &buffer->id);
    glBindBuffer(GL_ARRAY_BUFFER, buffer->id);
    VIZ_ASSERT(!gl::getError());
    glBufferData(GL_ARRAY_BUFFER, 0, nullptr, GL_STATIC_DRAW);
    VIZ_ASSERT(!gl::getError());
    if (vertexBufferCurrent != nullptr) {
        glBindBuffer(GL_ARRAY_BUFFER, vertexBufferCurrent->id);
    }
    return buffer;
}

VertexBuffer* createVertexBuffer(GLsizeiptr count, GLsizeiptr elementSize, const void* data,
                                 GLenum usage) {
    auto* buffer = new VertexBuffer();
    glGenBuffers(1, &buffer->id);
    glBindBuffer(GL_ARRAY_BUFFER, buffer->id);
    VIZ_ASSERT(!gl::getError());
    uploadVertexData(buffer, count, elementSize, data, usage);
    if (vertexBufferCurrent != nullptr) {
        glBindBuffer(GL_ARRAY_BUFFER, vertexBufferCurrent->id);
    }
    return buffer;
}

VertexBuffer* createVertexBuffer(const std::vector<float>& values, GLenum usage) {
    return createVertexBuffer(static_cast<GLsizeiptr>(values.size()), sizeof(float), values.data(),
                              usage);
}

void deleteVertexBuffer(VertexBuffer*& buffer) {
    VIZ_ASSERT(buffer != nullptr && "Buffer not valid");
    glDeleteBuffers(1, &buffer->id);
    if (vertexBufferCurrent == buffer) {
        vertexBufferCurrent = nullptr;
    }
    delete buffer;
    buffer = nullptr;
    VIZ_ASSERT(!gl::getError());
}

void bindVertexBuffer(VertexBuffer* buffer) {
    VIZ_ASSERT(buffer != nullptr && "Buffer not valid");
    if (buffer != vertexBufferCurrent) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer->id);
        vertexBufferCurrent = buffer;
    }
}

void unbindVertexBuffer() {
    vertexBufferCurrent = nullptr;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void bufferVertexData(GLsizeiptr count, GLsizeiptr elementSize, const void* data, GLenum usage) {
    VIZ_ASSERT(vertexBufferCurrent != nullptr && "No vertex buffer bound");
    uploadVertexData(vertexBufferCurrent, count, elementSize, data, usage);
}

void bufferVertexData(const std::vector<float>& values, GLenum usage) {
    bufferVertexData(static_cast<GLsizeiptr>(values.size()), sizeof(float), values.data(), usage);
}

void streamVertexData(GLsizeiptr count, GLsizeiptr elementSize, const void* data) {
    VIZ_ASSERT(vertexBufferCurrent != nullptr && "No vertex buffer bound");
    VertexBuffer* buffer = vertexBufferCurrent;
    buffer->count = count;
    buffer->size = count * elementSize;
    buffer->usage = GL_DYNAMIC_DRAW;
    buffer->capacity = streamData(GL_ARRAY_BUFFER, buffer->capacity, buffer->size, data);
}

void bufferVertexSubData(GLintptr offset, GLsizeiptr count, GLsizeiptr elementSize,
                         const void* data) {
    VIZ_ASSERT(vertexBufferCurrent != nullptr && "No vertex buffer bound");
    glBufferSubData(GL_ARRAY_BUFFER, offset * elementSize, count * elementSize, data);
}

void bufferVertexSubData(GLintptr offset, const std::vector<float>& values) {
    bufferVertexSubData(offset, static_cast<GLsizeiptr>(values.size()), sizeof(float),
                        values.data());
}

void* mapVertexBufferRange(GLintptr offset, GLsizeiptr length, GLbitfield access) {
    VIZ_ASSERT(vertexBufferCurrent != nullptr && "No vertex buffer bound");
    return glMapBufferRange(GL_ARRAY_BUFFER, offset, length, access);
}

void unmapVertexBuffer() {
    VIZ_ASSERT(vertexBufferCurrent != nullptr && "No vertex buffer bound");
    glUnmapBuffer(GL_ARRAY_BUFFER);
}

// ---- Index buffers ----
//
// GL_ELEMENT_ARRAY_BUFFER is state of the bound vertex array, not of the context: binding an index
// buffer writes it into whatever vertex array GL has bound. So an index buffer is only ever bound
// into the vertex array it belongs to, or into the default one: creating one while a renderer's
// vertex array is bound would hand that renderer's draws another renderer's indices.

namespace {

// Makes sure the element binding about to change is the default vertex array's, when none of the
// library's own is bound (GL may still have the host's, or one the module has forgotten).
void bindDefaultVertexArrayUnlessOwn() {
    if (vertexArrayCurrent == nullptr) {
        glBindVertexArray(0);
    }
}

}  // namespace

IndexBuffer* createIndexBuffer(GLsizeiptr count, GLsizeiptr elementSize, const void* data,
                               GLenum type, GLenum usage) {
    auto* buffer = new IndexBuffer();
    glGenBuffers(1, &buffer->id);
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer->id);
    uploadIndexData(buffer, count, elementSize, data, type, usage);
    VIZ_ASSERT(!gl::getError());
    if (vertexArrayCurrent != nullptr) {
        // Its element binding was never touched: it is the one the record describes.
        glBindVertexArray(vertexArrayCurrent->id);
    } else if (indexBufferCurrent != nullptr) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBufferCurrent->id);
    }
    return buffer;
}

template <typename T>
static IndexBuffer* createIndexBufferFrom(const std::vector<T>& indices, GLenum usage) {
    return createIndexBuffer(static_cast<GLsizeiptr>(indices.size()), sizeof(T), indices.data(),
                             indexType<T>(), usage);
}

IndexBuffer* createIndexBuffer(const std::vector<uint32_t>& indices, GLenum usage) {
    return createIndexBufferFrom(indices, usage);
}

IndexBuffer* createIndexBuffer(const std::vector<uint8_t>& indices, GLenum usage) {
    return createIndexBufferFrom(indices, usage);
}

IndexBuffer* createIndexBuffer(const std::vector<uint16_t>& indices, GLenum usage) {
    return createIndexBufferFrom(indices, usage);
}

void deleteIndexBuffer(IndexBuffer*& buffer) {
    VIZ_ASSERT(buffer != nullptr && "Buffer not valid");
    glDeleteBuffers(1, &buffer->id);
    VIZ_ASSERT(!gl::getError());
    if (indexBufferCurrent == buffer) {
        indexBufferCurrent = nullptr;
    }
    delete buffer;
    buffer = nullptr;
}

void bindIndexBuffer(IndexBuffer* buffer) {
    VIZ_ASSERT(buffer != nullptr && "Buffer not valid");
    if (buffer != indexBufferCurrent) {
        bindDefaultVertexArrayUnlessOwn();
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer->id);
        indexBufferCurrent = buffer;
    }
}

void unbindIndexBuffer() {
    indexBufferCurrent = nullptr;
    bindDefaultVertexArrayUnlessOwn();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void bufferIndexData(GLsizeiptr count, GLsizeiptr elementSize, const void* data, GLenum type,
                     GLenum usage) {
    VIZ_ASSERT(indexBufferCurrent != nullptr && "No index buffer bound");
    uploadIndexData(indexBufferCurrent, count, elementSize, data, type, usage);
}

template <typename T>
static void bufferIndexDataFrom(const std::vector<T>& indices, GLenum usage) {
    bufferIndexData(static_cast<GLsizeiptr>(indices.size()), sizeof(T), indices.data(),
                    indexType<T>(), usage);
}

void bufferIndexData(const std::vector<uint32_t>& indices, GLenum usage) {
    bufferIndexDataFrom(indices, usage);
}

void bufferIndexData(const std::vector<uint8_t>& indices, GLenum usage) {
    bufferIndexDataFrom(indices, usage);
}

void bufferIndexData(const std::vector<uint16_t>& indices, GLenum usage) {
    bufferIndexDataFrom(indices, usage);
}

void streamIndexData(GLsizeiptr count, GLsizeiptr elementSize, const void* data, GLenum type) {
    VIZ_ASSERT(indexBufferCurrent != nullptr && "No index buffer bound");
    IndexBuffer* buffer = indexBufferCurrent;
    buffer->count = count;
    buffer->size = count * elementSize;
    buffer->type = type;
    buffer->usage = GL_DYNAMIC_DRAW;
    buffer->capacity = streamData(GL_ELEMENT_ARRAY_BUFFER, buffer->capacity, buffer->size, data);
}

void bufferIndexSubData(GLintptr offset, GLsizeiptr count, GLsizeiptr elementSize,
                        const void* data) {
    VIZ_ASSERT(indexBufferCurrent != nullptr && "No index buffer bound");
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, offset * elementSize, count * elementSize, data);
}

template <typename T>
static void bufferIndexSubDataFrom(GLintptr offset, const std::vector<T>& indices) {
    bufferIndexSubData(offset, static_cast<GLsizeiptr>(indices.size()), sizeof(T), indices.data());
}

void bufferIndexSubData(GLintptr offset, const std::vector<uint32_t>& indices) {
    bufferIndexSubDataFrom(offset, indices);
}

void bufferIndexSubData(GLintptr offset, const std::vector<uint8_t>& indices) {
    bufferIndexSubDataFrom(offset, indices);
}

void bufferIndexSubData(GLintptr offset, const std::vector<uint16_t>& indices) {
    bufferIndexSubDataFrom(offset, indices);
}

void* mapIndexBufferRange(GLintptr offset, GLsizeiptr length, GLbitfield access) {
    VIZ_ASSERT(indexBufferCurrent != nullptr && "No index buffer bound");
    return glMapBufferRange(GL_ELEMENT_ARRAY_BUFFER, offset, length, access);
}

void unmapIndexBuffer() {
    VIZ_ASSERT(indexBufferCurrent != nullptr && "No index buffer bound");
    glUnmapBuffer(GL_ELEMENT_ARRAY_BUFFER);
}

// ---- Uniform buffers ----

UniformBuffer* createUniformBuffer(GLsizeiptr size, const void* data, GLenum usage) {
    auto* buffer = new UniformBuffer();
    glGenBuffers(1, &buffer->id);
    glBindBuffer(GL_UNIFORM_BUFFER, buffer->id);
    bufferUniformDataInternal(buffer, size, data, usage);
    glBindBuffer(GL_UNIFORM_BUFFER, uniformBufferCurrent != nullptr ? uniformBufferCurrent->id : 0);
    return buffer;
}

void bufferUniformDataInternal(UniformBuffer* buffer, GLsizeiptr size, const void* data,
                               GLenum usage) {
    buffer->usage = usage;
    glBufferData(GL_UNIFORM_BUFFER, size, data, usage);
    VIZ_ASSERT(!gl::getError());
}

void bufferUniformData(GLsizeiptr size, const void* data, GLenum usage) {
    VIZ_ASSERT(uniformBufferCurrent != nullptr && "No uniform buffer bound");
    bufferUniformDataInternal(uniformBufferCurrent, size, data, usage);
}

void deleteUniformBuffer(UniformBuffer*& buffer) {
    VIZ_ASSERT(buffer != nullptr && "Buffer not valid");
    glDeleteBuffers(1, &buffer->id);
    VIZ_ASSERT(!gl::getError());
    if (uniformBufferCurrent == buffer) {
        uniformBufferCurrent = nullptr;
    }
    delete buffer;
    buffer = nullptr;
}

void bindUniformBuffer(UniformBuffer* buffer) {
    VIZ_ASSERT(buffer != nullptr && "Buffer not valid");
    if (buffer != uniformBufferCurrent) {
        glBindBuffer(GL_UNIFORM_BUFFER, buffer->id);
        uniformBufferCurrent = buffer;
    }
}

void unbindUniformBuffer() {
    uniformBufferCurrent = nullptr;
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
}

void bindUniformBufferBase(GLuint index) {
    VIZ_ASSERT(uniformBufferCurrent != nullptr && "No uniform buffer bound");
    glBindBufferBase(GL_UNIFORM_BUFFER, index, uniformBufferCurrent->id);
    VIZ_ASSERT(!gl::getError());
}

}  // namespace gl
