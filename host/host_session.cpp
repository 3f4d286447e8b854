#include "host_session.h"

#include <GLES3/gl3.h>

#include <cerrno>
#include <cstring>

#include "platform.h"

namespace vizhost {

namespace {

const char* glErrorName(GLenum error) {
    switch (error) {
        case GL_INVALID_ENUM:
            return "GL_INVALID_ENUM";
        case GL_INVALID_VALUE:
            return "GL_INVALID_VALUE";
        case GL_INVALID_OPERATION:
            return "GL_INVALID_OPERATION";
        case GL_INVALID_FRAMEBUFFER_OPERATION:
            return "GL_INVALID_FRAMEBUFFER_OPERATION";
        case GL_OUT_OF_MEMORY:
            return "GL_OUT_OF_MEMORY";
        default:
            return "an unknown GL error";
    }
}

}  // namespace

HostSession::HostSession(const LibraryApi& api, const HostOptions& options, std::string resources)
    : mApi(api), mOptions(options), mResources(std::move(resources)) {}

HostSession::~HostSession() {
    platform_log_set_sink(nullptr, nullptr);
    if (mLog != nullptr && mLog != stderr) {
        std::fclose(mLog);
    }
}

bool HostSession::openLog(std::string& error) {
    if (mOptions.log == "-") {
        mLog = stderr;
    } else if (!mOptions.log.empty()) {
        mLog = std::fopen(mOptions.log.c_str(), "a");
        if (mLog == nullptr) {
            error = "cannot open the log file " + mOptions.log + ": " + std::strerror(errno);
            return false;
        }
    }
    // Without a destination the lines are dropped: they would tear the progress bar apart.
    platform_log_set_sink(&HostSession::sink, this);
    return true;
}

void HostSession::sink(int, const char* tag, const char* message, void* user) {
    auto* self = static_cast<HostSession*>(user);
    if (self->mLog == nullptr) {
        return;
    }
    const size_t length = std::strlen(message);
    const bool newline = length > 0 && message[length - 1] == '\n';
    std::fprintf(self->mLog, "%s: %s%s", tag, message, newline ? "" : "\n");
}

void HostSession::start() {
    mApi.updateSpeakerInfo(int32_t(mOptions.speaker));
    mApi.onCreateGlApp(mResources.c_str(), int32_t(mOptions.orientation));
    mStarted = true;
}

void HostSession::stop() {
    if (mStarted) {
        mApi.onTerminateGlApp();
        mStarted = false;
    }
}

bool HostSession::checkGl(const char* when, std::string& error) {
    bool clean = true;
    std::string list;
    // A lost context keeps reporting; a bounded loop cannot hang on it.
    for (int i = 0; i < 16; ++i) {
        const GLenum e = glGetError();
        if (e == GL_NO_ERROR) {
            break;
        }
        char code[16];
        std::snprintf(code, sizeof code, "0x%04x", e);
        list += std::string(clean ? "" : ", ") + glErrorName(e) + " (" + code + ")";
        clean = false;
    }
    if (!clean) {
        error = "GL error " + list + " " + when;
    }
    return clean;
}

}  // namespace vizhost
