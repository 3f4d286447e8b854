// Apart from the decoding, which needs libsndfile, so that the demo song builds where it does not
// (the web page).
#include <algorithm>

#include "audio_clip.h"

namespace vizhost {

void mixToMono(AudioClip& clip) {
    const size_t channels = std::max<size_t>(clip.channels, 1);
    const size_t frames = clip.samples.size() / channels;
    clip.mono.assign(frames, 0.0f);
    const float scale = 1.0f / float(channels);
    for (size_t f = 0; f < frames; ++f) {
        float sum = 0.0f;
        for (size_t c = 0; c < channels; ++c) {
            sum += clip.samples[f * channels + c];
        }
        clip.mono[f] = sum * scale;
    }
}

}  // namespace vizhost
