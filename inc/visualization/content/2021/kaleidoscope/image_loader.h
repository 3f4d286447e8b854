// Decodes the next photograph of the playlist on a worker thread, so that the frame in which a
// mode starts only uploads it. The worker reads and decodes and nothing else: it neither logs nor
// touches GL, both of which belong to the render thread. A photograph the worker could not read
// or decode is simply not offered, and the renderer then loads it on the spot, logging why it
// failed exactly as for any other.
//
// Every photograph, however it came, is shown at one square size with its mipmap levels made
// here, so that two textures made once take every one of them in turn (nothing is allocated in GL
// in the frame a mode starts) and a photograph looks the same whichever way it came.
//
// Memory: the loader maps what a photograph needs once, beside the heap: the level sets, and an
// arena for the file, the decoder and the resampler that every photograph starts afresh. Nothing
// of a photograph is allocated from the heap, which large blocks coming and going would fragment
// for as long as the kaleidoscope plays. After each photograph the worker gives the pages of the
// arena and of every level set not in use back to the system, so that between photographs only
// the sets that hold one are resident.
//
// Owned by the content; its destructor stops and joins the worker, which gives up a photograph at
// the next step of its work (reading a megabyte, decoding, making a level).
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "visualization/util/system/decode_arena.h"

namespace content2021 {
namespace kaleidoscope {

constexpr int kUniformImageSize = 1024;
constexpr int kUniformImageLevels = 11;  // 1024 down to 1
static_assert(kUniformImageSize >> (kUniformImageLevels - 1) == 1, "levels down to 1x1");
// Three bytes a pixel (alpha is dropped, as the kaleidoscope never reads it), every level one
// after the other from the largest: 1024² + 512² + ... + 1 pixels.
constexpr size_t kLevelSetBytes = ((size_t(1) << (2 * kUniformImageLevels)) - 1);
constexpr size_t levelOffset(int level) {
    return level == 0 ? 0
                      : levelOffset(level - 1) +
                            3 * static_cast<size_t>(kUniformImageSize >> (level - 1)) *
                                static_cast<size_t>(kUniformImageSize >> (level - 1));
}
static_assert(levelOffset(kUniformImageLevels) == kLevelSetBytes, "levels fill the set");

class ImageLoader;

// One photograph's levels: one of the loader's sets, given back when the handle goes, or, for a
// photograph loaded on the spot when none is free, a block of its own. A set of the loader's must
// go before the loader does.
class LevelSet {
public:
    LevelSet() = default;
    ~LevelSet() { reset(); }
    LevelSet(LevelSet&& other) noexcept { *this = std::move(other); }
    LevelSet& operator=(LevelSet&& other) noexcept;
    LevelSet(const LevelSet&) = delete;
    LevelSet& operator=(const LevelSet&) = delete;

    static LevelSet ownBlock();
    unsigned char* data() const { return mData; }
    explicit operator bool() const { return mData != nullptr; }
    void reset();

private:
    friend class ImageLoader;
    ImageLoader* mOwner = nullptr;
    size_t mIndex = 0;
    unsigned char* mData = nullptr;
    std::unique_ptr<unsigned char[]> mBlock;
};

struct DecodedImage {
    std::string path;
    int width = 0;  // as decoded
    int height = 0;
    int channels = 0;
    int64_t durationMs = 0;  // reading, decoding and making the levels
    LevelSet levels;         // empty when the photograph could not be used
};

// Resamples decoded pixels (3 or 4 channels) to kUniformImageSize and halves them down to 1x1
// into `levels` (kLevelSetBytes). The photograph repeats beyond its edges, so the filters wrap
// around them as the sampler does; each level below the first halves the one above it with a
// box filter, as mipmaps are made. False when `stop` turned true on the way, or the resampler
// failed.
bool buildLevels(const unsigned char* pixels, int width, int height, int channels,
                 unsigned char* levels, const std::atomic<bool>* stop = nullptr);

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
    // A free level set, for a photograph loaded on the spot; empty when all are taken.
    LevelSet acquireLevels();

    // Address space the decoding arena reserves: the most that decoding one photograph of at
    // most 2048 on a side takes (a progressive JPEG: its planes, coefficients and output), with
    // the file. Only what a photograph used is resident.
    static constexpr size_t kArenaBytes = 80u << 20;
    // Two results, the one the worker decodes and the one the renderer uploads.
    static constexpr size_t kLevelSets = 4;

private:
    friend class LevelSet;
    void run();
    // Decodes the pending request and offers it (mutex held on entry and on return): the
    // worker's loop, or the render thread itself in a build without threads.
    void serve(std::unique_lock<std::mutex>& lock);
    void decode(DecodedImage& image);
    // Logs, on the render thread, the photograph the worker gave up (mutex held).
    void reportSkipped();
    void giveBack(size_t index) { mLevelInUse[index].store(false, std::memory_order_release); }
    void releaseUnusedPages();

    std::mutex mMutex;
    std::condition_variable mWake;
    std::condition_variable mDone;
    std::string mRequested;
    bool mRequestPending = false;
    std::string mBusyPath;
    bool mBusy = false;
    std::atomic<bool> mStop{false};
    // The two latest results: the one the current mode is about to take and the one after it.
    std::array<DecodedImage, 2> mResults;
    size_t mResultNext = 0;
    fs::DecodeArena mArena;
    unsigned char* mLevelMemory = nullptr;  // kLevelSets sets, mapped once
    std::array<std::atomic<bool>, kLevelSets> mLevelInUse{};
    // What the worker gave up, for the render thread to log: the worker does not log. Fixed
    // storage, as the usual reason is that memory ran out.
    char mSkipped[512] = {};
    std::thread mWorker;
};

}  // namespace kaleidoscope
}  // namespace content2021
