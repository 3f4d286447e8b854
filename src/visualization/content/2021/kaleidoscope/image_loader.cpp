#include "visualization/content/2021/kaleidoscope/image_loader.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform.h"

namespace content2021 {
namespace kaleidoscope {

namespace {

// The photograph repeats beyond its edges, so the filters wrap around them as the sampler does.
// Each level below the first halves the one above it with a box filter, as mipmaps are made.
// Levels handed back by the renderer are refilled in place: every photograph has the same
// level sizes, so after the first few nothing is allocated for them again.
void buildLevels(DecodedImage& image) {
    std::vector<unsigned char> rgb;
    const unsigned char* source = image.pixels.get();
    if (image.channels == 4) {
        const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
        rgb.resize(count * 3);
        for (size_t i = 0; i < count; ++i) {
            std::copy_n(source + 4 * i, 3, rgb.data() + 3 * i);
        }
        source = rgb.data();
    }
    image.levels.resize(kUniformImageLevels);
    int width = image.width;
    int height = image.height;
    for (int l = 0; l < kUniformImageLevels; ++l) {
        ImageLevel& level = image.levels[l];
        level.size = kUniformImageSize >> l;
        level.rgb.resize(static_cast<size_t>(level.size) * static_cast<size_t>(level.size) * 3);
        stbir_resize_uint8_generic(source, width, height, 0, level.rgb.data(), level.size,
                                   level.size, 0, 3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_WRAP,
                                   l == 0 ? STBIR_FILTER_DEFAULT : STBIR_FILTER_BOX,
                                   STBIR_COLORSPACE_LINEAR, nullptr);
        source = level.rgb.data();
        width = height = level.size;
    }
}

// fs::loadTextureData without its log lines, which may only be written on the render thread.
DecodedImage decode(const std::string& path, std::vector<ImageLevel> spare) {
    DecodedImage image;
    image.path = path;
    image.levels = std::move(spare);
    const long long start = platform_clock_now_ns();
    std::ifstream file(path, std::ios::binary);
    if (file) {
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
        image.pixels = fs::decodeTextureData(bytes, &image.width, &image.height, &image.channels);
    }
    if (image.pixels && (image.channels == 3 || image.channels == 4)) {
        buildLevels(image);
    } else {
        image.levels.clear();
    }
    image.durationMs = static_cast<int64_t>((platform_clock_now_ns() - start) / 1000000);
    return image;
}

}  // namespace

ImageLoader::ImageLoader() : mWorker(&ImageLoader::run, this) {}

ImageLoader::~ImageLoader() {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStop = true;
    }
    mWake.notify_all();
    mWorker.join();
}

void ImageLoader::request(const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if ((mRequestPending && mRequested == path) || (mBusy && mBusyPath == path)) {
            return;
        }
        for (const DecodedImage& result : mResults) {
            if (result.pixels && result.path == path) {
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
    mDone.wait(lock, [&] {
        return !(mBusy && mBusyPath == path) && !(mRequestPending && mRequested == path);
    });
    for (DecodedImage& result : mResults) {
        if (result.pixels && result.path == path) {
            out = std::move(result);
            result.path.clear();
            return true;
        }
    }
    return false;
}

bool ImageLoader::wait(DecodedImage& out) {
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mDone.wait(lock, [this] { return !mBusy && !mRequestPending; });
    }
    return poll(out);
}

bool ImageLoader::poll(DecodedImage& out) {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mBusy || mRequestPending) {
        return false;
    }
    DecodedImage& newest = mResults[(mResultNext + mResults.size() - 1) % mResults.size()];
    if (!newest.pixels || newest.path.empty()) {
        return false;
    }
    out = std::move(newest);
    newest.path.clear();
    return true;
}

void ImageLoader::recycle(std::vector<ImageLevel> levels) {
    if (levels.empty()) {
        return;
    }
    std::lock_guard<std::mutex> lock(mMutex);
    if (mSpareLevels.size() < kSpareLevelSets) {
        mSpareLevels.push_back(std::move(levels));
    }
}

void ImageLoader::run() {
    std::unique_lock<std::mutex> lock(mMutex);
    while (true) {
        mWake.wait(lock, [this] { return mStop || mRequestPending; });
        if (mStop) {
            return;
        }
        mBusyPath = mRequested;
        mRequestPending = false;
        mBusy = true;
        std::vector<ImageLevel> spare;
        if (!mSpareLevels.empty()) {
            spare = std::move(mSpareLevels.back());
            mSpareLevels.pop_back();
        }
        lock.unlock();
        DecodedImage image = decode(mBusyPath, std::move(spare));
        lock.lock();
        mBusy = false;
        mResults[mResultNext] = std::move(image);
        mResultNext = (mResultNext + 1) % mResults.size();
        mDone.notify_all();
    }
}

}  // namespace kaleidoscope
}  // namespace content2021
