#include "visualization/content/2021/kaleidoscope/image_loader.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform.h"

namespace content2021 {
namespace kaleidoscope {

namespace {

// fs::loadTextureData without its log lines, which may only be written on the render thread.
DecodedImage decode(const std::string& path) {
    DecodedImage image;
    image.path = path;
    const long long start = platform_clock_now_ns();
    std::ifstream file(path, std::ios::binary);
    if (file) {
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
        image.pixels = fs::decodeTextureData(bytes, &image.width, &image.height, &image.channels);
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
        lock.unlock();
        DecodedImage image = decode(mBusyPath);
        lock.lock();
        mBusy = false;
        mResults[mResultNext] = std::move(image);
        mResultNext = (mResultNext + 1) % mResults.size();
        mDone.notify_all();
    }
}

}  // namespace kaleidoscope
}  // namespace content2021
