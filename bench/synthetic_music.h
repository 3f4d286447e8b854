// The music the 2021 family benchmarks play: eight bands swelling and falling out of phase, with a
// beat every half second, in one sound class, so that the modes' triggers fire as on a real song.
#pragma once

#include <algorithm>
#include <cmath>

#include "visualization/sound_input.h"

namespace bench {

class SyntheticMusic {
public:
    // Past the 240-frame histories, so the first measured frame sees full ones.
    explicit SyntheticMusic(SoundClass soundClass) {
        sound.setSoundClass(soundClass, true);
        for (int i = 0; i < 240; ++i) {
            next();
        }
    }

    void next() {
        ++mFrame;
        const float beat = (mFrame % 30) < 3 ? 1.0f : 0.0f;
        float bands[8];
        for (int i = 0; i < 8; ++i) {
            const float level = 0.45f + 0.3f * std::sin(mFrame * 0.07f + i) + 0.25f * beat;
            bands[i] = -120.0f + 110.0f * std::min(1.0f, std::max(0.0f, level));
        }
        sound.setBandsInfo(bands, 8);
        sound.update(1.0f / 60.0f);
    }

    SoundInput sound;

private:
    int mFrame = 0;
};

}  // namespace bench
