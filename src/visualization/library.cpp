// The exported entry points and the module state behind them. Everything a host sends is checked
// here before it reaches the instance: a faulty host gets a log line naming the function and
// the value, never a crash. Nothing thrown inside gets out either (see `contained`).
#include "visualization/library.h"

#include <GLES3/gl3.h>
#include <malloc.h>

#include <cmath>
#include <exception>
#include <memory>
#include <string>

#include "visualization/log.h"
#include "visualization/types.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/visualization.h"
#ifdef VIZ_DIAGNOSTICS
#include "visualization/diagnostics/diagnostics.h"
#endif

#define VIZ_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr uint32_t kMaxBandCount = VIZ_MAX_BAND_COUNT;

std::string gResourcePath;
RotateInfo gRotation = RotateInfo::Landscape;
SpeakerInfo gSpeaker = SpeakerInfo::TV_1;
bool gSpeakerInfoSet = false;
std::unique_ptr<Visualization> gInstance;
#ifdef VIZ_DIAGNOSTICS
// The diagnostic build's analyzer view and band recorder, living as long as the instance. The
// release build compiles none of it, so its frame path is the same code either way.
std::unique_ptr<Diagnostics> gDiagnostics;
#endif
// What a host repeats every frame is reported once per instance: the frame path does not log.
bool gFrameHostErrorsReported = false;
bool gBandOverflowReported = false;
bool gIncompleteFramebufferReported = false;

// The calls that only an instance can take. A host that sends them before the instance exists
// usually does so every frame: each reports the first drop only, until an instance is created.
enum DroppedCall { kTrackChange, kBands, kSoundClass, kStartRotation, kRotationDegree, kCallKinds };
bool gDropReported[kCallKinds] = {};

bool haveInstanceFor(DroppedCall call, const char* function) {
    if (gInstance != nullptr) {
        return true;
    }
    if (!gDropReported[call]) {
        logMessage(
            "[Library][%s] no instance to take it; dropped (reported once until an "
            "instance exists)",
            function);
        gDropReported[call] = true;
    }
    return false;
}

// Allocates nothing (destructors log through fixed scope slots), so it cannot fail half-way.
void deleteInstance() noexcept {
    if (gInstance == nullptr) {
        return;
    }
    beginScope("[Library][deleteInstance]");
#ifdef VIZ_DIAGNOSTICS
    gDiagnostics.reset();
#endif
    gInstance.reset();
#ifdef __GLIBC__
    // An instance frees blocks of megabytes (the driver's storage for its textures and buffers
    // among them) in the gaps between blocks that live on; what the allocator keeps of them stays
    // resident and grows with every re-creation. Giving the free pages back here keeps a TV's
    // resident memory flat over hours of track changes and re-creations, at a few milliseconds
    // per terminate.
    malloc_trim(0);
#endif
    endScope();
}

void createInstance() {
    if (gResourcePath.empty()) {
        return;
    }
    beginScope("[Library][createInstance]");
    deleteInstance();
    VisualizationPreset preset;
    gInstance = std::make_unique<Visualization>(gResourcePath.c_str(), gRotation, gSpeaker,
                                                DisplayMode::DEFAULT, preset);
#ifdef VIZ_DIAGNOSTICS
    const ScreenSize size = preset.screenSizes.at(gRotation);
    gDiagnostics = std::make_unique<Diagnostics>(DiagnosticsSettings::fromEnvironment(), size.first,
                                                 size.second);
#endif
    gFrameHostErrorsReported = false;
    gBandOverflowReported = false;
    gIncompleteFramebufferReported = false;
    for (bool& reported : gDropReported) {
        reported = false;
    }
    endScope();
}

void createInstanceOnSpeakerInfoSet() {
    if (gInstance != nullptr || !gSpeakerInfoSet) {
        return;
    }
    beginScope("[Library][createInstanceOnSpeakerInfoSet]");
    createInstance();
    gSpeakerInfoSet = false;
    endScope();
}

void reportHostErrors(const gl::HostCall& call, const char* function) {
    if (call.hostErrorCount() > 0) {
        call.logHostErrors(function);
    }
}

template <typename Enum>
bool acceptEnum(const char* function, int32_t raw, const std::map<Enum, std::string>& names,
                const char* what) {
    if (isValidEnum(raw, names)) {
        return true;
    }
    logMessage("[Library][%s] value %d is not a %s; ignored", function, raw, what);
    return false;
}

