// Plays the playlist live: an SDL window with an OpenGL ES 3.0 context, the music through SDL's
// audio, and the picture following the sound actually played. Keys: N next track, R rotate the
// screen, Q or Escape quit.
#pragma once

#include <string>
#include <vector>

#include "audio_clip.h"
#include "host_options.h"
#include "library_api.h"

namespace vizhost {

class WindowPlayer {
public:
    WindowPlayer(const LibraryApi& api, const HostOptions& options, std::string resources);

    bool run(const std::vector<AudioClip>& tracks, std::string& error);

private:
    const LibraryApi& mApi;
    const HostOptions& mOptions;
    std::string mResources;
};

}  // namespace vizhost
