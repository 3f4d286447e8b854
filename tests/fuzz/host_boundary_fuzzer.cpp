// Plays a careless host: the input decodes into a sequence of the ten exported calls with their
// arguments (enumerations in and out of range, band frames of any length holding NaN, infinities
// and huge values, rotations and aborts, track changes, terminate and re-create), interleaved with
// frames on a small headless target, moves of the manual clock (zero, backwards, large jumps) and
// GL state the host leaves behind. After every call no GL error may be left pending, and the GL
// objects alive must be those of no instance or of one instance: an object more or less is a leak
// or a double delete.
//
// One instance lives across inputs, as on a TV where a session lasts hours: building one costs
// as much as a hundred frames under the sanitizers. An input is what the host does up to the next
// frame, and that frame; the instance carries on where the previous input left it (intro, family,
// transition, rotation), so a finding shows its fault in the report's stack, while the input
// replayed alone starts from a fresh instance. Terminating is rare: at most one input in
// kInputsPerTerminate may end the instance, and that input may then build one instance again.
//
// Leaks: LeakSanitizer looks for lost blocks after every kInputsPerLeakCheck inputs, and after
// every terminate and at exit, where no instance is alive, so that what the instance's destructor
// forgets is lost too; the GL objects must then be exactly those of no instance.
#include <GLES3/gl3.h>
#include <dlfcn.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/lsan_interface.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <vector>

#include "gl_object_counter.h"
#include "headless_fuzzing.h"
#include "platform.h"
#include "visualization/library.h"

namespace {

constexpr uint32_t kWidth = 64;
constexpr uint32_t kHeight = 36;
constexpr long long kStartNs = 1000000000LL;
constexpr long long kFrameNs = 16666667LL;
// The longest frame that still animates (a frame of 100 ms or more counts as a stall).
constexpr long long kLongFrameNs = 99000000LL;
// Building an instance (and compiling its programs again) costs as much as a few hundred inputs.
constexpr uint64_t kInputsPerTerminate = 2000;
// A pass of the leak checker costs as much as fifty inputs.
constexpr uint64_t kInputsPerLeakCheck = 1000;
// Band frames longer than the library takes are cut here; the library reads at most 1024.
constexpr uint32_t kMaxBandAllocation = 4096;

headless::Target* gTarget = nullptr;
std::array<int64_t, soak::kGlObjectKinds> gNoInstance = {};
std::array<int64_t, soak::kGlObjectKinds> gOneInstance = {};
uint64_t gInputs = 0;
uint64_t gTerminateAllowedAt = 0;

// The resource directory "res" in a temporary working directory: the project's assets, except
// that the kaleidoscope's photographs are three tiny images (one of them grey, which the family
// refuses), so that decoding a photograph does not dominate an execution.
void makeResourceDirectory() {
    namespace stdfs = std::filesystem;
    fuzzing::enterTemporaryDirectory("host");
    const stdfs::path source = stdfs::path(VIZ_SOURCE_DIR) / "res";
    const stdfs::path res = stdfs::current_path() / "res";
    stdfs::create_directories(res / "images" / "kaleidoscope_default");
    for (const stdfs::directory_entry& entry : stdfs::directory_iterator(source)) {
        if (entry.path().filename() != "images") {
            stdfs::create_directory_symlink(entry.path(), res / entry.path().filename());
        }
    }
    for (const stdfs::directory_entry& entry : stdfs::directory_iterator(source / "images")) {
        if (entry.path().filename() != "kaleidoscope_default") {
            stdfs::create_symlink(entry.path(), res / "images" / entry.path().filename());
        }
    }
    const stdfs::path seeds = stdfs::path(VIZ_SOURCE_DIR) / "tests" / "fuzz" / "image_reader";
    for (const char* name : {"rgb.jpg", "rgba8.png", "grey.jpg"}) {
        stdfs::create_symlink(seeds / name, res / "images" / "kaleidoscope_default" / name);
    }
}

bool instanceAlive() {
    return soak::liveGlObjects() == gOneInstance;
}

[[noreturn]] void failGlObjects(const char* after) {
    const auto live = soak::liveGlObjects();
    std::fprintf(stderr, "GL objects after %s are neither those of no instance nor of one:\n",
                 after);
    for (int kind = 0; kind < soak::kGlObjectKinds; ++kind) {
        std::fprintf(stderr, "  %-13s %3lld alive, %3lld without an instance, %3lld with one\n",
                     soak::toString(static_cast<soak::GlObject>(kind)),
                     static_cast<long long>(live[kind]), static_cast<long long>(gNoInstance[kind]),
                     static_cast<long long>(gOneInstance[kind]));
    }
    std::abort();
}

void checkGlObjects(const char* after) {
    const auto live = soak::liveGlObjects();
    if (live != gNoInstance && live != gOneInstance) {
        failGlObjects(after);
    }
}

void checkNoBlockLost(const char* when) {
    if (__lsan_do_recoverable_leak_check() != 0) {
        std::fprintf(stderr, "blocks lost, found %s\n", when);
        std::abort();
    }
}

// Ends the instance and checks that nothing of it is left: no GL object, no lost block.
void terminateAndCheckLeaks(const char* when) {
    OnTerminateGlApp();
    if (soak::liveGlObjects() != gNoInstance) {
        failGlObjects(when);
    }
    checkNoBlockLost(when);
}

// How the host builds an instance: the speaker layout first, then the resource path.
void createInstance() {
    UpdateSpeakerInfo(0);
    OnCreateGlApp("res", 0);
}

struct Session {
    FuzzedDataProvider& in;
    int frames = 0;
    // Whether a call that builds an instance may run: only after this input's terminate.
    bool mayCreate = false;
    // Errors the host left and no call has drained yet; until then a pending error is not ours.
    bool hostErrorsPending = false;
};

void checkNoGlError(const Session& session, const char* after) {
    checkGlObjects(after);
    if (session.hostErrorsPending) {
        return;
    }
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        std::fprintf(stderr, "GL error 0x%04x left pending after %s\n", error, after);
        std::abort();
    }
}

