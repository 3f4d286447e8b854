// A host that draws its own interface in the same context: between any two of the library's calls
// it binds its own objects and changes the render state. The library must draw exactly what it
// draws for a host that leaves the context alone, and give back the host's framebuffer binding
// and viewport.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "library/library_api.h"
#include "support/log_capture.h"

using testsupport::LogCapture;

namespace {

constexpr int kFramesPerCall = 5;
constexpr int kCallsPerMode = 14;  // 1.17 s: the cross-fade is over
constexpr int kSampleStep = 6;
const std::string kModeLine = "[ContentPlayer][setContentMode] Mode next: ";

const char* const kHostVertexShader = R"(#version 300 es
layout(location = 0) in vec2 aPosition;
void main() { gl_Position = vec4(aPosition, 0.0, 1.0); }
)";
const char* const kHostFragmentShader = R"(#version 300 es
precision mediump float;
uniform sampler2D uTexture;
out vec4 FragColor;
void main() { FragColor = texture(uTexture, vec2(0.5)); }
)";

// The objects and state of a host's own interface renderer.
class MeddlingHost {
public:
    MeddlingHost() {
        mProgram = glCreateProgram();
        for (auto [stage, source] : {std::pair{GL_VERTEX_SHADER, kHostVertexShader},
                                     std::pair{GL_FRAGMENT_SHADER, kHostFragmentShader}}) {
            const GLuint shader = glCreateShader(stage);
            glShaderSource(shader, 1, &source, nullptr);
            glCompileShader(shader);
            glAttachShader(mProgram, shader);
            glDeleteShader(shader);
        }
        glLinkProgram(mProgram);
        glGenVertexArrays(1, &mVertexArray);
        glGenBuffers(3, mBuffers.data());
        glBindVertexArray(mVertexArray);
        const float triangle[6] = {-1, -1, 1, -1, 0, 1};
        glBindBuffer(GL_ARRAY_BUFFER, mBuffers[0]);
        glBufferData(GL_ARRAY_BUFFER, sizeof(triangle), triangle, GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        const uint16_t indices[3] = {0, 1, 2};
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mBuffers[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(indices), indices, GL_STATIC_DRAW);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, mBuffers[2]);
        glBufferData(GL_PIXEL_UNPACK_BUFFER, 16, nullptr, GL_STATIC_DRAW);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        glGenTextures(static_cast<GLsizei>(mTextures.size()), mTextures.data());
        const uint8_t magenta[4] = {255, 0, 255, 255};
        for (GLuint texture : mTextures) {
            glBindTexture(GL_TEXTURE_2D, texture);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, magenta);
        }
        glGenSamplers(1, &mSampler);
        glSamplerParameteri(mSampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glSamplerParameteri(mSampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glSamplerParameteri(mSampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glBindVertexArray(0);
    }
    ~MeddlingHost() {
        meddle(false);
        glDeleteSamplers(1, &mSampler);
        glDeleteTextures(static_cast<GLsizei>(mTextures.size()), mTextures.data());
        glDeleteBuffers(3, mBuffers.data());
        glDeleteVertexArrays(1, &mVertexArray);
        glDeleteProgram(mProgram);
    }

    // Draws its own triangle and leaves everything it used bound and switched on, or (with
    // `on` false) puts the defaults back.
    void meddle(bool on) {
        glUseProgram(on ? mProgram : 0);
        glBindVertexArray(on ? mVertexArray : 0);
        glBindBuffer(GL_ARRAY_BUFFER, on ? mBuffers[0] : 0);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, on ? mBuffers[2] : 0);
        for (GLuint unit = 0; unit < mTextures.size(); ++unit) {
            glActiveTexture(GL_TEXTURE0 + unit);
            glBindTexture(GL_TEXTURE_2D, on ? mTextures[unit] : 0);
            glBindSampler(unit, on ? mSampler : 0);
        }
        glActiveTexture(on ? GL_TEXTURE2 : GL_TEXTURE0);
        if (on) {
            glDrawElements(GL_TRIANGLES, 3, GL_UNSIGNED_SHORT, nullptr);
        }
        const auto toggle = [on](GLenum capability) {
            on ? glEnable(capability) : glDisable(capability);
        };
        for (GLenum capability : {GL_BLEND, GL_CULL_FACE, GL_DEPTH_TEST, GL_SCISSOR_TEST,
                                  GL_STENCIL_TEST, GL_POLYGON_OFFSET_FILL}) {
            toggle(capability);
        }
        glBlendFunc(GL_ONE, on ? GL_ONE : GL_ZERO);
        glBlendEquation(on ? GL_FUNC_REVERSE_SUBTRACT : GL_FUNC_ADD);
        glCullFace(GL_BACK);
        glFrontFace(on ? GL_CW : GL_CCW);
        glDepthFunc(on ? GL_NEVER : GL_LESS);
        glDepthMask(on ? GL_FALSE : GL_TRUE);
        glStencilFunc(on ? GL_NEVER : GL_ALWAYS, 0, 0xFF);
        glScissor(0, 0, 8, 8);
        glColorMask(GL_TRUE, !on, GL_TRUE, !on);
        glPixelStorei(GL_UNPACK_ALIGNMENT, on ? 8 : 4);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, on ? 4096 : 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, on ? 9 : 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, on ? 7 : 0);
        glViewport(3, 4, 50, 60);
    }

private:
    GLuint mProgram = 0;
    GLuint mVertexArray = 0;
    std::array<GLuint, 3> mBuffers{};
    std::array<GLuint, 4> mTextures{};
    GLuint mSampler = 0;
};

