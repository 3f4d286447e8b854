// Programs against GL: binding, introspection, uniform setters read back with glGetUniform*,
// and compile and link failures with the driver's text.
#include "visualization/util/gl/program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"

namespace {

using gltest::integer;
using ::testing::MatchesRegex;

// Every uniform kind a setter exists for, all of them used so that none is optimised away.
const char* kUniformsVertexSource = R"(#version 300 es
layout(location = 0) in vec2 aPosition;
layout(location = 2) in vec4 aColor;
uniform mat4 uMatrix;
uniform vec2 uVec2;
uniform vec3 uVec3;
uniform float uWeights[3];
out vec4 vColor;
void main() {
    vColor = aColor * vec4(uVec3, uVec2.x + uWeights[0] + uWeights[1] + uWeights[2]);
    gl_Position = uMatrix * vec4(aPosition, 0.0, 1.0);
}
)";

const char* kUniformsFragmentSource = R"(#version 300 es
precision highp float;
precision highp int;
uniform float uFloat;
uniform vec4 uVec4;
uniform int uInt;
uniform ivec2 uIvec2;
uniform ivec3 uIvec3;
uniform ivec4 uIvec4;
uniform sampler2D uTexture;
in vec4 vColor;
out vec4 fragColor;
void main() {
    int sum = uInt + uIvec2.y + uIvec3.z + uIvec4.w;
    fragColor = vColor * uVec4 * uFloat * float(sum) * texture(uTexture, vec2(0.5));
}
)";

using GlProgramTest = gltest::GlLayerTest;

TEST_F(GlProgramTest, BindsOnlyWhenNotCurrent) {
    gl::Program* a =
        gl::createProgram(gltest::kColourVertexSource, gltest::kColourFragmentSource, {});
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0) << "creation binds nothing";
    gltest::expectBindsOnlyWhenNotCurrent(
        GL_CURRENT_PROGRAM, a->id, [&] { gl::bindProgram(a); }, gl::unbindProgram);
    gl::deleteProgram(a);
    EXPECT_EQ(gl::programCurrent, nullptr);
}

TEST_F(GlProgramTest, RecordsActiveVariablesByReportedName) {
    gl::Program* program = gl::createProgram(kUniformsVertexSource, kUniformsFragmentSource, {});
    EXPECT_EQ(program->attributeNameLocationMap, (gl::NameMap{{"aPosition", 0u}, {"aColor", 2u}}));
    GLint count = 0;
    glGetProgramiv(program->id, GL_ACTIVE_UNIFORMS, &count);
    EXPECT_EQ(static_cast<GLint>(program->uniforms.size()), count);
    EXPECT_EQ(program->uniformNameLocationMap.count("uWeights"), 0u);
    for (const gl::ProgramVariable& uniform : program->uniforms) {
        EXPECT_EQ(static_cast<GLint>(uniform.location),
                  glGetUniformLocation(program->id, uniform.name.c_str()))
            << uniform.name;
        if (uniform.name == "uWeights[0]") {
            EXPECT_TRUE(uniform.size == 3 && uniform.type == GL_FLOAT);
        }
    }
    gl::deleteProgram(program);
}

TEST_F(GlProgramTest, SettersWriteTheBoundProgramsUniforms) {
    gl::Program* program = gl::createProgram(kUniformsVertexSource, kUniformsFragmentSource, {});
    gl::bindProgram(program);
    // Integer uniforms read back as floats too.
    auto values = [id = program->id](const char* name, size_t count) {
        std::array<GLfloat, 16> read{};
        glGetUniformfv(id, glGetUniformLocation(id, name), read.data());
        return std::vector<GLfloat>(read.begin(), read.begin() + count);
    };
    gl::uniform("uTexture", 3);
    gl::uniform("uVec4", 6.0f, 7.0f, 8.0f, 9.0f);
    gl::uniform(std::string("uWeights[0]"), 0.25f);
    EXPECT_EQ(values("uTexture", 1), (std::vector<GLfloat>{3}));
    EXPECT_EQ(values("uVec4", 4), (std::vector<GLfloat>{6, 7, 8, 9}));
    EXPECT_EQ(values("uWeights[0]", 1), (std::vector<GLfloat>{0.25f}));

    // Matrices: column-major as given, or transposed on request; a literal false is a flag.
    math::mat44<float> matrix;
    std::iota(matrix.m, matrix.m + 16, 1.0f);
    gl::uniform("uMatrix", matrix.data(), false);
    EXPECT_EQ(values("uMatrix", 16), std::vector<GLfloat>(matrix.m, matrix.m + 16));
    gl::uniform("uMatrix", matrix, true);
    const std::vector<GLfloat> transposed = values("uMatrix", 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(transposed[i], matrix.m[(i % 4) * 4 + i / 4]) << i;
    }
    gl::deleteProgram(program);
}

TEST_F(GlProgramTest, CompileAndLinkFailuresAreLoggedWithTheDriversText) {
    testsupport::LogCapture log;
    const char* brokenVertex = "#version 300 es\nvoid main() { gl_Position = vec4(1.0) }\n";
    gl::Program* failed = gl::createProgram(brokenVertex, gltest::kColourFragmentSource, {});
    ASSERT_EQ(log.lines().size(), 2u);
    // The driver's message follows the line's own words; then the source.
    EXPECT_THAT(log.lines()[0], MatchesRegex("Error vertex shader compilation: .+"));
    EXPECT_EQ(log.lines()[1], brokenVertex);
    // The failed program still has a name and can be bound through the module; GL refuses the
    // unlinked program, and the error waits for the next check.
    gl::bindProgram(failed);
    log.clear();
    EXPECT_TRUE(gl::getError());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"GL ERROR GL_INVALID_OPERATION"}));
    gl::deleteProgram(failed);

    // Both stages compile but disagree on the varying's type: no tables, and the shaders are
    // detached and deleted rather than leaked.
    log.clear();
    gl::Program* unlinked = gl::createProgram(gltest::kColourVertexSource, R"(#version 300 es
precision mediump float;
in vec3 vColor;
out vec4 fragColor;
void main() { fragColor = vec4(vColor, 1.0); }
)",
                                              {});
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_THAT(log.lines()[0], MatchesRegex("Error program linking: .+"));
    EXPECT_TRUE(unlinked->attributes.empty() && unlinked->uniforms.empty());
    GLint attached = -1;
    glGetProgramiv(unlinked->id, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 0);
    gl::deleteProgram(unlinked);
}

}  // namespace
