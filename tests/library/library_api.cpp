#include "library/library_api.h"

#include <dlfcn.h>

namespace testsupport {

namespace {

template <typename Function>
bool resolve(void* handle, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    if (function == nullptr) {
        error = std::string("missing symbol ") + name;
        return false;
    }
    return true;
}

}  // namespace

const char* diagnosticsLibraryPath() {
    return VIZ_DIAGNOSTICS_LIBRARY_PATH;
}

LibraryApi::LibraryApi(const char* path) {
    handle = dlopen(path != nullptr ? path : VIZ_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        error = dlerror();
        return;
    }
    const bool ok = resolve(handle, "OnCreateGlApp", OnCreateGlApp, error) &&
                    resolve(handle, "OnTerminateGlApp", OnTerminateGlApp, error) &&
                    resolve(handle, "OnUpdateGlApp", OnUpdateGlApp, error) &&
                    resolve(handle, "UpdateTrackChange", UpdateTrackChange, error) &&
                    resolve(handle, "UpdateBandsInfo", UpdateBandsInfo, error) &&
                    resolve(handle, "UpdateBeatsInfo", UpdateBeatsInfo, error) &&
                    resolve(handle, "UpdateSoundClass", UpdateSoundClass, error) &&
                    resolve(handle, "StartRotatingDevice", StartRotatingDevice, error) &&
                    resolve(handle, "UpdateRotationDegree", UpdateRotationDegree, error) &&
                    resolve(handle, "UpdateSpeakerInfo", UpdateSpeakerInfo, error);
    if (!ok) {
        dlclose(handle);
        handle = nullptr;
    }
}

LibraryApi::~LibraryApi() {
    if (handle != nullptr) {
        dlclose(handle);
    }
}

}  // namespace testsupport
