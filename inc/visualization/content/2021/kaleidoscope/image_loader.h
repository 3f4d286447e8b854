// Decodes the next photograph of the playlist on a worker thread, so that the frame in which a
// mode starts only uploads it. The worker reads and decodes and nothing else: it neither logs nor
// touches GL, both of which belong to the render thread. A photograph the worker could not read
// or decode is simply not offered, and the renderer then loads it on the spot, logging why it
// failed exactly as for any other.
//
// Owned by the content; its destructor stops and joins the worker.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "visualization/util/system/fs.h"

namespace content2021 {
namespace kaleidoscope {

// Photographs that come through the loader are also resampled to one square size, so that two
// textures made once can take every one of them in turn: nothing is allocated in GL, and no
// storage is zeroed by the driver, in the frame a mode starts.
constexpr int kUniformImageSize = 1024;
constexpr int kUniformImageLevels = 11;  // 1024 down to 1
static_assert(kUniformImageSize >> (kUniformImageLevels - 1) == 1, "levels down to 1x1");

struct ImageLevel {
    int size = 0;
    std::vector<unsigned char> rgb;  // size x size, three bytes a pixel
};

struct DecodedImage {
    std::string path;
    fs::TextureData pixels;
    int width = 0;
    int height = 0;
    int channels = 0;
    int64_t durationMs = 0;  // reading and decoding, on the worker
    // For 3 and 4 channels: the photograph at kUniformImageSize and each mipmap level below it,
    // made on the worker so that the render thread only copies them up. Alpha is dropped, as the
    // kaleidoscope never reads it. Empty otherwise.
    std::vector<ImageLevel> levels;
};

class ImageLoader {
public:
    ImageLoader();
    ~ImageLoader();
    ImageLoader(const ImageLoader&) = delete;
    ImageLoader& operator=(const ImageLoader&) = delete;

    // Starts decoding the photograph unless it is decoded or on its way already.
    void request(const std::string& path);
    // Hands over the decoded photograph at path, waiting for the worker if it is decoding that
    // very one (the rest of its work is less than starting again). False when it was never
    // requested, was replaced by two newer ones, or could not be decoded.
    bool take(const std::string& path, DecodedImage& out);
    // Hands over the photograph requested last once it is decoded, without waiting: false while
    // the worker is on it, or when it was handed over already or could not be decoded.
    bool poll(DecodedImage& out);
    // The same, after waiting for the worker to finish what it was asked for.
    bool wait(DecodedImage& out);
    // Takes back the levels of a photograph that is up, to be filled with a later one.
    void recycle(std::vector<ImageLevel> levels);

private:
    void run();

    std::mutex mMutex;
    std::condition_variable mWake;
    std::condition_variable mDone;
    std::string mRequested;
    bool mRequestPending = false;
    std::string mBusyPath;
    bool mBusy = false;
    bool mStop = false;
    // The two latest results: the one the current mode is about to take and the one after it.
    std::array<DecodedImage, 2> mResults;
    size_t mResultNext = 0;
    static constexpr size_t kSpareLevelSets = 2;
    std::vector<std::vector<ImageLevel>> mSpareLevels;
    std::thread mWorker;
};

}  // namespace kaleidoscope
}  // namespace content2021
