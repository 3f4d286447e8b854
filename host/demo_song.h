// The built-in demo song, synthesised on the spot so the host needs no music file: four parts
// of clearly different character, each its own track, so that a render passes through several
// sound classes and track changes. Everything is computed from fixed seeds: the same build
// always produces the same samples.
#pragma once

#include <cstdint>
#include <vector>

#include "audio_clip.h"

namespace vizhost {

class DemoSong {
public:
    static constexpr uint32_t kSampleRate = 48000;
    static constexpr float kPartSeconds = 15.0f;
    static constexpr uint32_t kPartCount = 4;

    // The four parts in order: a soft, calm opening; a moderate groove; a loud, dynamic part
    // with strong beats; a dark, powerful part.
    static std::vector<AudioClip> synthesize();
    static AudioClip synthesizePart(uint32_t part);
};

}  // namespace vizhost
