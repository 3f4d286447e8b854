// Shader programs built from a vertex and a fragment source, with their active attributes,
// uniforms and uniform blocks recorded by name, and name-based uniform setters that act on the
// program bound through this module.
//
// Compile and link failures are logged with the driver's text and reported by the result of
// loadProgramSource; a program that failed still has a GL name and can be bound, and the first
// uniform set on it stops the program because the name is not present.
#pragma once

#include <GLES3/gl3.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "visualization/util/math/mat44.h"

namespace gl {

// One active attribute or uniform as GL reports it after linking.
struct ProgramVariable {
    GLuint location = 0;
    std::string name;  // GL's reported name: arrays carry their "[0]"
    GLenum type = 0;
    GLint size = 0;
};

struct ProgramUniformBlock {
    GLuint index = 0;  // also the binding point the block is attached to
    std::string name;
};

// The maps compare transparently so the setters look names up without building a string.
using NameMap = std::map<std::string, GLuint, std::less<>>;

struct Program {
    GLuint id = 0;
    std::vector<ProgramVariable> attributes;  // in GL's index order
    std::vector<ProgramVariable> uniforms;
    std::vector<ProgramUniformBlock> uniformBlocks;
    NameMap attributeNameLocationMap;
    NameMap uniformNameLocationMap;
    NameMap uniformBlockNameIndexMap;
};

// The program last bound through this module; null when none is.
extern Program* programCurrent;

// Creates the GL program and loads the sources into it; the record is returned even when
// loading failed (the failure is in the log).
Program* createProgram(const char* vertexSource, const char* fragmentSource,
                       const std::map<unsigned int, std::string>& attributeLocations);
// Compiles, binds the given attribute locations, links and records the active variables. A
// compile failure leaves the record's tables as they were.
bool loadProgramSource(Program* program, const char* vertexSource, const char* fragmentSource,
                       const std::map<unsigned int, std::string>& attributeLocations);
void deleteProgram(Program*& program);
void bindProgram(Program* program);
void unbindProgram();

// Setters on the bound program. Each stops the program when no program is bound or when the
// bound program has no active uniform of that name (one the compiler optimised away counts as
// absent). Integer forms also set sampler units.
void uniform(std::string_view name, GLfloat x);
void uniform(std::string_view name, GLfloat x, GLfloat y);
void uniform(std::string_view name, GLfloat x, GLfloat y, GLfloat z);
void uniform(std::string_view name, GLfloat x, GLfloat y, GLfloat z, GLfloat w);
void uniform(std::string_view name, GLint i);
void uniform(std::string_view name, GLint i, GLint j);
void uniform(std::string_view name, GLint i, GLint j, GLint k);
void uniform(std::string_view name, GLint i, GLint j, GLint k, GLint l);
// One 4x4 matrix of 16 floats, column-major unless transpose is set.
void uniform(std::string_view name, const GLfloat* matrix, GLboolean transpose);
// Without this form a literal `false` would promote to int and pick the vector form below.
void uniform(std::string_view name, const GLfloat* matrix, bool transpose);
// A camera matrix, as uploaded every frame.
void uniform(std::string_view name, const math::mat44<float>& matrix, bool transpose);
// One vec2, vec3 or vec4 (size 2, 3 or 4).
void uniform(std::string_view name, const GLfloat* values, GLsizei size);

}  // namespace gl
