// Programs against GL: compile and link failures with the driver's text.
#include "visualization/util/gl/program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"

namespace {

using ::testing::MatchesRegex;

using GlProgramTest = gltest::GlLayerTest;

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
