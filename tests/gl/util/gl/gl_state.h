// Shared by the GL layer's tests: a fixture that starts and ends with nothing bound, GL state
// queries, a log sink for death tests, and a minimal pair of shaders.
#pragma once

#include <GLES3/gl3.h>

#include <cstdio>

#include "platform.h"
#include "support/gl_test.h"
#include "visualization/util/gl/buffer.h"
#include "visualization/util/gl/program.h"
#include "visualization/util/gl/vertex_array.h"

namespace gltest {

// The module's binding records outlive a test: every test starts and ends with nothing bound,
// so a record left by one test can never make another skip a bind.
class GlLayerTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        unbindEverything();
    }
    void TearDown() override {
        unbindEverything();
        GlTest::TearDown();
    }

private:
    void unbindEverything() {
        gl::unbindAll();
        gl::unbindUniformBuffer();
        mTarget->bind();
    }
};

inline GLint integer(GLenum query) {
    GLint value = -1;
    glGetIntegerv(query, &value);
    return value;
}

// Inside a death test the child's log lines must reach standard error whatever the environment
// says about the platform log, so the matcher sees the lines that precede the report.
inline void logToStderr() {
    platform_log_set_sink(
        [](int, const char*, const char* message, void*) { std::fprintf(stderr, "%s\n", message); },
        nullptr);
}

// A minimal pair of shaders: 2D positions at location 0, one colour per vertex at location 1.
inline constexpr const char* kColourVertexSource = R"(#version 300 es
layout(location = 0) in vec2 aPosition;
layout(location = 1) in vec4 aColor;
out vec4 vColor;
void main() {
    vColor = aColor;
    gl_Position = vec4(aPosition, 0.0, 1.0);
}
)";

inline constexpr const char* kColourFragmentSource = R"(#version 300 es
precision mediump float;
in vec4 vColor;
out vec4 fragColor;
void main() {
    fragColor = vColor;
}
)";

}  // namespace gltest