// Calls that may build an instance (a frame or OnCreateGlApp, with none alive) run only while
// the input may create one; after the one creation they are skipped.
bool mayBuild(const Session& s) {
    return s.mayCreate || instanceAlive();
}

void noteBuilt(Session& s) {
    if (s.mayCreate && instanceAlive()) {
        s.mayCreate = false;
    }
}

enum Call {
    Bands,
    Frame,
    Track,
    Beats,
    Sound,
    Rotate,
    Degree,
    Speaker,
    Create,
    End,
    Clock,
    Meddle
};

// One byte picks the next call, at the odds of a host between two frames; an input is what the
// host does up to a frame, and that frame.
constexpr Call kCalls[32] = {Bands, Bands,   Bands,  Bands,  Bands,  Bands,  Bands,  Bands,
                             Bands, Bands,   Frame,  Frame,  Frame,  Frame,  Frame,  Frame,
                             Sound, Sound,   Degree, Degree, Degree, Rotate, Rotate, Track,
                             Beats, Speaker, Create, End,    Clock,  Meddle, Meddle, Meddle};

// The choices below read one byte each; an input that has run out reads zeros, so choice 0 is
// always the plain one (a valid value, a frame of music, a frame's time).

// A value for an enumeration of `count` values: mostly valid, otherwise just outside or extreme.
int32_t pickEnum(FuzzedDataProvider& in, int32_t count) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
        case 4:
            return -1;
        case 5:
            return count;
        case 6:
            return in.ConsumeBool() ? std::numeric_limits<int32_t>::min()
                                    : std::numeric_limits<int32_t>::max();
        case 7:
            return in.ConsumeIntegral<int32_t>();
        default:
            return in.ConsumeIntegralInRange<int32_t>(0, count - 1);
    }
}

