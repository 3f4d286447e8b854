#include "library/allocation/failing_new.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>
#include <type_traits>

namespace failing_new {

namespace {

// The executable segments of one loaded object.
struct Code {
    static constexpr int kMaxSegments = 4;
    uintptr_t begin[kMaxSegments] = {};
    uintptr_t end[kMaxSegments] = {};
    int segments = 0;

    bool contains(const void* address) const {
        const auto a = reinterpret_cast<uintptr_t>(address);
        for (int i = 0; i < segments; ++i) {
            if (a >= begin[i] && a < end[i]) {
                return true;
            }
        }
        return false;
    }
};

Code gLibrary;  // libvisualization.so: the code under test
Code gRuntime;  // libstdc++.so: allocates on behalf of whoever called it

std::atomic<bool> gArmed{false};
std::atomic<bool> gFired{false};
std::atomic<uint64_t> gCount{0};
uint64_t gFailAt = 0;
Threads gThreads = Threads::Caller;
std::thread::id gCaller;
// Set while new[] forwards: the C++ runtime's new[] calls new for the same allocation.
thread_local bool tForwarding = false;

bool hasPrefix(const char* path, const char* prefix) {
    const char* slash = std::strrchr(path, '/');
    const char* base = slash != nullptr ? slash + 1 : path;
    return std::strncmp(base, prefix, std::strlen(prefix)) == 0;
}

int findCode(dl_phdr_info* info, size_t, void*) {
    Code* code = nullptr;
    if (hasPrefix(info->dlpi_name, "libvisualization.so")) {
        code = &gLibrary;
    } else if (hasPrefix(info->dlpi_name, "libstdc++.so")) {
        code = &gRuntime;
    }
    for (int i = 0; code != nullptr && i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0 &&
            code->segments < Code::kMaxSegments) {
            code->begin[code->segments] = info->dlpi_addr + segment.p_vaddr;
            code->end[code->segments] = code->begin[code->segments] + segment.p_memsz;
            ++code->segments;
        }
    }
    return 0;
}

// Whether the library's code asked for this allocation: its caller is the library, or the C++
// runtime called from the library.
bool fromLibrary(const void* caller) {
    if (gLibrary.contains(caller)) {
        return true;
    }
    if (!gRuntime.contains(caller)) {
        return false;
    }
    void* frames[32];
    const int depth = backtrace(frames, 32);
    bool inRuntime = false;
    for (int i = 0; i < depth; ++i) {
        if (gRuntime.contains(frames[i])) {
            inRuntime = true;
        } else if (inRuntime) {
            return gLibrary.contains(frames[i]);
        }
    }
    return false;
}

// Counts the allocation if it is one of the armed kind; true when it is the one to fail.
bool failsHere(const void* caller) {
    if (!gArmed.load(std::memory_order_acquire) || tForwarding) {
        return false;
    }
    const bool caller_thread = std::this_thread::get_id() == gCaller;
    if (caller_thread != (gThreads == Threads::Caller) || !fromLibrary(caller)) {
        return false;
    }
    const uint64_t n = gCount.fetch_add(1) + 1;
    if (n != gFailAt) {
        return false;
    }
    gArmed.store(false);
    gFired.store(true);
    return true;
}

template <typename Function>
Function next(const char* name) {
    void* symbol = dlsym(RTLD_NEXT, name);
    if (symbol == nullptr) {
        std::fprintf(stderr, "failing_new: no %s after the program\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

}  // namespace

void arm(uint64_t n, Threads threads) {
    gArmed.store(false);
    gLibrary = Code();
    gRuntime = Code();
    dl_iterate_phdr(&findCode, nullptr);
    if (gLibrary.segments == 0 || gRuntime.segments == 0) {
        std::fprintf(stderr, "failing_new: the library or the C++ runtime is not loaded\n");
        std::abort();
    }
    // The first backtrace loads the unwinder; not inside an allocation.
    void* frames[4];
    backtrace(frames, 4);
    gCount.store(0);
    gFailAt = n;
    gThreads = threads;
    gCaller = std::this_thread::get_id();
    gFired.store(false);
    gArmed.store(true, std::memory_order_release);
}

uint64_t disarm() {
    gArmed.store(false);
    return gCount.load();
}

bool fired() {
    return gFired.load();
}

}  // namespace failing_new

// clang links AddressSanitizer's runtime into the program, behind this replacement: what it
// forwards to is then the C++ runtime's operator new, which takes its memory from malloc, while
// deletes still reach the sanitizer's operator delete. The sanitizer would call every such pair a
// mismatch; in this program alone it is one by construction.
extern "C" const char* __asan_default_options() {
    return "alloc_dealloc_mismatch=0";
}

// The mangled names spell size_t's type: unsigned long on 64-bit Linux, unsigned int on 32-bit.
constexpr bool kLongSize = std::is_same_v<std::size_t, unsigned long>;

void* operator new(std::size_t size) {
    static const auto forward =
        failing_new::next<void* (*)(std::size_t)>(kLongSize ? "_Znwm" : "_Znwj");
    if (failing_new::failsHere(__builtin_return_address(0))) {
        throw std::bad_alloc();
    }
    return forward(size);
}

void* operator new[](std::size_t size) {
    static const auto forward =
        failing_new::next<void* (*)(std::size_t)>(kLongSize ? "_Znam" : "_Znaj");
    if (failing_new::failsHere(__builtin_return_address(0))) {
        throw std::bad_alloc();
    }
    struct Forwarding {
        Forwarding() { failing_new::tForwarding = true; }
        ~Forwarding() { failing_new::tForwarding = false; }
    } forwarding;
    return forward(size);
}
