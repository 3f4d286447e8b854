// What both ways of running share: the library's log lines routed where the user asked, the
// start-up calls in the order a TV host makes them, and the GL error check after each call.
#pragma once

#include <cstdio>
#include <string>

#include "host_options.h"
#include "library_api.h"

namespace vizhost {

class HostSession {
public:
    HostSession(const LibraryApi& api, const HostOptions& options, std::string resources);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Opens the log destination; false with a sentence in `error` when it cannot.
    bool openLog(std::string& error);
    // Speaker layout, then resource path and orientation: the library builds its instance here
    // or at the first frame. Needs the context current.
    void start();
    // Ends the library's instance; needs the context current.
    void stop();

    // Returns false and describes every pending GL error when there is one.
    static bool checkGl(const char* when, std::string& error);

    const LibraryApi& api() const { return mApi; }

private:
    static void sink(int priority, const char* tag, const char* message, void* user);

    const LibraryApi& mApi;
    const HostOptions& mOptions;
    std::string mResources;
    std::FILE* mLog = nullptr;
    bool mStarted = false;
};

}  // namespace vizhost
