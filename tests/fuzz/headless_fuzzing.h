// What the fuzz targets share before their first input: rendering on the calling thread, the
// library's log discarded, and a GL context and target that live as long as the run.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "headless_gl.h"
#include "platform.h"

namespace fuzzing {

// Returns the bound target; aborts without one, as there is nothing to fuzz then.
inline headless::Target* startHeadlessGl(uint32_t width, uint32_t height) {
    // The software rasteriser's worker threads cost more than they save on targets this small.
    setenv("LP_NUM_THREADS", "0", 0);
    platform_log_set_sink([](int, const char*, const char*, void*) {}, nullptr);
    // Kept where the leak checker sees them: they are meant to outlive every input.
    static auto* const context = new headless::Context();
    static auto* const target = context->create() ? new headless::Target(width, height) : nullptr;
    if (target == nullptr || !target->complete()) {
        std::fprintf(stderr, "no headless GL context and target: %s\n", context->error().c_str());
        std::abort();
    }
    target->bind();
    return target;
}

// Makes a fresh folder below /tmp the working directory, for the files the inputs become.
inline void enterTemporaryDirectory(const std::string& name) {
    std::string directory = "/tmp/viz-fuzz-" + name + "-XXXXXX";
    if (mkdtemp(directory.data()) == nullptr || chdir(directory.c_str()) != 0) {
        std::perror("temporary directory");
        std::abort();
    }
}

}  // namespace fuzzing
