// What the diagnostic text and shapes cost a frame at 1920 x 1080: a 40-character string laid
// out and drawn (CPU time of the calls; the GPU work is not waited for), and a panel of qd
// rectangles and a line batch. Both must allocate nothing once warm.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "visualization/util/font_renderer.h"
#include "visualization/util/gl/qd.h"

namespace {

using bench::ensureGl;
using bench::kHeight;
using bench::kWidth;
using bench::reportAllocations;

constexpr const char* kText = "Band 12: -42.5 dB  median 0.61  Dynamic ";  // 40 characters

void BM_FontDrawString40(benchmark::State& state) {
    if (!ensureGl()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    FontRenderer renderer(kWidth, kHeight);
    renderer.createCharInfo("replica", {"fonts/replica/replica.png", "fonts/replica/replica.json"});
    renderer.setFont("replica");
    renderer.size(14.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    renderer.drawString(20.0f, 20.0f, kText);
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        renderer.drawString(20.0f, 20.0f, kText);
    }
    glFinish();
    glDisable(GL_BLEND);
    reportAllocations(state, before);
}

void BM_QdPanel(benchmark::State& state) {
    if (!ensureGl()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    qd::create();
    const auto panel = [] {
        qd::bind();
        qd::setProjection(kWidth, kHeight, true);
        qd::pushMatrices();
        qd::color(0.15f, 1.0f);
        qd::rect(20.0f, 20.0f, 600.0f, 300.0f);
        qd::color(1.0f, 0.5f, 0.0f, 1.0f);
        qd::clearLines();
        for (int band = 0; band < 64; ++band) {
            const float x = 30.0f + band * 9.0f;
            qd::rect(x, 300.0f - band * 4.0f, 7.0f, band * 4.0f);
            qd::addLine(x, 100.0f, x + 9.0f, 100.0f + (band % 7));
        }
        qd::drawLines();
        qd::popMatrices();
    };
    panel();
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        panel();
    }
    glFinish();
    reportAllocations(state, before);
    qd::destroy();
}

}  // namespace

BENCHMARK(BM_FontDrawString40)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QdPanel)->Unit(benchmark::kMicrosecond);
