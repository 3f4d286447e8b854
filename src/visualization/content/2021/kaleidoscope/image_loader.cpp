#include "visualization/content/2021/kaleidoscope/image_loader.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

#include "platform.h"
#include "visualization/log.h"
#include "visualization/util/system/fs.h"
#include "visualization/util/system/image_decoder.h"

namespace content2021 {
namespace kaleidoscope {

namespace {

// The file is read in steps of this much, so that a loader told to stop gives up a large file
// soon.
constexpr size_t kReadStep = 1u << 20;

// A build without threads (the web one) has no worker: the render thread decodes a photograph
// when it next asks the loader for one, in the frame loop. The build option sets this.
#ifndef VIZ_PHOTOGRAPH_WORKER
#define VIZ_PHOTOGRAPH_WORKER 1
#endif
constexpr bool kWorkerThread = VIZ_PHOTOGRAPH_WORKER != 0;

bool stopping(const std::atomic<bool>* stop) {
    return stop != nullptr && stop->load(std::memory_order_relaxed);
}

}  // namespace

LevelSet& LevelSet::operator=(LevelSet&& other) noexcept {
    if (this != &other) {
        reset();
        mOwner = other.mOwner;
        mIndex = other.mIndex;
        mData = other.mData;
        mBlock = std::move(other.mBlock);
        other.mOwner = nullptr;
        other.mData = nullptr;
    }
    return *this;
}

LevelSet LevelSet::ownBlock() {
    LevelSet set;
    set.mBlock.reset(new unsigned char[kLevelSetBytes]);
    set.mData = set.mBlock.get();
    return set;
}

void LevelSet::reset() {
    if (mOwner != nullptr) {
        mOwner->giveBack(mIndex);
    }
    mOwner = nullptr;
    mData = nullptr;
    mBlock.reset();
}

bool buildLevels(const unsigned char* pixels, int width, int height, int channels,
                 unsigned char* levels, const std::atomic<bool>* stop) {
    if (pixels == nullptr || levels == nullptr || (channels != 3 && channels != 4)) {
        return false;
    }
    const unsigned char* source = pixels;
    unsigned char* rgb = nullptr;
    if (channels == 4) {
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        rgb = static_cast<unsigned char*>(fs::decoderAllocate(count * 3));
        if (rgb == nullptr) {
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            std::copy_n(pixels + 4 * i, 3, rgb + 3 * i);
        }
        source = rgb;
    }
    bool built = true;
    int sourceWidth = width;
    int sourceHeight = height;
    for (int l = 0; l < kUniformImageLevels && built; ++l) {
        const int size = kUniformImageSize >> l;
        unsigned char* level = levels + levelOffset(l);
        built = !stopping(stop) &&
                fs::decoder::resize(source, sourceWidth, sourceHeight, level, size, size, 3, l > 0);
        source = level;
        sourceWidth = sourceHeight = size;
    }
    fs::decoderFree(rgb);
    return built;
}

ImageLoader::ImageLoader() : mArena(kArenaBytes) {
    void* memory = ::mmap(nullptr, kLevelSets * kLevelSetBytes, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (memory != MAP_FAILED) {
        mLevelMemory = static_cast<unsigned char*>(memory);
    } else {
        // No set is ever free: the worker offers nothing and every photograph loads on the spot.
        for (std::atomic<bool>& inUse : mLevelInUse) {
            inUse.store(true);
        }
    }
    if (kWorkerThread) {
        mWorker = std::thread(&ImageLoader::run, this);
    }
}

ImageLoader::~ImageLoader() {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStop.store(true);
    }
    mWake.notify_all();
    if (mWorker.joinable()) {
        mWorker.join();
    }
    for (DecodedImage& result : mResults) {
        result.levels.reset();
    }
    if (mLevelMemory != nullptr) {
        ::munmap(mLevelMemory, kLevelSets * kLevelSetBytes);
    }
}

void ImageLoader::releaseUnusedPages() {
    mArena.reset();
    mArena.releasePages();
    if (mLevelMemory == nullptr) {
        return;
    }
    for (size_t i = 0; i < kLevelSets; ++i) {
        // Held for the moment, so that the render thread cannot take it meanwhile.
        bool expected = false;
        if (mLevelInUse[i].compare_exchange_strong(expected, true, std::memory_order_acquire)) {
            ::madvise(mLevelMemory + i * kLevelSetBytes, kLevelSetBytes, MADV_DONTNEED);
            mLevelInUse[i].store(false, std::memory_order_release);
        }
    }
}

LevelSet ImageLoader::acquireLevels() {
    LevelSet set;
    for (size_t i = 0; i < kLevelSets; ++i) {
        bool expected = false;
        if (mLevelInUse[i].compare_exchange_strong(expected, true, std::memory_order_acquire)) {
            set.mOwner = this;
            set.mIndex = i;
            set.mData = mLevelMemory + i * kLevelSetBytes;
            break;
        }
    }
    return set;
}

// fs::loadTextureData without its log lines, which may only be written on the render thread, and
// with everything it allocates in the arena. Only a photograph with its levels made is offered.
void ImageLoader::decode(DecodedImage& image) {
    const long long start = platform_clock_now_ns();
    image.levels = acquireLevels();
    mArena.reset();
    {
        const fs::DecodeArena::Scope scope(mArena);
        fs::RegularFile file(image.path.c_str());
        const size_t size = file.size();
        if (image.levels && file.isOpen() && size > 0 && size <= fs::kMaxImageFileBytes) {
            auto* bytes = static_cast<uint8_t*>(fs::decoderAllocate(size));
            size_t read = 0;
            while (bytes != nullptr && read < size && !stopping(&mStop)) {
                const size_t step = std::min(kReadStep, size - read);
                const size_t got = file.read(bytes + read, step);
                read += got;
                if (got < step) {
                    break;
                }
            }
            if (read == size && !stopping(&mStop)) {
                const fs::TextureData pixels = fs::decodeTextureData(
                    bytes, size, &image.width, &image.height, &image.channels);
                if (!pixels || !buildLevels(pixels.get(), image.width, image.height, image.channels,
                                            image.levels.data(), &mStop)) {
                    image.levels.reset();
                }
            } else {
                image.levels.reset();
            }
            fs::decoderFree(bytes);
        } else {
            image.levels.reset();
        }
    }
    image.durationMs = static_cast<int64_t>((platform_clock_now_ns() - start) / 1000000);
}

void ImageLoader::request(const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if ((mRequestPending && mRequested == path) || (mBusy && mBusyPath == path)) {
            return;
        }
        for (const DecodedImage& result : mResults) {
            if (result.levels && result.path == path) {
                return;
            }
        }
        mRequested = path;
        mRequestPending = true;
    }
    mWake.notify_all();
}

bool ImageLoader::take(const std::string& path, DecodedImage& out) {
    std::unique_lock<std::mutex> lock(mMutex);
    if (!kWorkerThread && mRequestPending && mRequested == path) {
        serve(lock);
    }
    mDone.wait(lock, [&] {
        return !(mBusy && mBusyPath == path) && !(mRequestPending && mRequested == path);
    });
    reportSkipped();
    for (DecodedImage& result : mResults) {
        if (result.levels && result.path == path) {
            out = std::move(result);
            result = DecodedImage();
            return true;
        }
    }
    return false;
}

bool ImageLoader::wait(DecodedImage& out) {
    {
        std::unique_lock<std::mutex> lock(mMutex);
        if (!kWorkerThread && mRequestPending) {
            serve(lock);
        }
        mDone.wait(lock, [this] { return !mBusy && !mRequestPending; });
    }
    return poll(out);
}

bool ImageLoader::poll(DecodedImage& out) {
    std::unique_lock<std::mutex> lock(mMutex);
    if (!kWorkerThread && mRequestPending) {
        serve(lock);
    }
    reportSkipped();
    if (mBusy || mRequestPending) {
        return false;
    }
    DecodedImage& newest = mResults[(mResultNext + mResults.size() - 1) % mResults.size()];
    if (!newest.levels) {
        return false;
    }
    out = std::move(newest);
    newest = DecodedImage();
    return true;
}

void ImageLoader::reportSkipped() {
    if (mSkipped[0] != '\0') {
        logMessage("[content2021][kaleidoscope][ImageLoader] %s; photograph skipped", mSkipped);
        mSkipped[0] = '\0';
    }
}

void ImageLoader::run() {
    std::unique_lock<std::mutex> lock(mMutex);
    while (true) {
        mWake.wait(lock, [this] { return mStop.load() || mRequestPending; });
        if (mStop.load()) {
            return;
        }
        serve(lock);
    }
}

void ImageLoader::serve(std::unique_lock<std::mutex>& lock) {
    mBusyPath.swap(mRequested);  // unlike a copy, never allocates
    mRequestPending = false;
    mBusy = true;
    DecodedImage image;
    lock.unlock();
    // An exception must not leave the thread (that ends the process): the photograph is not
    // offered, and the render thread reports it and loads it on the spot.
    char skipped[sizeof(mSkipped)] = "";
    try {
        image.path = mBusyPath;
        decode(image);
    } catch (const std::exception& exception) {
        image.levels.reset();
        std::snprintf(skipped, sizeof(skipped), "%s: exception \"%s\"", mBusyPath.c_str(),
                      exception.what());
    } catch (...) {
        image.levels.reset();
        std::snprintf(skipped, sizeof(skipped), "%s: an exception of unknown type",
                      mBusyPath.c_str());
    }
    lock.lock();
    if (skipped[0] != '\0') {
        std::memcpy(mSkipped, skipped, sizeof(mSkipped));
    }
    mBusy = false;
    // The oldest result makes way, and its level set is free again.
    mResults[mResultNext] = std::move(image);
    mResultNext = (mResultNext + 1) % mResults.size();
    mDone.notify_all();
    lock.unlock();
    releaseUnusedPages();
    lock.lock();
}

}  // namespace kaleidoscope
}  // namespace content2021
