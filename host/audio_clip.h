// Decoded music: interleaved float samples at the file's own rate, plus the mono mix the band
// analysis reads. Decoding and the temporary WAV files for the video muxer go through libsndfile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vizhost {

struct AudioClip {
    std::string name;
    uint32_t sampleRate = 0;
    uint32_t channels = 0;
    std::vector<float> samples;  // interleaved, frames x channels
    std::vector<float> mono;     // one value per frame, the mean of the channels

    size_t frameCount() const { return mono.size(); }
    double duration() const { return sampleRate == 0 ? 0.0 : double(mono.size()) / sampleRate; }
};

// Fills `mono` from `samples`.
void mixToMono(AudioClip& clip);

// Decodes any file libsndfile reads (WAV, FLAC, Ogg, MP3, ...). On failure returns false and
// says why in `error`, naming the file.
bool decodeAudioFile(const std::string& path, AudioClip& clip, std::string& error);

// Writes `frames` frames of the clip as a 16-bit WAV at its own rate, padding with silence past
// its end, so that a track's sound lasts exactly as long as its pictures.
bool writeWavFile(const std::string& path, const AudioClip& clip, size_t frames,
                  std::string& error);

}  // namespace vizhost
