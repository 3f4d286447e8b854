// GL errors as the GL layer reports them: one named line per check.
#include "visualization/util/gl/buffer.h"

#include <gtest/gtest.h>

#include <EGL/egl.h>

#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"

namespace {

using GlBufferTest = gltest::GlLayerTest;

TEST_F(GlBufferTest, GetErrorNamesOneErrorPerCall) {
    testsupport::LogCapture log;
    EXPECT_FALSE(gl::getError());
    glUnmapBuffer(GL_ARRAY_BUFFER);  // nothing bound: GL_INVALID_OPERATION
    glBindBuffer(0x1234, 0);         // GL_INVALID_ENUM
    EXPECT_TRUE(gl::getError());
    EXPECT_FALSE(gl::getError()) << "GL keeps only the first error until it is read";
    glEnableVertexAttribArray(100000);  // beyond the attribute count: GL_INVALID_VALUE
    EXPECT_TRUE(gl::getError());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"GL ERROR GL_INVALID_OPERATION",
                                                     "GL ERROR GL_INVALID_VALUE"}));

    // A code outside the named ones: popping an empty debug group stack underflows it.
    auto popDebugGroup = reinterpret_cast<void (*)()>(eglGetProcAddress("glPopDebugGroupKHR"));
    if (popDebugGroup == nullptr) {
        GTEST_SKIP() << "no KHR_debug: the unnamed error code cannot be produced";
    }
    log.clear();
    popDebugGroup();
    EXPECT_TRUE(gl::getError());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"GL ERROR 0x504"}));
}

}  // namespace
