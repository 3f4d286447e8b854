// Where the host programs find the library and its resources.
#pragma once

#include <string>

namespace vizhost {

// The directory of the running program.
std::string programDirectory();

// The defaults of --res and --library. An installed program finds both beside it, under the
// prefix it was installed to; one in the build tree finds the source tree's res/ and the
// library built beside it.
std::string defaultResourceDirectory();
// `name` is the library's file name without its version, as "libvisualization.so".
std::string defaultLibraryPath(const std::string& name);

// The library drops leading slashes from the resource path and resolves what is left against
// the working directory, so the hosts hand it the directory relative to the working directory.
std::string relativeResourcePath(const std::string& directory);

}  // namespace vizhost
