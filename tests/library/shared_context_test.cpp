// A host that draws its own interface in the same context: between any two of the library's calls
// it binds its own objects and changes the render state. The library must draw exactly what it
// draws for a host that leaves the context alone, and give back every binding and setting of the
// host's as it found them. The lap of every mode also plays a photograph folder that holds a named
// pipe and a link to a device besides a photograph, and checks what every mode's frames leave
// behind: no GL error and no log line of their own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "library/library_api.h"
#include "support/log_capture.h"

using testsupport::LogCapture;
namespace stdfs = std::filesystem;

namespace {

constexpr int kFramesPerCall = 5;
constexpr int kCallsPerMode = 14;  // 1.17 s: the cross-fade is over
constexpr int kSampleStep = 6;

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

// A reader stuck on the pipe would hold the render thread (which waits for the photograph it
// shows) or the terminate (which joins the worker) for ever: when no call comes for longer than
// any call should take (a creation at full HD takes 25 s under the sanitizers), the watchdog opens
// the pipe for writing and closes it, which ends such a wait, and the test fails.
class PipeWatchdog {
public:
    explicit PipeWatchdog(const std::string& pipe)
        : mThread([this, pipe] {
              for (int idle = 0; !mDone; idle = mPets.exchange(0) > 0 ? 0 : idle + 1) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
                  if (idle == 600) {
                      mFired = true;
                      ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
                  }
              }
          }) {}
    ~PipeWatchdog() {
        mDone = true;
        mThread.join();
    }
    bool fired() const { return mFired; }
    void pet() { ++mPets; }

private:
    std::atomic<bool> mDone{false};
    std::atomic<bool> mFired{false};
    std::atomic<unsigned> mPets{0};
    std::thread mThread;
};

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
        glClearColor(on ? 0.25f : 0.0f, on ? 0.5f : 0.0f, 0.0f, on ? 0.75f : 0.0f);
        glPolygonOffset(on ? 3.0f : 0.0f, on ? 5.0f : 0.0f);
    }

private:
    GLuint mProgram = 0;
    GLuint mVertexArray = 0;
    std::array<GLuint, 3> mBuffers{};
    std::array<GLuint, 4> mTextures{};
    GLuint mSampler = 0;
};

// What a host reads back of the context: every binding and setting the library may change.
std::map<std::string, std::vector<float>> hostVisibleState() {
    std::map<std::string, std::vector<float>> state;
    const auto integers = [&state](const char* name, GLenum query, int count = 1) {
        GLint values[4] = {};
        glGetIntegerv(query, values);
        state[name].assign(values, values + count);
    };
    const auto floats = [&state](const char* name, GLenum query, int count = 1) {
        GLfloat values[4] = {};
        glGetFloatv(query, values);
        state[name].assign(values, values + count);
    };
    integers("program", GL_CURRENT_PROGRAM);
    integers("vertex array", GL_VERTEX_ARRAY_BINDING);
    integers("element buffer", GL_ELEMENT_ARRAY_BUFFER_BINDING);
    integers("array buffer", GL_ARRAY_BUFFER_BINDING);
    integers("pixel unpack buffer", GL_PIXEL_UNPACK_BUFFER_BINDING);
    integers("draw framebuffer", GL_DRAW_FRAMEBUFFER_BINDING);
    integers("read framebuffer", GL_READ_FRAMEBUFFER_BINDING);
    integers("active texture", GL_ACTIVE_TEXTURE);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    for (GLuint unit = 0; unit < 8; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        integers(("texture unit " + std::to_string(unit)).c_str(), GL_TEXTURE_BINDING_2D);
        integers(("sampler unit " + std::to_string(unit)).c_str(), GL_SAMPLER_BINDING);
    }
    glActiveTexture(static_cast<GLenum>(active));
    for (auto [name, capability] : {std::pair{"blend", GL_BLEND},
                                    {"cull face", GL_CULL_FACE},
                                    {"depth test", GL_DEPTH_TEST},
                                    {"scissor test", GL_SCISSOR_TEST},
                                    {"stencil test", GL_STENCIL_TEST},
                                    {"polygon offset fill", GL_POLYGON_OFFSET_FILL}}) {
        state[name] = {static_cast<float>(glIsEnabled(capability))};
    }
    integers("blend source rgb", GL_BLEND_SRC_RGB);
    integers("blend destination rgb", GL_BLEND_DST_RGB);
    integers("blend source alpha", GL_BLEND_SRC_ALPHA);
    integers("blend destination alpha", GL_BLEND_DST_ALPHA);
    integers("blend equation", GL_BLEND_EQUATION_RGB);
    integers("depth function", GL_DEPTH_FUNC);
    integers("depth mask", GL_DEPTH_WRITEMASK);
    integers("cull face mode", GL_CULL_FACE_MODE);
    integers("front face", GL_FRONT_FACE);
    integers("scissor box", GL_SCISSOR_BOX, 4);
    integers("viewport", GL_VIEWPORT, 4);
    floats("clear colour", GL_COLOR_CLEAR_VALUE, 4);
    integers("colour mask", GL_COLOR_WRITEMASK, 4);
    floats("polygon offset factor", GL_POLYGON_OFFSET_FACTOR);
    floats("polygon offset units", GL_POLYGON_OFFSET_UNITS);
    integers("unpack alignment", GL_UNPACK_ALIGNMENT);
    integers("unpack row length", GL_UNPACK_ROW_LENGTH);
    integers("unpack skip rows", GL_UNPACK_SKIP_ROWS);
    integers("unpack skip pixels", GL_UNPACK_SKIP_PIXELS);
    return state;
}

