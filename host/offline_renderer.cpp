#include "offline_renderer.h"

#include <GLES3/gl3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

#include "frame_scaler.h"
#include "headless_gl.h"
#include "host_session.h"
#include "music_feed.h"
#include "platform.h"
#include "progress_bar.h"
#include "rotation_driver.h"
#include "video_writer.h"

namespace vizhost {

namespace {

constexpr long long kClockStart = 1000000000LL;

long long frameTime(size_t frame) {
    return (long long)std::llround(double(frame) * 1e9 / OfflineRenderer::kFrameRate);
}

void makeOpaque(std::vector<uint8_t>& rgba) {
    // The library may leave alpha below one; a television shows no transparency.
    for (size_t i = 3; i < rgba.size(); i += 4) {
        rgba[i] = 255;
    }
}

}  // namespace

OfflineRenderer::OfflineRenderer(const LibraryApi& api, const HostOptions& options,
                                 std::string resources)
    : mApi(api), mOptions(options), mResources(std::move(resources)) {}

std::vector<size_t> OfflineRenderer::planFrames(const std::vector<AudioClip>& tracks,
                                                float duration) {
    std::vector<size_t> frames;
    size_t budget = duration > 0.0f ? size_t(std::ceil(double(duration) * kFrameRate))
                                    : std::numeric_limits<size_t>::max();
    for (const AudioClip& clip : tracks) {
        const size_t wanted = std::max<size_t>(size_t(std::ceil(clip.duration() * kFrameRate)), 1);
        const size_t given = std::min(wanted, budget);
        frames.push_back(given);
        budget -= given;
    }
    return frames;
}

bool OfflineRenderer::run(const std::vector<AudioClip>& tracks, std::string& error) {
    const std::vector<size_t> plan = planFrames(tracks, mOptions.duration);
    size_t total = 0;
    for (size_t n : plan) {
        total += n;
    }
    if (total == 0) {
        error = "no music to render";
        return false;
    }

    headless::Context context;
    if (!context.create()) {
        error = "cannot make an OpenGL ES 3.0 context: " + context.error();
        return false;
    }
    const ScreenSize screen = DefaultScreenSizes.at(mOptions.orientation);
    headless::Target target(screen.first, screen.second);
    if (!target.complete()) {
        error = "cannot make a framebuffer of the screen size";
        return false;
    }
    FrameScaler scaler(mOptions.width, mOptions.height);

    VideoWriter video;
    if (!mOptions.out.empty()) {
        std::vector<AudioSegment> audio;
        for (size_t i = 0; i < tracks.size(); ++i) {
            audio.push_back({&tracks[i], plan[i]});
        }
        if (!video.open(mOptions.out, mOptions.width, mOptions.height, kFrameRate, audio, error)) {
            return false;
        }
    }
    if (!mOptions.frames.empty()) {
        std::error_code failed;
        std::filesystem::create_directories(mOptions.frames, failed);
        if (failed) {
            error = "cannot make the directory " + mOptions.frames + ": " + failed.message();
            return false;
        }
    }
    size_t stillFrame = size_t(0.7 * double(total));
    if (mOptions.stillAt >= 0.0f) {
        const size_t wanted = size_t(std::lround(mOptions.stillAt * kFrameRate));
        if (wanted > total) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "--still-at %.2f is past the end of the render (%.2f s of music)",
                          double(mOptions.stillAt), double(total) / kFrameRate);
            error = text;
            return false;
        }
        stillFrame = std::min(wanted, total - 1);
    }

    HostSession session(mApi, mOptions, mResources);
    if (!session.openLog(error)) {
        return false;
    }
    platform_clock_set_manual(kClockStart);
    target.bind();
    session.start();
    bool ok = HostSession::checkGl("when the library started", error);

    MusicFeed feed(mApi, tracks, mOptions.bands);
    RotationDriver rotation(mApi, mOptions.orientation);
    size_t nextRotation = 0;
    ProgressBar progress(total, mOptions.progress);
    std::vector<uint8_t> rgba;
    size_t track = 0;
    size_t trackStart = 0;
    for (size_t frame = 0; ok && frame < total; ++frame) {
        while (frame - trackStart >= plan[track]) {
            trackStart += plan[track];
            ++track;
            feed.selectTrack(track, true);
        }
        const double now = double(frame) / kFrameRate;
        while (nextRotation < mOptions.rotateAt.size() && mOptions.rotateAt[nextRotation] <= now) {
            rotation.start(now);
            ++nextRotation;
        }
        rotation.update(now);
        const size_t local = frame - trackStart + 1;
        feed.feed(int64_t(double(local) * feed.track().sampleRate / kFrameRate + 0.5));

        platform_clock_advance(frameTime(frame + 1) - frameTime(frame));
        target.bind();
        mApi.onUpdateGlApp();
        if (!HostSession::checkGl(("after frame " + std::to_string(frame)).c_str(), error)) {
            ok = false;
            break;
        }

        const bool still = !mOptions.still.empty() && frame == stillFrame;
        if (video.isOpen() || !mOptions.frames.empty() || still) {
            scaler.scale(target, rgba);
            if (!HostSession::checkGl("while scaling a frame", error)) {
                ok = false;
                break;
            }
        }
        if (video.isOpen() && !video.write(rgba.data(), error)) {
            ok = false;
            break;
        }
        if (!mOptions.frames.empty() || still) {
            makeOpaque(rgba);
        }
        if (!mOptions.frames.empty()) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame_%06zu.png", frame);
            const std::string path = mOptions.frames + name;
            if (!headless::writePng(path, scaler.width(), scaler.height(), rgba.data())) {
                error = "cannot write " + path;
                ok = false;
                break;
            }
        }
        if (still &&
            !headless::writePng(mOptions.still, scaler.width(), scaler.height(), rgba.data())) {
            error = "cannot write " + mOptions.still;
            ok = false;
            break;
        }
        progress.update(frame + 1);
    }
    progress.finish();

    target.bind();
    session.stop();
    if (ok) {
        ok = HostSession::checkGl("when the library stopped", error);
    }
    platform_clock_set_real();
    std::string closeError;
    if (!video.close(closeError) && ok) {
        error = closeError;
        ok = false;
    }
    return ok;
}

}  // namespace vizhost
