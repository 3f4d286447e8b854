// The exported entry points and the module state behind them. Everything a host sends is checked
// here before it reaches the instance: a faulty host gets a log line naming the function and
// the value, never a crash.
#include "visualization/library.h"

#include <GLES3/gl3.h>

#include <cmath>
#include <string>

#include "visualization/log.h"
#include "visualization/types.h"
#include "visualization/visualization.h"

#define VIZ_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr uint32_t kMaxBandCount = 1024;

std::string gResourcePath;
RotateInfo gRotation = RotateInfo::Landscape;
SpeakerInfo gSpeaker = SpeakerInfo::TV_1;
bool gSpeakerInfoSet = false;
Visualization* gInstance = nullptr;

void deleteInstance() {
    if (gInstance == nullptr) {
        return;
    }
    beginScope("[Library][deleteInstance]");
    delete gInstance;
    gInstance = nullptr;
    endScope();
}

void createInstance() {
    if (gResourcePath.empty()) {
        return;
    }
    beginScope("[Library][createInstance]");
    deleteInstance();
    VisualizationPreset preset;
    gInstance =
        new Visualization(gResourcePath.c_str(), gRotation, gSpeaker, DisplayMode::DEFAULT, preset);
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

template <typename Enum>
bool acceptEnum(const char* function, int32_t raw, const std::map<Enum, std::string>& names,
                const char* what) {
    if (isValidEnum(raw, names)) {
        return true;
    }
    logMessage("[Library][%s] value %d is not a %s; ignored", function, raw, what);
    return false;
}

}  // namespace

VIZ_EXPORT void OnCreateGlApp(const char* resPath, int32_t rotationInfo) {
    if (resPath == nullptr) {
        logMessage("[Library][OnCreateGlApp] resPath is null; ignored");
        return;
    }
    if (!acceptEnum("OnCreateGlApp", rotationInfo, RotateInfoNames, "rotation")) {
        return;
    }
    const auto rotation = static_cast<RotateInfo>(rotationInfo);
    beginScope("[Library][OnCreateGlApp]");
    logInScope("resPath: %s", resPath);
    logInScope("rotationInfo: %s", toString(rotation));
    gResourcePath = resPath;
    gRotation = rotation;
    createInstanceOnSpeakerInfoSet();
    endScope();
}

VIZ_EXPORT void OnTerminateGlApp(void) {
    beginScope("[Library][OnTerminateGlApp]");
    deleteInstance();
    endScope();
}

VIZ_EXPORT void OnUpdateGlApp(void) {
    createInstanceOnSpeakerInfoSet();
    if (gInstance != nullptr) {
        gInstance->update();
        return;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

VIZ_EXPORT void UpdateTrackChange(void) {
    beginScope("[Library][UpdateTrackChange]");
    if (gInstance != nullptr) {
        gInstance->updateTrackChange();
    }
    endScope();
}

VIZ_EXPORT void UpdateBandsInfo(const BandsInfo* bandsInfo) {
    if (bandsInfo == nullptr) {
        logMessage("[Library][UpdateBandsInfo] band record is null; ignored");
        return;
    }
    const uint32_t count = bandsInfo->count;
    if (count > 0 && bandsInfo->data == nullptr) {
        logMessage("[Library][UpdateBandsInfo] data is null with count %u; ignored", count);
        return;
    }
    if (count > kMaxBandCount) {
        logMessage("[Library][UpdateBandsInfo] count %u is above %u; ignored", count,
                   kMaxBandCount);
        return;
    }
    if (gInstance != nullptr) {
        gInstance->setBandsInfo(count, bandsInfo->data);
    }
}

VIZ_EXPORT void UpdateBeatsInfo(int32_t /*beats*/) {}

VIZ_EXPORT void UpdateSoundClass(int32_t soundClass) {
    if (!acceptEnum("UpdateSoundClass", soundClass, SoundClassNames, "sound class")) {
        return;
    }
    if (gInstance != nullptr) {
        gInstance->setSoundClass(static_cast<SoundClass>(soundClass));
    }
}

VIZ_EXPORT void StartRotatingDevice(int32_t toRotateInfo) {
    if (!acceptEnum("StartRotatingDevice", toRotateInfo, RotateInfoNames, "rotation")) {
        return;
    }
    const auto target = static_cast<RotateInfo>(toRotateInfo);
    beginScope("[Library][StartRotatingDevice]");
    logInScope("toRotateInfo: %s", toString(target));
    if (gInstance != nullptr) {
        gInstance->startRotationTransition(target);
    }
    endScope();
}

VIZ_EXPORT void UpdateRotationDegree(float degree) {
    if (std::isnan(degree)) {
        logMessage("[Library][UpdateRotationDegree] degree is nan; ignored");
        return;
    }
    if (gInstance != nullptr) {
        gInstance->setRotationTransitionAngle(degree);
    }
}

VIZ_EXPORT void UpdateSpeakerInfo(int32_t curSpeakerInfo) {
    if (!acceptEnum("UpdateSpeakerInfo", curSpeakerInfo, SpeakerInfoNames, "speaker layout")) {
        return;
    }
    const auto speaker = static_cast<SpeakerInfo>(curSpeakerInfo);
    beginScope("[Library][UpdateSpeakerInfo]");
    logInScope("curSpeakerInfo: %s", toString(speaker));
    gSpeaker = speaker;
    gSpeakerInfoSet = true;
    endScope();
}
