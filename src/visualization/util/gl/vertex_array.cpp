#include "visualization/util/gl/vertex_array.h"

#include "visualization/util/assert.h"

namespace gl {

VertexArray* vertexArrayCurrent = nullptr;

// The element-array binding is state of the bound vertex array, so switching vertex arrays
// switches it too. Whenever GL switches, the index-buffer record is cleared: a stale record would
// let bindIndexBuffer skip a bind that GL needs, and the upload after it would land in another
// vertex array's index buffer. The price is one redundant glBindBuffer after a switch.

VertexArray* createVertexArray(std::vector<VertexArrayAttributeConfig>& configs,
                               IndexBuffer* indexBuffer) {
    VertexArray* const previousVertexArray = vertexArrayCurrent;
    IndexBuffer* const previousIndexBuffer = indexBufferCurrent;

    auto* vertexArray = new VertexArray();
    glGenVertexArrays(1, &vertexArray->id);
    glBindVertexArray(vertexArray->id);
    vertexArrayCurrent = vertexArray;
    indexBufferCurrent = nullptr;

    for (VertexArrayAttributeConfig& config : configs) {
        VertexBuffer* const* buffer =
            config.buffer != nullptr ? config.buffer : &config.bufferDirect;
        VIZ_ASSERT(*buffer != nullptr && "Buffer not valid");
        bindVertexBuffer(*buffer);
        glEnableVertexAttribArray(config.location);
        glVertexAttribPointer(config.location, config.size, config.type, config.normalized,
                              config.stride, reinterpret_cast<const void*>(config.offset));
        glVertexAttribDivisor(config.location, config.divisor);
    }

    if (indexBuffer != nullptr) {
        vertexArray->indexBuffer = indexBuffer;
        bindIndexBuffer(indexBuffer);
    }

    glBindVertexArray(0);
    vertexArrayCurrent = nullptr;
    // Back on the default vertex array: its element binding is what it was before this call
    // when the module had the default vertex array bound, and unknown otherwise.
    indexBufferCurrent = previousVertexArray == nullptr ? previousIndexBuffer : nullptr;

    if (!configs.empty()) {
        unbindVertexBuffer();
    }
    if (indexBuffer != nullptr) {
        unbindIndexBuffer();
    }
    return vertexArray;
}

void deleteVertexArray(VertexArray*& vertexArray) {
    VIZ_ASSERT(vertexArray != nullptr && "Vertex array not valid");
    if (vertexArrayCurrent == vertexArray) {
        vertexArrayCurrent = nullptr;
        // GL falls back to the default vertex array, whose element binding is not known here.
        indexBufferCurrent = nullptr;
    }
    glDeleteVertexArrays(1, &vertexArray->id);
    delete vertexArray;
    vertexArray = nullptr;
}

void bindVertexArray(VertexArray* vertexArray) {
    VIZ_ASSERT(vertexArray != nullptr && "Vertex array not valid");
    if (vertexArray != vertexArrayCurrent) {
        glBindVertexArray(vertexArray->id);
        vertexArrayCurrent = vertexArray;
        indexBufferCurrent = nullptr;
        // The draw that follows reads these indices: bound again rather than trusted.
        if (vertexArray->indexBuffer != nullptr) {
            bindIndexBuffer(vertexArray->indexBuffer);
        }
    }
}

void unbindVertexArray() {
    vertexArrayCurrent = nullptr;
    indexBufferCurrent = nullptr;
    glBindVertexArray(0);
}

VertexArray* createInterleavedVertexArray(
    VertexBuffer* buffer, IndexBuffer* indexBuffer,
    std::initializer_list<std::pair<GLint, uintptr_t>> sizesAndOffsets, GLsizei stride) {
    std::vector<VertexArrayAttributeConfig> configs;
    GLuint location = 0;
    for (const auto& [size, offset] : sizesAndOffsets) {
        configs.push_back(VertexArrayAttributeConfig()
                              .setLocation(location++)
                              .setBuffer(buffer)
                              .setSize(size)
                              .setOffset(offset)
                              .setStride(stride));
    }
    return createVertexArray(configs, indexBuffer);
}

}  // namespace gl