// A float: mostly within [low, high], else one of the values no host should send (choices 8 to
// 14) or any float at all (15).
float pickFloat(FuzzedDataProvider& in, float low, float high) {
    using Limits = std::numeric_limits<float>;
    const float inf = Limits::infinity();
    const float odd[] = {Limits::quiet_NaN(),  inf,  -inf, FLT_MAX, -FLT_MAX,
                         Limits::denorm_min(), -0.0f};
    const int choice = in.ConsumeIntegralInRange(0, 15);
    if (choice == 15) {
        return in.ConsumeFloatingPoint<float>();
    }
    return choice >= 8 ? odd[choice - 8] : in.ConsumeFloatingPointInRange(low, high);
}

// A move of the clock between two calls: none, back, a stall, or hours and days.
long long pickClockStep(FuzzedDataProvider& in) {
    constexpr long long kHour = 3600LL * 1000000000LL;
    constexpr long long kStall = 100000000LL;  // the shortest
    static const long long kSteps[] = {0, -kFrameNs, -kHour, kStall, kHour, 24 * kHour};
    const int choice = in.ConsumeIntegralInRange(0, 7);
    return choice < 6 ? kSteps[choice] : in.ConsumeIntegralInRange<long long>(0, 2000000000LL);
}

// The time a frame takes: mostly as long as still animates, so that few frames cover seconds.
long long pickFrameStep(FuzzedDataProvider& in) {
    const int choice = in.ConsumeIntegralInRange(0, 15);
    return choice == 4 ? pickClockStep(in) : choice >= 1 && choice <= 3 ? kFrameNs : kLongFrameNs;
}

void frame(Session& s) {
    const long long step = pickFrameStep(s.in);
    if (!mayBuild(s)) {
        return;
    }
    ++s.frames;
    platform_clock_advance(step);
    gTarget->bind();
    OnUpdateGlApp();
    noteBuilt(s);
    s.hostErrorsPending = false;
    checkNoGlError(s, "OnUpdateGlApp");
}

void create(Session& s) {
    // The resource directory as hosts name it, and directories that lack some or all assets.
    static const char* const kPaths[] = {"res", "/res/", "", "no/such/dir", "res/images", "\\res"};
    const int choice = s.in.ConsumeIntegralInRange(0, 6);
    const char* path = choice < 6 ? kPaths[choice] : nullptr;
    const int32_t rotation = pickEnum(s.in, 2);
    if (!mayBuild(s)) {
        return;
    }
    OnCreateGlApp(path, rotation);
    noteBuilt(s);
    s.hostErrorsPending = false;
    checkNoGlError(s, "OnCreateGlApp");
}

// Ending the instance is cheap, building the next is not: an instance ends at most once in
// kInputsPerTerminate inputs, and the input that ends it may build one again.
void terminate(Session& s) {
    if (!instanceAlive()) {
        OnTerminateGlApp();
    } else if (gInputs >= gTerminateAllowedAt) {
        gTerminateAllowedAt = gInputs + kInputsPerTerminate;
        terminateAndCheckLeaks("after OnTerminateGlApp");
        s.mayCreate = true;
    } else {
        return;
    }
    s.hostErrorsPending = false;
    checkNoGlError(s, "OnTerminateGlApp");
}

void bands(Session& s) {
    uint32_t count = 0;
    switch (s.in.ConsumeIntegralInRange(0, 7)) {
        case 4:
            count = 1024;
            break;
        case 5:
            count = s.in.ConsumeIntegralInRange<uint32_t>(1025, kMaxBandAllocation);
            break;
        case 6:
            count = 0;
            break;
        case 7: {
            // A missing record, or a count without its values.
            BandsInfo missing{s.in.ConsumeIntegralInRange<uint32_t>(0, 2), nullptr};
            UpdateBandsInfo(s.in.ConsumeBool() ? &missing : nullptr);
            return;
        }
        default:
            count = s.in.ConsumeIntegralInRange<uint32_t>(1, 64);
            break;
    }
    // Allocated at the exact length, so that reading past the host's values is caught.
    std::vector<float> values(count);
    // Levels as a host measures them, a byte each for the first values; a ripple continues them.
    const uint32_t decoded = std::min(count, 64u);
    for (uint32_t i = 0; i < decoded; ++i) {
        values[i] = -120.0f + 140.0f / 255.0f * s.in.ConsumeIntegral<uint8_t>();
    }
    for (uint32_t i = decoded; i < count; ++i) {
        values[i] = values[i % decoded] + 10.0f * std::sin(static_cast<float>(i) * 0.37f);
    }
    // Now and then one value no host should send (one NaN makes the whole frame invalid).
    if (count > 0 && s.in.ConsumeIntegralInRange(0, 7) == 7) {
        const uint32_t at = s.in.ConsumeIntegralInRange<uint32_t>(0, count - 1);
        values[at] = pickFloat(s.in, -1e30f, 1e30f);
    }
    const BandsInfo info{count, values.empty() ? nullptr : values.data()};
    UpdateBandsInfo(&info);
}

