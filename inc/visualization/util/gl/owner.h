// Owning handles for GL records: a std::unique_ptr whose deleter is the GL layer's delete
// function, so a record is deleted exactly once, by its owner, with the context current.
// Owners that must release in a fixed order reset their handles explicitly in the destructor.
#pragma once

#include <memory>

#include "visualization/util/gl/buffer.h"
#include "visualization/util/gl/program.h"
#include "visualization/util/gl/texture_2d.h"
#include "visualization/util/gl/vertex_array.h"

namespace gl {

template <typename T>
struct Deleter;

template <>
struct Deleter<VertexBuffer> {
    void operator()(VertexBuffer* record) const { deleteVertexBuffer(record); }
};
template <>
struct Deleter<IndexBuffer> {
    void operator()(IndexBuffer* record) const { deleteIndexBuffer(record); }
};
template <>
struct Deleter<UniformBuffer> {
    void operator()(UniformBuffer* record) const { deleteUniformBuffer(record); }
};
template <>
struct Deleter<VertexArray> {
    void operator()(VertexArray* record) const { deleteVertexArray(record); }
};
template <>
struct Deleter<Program> {
    void operator()(Program* record) const { deleteProgram(record); }
};
template <>
struct Deleter<Texture2d> {
    void operator()(Texture2d* record) const { deleteTexture2d(record); }
};

template <typename T>
using Owned = std::unique_ptr<T, Deleter<T>>;

}  // namespace gl