class SharedContext : public testsupport::LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        useTarget(1920, 1080);
    }

    // Calls the library the way the host does, meddling before every call when asked to, and
    // checks that the library gave back the host's framebuffer and viewport.
    template <typename Call>
    void call(Call&& function) {
        if (mHost != nullptr) {
            mHost->meddle(true);
        }
        function();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        GLint framebuffer = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
        EXPECT_EQ(static_cast<GLuint>(framebuffer), mTarget->framebuffer());
        if (mHost != nullptr) {
            std::array<GLint, 4> viewport{};
            glGetIntegerv(GL_VIEWPORT, viewport.data());
            EXPECT_EQ(viewport, (std::array<GLint, 4>{3, 4, 50, 60}));
            mHost->meddle(false);
        }
    }

    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            sendBeatingBands(kFramesPerCall);
            platform_clock_advance(kFramesPerCall * kFrameNs);
            call([this] { api.OnUpdateGlApp(); });
        }
    }

    // One lap of the playlist from the same clock start; a sample of every drawing mode's
    // picture once its cross-fade is over.
    std::map<std::string, std::vector<uint8_t>> lap() {
        platform_clock_set_manual(5'000'000'000LL);
        mMusicTime = 0.0f;
        LogCapture log;
        call([this] { api.UpdateSpeakerInfo(0); });
        call([this] { api.OnCreateGlApp("res", 0); });
        frames(7 * 12);
        std::map<std::string, std::vector<uint8_t>> samples;
        std::string current;
        for (int change = 0; change <= 30; ++change) {
            if (change > 0) {
                call([this] { api.UpdateTrackChange(); });
                frames(kCallsPerMode);
            }
            for (const std::string& line : log.lines()) {
                if (line.rfind(kModeLine, 0) == 0) {
                    current = line.substr(kModeLine.size());
                }
            }
            if (!current.empty()) {
                readBack();
                std::vector<uint8_t>& sample = samples[current];
                for (size_t i = 0; i < pixels().size(); i += 4 * kSampleStep) {
                    sample.insert(sample.end(), pixels().begin() + i, pixels().begin() + i + 4);
                }
                if (mHost != nullptr && current == "CONTENT_2020_WAVES_2") {
                    savePng("shared_context_waves_2");
                }
            }
        }
        call([this] { api.OnTerminateGlApp(); });
        return samples;
    }

    MeddlingHost* mHost = nullptr;
};

TEST_F(SharedContext, AMeddlingHostGetsTheSamePixelsInEveryMode) {
    const auto control = lap();
    ASSERT_EQ(control.size(), 31u);

    MeddlingHost host;
    mHost = &host;
    const auto meddled = lap();
    mHost = nullptr;

    ASSERT_EQ(meddled.size(), control.size());
    for (const auto& [mode, sample] : control) {
        const std::vector<uint8_t>& other = meddled.at(mode);
        size_t differing = 0;
        for (size_t i = 0; i < sample.size(); ++i) {
            differing += sample[i] != other[i];
        }
        EXPECT_EQ(differing, 0u) << mode;
    }
}

}  // namespace

// Building the instance draws once with every program to have the driver compile it then; none
// of that may reach the host's picture, and the host's scissor comes back as it was.
TEST_F(SharedContext, CreatingTheInstanceLeavesTheHostsPictureAndScissorAlone) {
    for (const bool scissor : {false, true}) {
        SCOPED_TRACE(scissor ? "host scissor on" : "host scissor off");
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scissor ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
        glScissor(2, 3, 400, 500);
        call([this] { api.UpdateSpeakerInfo(0); });
        call([this] { api.OnCreateGlApp("res", 0); });

        EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), scissor ? GL_TRUE : GL_FALSE);
        std::array<GLint, 4> box{};
        glGetIntegerv(GL_SCISSOR_BOX, box.data());
        EXPECT_EQ(box, (std::array<GLint, 4>{2, 3, 400, 500}));
        glDisable(GL_SCISSOR_TEST);
        readBack();
        size_t painted = 0;
        for (size_t i = 0; i < pixels().size(); i += 4) {
            painted += !(pixels()[i] == 51 && pixels()[i + 1] == 102 && pixels()[i + 2] == 153);
        }
        EXPECT_EQ(painted, 0u);
        call([this] { api.OnTerminateGlApp(); });
    }
}
