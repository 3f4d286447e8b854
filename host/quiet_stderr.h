// Some decoders and sound libraries print diagnostics of their own on standard error (a broken
// MP3 frame, a machine without a sound card). The host reports such failures in one line of its
// own, so these calls run with standard error sent to /dev/null.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace vizhost {

template <typename Call>
auto withoutStderr(Call call) {
    std::fflush(stderr);
    const int saved = dup(2);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, 2);
        close(null);
    }
    auto result = call();
    if (saved >= 0) {
        dup2(saved, 2);
        close(saved);
    }
    return result;
}

}  // namespace vizhost
