// The kaleidoscope: the animator's update on its own, the whole frame on the headless context at
// 1280 x 720 and 1920 x 1080 next to a plain full-screen textured quad (the least any picture
// of a photograph costs), once with the photograph across the screen and once repeated six
// times across it as the loud classes zoom it (smaller levels cost more to sample), and the
// frame in which a mode switch brings a new photograph. The synthetic bands swell and fall with
// a beat every half second in a beat-driven class.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "synthetic_music.h"
#include "visualization/content/2021/kaleidoscope/animator_version_0.h"
#include "visualization/content/2021/kaleidoscope/content.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/gl/shared_context.h"

namespace {

namespace kaleidoscope = content2021::kaleidoscope;

constexpr float kDt = 1.0f / 60.0f;

using Music = bench::SyntheticMusic;

void BM_KaleidoscopeAnimatorUpdate(benchmark::State& state) {
    Music music(SoundClass::Powerful);
    kaleidoscope::Animator_Version_0 animator(bench::kWidth, bench::kHeight);
    for (int i = 0; i < 300; ++i) {
        music.next();
        animator.update(kDt, music.sound, RotationTransition{});
    }
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        animator.update(kDt, music.sound, RotationTransition{});
        state.PauseTiming();
        music.next();
        state.ResumeTiming();
    }
    bench::reportAllocations(state, before);
}
BENCHMARK(BM_KaleidoscopeAnimatorUpdate)->Unit(benchmark::kMicrosecond);

const char* const kQuadVertex = R"(#version 300 es
layout (location = 0) in vec2 aPosition;
out vec2 vTexCoord;
void main() {
    gl_Position = vec4(aPosition, 0.0, 1.0);
    vTexCoord = aPosition * 0.5 + 0.5;
}
)";
const char* const kQuadFragment = R"(#version 300 es
precision highp float;
in vec2 vTexCoord;
out vec4 FragColor;
uniform sampler2D uTexture;
uniform float uZoom;
void main() {
    FragColor = texture(uTexture, vTexCoord * uZoom);
}
)";

// The yardstick: one photograph, mipmapped, on a full-screen quad through the same GL layer.
void BM_TexturedQuadFrame(benchmark::State& state) {
    const auto height = static_cast<uint32_t>(state.range(0));
    if (!bench::ensureGl(height * 16 / 9, height)) {
        state.SkipWithError("no headless GL context");
        return;
    }
    gl::Owned<gl::Program> program(gl::createProgram(kQuadVertex, kQuadFragment, {}));
    gl::bindProgram(program.get());
    gl::uniform("uTexture", 0);
    gl::uniform("uZoom", static_cast<float>(state.range(1)));
    const std::vector<float> quad = {-1.0f, -1.0f, 1.0f, -1.0f, 1.0f, 1.0f, -1.0f, 1.0f};
    gl::Owned<gl::VertexBuffer> buffer(gl::createVertexBuffer(quad, GL_STATIC_DRAW));
    std::vector<gl::VertexArrayAttributeConfig> configs = {
        gl::VertexArrayAttributeConfig().setLocation(0).setBuffer(buffer.get()).setSize(2)};
    gl::Owned<gl::VertexArray> vertexArray(gl::createVertexArray(configs, nullptr));
    gl::Texture2dConfig config;
    config.format = config.internalFormat = GL_RGB;
    config.wrapS = config.wrapT = GL_REPEAT;
    config.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    config.generateMipmap = true;
    gl::Owned<gl::Texture2d> texture(
        gl::createTexture2d("images/kaleidoscope_default/hubble_deep_field.jpg", config));
    auto frame = [&] {
        glClear(GL_COLOR_BUFFER_BIT);
        gl::bindProgram(program.get());
        gl::activeTexture(0);
        gl::bindTexture2d(texture.get());
        gl::bindVertexArray(vertexArray.get());
        glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
        glFinish();
    };
    for (int i = 0; i < 30; ++i) {
        frame();
    }
    for (auto _ : state) {
        frame();
    }
    gl::unbindAll();
}
BENCHMARK(BM_TexturedQuadFrame)
    ->ArgsProduct({{720, 1080}, {1, 6}})
    ->ArgNames({"", "zoom"})
    ->Unit(benchmark::kMillisecond);

struct KaleidoscopeScene {
    explicit KaleidoscopeScene(uint32_t width, uint32_t height)
        : content(width, height, RotateInfo::Landscape) {
        content.setTransition(1.0f);
        content.setModeIndex(0);
    }
    void frame() {
        music.next();
        gl::applyBaseRenderState();
        glClear(GL_COLOR_BUFFER_BIT);
        content.update(kDt, music.sound, RotationTransition{});
        content.render();
        glFinish();
    }
    Music music{SoundClass::Powerful};
    kaleidoscope::Content content;
};

void BM_KaleidoscopeFrame(benchmark::State& state) {
    const auto height = static_cast<uint32_t>(state.range(0));
    const uint32_t width = height * 16 / 9;
    if (!bench::ensureGl(width, height)) {
        state.SkipWithError("no headless GL context");
        return;
    }
    KaleidoscopeScene scene(width, height);
    for (int i = 0; i < 60; ++i) {
        scene.frame();
    }
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        scene.frame();
    }
    bench::reportAllocations(state, before);
}
BENCHMARK(BM_KaleidoscopeFrame)->Arg(720)->Arg(1080)->Unit(benchmark::kMillisecond);

// One iteration is the frame right after a mode switch, which shows the next photograph; the
// thirty ordinary frames between switches, untimed, give the worker time to decode it and the
// renderer time to stage it, so this frame should cost what any other does.
void BM_KaleidoscopeModeSwitchFrame(benchmark::State& state) {
    const auto height = static_cast<uint32_t>(state.range(0));
    const uint32_t width = height * 16 / 9;
    if (!bench::ensureGl(width, height)) {
        state.SkipWithError("no headless GL context");
        return;
    }
    KaleidoscopeScene scene(width, height);
    uint32_t mode = 0;
    double worst = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 30; ++i) {
            scene.frame();
        }
        mode = (mode + 1) % kaleidoscope::kAnimatorCount;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        scene.content.setModeIndex(mode);
        scene.frame();
        worst = std::max(worst, std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - start)
                                    .count());
    }
    state.counters["worst ms"] = worst;
}
BENCHMARK(BM_KaleidoscopeModeSwitchFrame)
    ->Arg(720)
    ->Arg(1080)
    ->Iterations(24)
    ->Unit(benchmark::kMillisecond);

}  // namespace