// What a host that draws its own interface in the same context may leave between two calls.
void meddle(Session& s) {
    switch (s.in.ConsumeIntegralInRange(0, 7)) {
        case 1:
            glEnable(GL_SCISSOR_TEST);
            glScissor(1, 1, 2, 2);
            break;
        case 2:
            glColorMask(GL_FALSE, GL_TRUE, GL_FALSE, GL_FALSE);
            break;
        case 3:
            glEnable(GL_BLEND);
            glBlendFunc(GL_ZERO, GL_ONE);
            break;
        case 4:
            glEnable(GL_CULL_FACE);
            glCullFace(GL_FRONT_AND_BACK);
            break;
        case 5:
            glEnable(GL_DEPTH_TEST);
            glDepthFunc(GL_NEVER);
            glDepthMask(GL_FALSE);
            break;
        case 6:
            // A layout of its own for its uploads: GL would read rows of that length, and skip
            // rows and pixels, of any array handed over next.
            glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
            glPixelStorei(GL_PACK_ALIGNMENT, 8);
            glPixelStorei(GL_UNPACK_ROW_LENGTH, s.in.ConsumeIntegralInRange(0, 4096));
            glPixelStorei(GL_UNPACK_SKIP_ROWS, s.in.ConsumeIntegralInRange(0, 64));
            glPixelStorei(GL_UNPACK_SKIP_PIXELS, s.in.ConsumeIntegralInRange(0, 64));
            break;
        case 7:
            glEnable(0);  // an invalid enumeration: GL_INVALID_ENUM stays pending
            s.hostErrorsPending = true;
            break;
        default: {
            // Read one by one: the order of a call's arguments is the compiler's choice.
            const GLint x = s.in.ConsumeIntegralInRange(-8, 64);
            const GLint y = s.in.ConsumeIntegralInRange(-8, 36);
            const GLsizei width = s.in.ConsumeIntegralInRange(0, 128);
            const GLsizei height = s.in.ConsumeIntegralInRange(0, 72);
            glViewport(x, y, width, height);
            break;
        }
    }
}

void resetHostState() {
    while (glGetError() != GL_NO_ERROR) {
    }
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glViewport(0, 0, static_cast<GLsizei>(kWidth), static_cast<GLsizei>(kHeight));
    gTarget->bind();
}

// The instance ends before the leak checker's own pass at exit, so that its blocks count too.
void checkAtExit() {
    terminateAndCheckLeaks("at exit");
}

// Whether glBufferData would only give the bound buffer a new store of the size and use it has:
// the orphaning that streams vertices each frame.
bool onlyOrphans(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    const GLenum binding = target == GL_ARRAY_BUFFER           ? GL_ARRAY_BUFFER_BINDING
                           : target == GL_ELEMENT_ARRAY_BUFFER ? GL_ELEMENT_ARRAY_BUFFER_BINDING
                                                               : GL_NONE;
    if (data != nullptr || size <= 0 || binding == GL_NONE) {
        return false;
    }
    GLint bound = 0;
    glGetIntegerv(binding, &bound);
    if (bound == 0) {
        return false;
    }
    GLint64 currentSize = 0;
    GLint currentUsage = 0;
    glGetBufferParameteri64v(target, GL_BUFFER_SIZE, &currentSize);
    glGetBufferParameteriv(target, GL_BUFFER_USAGE, &currentUsage);
    return currentSize == size && static_cast<GLenum>(currentUsage) == usage;
}

}  // namespace

