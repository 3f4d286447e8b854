// What a deployment's photograph folder may hold besides photographs, through the shared object's
// ten functions: the kaleidoscope skips any file that is no regular file, logging it, and the
// instance goes when it is told to.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "library/library_api.h"
#include "support/log_capture.h"
#include "support/test_output.h"

using testsupport::LogCapture;
namespace stdfs = std::filesystem;

namespace {

constexpr int kFramesPerCall = 5;
constexpr int kCallsPerMode = 14;
constexpr int kModes = 31;

// A reader stuck on the pipe would hold the render thread (which waits for the photograph it
// shows) or the terminate (which joins the worker) for ever: when no pet comes for longer than any
// call should take (even under the sanitizers), the watchdog opens the pipe for writing and closes
// it, which ends such a wait, and the test fails.
class PipeWatchdog {
public:
    explicit PipeWatchdog(const std::string& pipe)
        : mThread([this, pipe] {
              std::unique_lock<std::mutex> lock(mMutex);
              while (!mDone) {
                  const unsigned pets = mPets;
                  if (!mWake.wait_for(lock, std::chrono::seconds(20),
                                      [&] { return mDone || mPets != pets; })) {
                      mFired = true;
                      const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
                      if (fd >= 0) {
                          ::close(fd);
                      }
                  }
              }
          }) {}
    ~PipeWatchdog() {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mDone = true;
        }
        mWake.notify_all();
        mThread.join();
    }
    // Whether the time between two pets ran out.
    bool fired() const { return mFired; }
    void pet() {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            ++mPets;
        }
        mWake.notify_all();
    }

private:
    std::mutex mMutex;
    std::condition_variable mWake;
    bool mDone = false;
    unsigned mPets = 0;
    std::atomic<bool> mFired{false};
    std::thread mThread;
};

// A copy of the resource folder in the build's scratch space whose photographs are one good one, a
// named pipe and a link to /dev/zero; every other asset is linked from the source tree.
class Photographs : public testsupport::LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        mScratch =
            stdfs::path(testsupport::testOutputDir()) / ("photographs-" + std::to_string(getpid()));
        stdfs::remove_all(mScratch);
        const stdfs::path source = stdfs::path(testsupport::sourceDir()) / "res";
        const stdfs::path res = mScratch / "res";
        linkAllBut(source, res, "images");
        linkAllBut(source / "images", res / "images", "kaleidoscope_default");
        mPhotos = res / "images" / "kaleidoscope_default";
        stdfs::create_directories(mPhotos);
        stdfs::create_symlink(source / "images" / "kaleidoscope_default" / "chelsea.jpg",
                              mPhotos / "chelsea.jpg");
        mPipe = (mPhotos / "pipe.jpg").string();
        ASSERT_EQ(mkfifo(mPipe.c_str(), 0600), 0);
        mZero = (mPhotos / "zero.png").string();
        stdfs::create_symlink("/dev/zero", mZero);
        // The library keeps a resource path relative to the working directory.
        mResPath = stdfs::relative(res, stdfs::current_path()).string();
        useTarget(96, 54);
    }
    void TearDown() override {
        LibraryTest::TearDown();
        stdfs::remove_all(mScratch);
    }

    static void linkAllBut(const stdfs::path& from, const stdfs::path& to,
                           const std::string& except) {
        stdfs::create_directories(to);
        for (const stdfs::directory_entry& entry : stdfs::directory_iterator(from)) {
            if (entry.path().filename() != except) {
                stdfs::create_symlink(entry.path(), to / entry.path().filename());
            }
        }
    }

    void play(int calls, PipeWatchdog& watchdog) {
        for (int i = 0; i < calls; ++i) {
            watchdog.pet();
            sendBeatingBands(kFramesPerCall);
            platform_clock_advance(kFramesPerCall * kFrameNs);
            api.OnUpdateGlApp();
            ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        }
    }

    stdfs::path mScratch;
    stdfs::path mPhotos;
    std::string mPipe;
    std::string mZero;
    std::string mResPath;
};

}  // namespace

TEST_F(Photographs, APipeAndADeviceAmongThemAreSkippedAndLogged) {
    LogCapture log;
    PipeWatchdog watchdog(mPipe);
    api.OnCreateGlApp(mResPath.c_str(), 0);
    api.UpdateSpeakerInfo(0);
    play(7 * 12, watchdog);  // the intro and the speaker overlay
    // One lap of the playlist: the five kaleidoscope modes show the three photographs.
    for (int change = 0; change < kModes; ++change) {
        api.UpdateTrackChange();
        play(kCallsPerMode, watchdog);
    }
    const auto start = std::chrono::steady_clock::now();
    api.OnTerminateGlApp();
    const auto terminateMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count();
    EXPECT_FALSE(watchdog.fired()) << "a call waited on the pipe";
    EXPECT_LT(terminateMs, 2000);

    const std::string scope = "[content2021][kaleidoscope][Renderer][updateTexture] ";
    for (const std::string& path : {mPipe, mZero}) {
        const std::string relative =
            mResPath + "/images/kaleidoscope_default/" + stdfs::path(path).filename().string();
        EXPECT_TRUE(log.contains("[fs] Binary could not be loaded: " + relative + "\n"))
            << relative;
        EXPECT_TRUE(
            log.contains(scope + "Asset \"" + relative + "\" has invalid number of channels: 0"))
            << relative;
    }
    EXPECT_FALSE(log.matching("Asset size: 451x300, num channels: 3").empty())
        << "the good photograph is shown";
}
