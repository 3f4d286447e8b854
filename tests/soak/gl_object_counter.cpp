#include "gl_object_counter.h"

#include <GLES3/gl3.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace soak {

namespace {

std::array<int64_t, kGlObjectKinds> gLive = {};

void count(GlObject kind, int64_t delta) {
    gLive[static_cast<int>(kind)] += delta;
}

int64_t named(GLsizei n, const GLuint* names) {
    int64_t count = 0;
    for (GLsizei i = 0; names != nullptr && i < n; ++i) {
        count += names[i] != 0 ? 1 : 0;
    }
    return count;
}

template <typename Function>
Function real(const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    if (symbol == nullptr) {
        std::fprintf(stderr, "soak: GL has no %s\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

}  // namespace

const char* toString(GlObject kind) {
    static const char* const kNames[] = {"textures",     "buffers",       "vertex arrays",
                                         "framebuffers", "renderbuffers", "programs",
                                         "shaders",      "samplers"};
    return kNames[static_cast<int>(kind)];
}

std::array<int64_t, kGlObjectKinds> liveGlObjects() {
    return gLive;
}

}  // namespace soak

using soak::GlObject;

// Each stand-in resolves the driver's function on first use.
#define SOAK_GEN_DELETE(gen, del, kind)                                              \
    extern "C" void gen(GLsizei n, GLuint* names) {                                  \
        static const auto next = soak::real<void (*)(GLsizei, GLuint*)>(#gen);       \
        next(n, names);                                                              \
        soak::count(kind, soak::named(n, names));                                    \
    }                                                                                \
    extern "C" void del(GLsizei n, const GLuint* names) {                            \
        static const auto next = soak::real<void (*)(GLsizei, const GLuint*)>(#del); \
        soak::count(kind, -soak::named(n, names));                                   \
        next(n, names);                                                              \
    }

SOAK_GEN_DELETE(glGenTextures, glDeleteTextures, GlObject::Texture)
SOAK_GEN_DELETE(glGenBuffers, glDeleteBuffers, GlObject::Buffer)
SOAK_GEN_DELETE(glGenVertexArrays, glDeleteVertexArrays, GlObject::VertexArray)
SOAK_GEN_DELETE(glGenFramebuffers, glDeleteFramebuffers, GlObject::Framebuffer)
SOAK_GEN_DELETE(glGenRenderbuffers, glDeleteRenderbuffers, GlObject::Renderbuffer)
SOAK_GEN_DELETE(glGenSamplers, glDeleteSamplers, GlObject::Sampler)

extern "C" GLuint glCreateProgram(void) {
    static const auto next = soak::real<GLuint (*)()>("glCreateProgram");
    const GLuint program = next();
    soak::count(GlObject::Program, program != 0 ? 1 : 0);
    return program;
}

extern "C" void glDeleteProgram(GLuint program) {
    static const auto next = soak::real<void (*)(GLuint)>("glDeleteProgram");
    soak::count(GlObject::Program, program != 0 ? -1 : 0);
    next(program);
}

extern "C" GLuint glCreateShader(GLenum type) {
    static const auto next = soak::real<GLuint (*)(GLenum)>("glCreateShader");
    const GLuint shader = next(type);
    soak::count(GlObject::Shader, shader != 0 ? 1 : 0);
    return shader;
}

extern "C" void glDeleteShader(GLuint shader) {
    static const auto next = soak::real<void (*)(GLuint)>("glDeleteShader");
    soak::count(GlObject::Shader, shader != 0 ? -1 : 0);
    next(shader);
}
