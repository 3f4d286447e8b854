// The library as the host reaches it: the ten exported functions, looked up by name in the
// shared object, and nothing else. Tests fill the table with their own functions.
#pragma once

#include <string>

#include "visualization/library.h"

namespace vizhost {

struct LibraryApi {
    void (*onCreateGlApp)(const char*, int32_t) = nullptr;
    void (*onTerminateGlApp)() = nullptr;
    void (*onUpdateGlApp)() = nullptr;
    void (*updateTrackChange)() = nullptr;
    void (*updateBandsInfo)(const BandsInfo*) = nullptr;
    void (*updateBeatsInfo)(int32_t) = nullptr;
    void (*updateSoundClass)(int32_t) = nullptr;
    void (*startRotatingDevice)(int32_t) = nullptr;
    void (*updateRotationDegree)(float) = nullptr;
    void (*updateSpeakerInfo)(int32_t) = nullptr;
};

// Owns the dlopen handle. The library keeps its instance until OnTerminateGlApp, so the host
// calls that (with the context current) before this is destroyed.
class LoadedLibrary {
public:
    LoadedLibrary() = default;
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    // On failure returns false and says why in `error`; nothing stays loaded.
    bool load(const std::string& path, std::string& error);
    const LibraryApi& api() const { return mApi; }

private:
    void* mHandle = nullptr;
    LibraryApi mApi;
};

}  // namespace vizhost
