#include "visualization/util/gl/program.h"

#include <cstdio>

#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/gl/buffer.h"

namespace gl {

Program* programCurrent = nullptr;

namespace {

constexpr GLsizei kNameCapacity = 1024;

std::string shaderInfoLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    log.resize(std::char_traits<char>::length(log.c_str()));
    return log;
}

std::string programInfoLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    log.resize(std::char_traits<char>::length(log.c_str()));
    return log;
}

GLuint compile(GLenum stage, const char* source, GLint* status) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    glGetShaderiv(shader, GL_COMPILE_STATUS, status);
    return shader;
}

// The location stored for `name` in the bound program, after the two checks every setter makes.
// A missing name is a typo or a uniform the compiler dropped; the report names it.
GLint location(std::string_view name) {
    VIZ_ASSERT(programCurrent != nullptr && "No program bound");
    const auto found = programCurrent->uniformNameLocationMap.find(name);
    if (found == programCurrent->uniformNameLocationMap.end()) {
        char detail[128];
        std::snprintf(detail, sizeof(detail), "uniform \"%.*s\"", static_cast<int>(name.size()),
                      name.data());
        VIZ_ASSERT_DETAIL(programCurrent->uniformNameLocationMap.find(name) !=
                                  programCurrent->uniformNameLocationMap.end() &&
                              "Uniform not present in program",
                          detail);
    }
    return static_cast<GLint>(found->second);
}

}  // namespace

Program* createProgram(const char* vertexSource, const char* fragmentSource,
                       const std::map<unsigned int, std::string>& attributeLocations) {
    auto* program = new Program();
    program->id = glCreateProgram();
    try {
        loadProgramSource(program, vertexSource, fragmentSource, attributeLocations);
    } catch (...) {
        // Reading the variables back allocates; out of memory there, the program is nobody's.
        deleteProgram(program);
        throw;
    }
    return program;
}

bool loadProgramSource(Program* program, const char* vertexSource, const char* fragmentSource,
                       const std::map<unsigned int, std::string>& attributeLocations) {
    GLint status = GL_FALSE;
    const GLuint vertexShader = compile(GL_VERTEX_SHADER, vertexSource, &status);
    if (status != GL_TRUE) {
        logMessage("Error vertex shader compilation: %s\n", shaderInfoLog(vertexShader).c_str());
        glDeleteShader(vertexShader);
        VIZ_ASSERT(!gl::getError());
        logMessage("%s", vertexSource);
        return false;
    }
    const GLuint fragmentShader = compile(GL_FRAGMENT_SHADER, fragmentSource, &status);
    if (status != GL_TRUE) {
        logMessage("Error fragment shader compilation: %s\n",
                   shaderInfoLog(fragmentShader).c_str());
        glDeleteShader(vertexShader);
        glDeleteShader(fragmentShader);
        VIZ_ASSERT(!gl::getError());
        logMessage("%s", fragmentSource);
        return false;
    }

    program->attributes.clear();
    program->uniforms.clear();
    program->uniformBlocks.clear();
    program->attributeNameLocationMap.clear();
    program->uniformNameLocationMap.clear();
    program->uniformBlockNameIndexMap.clear();

    for (const auto& [attributeLocation, name] : attributeLocations) {
        glBindAttribLocation(program->id, attributeLocation, name.c_str());
        VIZ_ASSERT(!gl::getError());
    }

    glAttachShader(program->id, vertexShader);
    glAttachShader(program->id, fragmentShader);
    glLinkProgram(program->id);
    glGetProgramiv(program->id, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        logMessage("Error program linking: %s", programInfoLog(program->id).c_str());
        glDetachShader(program->id, vertexShader);
        glDetachShader(program->id, fragmentShader);
        glDeleteShader(vertexShader);
        glDeleteShader(fragmentShader);
        return false;
    }
    glDetachShader(program->id, vertexShader);
    glDetachShader(program->id, fragmentShader);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);

    char name[kNameCapacity];
    GLint count = 0;
    glGetProgramiv(program->id, GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint i = 0; i < count; ++i) {
        GLsizei length = 0;
        ProgramVariable variable;
        glGetActiveAttrib(program->id, static_cast<GLuint>(i), kNameCapacity, &length,
                          &variable.size, &variable.type, name);
        variable.name.assign(name, static_cast<size_t>(length));
        variable.location =
            static_cast<GLuint>(glGetAttribLocation(program->id, variable.name.c_str()));
        program->attributes.push_back(std::move(variable));
    }
    for (const ProgramVariable& variable : program->attributes) {
        program->attributeNameLocationMap.insert({variable.name, variable.location});
    }

    glGetProgramiv(program->id, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        GLsizei length = 0;
        ProgramVariable variable;
        glGetActiveUniform(program->id, static_cast<GLuint>(i), kNameCapacity, &length,
                           &variable.size, &variable.type, name);
        variable.name.assign(name, static_cast<size_t>(length));
        variable.location =
            static_cast<GLuint>(glGetUniformLocation(program->id, variable.name.c_str()));
        program->uniforms.push_back(std::move(variable));
    }
    for (const ProgramVariable& variable : program->uniforms) {
        program->uniformNameLocationMap.insert({variable.name, variable.location});
    }

    glGetProgramiv(program->id, GL_ACTIVE_UNIFORM_BLOCKS, &count);
    for (GLint i = 0; i < count; ++i) {
        GLsizei length = 0;
        ProgramUniformBlock block;
        glGetActiveUniformBlockName(program->id, static_cast<GLuint>(i), kNameCapacity, &length,
                                    name);
        block.name.assign(name, static_cast<size_t>(length));
        block.index = glGetUniformBlockIndex(program->id, block.name.c_str());
        // Block i listens on binding point i, where bindUniformBufferBase attaches buffers.
        glUniformBlockBinding(program->id, block.index, block.index);
        program->uniformBlocks.push_back(std::move(block));
    }
    for (const ProgramUniformBlock& block : program->uniformBlocks) {
        program->uniformBlockNameIndexMap.insert({block.name, block.index});
    }
    return true;
}