// The value as the enumeration, or, for a value a newer host may know and this library does not,
// the fallback, with one line that names it.
template <typename Enum>
Enum enumOrFallback(const char* function, int32_t raw, const std::map<Enum, std::string>& names,
                    const char* what, Enum fallback) {
    if (isValidEnum(raw, names)) {
        return static_cast<Enum>(raw);
    }
    logMessage("[Library][%s] value %d is not a %s; using %s", function, raw, what,
               toString(fallback));
    return fallback;
}

// Whether the function holds a HostCall already; deleting GL objects needs one.
enum class HostCallOpen { Yes, No };

void dropInstanceAfter(const char* function, const char* what, HostCallOpen open) noexcept {
    forgetOpenScopes();
    try {
        if (what != nullptr) {
            logMessage(
                "[Library][%s] exception \"%s\"; the instance is deleted, "
                "UpdateSpeakerInfo builds a new one",
                function, what);
        } else {
            logMessage(
                "[Library][%s] an exception of unknown type; the instance is deleted, "
                "UpdateSpeakerInfo builds a new one",
                function);
        }
    } catch (...) {
        // A log sink that cannot take the line must not keep the instance alive.
    }
    // Only the host builds again: a shortage that lasts must cost one line, not one a frame.
    gSpeakerInfoSet = false;
    if (open == HostCallOpen::Yes) {
        deleteInstance();
        return;
    }
    const gl::HostCall call;
    deleteInstance();
}

// An exception leaving an exported function would end the host's process (a C caller cannot
// catch it). Whatever the library throws (an allocation that failed, a lookup that found
// nothing, a failed format) stops here: one line names the function and the exception, and the
// instance, which may be half built or half-way through a frame, is deleted with all its GL
// objects. The module state stays usable, so the library starts afresh as after a terminate.
template <typename Body>
void contained(const char* function, HostCallOpen open, Body&& body) noexcept {
    try {
        body();
    } catch (const std::exception& exception) {
        dropInstanceAfter(function, exception.what(), open);
    } catch (...) {
        dropInstanceAfter(function, nullptr, open);
    }
}

}  // namespace

// The HostCall of each function that has one opens before `contained`: it allocates nothing and
// cannot throw, and the deletion after an exception then runs inside it.
VIZ_EXPORT void OnCreateGlApp(const char* resPath, int32_t rotationInfo) {
    const gl::HostCall call;
    contained("OnCreateGlApp", HostCallOpen::Yes, [&] {
        reportHostErrors(call, "OnCreateGlApp");
        if (resPath == nullptr) {
            logMessage("[Library][OnCreateGlApp] resPath is null; ignored");
            return;
        }
        // A newer host may know orientations this library does not; it still gets a picture.
        const RotateInfo rotation = enumOrFallback("OnCreateGlApp", rotationInfo, RotateInfoNames,
                                                   "rotation", RotateInfo::Landscape);
        beginScope("[Library][OnCreateGlApp]");
        logInScope("resPath: %s", resPath);
        logInScope("rotationInfo: %s", toString(rotation));
        gResourcePath = resPath;
        gRotation = rotation;
        createInstanceOnSpeakerInfoSet();
        endScope();
    });
}

VIZ_EXPORT void OnTerminateGlApp(void) {
    const gl::HostCall call;
    contained("OnTerminateGlApp", HostCallOpen::Yes, [&] {
        reportHostErrors(call, "OnTerminateGlApp");
        beginScope("[Library][OnTerminateGlApp]");
        deleteInstance();
        endScope();
    });
}

VIZ_EXPORT void OnUpdateGlApp(void) {
    const gl::HostCall call;
    contained("OnUpdateGlApp", HostCallOpen::Yes, [&] {
        if (call.hostErrorCount() > 0 && !gFrameHostErrorsReported) {
            call.logHostErrors("OnUpdateGlApp");
            gFrameHostErrorsReported = true;
        }
        createInstanceOnSpeakerInfoSet();
        // Without a complete framebuffer every clear and draw is an error: nothing to draw into
        // yet.
        if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            if (!gIncompleteFramebufferReported) {
                logMessage(
                    "[Library][OnUpdateGlApp] the bound framebuffer is not complete; "
                    "nothing drawn");
                gIncompleteFramebufferReported = true;
            }
            return;
        }
        if (gInstance != nullptr) {
            gInstance->update();
#ifdef VIZ_DIAGNOSTICS
            gDiagnostics->afterFrame(*gInstance);
#endif
            return;
        }
        gl::applyBaseRenderState();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    });
}

