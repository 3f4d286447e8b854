#include "window_player.h"

#include <GLES3/gl3.h>
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "frame_scaler.h"
#include "headless_gl.h"
#include "host_session.h"
#include "music_feed.h"
#include "platform.h"
#include "quiet_stderr.h"
#include "rotation_driver.h"

namespace vizhost {

namespace {

// The sound of the current track, queued a little ahead of the device; its position is what
// the listener hears, so the picture follows it. Without an audio device the position follows
// the wall clock instead.
class Speaker {
public:
    Speaker() = default;
    ~Speaker() { closeDevice(); }

    void play(const AudioClip& clip, bool audioAvailable) {
        mClip = &clip;
        mQueued = 0;
        mStartTicks = SDL_GetPerformanceCounter();
        if (!audioAvailable) {
            return;
        }
        if (mDevice == 0 || mRate != clip.sampleRate || mChannels != clip.channels) {
            closeDevice();
            SDL_AudioSpec want{};
            want.freq = int(clip.sampleRate);
            want.format = AUDIO_F32SYS;
            want.channels = Uint8(std::min<uint32_t>(clip.channels, 8));
            want.samples = 1024;
            mDevice =
                withoutStderr([&] { return SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0); });
            mRate = clip.sampleRate;
            mChannels = clip.channels;
        }
        if (mDevice != 0) {
            SDL_ClearQueuedAudio(mDevice);
            SDL_PauseAudioDevice(mDevice, 0);
        }
    }

    bool hasDevice() const { return mDevice != 0; }

    // Keeps a quarter of a second queued; returns the sample being heard now.
    int64_t pump() {
        if (mClip == nullptr) {
            return 0;
        }
        if (mDevice == 0) {
            const double seconds = double(SDL_GetPerformanceCounter() - mStartTicks) /
                                   double(SDL_GetPerformanceFrequency());
            return int64_t(seconds * mClip->sampleRate);
        }
        const size_t bytesPerFrame = sizeof(float) * mClip->channels;
        const size_t ahead = mClip->sampleRate / 4;
        const size_t queuedFrames = SDL_GetQueuedAudioSize(mDevice) / bytesPerFrame;
        if (queuedFrames < ahead && mQueued < mClip->frameCount()) {
            const size_t more = std::min(ahead, mClip->frameCount() - mQueued);
            SDL_QueueAudio(mDevice, mClip->samples.data() + mQueued * mClip->channels,
                           Uint32(more * bytesPerFrame));
            mQueued += more;
        }
        const size_t pending = SDL_GetQueuedAudioSize(mDevice) / bytesPerFrame;
        return int64_t(mQueued) - int64_t(pending);
    }

private:
    void closeDevice() {
        if (mDevice != 0) {
            SDL_CloseAudioDevice(mDevice);
            mDevice = 0;
        }
    }

    const AudioClip* mClip = nullptr;
    SDL_AudioDeviceID mDevice = 0;
    uint32_t mRate = 0;
    uint32_t mChannels = 0;
    size_t mQueued = 0;
    Uint64 mStartTicks = 0;
};

struct SdlGuard {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    ~SdlGuard() {
        if (context != nullptr) {
            SDL_GL_DeleteContext(context);
        }
        if (window != nullptr) {
            SDL_DestroyWindow(window);
        }
        SDL_Quit();
    }
};

}  // namespace

WindowPlayer::WindowPlayer(const LibraryApi& api, const HostOptions& options, std::string resources)
    : mApi(api), mOptions(options), mResources(std::move(resources)) {}