// Stands in for GL's glBufferData (the program exports it, so the library reaches it first).
// Orphaning a store only tells GL that its contents may go; the software rasteriser takes it
// literally and allocates and clears a new store, which under the address sanitizer means fresh
// pages each time: more than half of a frame. Keeping the store is what orphaning allows, and
// every other call (a new size or use, data, no buffer bound) reaches GL as it is.
extern "C" void glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    static const auto next = reinterpret_cast<void (*)(GLenum, GLsizeiptr, const void*, GLenum)>(
        dlsym(RTLD_NEXT, "glBufferData"));
    if (next == nullptr) {
        std::fprintf(stderr, "GL has no glBufferData\n");
        std::abort();
    }
    if (!onlyOrphans(target, size, data, usage)) {
        next(target, size, data, usage);
    }
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    makeResourceDirectory();
    platform_clock_set_manual(kStartNs);
    gTarget = fuzzing::startHeadlessGl(kWidth, kHeight);
    gNoInstance = soak::liveGlObjects();
    createInstance();
    gOneInstance = soak::liveGlObjects();
    if (gOneInstance == gNoInstance || glGetError() != GL_NO_ERROR) {
        std::fprintf(stderr, "no instance built from the project's assets\n");
        std::abort();
    }
    std::atexit(&checkAtExit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ++gInputs;
    if (gInputs % kInputsPerLeakCheck == 0) {
        checkNoBlockLost("after a run of inputs");
    }
    resetHostState();
    // Hours of jumps forward and back stay hours: the clock never wanders off its range.
    const long long now = platform_clock_now_ns();
    if (now < -kStartNs * 1000000 || now > kStartNs * 1000000) {
        platform_clock_set_manual(kStartNs);
    }

    FuzzedDataProvider in(data, size);
    Session s{in};
    // The previous input ended the instance (or an exception did): the host builds the next.
    if (!instanceAlive()) {
        createInstance();
        if (!instanceAlive()) {
            std::fprintf(stderr, "no instance built from the project's assets\n");
            std::abort();
        }
        checkNoGlError(s, "OnCreateGlApp");
    }
    while (in.remaining_bytes() > 0 && s.frames == 0) {
        switch (kCalls[in.ConsumeIntegralInRange(0, 31)]) {
            case Bands:
                bands(s);
                checkNoGlError(s, "UpdateBandsInfo");
                break;
            case Frame:
                frame(s);
                break;
            case Track:
                UpdateTrackChange();
                s.hostErrorsPending = false;
                checkNoGlError(s, "UpdateTrackChange");
                break;
            case Beats:
                UpdateBeatsInfo(in.ConsumeIntegral<int32_t>());
                checkNoGlError(s, "UpdateBeatsInfo");
                break;
            case Sound:
                UpdateSoundClass(pickEnum(in, 9));
                checkNoGlError(s, "UpdateSoundClass");
                break;
            case Rotate:
                StartRotatingDevice(pickEnum(in, 2));
                checkNoGlError(s, "StartRotatingDevice");
                break;
            case Degree:
                UpdateRotationDegree(in.ConsumeBool() ? -1.0f : pickFloat(in, -360.0f, 450.0f));
                checkNoGlError(s, "UpdateRotationDegree");
                break;
            case Speaker:
                UpdateSpeakerInfo(pickEnum(in, 10));
                checkNoGlError(s, "UpdateSpeakerInfo");
                break;
            case Create:
                create(s);
                break;
            case End:
                terminate(s);
                break;
            case Clock:
                platform_clock_advance(pickClockStep(in));
                break;
            case Meddle:
                meddle(s);
                break;
        }
    }
    checkNoGlError(s, "the input");
    return 0;
}