class SharedContext : public testsupport::LibraryTest {
protected:
    // A copy of the resource folder in the build's scratch space whose photographs are one good
    // one, a named pipe and a link to /dev/zero; every other asset is linked from the source tree.
    void SetUp() override {
        LibraryTest::SetUp();
        useTarget(1920, 1080);
        mScratch =
            stdfs::path(testsupport::testOutputDir()) / ("photographs-" + std::to_string(getpid()));
        stdfs::remove_all(mScratch);
        const stdfs::path source = stdfs::path(testsupport::sourceDir()) / "res";
        const stdfs::path res = mScratch / "res";
        linkAllBut(source, res, "images");
        linkAllBut(source / "images", res / "images", "kaleidoscope_default");
        const stdfs::path photos = res / "images" / "kaleidoscope_default";
        stdfs::create_directories(photos);
        stdfs::create_symlink(source / "images" / "kaleidoscope_default" / "chelsea.jpg",
                              photos / "chelsea.jpg");
        mPipe = (photos / "pipe.jpg").string();
        ASSERT_EQ(mkfifo(mPipe.c_str(), 0600), 0);
        mZero = (photos / "zero.png").string();
        stdfs::create_symlink("/dev/zero", mZero);
        // The library keeps a resource path relative to the working directory.
        mResPath = stdfs::relative(res, stdfs::current_path()).string();
    }
    void TearDown() override {
        LibraryTest::TearDown();
        stdfs::remove_all(mScratch);
    }

    static void linkAllBut(const stdfs::path& from, const stdfs::path& to,
                           const std::string& except) {
        stdfs::create_directories(to);
        for (const stdfs::directory_entry& entry : stdfs::directory_iterator(from)) {
            if (entry.path().filename() != except) {
                stdfs::create_symlink(entry.path(), to / entry.path().filename());
            }
        }
    }

    // Calls the library the way the host does, meddling before every call when asked to, and
    // checks that the host finds every binding and setting as it left them.
    template <typename Call>
    void call(Call&& function) {
        if (mWatchdog != nullptr) {
            mWatchdog->pet();
        }
        if (mHost != nullptr) {
            mHost->meddle(true);
        }
        const auto before = hostVisibleState();
        function();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        const auto after = hostVisibleState();
        for (const auto& [name, values] : before) {
            EXPECT_EQ(after.at(name), values) << name;
        }
        GLint framebuffer = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
        EXPECT_EQ(static_cast<GLuint>(framebuffer), mTarget->framebuffer());
        if (mHost != nullptr) {
            mHost->meddle(false);
        }
    }

    // Frames of music; counts the calls and those of them that logged anything.
    void frames(int count, const LogCapture& log) {
        for (int i = 0; i < count; ++i) {
            sendBeatingBands(kFramesPerCall);
            platform_clock_advance(kFramesPerCall * kFrameNs);
            const size_t before = log.lines().size();
            call([this] { api.onUpdateGlApp(); });
            ++mFrameCalls;
            mFramesThatLogged += log.lines().size() != before;
        }
    }

    // One lap of the playlist from the same clock start; a sample of every drawing mode's
    // picture once its cross-fade is over.
    std::map<std::string, std::vector<uint8_t>> lap() {
        platform_clock_set_manual(5'000'000'000LL);
        mMusicTime = 0.0f;
        mFrameCalls = mFramesThatLogged = 0;
        LogCapture log;
        PipeWatchdog watchdog(mPipe);
        mWatchdog = &watchdog;
        call([this] { api.updateSpeakerInfo(0); });
        // Building the instance draws once with every program, to have the driver compile them
        // then; none of that may reach the host's picture.
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(2, 3, 400, 500);  // switched off, but where a careless library would draw
        call([this] { api.onCreateGlApp(mResPath.c_str(), 0); });
        readBack();
        size_t painted = 0;
        for (size_t i = 0; mHost == nullptr && i < pixels().size(); i += 4) {
            painted += !(pixels()[i] == 51 && pixels()[i + 1] == 102 && pixels()[i + 2] == 153);
        }
        EXPECT_EQ(painted, 0u);
        frames(7 * 12, log);
        std::map<std::string, std::vector<uint8_t>> samples;
        std::string current;
        for (int change = 0; change <= 30; ++change) {
            if (change > 0) {
                call([this] { api.updateTrackChange(); });
                frames(kCallsPerMode, log);
            }
            current = log.lastMode().empty() ? current : log.lastMode();
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
        const auto start = std::chrono::steady_clock::now();
        call([this] { api.onTerminateGlApp(); });
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        mWatchdog = nullptr;
        EXPECT_FALSE(watchdog.fired()) << "a call waited on the pipe";
        // Events log, frames do not: most frames log nothing.
        EXPECT_LT(mFramesThatLogged, mFrameCalls / 4);

        // The five kaleidoscope modes skip the pipe and the device, saying so, and show the
        // photograph.
        const std::string scope = "[content2021][kaleidoscope][Renderer][updateTexture] ";
        for (const std::string& path : {mPipe, mZero}) {
            const std::string relative =
                mResPath + "/images/kaleidoscope_default/" + stdfs::path(path).filename().string();
            EXPECT_TRUE(log.contains("[fs] Binary could not be loaded: " + relative + "\n"))
                << relative;
            EXPECT_TRUE(log.contains(scope + "Asset \"" + relative +
                                     "\" has invalid number of channels: 0"))
                << relative;
        }
        EXPECT_FALSE(log.matching("Asset size: 451x300, num channels: 3").empty());
        return samples;
    }

    MeddlingHost* mHost = nullptr;
    PipeWatchdog* mWatchdog = nullptr;
    stdfs::path mScratch;
    std::string mPipe;
    std::string mZero;
    std::string mResPath;
    int mFrameCalls = 0;
    int mFramesThatLogged = 0;
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
