#include "library/library_api.h"

// The paths reach this one file only, so that the compiler cache serves the others to a checkout
// at another path.
namespace testsupport {

const char* libraryPath() {
    return VIZ_LIBRARY_PATH;
}

const char* diagnosticsLibraryPath() {
    return VIZ_DIAGNOSTICS_LIBRARY_PATH;
}

}  // namespace testsupport
