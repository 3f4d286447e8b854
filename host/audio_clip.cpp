#include "audio_clip.h"

#include <sndfile.h>

#include <algorithm>
#include <filesystem>

#include "quiet_stderr.h"

namespace vizhost {

bool decodeAudioFile(const std::string& path, AudioClip& clip, std::string& error) {
    std::error_code failed;
    if (!std::filesystem::is_regular_file(path, failed)) {
        error = "no such music file: " + path;
        return false;
    }
    SF_INFO info{};
    SNDFILE* file = withoutStderr([&] { return sf_open(path.c_str(), SFM_READ, &info); });
    if (file == nullptr) {
        // The file exists and is regular, so whatever libsndfile answers (for a file of
        // another kind it blames the file system), none of its decoders recognised it.
        error = "cannot decode " + path + ": not audio this host can read (WAV, FLAC, Ogg or MP3)";
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1000 || info.samplerate > 768000) {
        sf_close(file);
        error = "cannot decode " + path + ": unsupported channel count or sample rate";
        return false;
    }
    clip = AudioClip{};
    clip.name = path;
    clip.sampleRate = uint32_t(info.samplerate);
    clip.channels = uint32_t(info.channels);
    // Some formats only know their length once read to the end, so read in chunks.
    const sf_count_t chunkFrames = 65536;
    std::vector<float> chunk(size_t(chunkFrames) * clip.channels);
    for (;;) {
        const sf_count_t read =
            withoutStderr([&] { return sf_readf_float(file, chunk.data(), chunkFrames); });
        if (read <= 0) {
            break;
        }
        clip.samples.insert(clip.samples.end(), chunk.begin(),
                            chunk.begin() + read * sf_count_t(clip.channels));
    }
    const int status = sf_error(file);
    sf_close(file);
    if (status != SF_ERR_NO_ERROR) {
        error = "cannot decode " + path + ": " + sf_error_number(status);
        return false;
    }
    if (clip.samples.empty()) {
        error = "cannot decode " + path + ": it holds no sound";
        return false;
    }
    // Decoders of lossy formats can overshoot full scale slightly, and a broken file can hold
    // NaN: neither may reach the analysis or the speakers.
    for (float& s : clip.samples) {
        s = (s == s) ? std::clamp(s, -1.0f, 1.0f) : 0.0f;
    }
    mixToMono(clip);
    return true;
}

bool writeWavFile(const std::string& path, const AudioClip& clip, size_t frames,
                  std::string& error) {
    SF_INFO info{};
    info.samplerate = int(clip.sampleRate);
    info.channels = int(clip.channels);
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    const size_t available = std::min(frames, clip.frameCount());
    bool ok =
        sf_writef_float(file, clip.samples.data(), sf_count_t(available)) == sf_count_t(available);
    if (ok && frames > available) {
        const std::vector<float> silence((frames - available) * clip.channels, 0.0f);
        ok = sf_writef_float(file, silence.data(), sf_count_t(frames - available)) ==
             sf_count_t(frames - available);
    }
    const int status = sf_close(file);
    if (!ok || status != 0) {
        error = "cannot write " + path + ": the disk refused the samples";
        return false;
    }
    return true;
}

}  // namespace vizhost
