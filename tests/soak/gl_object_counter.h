// Counts the GL objects this process creates and deletes, by kind, by standing in for GL's own
// create and delete functions: the program exports them, so both the statically linked core and
// a shared object loaded later reach these first, and they pass every call on to the driver.
// Names that GL ignores (zero, failed creations) are not counted.
#pragma once

#include <array>
#include <cstdint>

namespace soak {

enum class GlObject {
    Texture,
    Buffer,
    VertexArray,
    Framebuffer,
    Renderbuffer,
    Program,
    Shader,
    Sampler
};
constexpr int kGlObjectKinds = 8;

const char* toString(GlObject kind);

// Created minus deleted, per kind, since the process started.
std::array<int64_t, kGlObjectKinds> liveGlObjects();

}  // namespace soak
