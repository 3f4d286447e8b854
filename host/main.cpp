// vizhost: the reference host of the visualisation library. It loads the shared object, feeds it
// the analysed music and shows or records what it draws.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "audio_clip.h"
#include "demo_song.h"
#include "host_options.h"
#include "library_api.h"
#include "offline_renderer.h"
#include "paths.h"
#include "window_player.h"

namespace fs = std::filesystem;
using namespace vizhost;

namespace {

int fail(const std::string& message, int code = 1) {
    std::fprintf(stderr, "vizhost: %s\n", message.c_str());
    return code;
}

bool makeParent(const std::string& file, std::string& error) {
    const fs::path parent = fs::path(file).parent_path();
    if (parent.empty()) {
        return true;
    }
    std::error_code failed;
    fs::create_directories(parent, failed);
    if (failed) {
        error = "cannot make the directory " + parent.string() + ": " + failed.message();
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    HostOptions options;
    std::string error;
    if (!parseHostOptions(args, options, error)) {
        return fail(error + " (see vizhost --help)", 2);
    }
    if (options.help) {
        std::fputs(hostUsage(), stdout);
        return 0;
    }

    std::vector<AudioClip> tracks;
    if (options.files.empty()) {
        tracks = DemoSong::synthesize();
    }
    for (const std::string& file : options.files) {
        AudioClip clip;
        if (!decodeAudioFile(file, clip, error)) {
            return fail(error);
        }
        tracks.push_back(std::move(clip));
    }
    if (!options.writeDemo.empty()) {
        AudioClip song = tracks.front();
        for (size_t i = 1; i < tracks.size(); ++i) {
            song.samples.insert(song.samples.end(), tracks[i].samples.begin(),
                                tracks[i].samples.end());
        }
        mixToMono(song);
        if (!makeParent(options.writeDemo, error) ||
            !writeWavFile(options.writeDemo, song, song.frameCount(), error)) {
            return fail(error);
        }
        return 0;
    }

    const fs::path resources =
        options.resources.empty() ? defaultResourceDirectory() : options.resources;
    if (!fs::is_directory(resources)) {
        return fail("no resource directory at " + resources.string() + " (give one with --res)");
    }
    const std::string library =
        options.library.empty() ? defaultLibraryPath(defaultLibraryName(options)) : options.library;
    // The diagnostic library reads its switches when it creates its instance.
    if (!options.analyzer.empty()) {
        setenv("VISUALIZATION_ANALYZER", options.analyzer.c_str(), 1);
    }
    if (!options.recordBands.empty()) {
        if (!makeParent(options.recordBands, error)) {
            return fail(error);
        }
        setenv("VISUALIZATION_RECORD_BANDS", options.recordBands.c_str(), 1);
    }
    LoadedLibrary loaded;
    if (!loaded.load(library, error)) {
        return fail(error);
    }
    for (const std::string* file : {&options.out, &options.still}) {
        if (!file->empty() && !makeParent(*file, error)) {
            return fail(error);
        }
    }

    bool ok = false;
    if (options.window) {
        WindowPlayer player(loaded.api(), options, relativeResourcePath(resources.string()));
        ok = player.run(tracks, error);
    } else {
        OfflineRenderer renderer(loaded.api(), options, relativeResourcePath(resources.string()));
        ok = renderer.run(tracks, error);
    }
    if (!ok) {
        return fail(error);
    }
    return 0;
}
