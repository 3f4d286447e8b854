#include "video_writer.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace vizhost {

VideoWriter::~VideoWriter() {
    if (mPipe >= 0 || mChild > 0) {
        std::string ignored;
        close(ignored);
    }
    cleanUp();
}

std::string VideoWriter::findFfmpeg() {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    size_t begin = 0;
    while (begin <= dirs.size()) {
        size_t end = dirs.find(':', begin);
        if (end == std::string::npos) {
            end = dirs.size();
        }
        const std::string dir = dirs.substr(begin, end - begin);
        const std::string candidate = (dir.empty() ? "." : dir) + "/ffmpeg";
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        begin = end + 1;
    }
    return {};
}

bool VideoWriter::open(const std::string& path, uint32_t width, uint32_t height, uint32_t frameRate,
                       const std::vector<AudioSegment>& audio, std::string& error) {
    const std::string ffmpeg = findFfmpeg();
    if (ffmpeg.empty()) {
        error = "the ffmpeg program is needed to write " + path + " but is not installed";
        return false;
    }
    char pattern[] = "/tmp/vizhost-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        error = std::string("cannot make a temporary directory: ") + std::strerror(errno);
        return false;
    }
    mTempDir = pattern;
    mPath = path;
    mFrameBytes = size_t(width) * height * 4;

    std::vector<std::string> args = {
        ffmpeg,       "-hide_banner",
        "-loglevel",  "error",
        "-nostdin",   "-y",
        "-f",         "rawvideo",
        "-pix_fmt",   "rgba",
        "-s",         std::to_string(width) + "x" + std::to_string(height),
        "-framerate", std::to_string(frameRate),
        "-i",         "pipe:0"};
    size_t inputs = 0;
    for (const AudioSegment& segment : audio) {
        if (segment.clip == nullptr || segment.videoFrames == 0) {
            continue;
        }
        const std::string wav = mTempDir + "/track" + std::to_string(inputs) + ".wav";
        const size_t samples =
            size_t(double(segment.videoFrames) * segment.clip->sampleRate / frameRate + 0.5);
        if (!writeWavFile(wav, *segment.clip, samples, error)) {
            cleanUp();
            return false;
        }
        args.insert(args.end(), {"-i", wav});
        ++inputs;
    }
    args.insert(args.end(), {"-map", "0:v"});
    if (inputs == 1) {
        args.insert(args.end(), {"-map", "1:a"});
    } else if (inputs > 1) {
        // The concat filter also brings tracks of different sample rates to one.
        std::string graph;
        for (size_t i = 0; i < inputs; ++i) {
            graph += "[" + std::to_string(i + 1) + ":a]";
        }
        graph += "concat=n=" + std::to_string(inputs) + ":v=0:a=1[music]";
        args.insert(args.end(), {"-filter_complex", graph, "-map", "[music]"});
    }
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "20", "-pix_fmt",
                             "yuv420p", "-movflags", "+faststart"});
    if (inputs > 0) {
        args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k"});
    }
    args.push_back(path);

    int fds[2];
    if (pipe(fds) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        cleanUp();
        return false;
    }
    // A dying ffmpeg must show up as a failed write, not kill the host.
    std::signal(SIGPIPE, SIG_IGN);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const std::string log = mTempDir + "/ffmpeg.log";
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    const int spawned =
        posix_spawn(&child, ffmpeg.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[0]);
    if (spawned != 0) {
        ::close(fds[1]);
        error = "cannot start " + ffmpeg + ": " + std::strerror(spawned);
        cleanUp();
        return false;
    }
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    mPipe = fds[1];
    mChild = child;
    return true;
}

bool VideoWriter::write(const uint8_t* rgba, std::string& error) {
    if (mPipe < 0) {
        error = "the video is not open";
        return false;
    }
    size_t done = 0;
    while (done < mFrameBytes) {
        const ssize_t n = ::write(mPipe, rgba + done, mFrameBytes - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // close() waits for ffmpeg and picks up its last words.
            if (close(error)) {
                error = "ffmpeg stopped taking frames for " + mPath;
            }
            return false;
        }
        done += size_t(n);
    }
    return true;
}

bool VideoWriter::close(std::string& error) {
    if (mPipe >= 0) {
        ::close(mPipe);
        mPipe = -1;
    }
    bool ok = true;
    if (mChild > 0) {
        int status = 0;
        while (waitpid(mChild, &status, 0) < 0 && errno == EINTR) {
        }
        mChild = -1;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            error = "ffmpeg could not write " + mPath + ffmpegError();
            ok = false;
        }
    }
    cleanUp();
    return ok;
}

std::string VideoWriter::ffmpegError() const {
    std::ifstream log(mTempDir + "/ffmpeg.log");
    std::string line;
    std::string last;
    while (std::getline(log, line)) {
        if (!line.empty()) {
            last = line;
        }
    }
    return last.empty() ? std::string() : ": " + last;
}

void VideoWriter::cleanUp() {
    if (!mTempDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(mTempDir, ignored);
        mTempDir.clear();
    }
}

}  // namespace vizhost