VIZ_EXPORT void UpdateTrackChange(void) {
    const gl::HostCall call;
    contained("UpdateTrackChange", HostCallOpen::Yes, [&] {
        reportHostErrors(call, "UpdateTrackChange");
        beginScope("[Library][UpdateTrackChange]");
        if (haveInstanceFor(kTrackChange, "UpdateTrackChange")) {
            gInstance->updateTrackChange();
        }
        endScope();
    });
}

VIZ_EXPORT void UpdateBandsInfo(const BandsInfo* bandsInfo) {
    contained("UpdateBandsInfo", HostCallOpen::No, [&] {
        if (bandsInfo == nullptr) {
            logMessage("[Library][UpdateBandsInfo] band record is null; ignored");
            return;
        }
        uint32_t count = bandsInfo->count;
        if (count > 0 && bandsInfo->data == nullptr) {
            logMessage("[Library][UpdateBandsInfo] data is null with count %u; ignored", count);
            return;
        }
        if (!haveInstanceFor(kBands, "UpdateBandsInfo")) {
            return;
        }
        // An analyser with a finer resolution than we draw still drives the animation.
        if (count > kMaxBandCount) {
            if (!gBandOverflowReported) {
                logMessage("[Library][UpdateBandsInfo] count %u is above %u; using the first %u",
                           count, kMaxBandCount, kMaxBandCount);
                gBandOverflowReported = true;
            }
            count = kMaxBandCount;
        }
        gInstance->setBandsInfo(count, bandsInfo->data);
    });
}

VIZ_EXPORT void UpdateBeatsInfo(int32_t /*beats*/) {}

VIZ_EXPORT void UpdateSoundClass(int32_t soundClass) {
    contained("UpdateSoundClass", HostCallOpen::No, [&] {
        if (!acceptEnum("UpdateSoundClass", soundClass, SoundClassNames, "sound class")) {
            return;
        }
        if (haveInstanceFor(kSoundClass, "UpdateSoundClass")) {
            gInstance->setSoundClass(static_cast<SoundClass>(soundClass));
        }
    });
}

VIZ_EXPORT void StartRotatingDevice(int32_t toRotateInfo) {
    contained("StartRotatingDevice", HostCallOpen::No, [&] {
        if (!acceptEnum("StartRotatingDevice", toRotateInfo, RotateInfoNames, "rotation")) {
            return;
        }
        const auto target = static_cast<RotateInfo>(toRotateInfo);
        beginScope("[Library][StartRotatingDevice]");
        logInScope("toRotateInfo: %s", toString(target));
        if (haveInstanceFor(kStartRotation, "StartRotatingDevice")) {
            gInstance->startRotationTransition(target);
        }
        endScope();
    });
}

VIZ_EXPORT void UpdateRotationDegree(float degree) {
    contained("UpdateRotationDegree", HostCallOpen::No, [&] {
        if (std::isnan(degree)) {
            logMessage("[Library][UpdateRotationDegree] degree is nan; ignored");
            return;
        }
        if (haveInstanceFor(kRotationDegree, "UpdateRotationDegree")) {
            gInstance->setRotationTransitionAngle(degree);
        }
    });
}

VIZ_EXPORT void UpdateSpeakerInfo(int32_t curSpeakerInfo) {
    contained("UpdateSpeakerInfo", HostCallOpen::No, [&] {
        // A newer host's layout still gets a picture, with the speakers where a plain TV has
        // them.
        const SpeakerInfo speaker =
            enumOrFallback("UpdateSpeakerInfo", curSpeakerInfo, SpeakerInfoNames, "speaker layout",
                           SpeakerInfo::TV_1);
        beginScope("[Library][UpdateSpeakerInfo]");
        logInScope("curSpeakerInfo: %s", toString(speaker));
        gSpeaker = speaker;
        gSpeakerInfoSet = true;
        endScope();
    });
}
