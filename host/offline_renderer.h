// Renders the playlist without a window on a headless context, driving the platform's manual
// clock so that every frame is exactly 1/60 s of music however long it takes to draw, and
// writes the frames as a video with the music, as PNG files, or one still.
#pragma once

#include <string>
#include <vector>

#include "audio_clip.h"
#include "host_options.h"
#include "library_api.h"

namespace vizhost {

class OfflineRenderer {
public:
    static constexpr uint32_t kFrameRate = 60;

    OfflineRenderer(const LibraryApi& api, const HostOptions& options, std::string resources);

    // Returns false with one sentence in `error` when anything fails (context, output, ffmpeg,
    // a GL error after a frame).
    bool run(const std::vector<AudioClip>& tracks, std::string& error);

    // How many frames each track gets, honouring the duration limit; trailing tracks that do
    // not fit get none.
    static std::vector<size_t> planFrames(const std::vector<AudioClip>& tracks, float duration);

private:
    const LibraryApi& mApi;
    const HostOptions& mOptions;
    std::string mResources;
};

}  // namespace vizhost