void deleteProgram(Program*& program) {
    VIZ_ASSERT(program != nullptr && "Program not valid");
    glDeleteProgram(program->id);
    VIZ_ASSERT(!gl::getError());
    if (programCurrent == program) {
        programCurrent = nullptr;
    }
    delete program;
    program = nullptr;
}

void bindProgram(Program* program) {
    VIZ_ASSERT(program != nullptr && "Program not valid");
    if (program != programCurrent) {
        glUseProgram(program->id);
        programCurrent = program;
    }
}

void unbindProgram() {
    programCurrent = nullptr;
    glUseProgram(0);
}

void uniform(std::string_view name, GLfloat x) {
    glUniform1f(location(name), x);
}

void uniform(std::string_view name, GLfloat x, GLfloat y) {
    glUniform2f(location(name), x, y);
}

void uniform(std::string_view name, GLfloat x, GLfloat y, GLfloat z) {
    glUniform3f(location(name), x, y, z);
}

void uniform(std::string_view name, GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    glUniform4f(location(name), x, y, z, w);
}

void uniform(std::string_view name, GLint i) {
    glUniform1i(location(name), i);
}

void uniform(std::string_view name, GLint i, GLint j) {
    glUniform2i(location(name), i, j);
}

void uniform(std::string_view name, GLint i, GLint j, GLint k) {
    glUniform3i(location(name), i, j, k);
}

void uniform(std::string_view name, GLint i, GLint j, GLint k, GLint l) {
    glUniform4i(location(name), i, j, k, l);
}

void uniform(std::string_view name, const GLfloat* matrix, GLboolean transpose) {
    glUniformMatrix4fv(location(name), 1, transpose, matrix);
}

void uniform(std::string_view name, const GLfloat* matrix, bool transpose) {
    uniform(name, matrix, static_cast<GLboolean>(transpose ? GL_TRUE : GL_FALSE));
}

void uniform(std::string_view name, const math::mat44<float>& matrix, bool transpose) {
    uniform(name, matrix.data(), transpose);
}

void uniform(std::string_view name, const GLfloat* values, GLsizei size) {
    const GLint at = location(name);
    VIZ_ASSERT((size >= 2 && size <= 4) && "Invalid glUniform{size}fv");
    switch (size) {
        case 2:
            glUniform2fv(at, 1, values);
            break;
        case 3:
            glUniform3fv(at, 1, values);
            break;
        case 4:
            glUniform4fv(at, 1, values);
            break;
        default:
            logMessage("Invalid glUniform{size}fv size: %i", size);
            break;
    }
}

}  // namespace gl
