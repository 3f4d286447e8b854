// Writes an MP4 with the music: frames go as raw RGBA through a pipe into the ffmpeg program,
// the music as temporary WAV files, one per track, each exactly as long as that track's
// pictures so that sound and picture stay together across track changes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio_clip.h"

namespace vizhost {

struct AudioSegment {
    const AudioClip* clip = nullptr;
    size_t videoFrames = 0;  // how many frames of the video this track lasts
};

class VideoWriter {
public:
    VideoWriter() = default;
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // Starts ffmpeg. On failure returns false with a sentence in `error`.
    bool open(const std::string& path, uint32_t width, uint32_t height, uint32_t frameRate,
              const std::vector<AudioSegment>& audio, std::string& error);
    // One frame of width x height RGBA bytes, top row first.
    bool write(const uint8_t* rgba, std::string& error);
    // Finishes the file and waits for ffmpeg; false when it failed.
    bool close(std::string& error);

    bool isOpen() const { return mPipe >= 0; }

    // The path of the program, or empty when it is not installed.
    static std::string findFfmpeg();

private:
    std::string ffmpegError() const;
    void cleanUp();

    std::string mPath;
    std::string mTempDir;
    size_t mFrameBytes = 0;
    int mPipe = -1;
    pid_t mChild = -1;
};

}  // namespace vizhost
