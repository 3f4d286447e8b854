// The GL layer's preconditions: each broken one stops the program with its condition named,
// after the GL error that explains it where there is one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

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
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        std::function<void()> run;
        const char* condition;  // regular expressions
        const char* loggedBefore = "";
    } cases[] = {
        {[] {
             gl::VertexBuffer* buffer = gl::createVertexBuffer();
             gl::bindVertexBuffer(buffer);
             gl::deleteVertexBuffer(buffer);
             gl::bufferVertexData(std::vector<float>{1.0f}, GL_STATIC_DRAW);
         },
         "vertexBufferCurrent != nullptr && \"No vertex buffer bound\""},
        // A GL error pending after a GL call is named in the log before the report.
        {[] {
             gltest::logToStderr();
             gl::VertexBuffer* buffer = gl::createVertexBuffer();
             glBindBuffer(0x1234, 0);
             gl::deleteVertexBuffer(buffer);
         },
         "!gl::getError\\(\\)", "GL ERROR GL_INVALID_ENUM.*"},
        {[] {
             gl::VertexBuffer* missing = nullptr;
             std::vector<gl::VertexArrayAttributeConfig> configs = {
                 gl::VertexArrayAttributeConfig().setLocation(0).setBuffer(&missing).setSize(2)};
             gl::createVertexArray(configs, nullptr);
         },
         "\\*buffer != nullptr && \"Buffer not valid\""},
        {[] {
             bindUniformColourProgram();
             gl::uniform("uShade", 1, 0, 0, 1);
         },
         "programCurrent->uniformNameLocationMap.find\\(name\\) != "
         "programCurrent->uniformNameLocationMap.end\\(\\) && \"Uniform not present in "
         "program\" \\(uniform \"uShade\"\\)"},
        {[] {
             bindUniformColourProgram();
             const GLfloat values[5] = {};
             gl::uniform("uColor", values, 5);
         },
         "\\(size >= 2 && size <= 4\\) && \"Invalid glUniform\\{size\\}fv\""},
        {[] { gl::bindTexture2d(nullptr); }, "texture != nullptr && \"Texture 2d not valid\""},
    };
    for (const auto& c : cases) {
        EXPECT_DEATH(c.run(), ::testing::ContainsRegex(std::string(c.loggedBefore) +
                                                       "Assertion failed: " + c.condition));
    }
}

}  // namespace
