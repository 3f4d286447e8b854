// The GL layer's preconditions: a broken one stops the program with its condition and what it
// was about named, after the GL error that explains it where there is one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "gl/util/gl/gl_state.h"
#include "visualization/util/gl/texture_2d.h"

namespace {

using GlLayerDeathTest = gltest::GlLayerTest;

// Binds a new program with one uniform, vec4 uColor.
void bindUniformColourProgram() {
    gl::bindProgram(gl::createProgram(gltest::kColourVertexSource, R"(#version 300 es
precision mediump float;
uniform vec4 uColor;
out vec4 fragColor;
void main() { fragColor = uColor; }
)",
                                      {}));
}

TEST_F(GlLayerDeathTest, BrokenPreconditionsStopWithTheirCondition) {
    GTEST_FLAG_SET(death_test_style, testsupport::kDeathTestStyle);
    const struct {
        std::function<void()> run;
        const char* condition;  // regular expressions
        const char* loggedBefore = "";
    } cases[] = {
        // A GL error pending after a GL call is named in the log before the report.
        {[] {
             gltest::logToStderr();
             gl::VertexBuffer* buffer = gl::createVertexBuffer();
             glBindBuffer(0x1234, 0);
             gl::deleteVertexBuffer(buffer);
         },
         "!gl::getError\\(\\)", "GL ERROR GL_INVALID_ENUM.*"},
        {[] {
             bindUniformColourProgram();
             gl::uniform("uShade", 1, 0, 0, 1);
         },
         "programCurrent->uniformNameLocationMap.find\\(name\\) != "
         "programCurrent->uniformNameLocationMap.end\\(\\) && \"Uniform not present in "
         "program\" \\(uniform \"uShade\"\\)"},
    };
    for (const auto& c : cases) {
        EXPECT_DEATH(c.run(), ::testing::ContainsRegex(std::string(c.loggedBefore) +
                                                       "Assertion failed: " + c.condition));
    }
}

}  // namespace
