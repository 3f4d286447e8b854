#include "bench_gl.h"

#include <GLES3/gl3.h>

#include <filesystem>
#include <memory>

#include "alloc_counter.h"
#include "headless_gl.h"
#include "visualization/util/system/fs.h"

namespace bench {

bool ensureGl(uint32_t width, uint32_t height) {
    static std::unique_ptr<headless::Context> context;
    static std::unique_ptr<headless::Target> target;
    if (!context) {
        context = std::make_unique<headless::Context>();
        if (!context->create()) {
            return false;
        }
        // The library resolves its resource path against the working directory.
        const auto res = std::filesystem::path(__FILE__).parent_path().parent_path() / "res";
        fs::setResourcePath(std::filesystem::relative(res).c_str());
    }
    if (!target || target->width() != width || target->height() != height) {
        target.reset();
        target = std::make_unique<headless::Target>(width, height);
    }
    // A benchmark that gives back the GL state leaves the default framebuffer bound, which a
    // surfaceless context does not have; the next run of it draws into the target again.
    target->bind();
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    return context->isCurrent();
}

void reportAllocations(benchmark::State& state, uint64_t before) {
    state.counters["allocs_per_frame"] = benchmark::Counter(
        static_cast<double>(allocationCount() - before), benchmark::Counter::kAvgIterations);
}

}  // namespace bench
