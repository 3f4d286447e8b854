#include "library_api.h"

#include <dlfcn.h>

namespace vizhost {

namespace {

template <typename Function>
bool lookUp(void* handle, const char* name, Function& target, std::string& missing) {
    void* symbol = dlsym(handle, name);
    if (symbol == nullptr) {
        missing += (missing.empty() ? "" : ", ") + std::string(name);
        return false;
    }
    target = reinterpret_cast<Function>(symbol);
    return true;
}

}  // namespace

LoadedLibrary::~LoadedLibrary() {
    if (mHandle != nullptr) {
        dlclose(mHandle);
    }
}

bool LoadedLibrary::load(const std::string& path, std::string& error) {
    if (mHandle != nullptr) {
        dlclose(mHandle);
        mHandle = nullptr;
        mApi = LibraryApi{};
    }
    // A bare file name would make dlopen search the system paths instead of the file meant.
    const std::string target = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = "cannot load the library " + path + ": " + (why != nullptr ? why : "unknown");
        return false;
    }
    LibraryApi api;
    std::string missing;
    bool ok = true;
    ok &= lookUp(handle, "OnCreateGlApp", api.onCreateGlApp, missing);
    ok &= lookUp(handle, "OnTerminateGlApp", api.onTerminateGlApp, missing);
    ok &= lookUp(handle, "OnUpdateGlApp", api.onUpdateGlApp, missing);
    ok &= lookUp(handle, "UpdateTrackChange", api.updateTrackChange, missing);
    ok &= lookUp(handle, "UpdateBandsInfo", api.updateBandsInfo, missing);
    ok &= lookUp(handle, "UpdateBeatsInfo", api.updateBeatsInfo, missing);
    ok &= lookUp(handle, "UpdateSoundClass", api.updateSoundClass, missing);
    ok &= lookUp(handle, "StartRotatingDevice", api.startRotatingDevice, missing);
    ok &= lookUp(handle, "UpdateRotationDegree", api.updateRotationDegree, missing);
    ok &= lookUp(handle, "UpdateSpeakerInfo", api.updateSpeakerInfo, missing);
    if (!ok) {
        dlclose(handle);
        error = "the library " + path + " lacks " + missing;
        return false;
    }
    mHandle = handle;
    mApi = api;
    return true;
}

}  // namespace vizhost