bool WindowPlayer::run(const std::vector<AudioClip>& tracks, std::string& error) {
    // The same GL dispatch as the headless context: EGL, also on X11.
    SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    SdlGuard sdl;
    // Without a display SDL falls back to a driver that draws nowhere: the user would watch
    // nothing for the whole duration.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
        std::strcmp(driver, "dummy") == 0) {
        error =
            "cannot open a window: no display (set DISPLAY, or render without one with --out, "
            "--frames or --still)";
        return false;
    }
    const bool audioAvailable =
        withoutStderr([] { return SDL_InitSubSystem(SDL_INIT_AUDIO); }) == 0;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    sdl.window = SDL_CreateWindow("vizhost", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  int(mOptions.width), int(mOptions.height),
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    if (sdl.window == nullptr) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    sdl.context = SDL_GL_CreateContext(sdl.window);
    if (sdl.context == nullptr) {
        error =
            std::string("cannot make an OpenGL ES 3.0 context for the window: ") + SDL_GetError();
        return false;
    }
    SDL_GL_MakeCurrent(sdl.window, sdl.context);
    SDL_GL_SetSwapInterval(1);

    const ScreenSize screen = DefaultScreenSizes.at(mOptions.orientation);
    auto target = std::make_unique<headless::Target>(screen.first, screen.second);
    if (!target->complete()) {
        error = "cannot make a framebuffer of the screen size";
        return false;
    }
    HostSession session(mApi, mOptions, mResources);
    if (!session.openLog(error)) {
        return false;
    }
    platform_clock_set_real();
    target->bind();
    session.start();
    bool ok = HostSession::checkGl("when the library started", error);

    MusicFeed feed(mApi, tracks, mOptions.bands);
    RotationDriver rotation(mApi, mOptions.orientation);
    Speaker speaker;
    speaker.play(feed.track(), audioAvailable);
    SDL_SetWindowTitle(sdl.window, ("vizhost: " + feed.track().name).c_str());
    if (!speaker.hasDevice()) {
        std::fprintf(stderr, "vizhost: no audio device, playing without sound\n");
    }
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 begin = SDL_GetPerformanceCounter();
    auto seconds = [&]() { return double(SDL_GetPerformanceCounter() - begin) / frequency; };
    size_t nextRotation = 0;
    double lastFrame = 0.0;
    double played = 0.0;  // seconds of music played in earlier tracks
    bool running = ok;
    while (running) {
        bool nextTrack = false;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) {
                running = false;
            } else if (event.type == SDL_KEYDOWN && event.key.repeat == 0) {
                switch (event.key.keysym.sym) {
                    case SDLK_q:
                    case SDLK_ESCAPE:
                        running = false;
                        break;
                    case SDLK_n:
                        nextTrack = true;
                        break;
                    case SDLK_r:
                        rotation.start(seconds());
                        break;
                    default:
                        break;
                }
            }
        }
        if (!running) {
            break;
        }
        int64_t position = speaker.pump();
        const AudioClip& clip = feed.track();
        const bool ended = position >= int64_t(clip.frameCount());
        if (ended && !nextTrack && feed.trackIndex() + 1 == feed.trackCount()) {
            break;
        }
        if (ended || nextTrack) {
            played += double(std::min<int64_t>(position, clip.frameCount())) / clip.sampleRate;
            feed.selectTrack((feed.trackIndex() + 1) % feed.trackCount(), true);
            speaker.play(feed.track(), audioAvailable);
            SDL_SetWindowTitle(sdl.window, ("vizhost: " + feed.track().name).c_str());
            position = speaker.pump();
        }
        const double musicTime = played + double(position) / feed.track().sampleRate;
        if (mOptions.duration > 0.0f && musicTime >= mOptions.duration) {
            break;
        }
        while (nextRotation < mOptions.rotateAt.size() &&
               mOptions.rotateAt[nextRotation] <= musicTime) {
            rotation.start(seconds());
            ++nextRotation;
        }
        rotation.update(seconds());
        feed.feed(position);

        target->bind();
        mApi.onUpdateGlApp();
        if (!HostSession::checkGl("after a frame", error)) {
            ok = false;
            break;
        }
        int width = 0;
        int height = 0;
        SDL_GL_GetDrawableSize(sdl.window, &width, &height);
        FrameScaler::blit(*target, 0, uint32_t(std::max(width, 1)), uint32_t(std::max(height, 1)));
        SDL_GL_SwapWindow(sdl.window);
        if (!HostSession::checkGl("while showing a frame", error)) {
            ok = false;
            break;
        }
        // Swaps do not wait for the display everywhere (not on Xvfb): pace to 60 frames.
        const double spare = lastFrame + 1.0 / 60.0 - seconds();
        if (spare > 0.001) {
            SDL_Delay(Uint32(spare * 1000.0));
        }
        lastFrame = seconds();
    }
    target->bind();
    session.stop();
    if (ok) {
        ok = HostSession::checkGl("when the library stopped", error);
    }
    target.reset();
    return ok;
}

}  // namespace vizhost
