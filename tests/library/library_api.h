// The shared object as a host sees it: loaded with dlopen, reached through its ten functions.
// Each LibraryApi loads a fresh copy, so module state does not leak between tests.
#pragma once

#include <string>

#include "visualization/library.h"

namespace testsupport {

struct LibraryApi {
    LibraryApi();
    ~LibraryApi();
    LibraryApi(const LibraryApi&) = delete;
    LibraryApi& operator=(const LibraryApi&) = delete;

    bool loaded() const { return handle != nullptr; }

    void* handle = nullptr;
    std::string error;
    decltype(&::OnCreateGlApp) OnCreateGlApp = nullptr;
    decltype(&::OnTerminateGlApp) OnTerminateGlApp = nullptr;
    decltype(&::OnUpdateGlApp) OnUpdateGlApp = nullptr;
    decltype(&::UpdateTrackChange) UpdateTrackChange = nullptr;
    decltype(&::UpdateBandsInfo) UpdateBandsInfo = nullptr;
    decltype(&::UpdateBeatsInfo) UpdateBeatsInfo = nullptr;
    decltype(&::UpdateSoundClass) UpdateSoundClass = nullptr;
    decltype(&::StartRotatingDevice) StartRotatingDevice = nullptr;
    decltype(&::UpdateRotationDegree) UpdateRotationDegree = nullptr;
    decltype(&::UpdateSpeakerInfo) UpdateSpeakerInfo = nullptr;
};

}  // namespace testsupport
