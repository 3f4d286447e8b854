#include "demo_song.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vizhost {

namespace {

constexpr float kTwoPi = 6.28318530718f;
constexpr float kRate = float(DemoSong::kSampleRate);

float midiToHz(int note) {
    return 440.0f * std::pow(2.0f, float(note - 69) / 12.0f);
}

// A small xorshift generator: the standard distributions are not the same on every standard
// library, and the song must be.
class Noise {
public:
    explicit Noise(uint32_t seed) : mState(seed != 0 ? seed : 1u) {}
    float next() {
        mState ^= mState << 13;
        mState ^= mState >> 17;
        mState ^= mState << 5;
        return float(mState) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t mState;
};

// A stereo buffer the instruments add into.
struct Mix {
    std::vector<float> left;
    std::vector<float> right;

    explicit Mix(float seconds)
        : left(size_t(seconds * kRate), 0.0f), right(size_t(seconds * kRate), 0.0f) {}

    size_t size() const { return left.size(); }
    void add(size_t i, float value, float pan) {
        if (i >= left.size()) {
            return;
        }
        // Equal-power panning, pan in -1..1.
        const float angle = (pan + 1.0f) * 0.25f * 3.14159265f;
        left[i] += value * std::cos(angle);
        right[i] += value * std::sin(angle);
    }
};

size_t at(float seconds) {
    return size_t(std::max(0.0f, seconds) * kRate);
}

// Sustained chord tones: detuned sines with a few harmonics, slow attack and release.
void pad(Mix& mix, float start, float length, const std::vector<int>& notes, float amplitude,
         float brightness, float attack) {
    const float release = std::min(1.0f, 0.4f * length);
    const size_t first = at(start);
    const size_t count = at(length + release);
    for (size_t n = 0; n < notes.size(); ++n) {
        const float f = midiToHz(notes[n]);
        for (int voice = 0; voice < 2; ++voice) {
            const float detune = voice == 0 ? 0.997f : 1.003f;
            const float pan = voice == 0 ? -0.5f : 0.5f;
            for (size_t i = 0; i < count; ++i) {
                const float t = float(i) / kRate;
                float env = std::min(1.0f, t / attack);
                if (t > length) {
                    env *= std::max(0.0f, 1.0f - (t - length) / release);
                }
                const float phase = kTwoPi * f * detune * t;
                const float tone = std::sin(phase) + brightness * 0.5f * std::sin(2.0f * phase) +
                                   brightness * 0.25f * std::sin(3.0f * phase);
                mix.add(first + i, amplitude * env * tone, pan);
            }
        }
    }
}

// A plucked or struck note: a few harmonics under an exponential decay.
void pluck(Mix& mix, float start, int note, float amplitude, float decay, float brightness,
           float pan) {
    const float f = midiToHz(note);
    const size_t first = at(start);
    const size_t count = at(decay * 6.0f);
    for (size_t i = 0; i < count; ++i) {
        const float t = float(i) / kRate;
        const float env = std::min(1.0f, t / 0.004f) * std::exp(-t / decay);
        const float phase = kTwoPi * f * t;
        const float tone = std::sin(phase) + brightness * 0.6f * std::sin(2.0f * phase) +
                           brightness * 0.4f * std::sin(4.0f * phase);
        mix.add(first + i, amplitude * env * tone, pan);
    }
}

// A pitch-swept sine: the kick drum.
void kick(Mix& mix, float start, float amplitude, float decay, float low) {
    const size_t first = at(start);
    const size_t count = at(decay * 7.0f);
    float phase = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        const float t = float(i) / kRate;
        const float f = low + 110.0f * std::exp(-t / 0.035f);
        phase += kTwoPi * f / kRate;
        const float env = std::min(1.0f, t / 0.002f) * std::exp(-t / decay);
        mix.add(first + i, amplitude * env * std::sin(phase), 0.0f);
    }
}

// Filtered noise with a tone under it: snares, claps and hats. `highpass` thins the noise
// (hats), `lowpass` darkens it.
void hit(Mix& mix, Noise& noise, float start, float amplitude, float decay, float tone,
         float toneAmount, float lowpass, bool highpass, float pan) {
    const size_t first = at(start);
    const size_t count = at(decay * 7.0f);
    const float a = 1.0f - std::exp(-kTwoPi * lowpass / kRate);
    float low = 0.0f;
    float previous = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        const float t = float(i) / kRate;
        const float raw = noise.next();
        low += a * (raw - low);
        float n = low;
        if (highpass) {
            n = low - previous;
            previous = low;
        }
        const float env = std::min(1.0f, t / 0.001f) * std::exp(-t / decay);
        const float body = toneAmount * std::sin(kTwoPi * tone * t) * std::exp(-t / (0.5f * decay));
        mix.add(first + i, amplitude * env * (n + body), pan);
    }
}

// A bass note: a band-limited saw through a low-pass and a drive stage.
void bass(Mix& mix, float start, float length, int note, float amplitude, float cutoff,
          float drive) {
    const float f = midiToHz(note);
    const size_t first = at(start);
    const size_t count = at(length + 0.02f);
    const float a = 1.0f - std::exp(-kTwoPi * cutoff / kRate);
    const float norm = std::tanh(drive);
    float low = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        const float t = float(i) / kRate;
        float saw = 0.0f;
        for (int h = 1; h <= 8; ++h) {
            saw += std::sin(kTwoPi * f * float(h) * t) / float(h);
        }
        low += a * (saw - low);
        float env = std::min(1.0f, t / 0.005f);
        if (t > length) {
            env *= std::max(0.0f, 1.0f - (t - length) / 0.02f);
        }
        mix.add(first + i, amplitude * env * std::tanh(drive * low) / norm, 0.0f);
    }
}

const std::vector<std::vector<int>> kChords = {
    {57, 60, 64},  // A minor
    {53, 57, 60},  // F major
    {55, 60, 64},  // C major
    {55, 59, 62},  // G major
};
const int kRoots[] = {45, 41, 48, 43};

std::vector<int> shifted(const std::vector<int>& notes, int semitones) {
    std::vector<int> out = notes;
    for (int& n : out) {
        n += semitones;
    }
    return out;
}

// Soft and calm: slow pads and a sparse, gentle bell.
void calmOpening(Mix& mix) {
    const float bar = DemoSong::kPartSeconds / 4.0f;
    for (int b = 0; b < 4; ++b) {
        pad(mix, b * bar, bar, kChords[b], 0.012f, 0.3f, 1.2f);
        const std::vector<int>& chord = kChords[b];
        pluck(mix, b * bar + 0.5f, chord[2] + 12, 0.02f, 0.6f, 0.2f, 0.3f);
        pluck(mix, b * bar + 2.4f, chord[0] + 12, 0.015f, 0.6f, 0.2f, -0.3f);
    }
}

// A moderate groove at 90 beats per minute: kick, snare, light hats, bass and pads.
void groove(Mix& mix, Noise& noise) {
    const float beat = 60.0f / 90.0f;
    const int beats = int(DemoSong::kPartSeconds / beat) + 1;
    for (int i = 0; i < beats; ++i) {
        const float t = i * beat;
        const int chord = (i / 4) % 4;
        if (i % 2 == 0) {
            kick(mix, t, 0.28f, 0.12f, 50.0f);
        } else {
            hit(mix, noise, t, 0.09f, 0.09f, 190.0f, 0.5f, 6000.0f, false, 0.0f);
        }
        hit(mix, noise, t + 0.5f * beat, 0.018f, 0.03f, 0.0f, 0.0f, 12000.0f, true, 0.4f);
        bass(mix, t, 0.5f * beat, kRoots[chord] - 12, 0.12f, 500.0f, 1.2f);
        if (i % 4 == 0) {
            pad(mix, t, 4.0f * beat, kChords[chord], 0.008f, 0.6f, 0.3f);
        }
    }
}

// Loud and dynamic at 128 beats per minute: a hard four-on-the-floor kick, loud claps, open
// hats, staccato bass and chord stabs, with a bar of only hats every fourth bar.
void loudDynamic(Mix& mix, Noise& noise) {
    const float beat = 60.0f / 128.0f;
    const int beats = int(DemoSong::kPartSeconds / beat) + 1;
    for (int i = 0; i < beats; ++i) {
        const float t = i * beat;
        const int bar = i / 4;
        const int chord = bar % 4;
        const bool breakBar = bar % 4 == 3;
        hit(mix, noise, t + 0.5f * beat, 0.10f, 0.06f, 0.0f, 0.0f, 16000.0f, true, 0.3f);
        if (breakBar) {
            continue;
        }
        kick(mix, t, 0.85f, 0.10f, 48.0f);
        if (i % 2 == 1) {
            hit(mix, noise, t, 0.40f, 0.10f, 220.0f, 0.4f, 9000.0f, false, 0.0f);
        }
        bass(mix, t + 0.5f * beat, 0.2f * beat, kRoots[chord] - 12, 0.30f, 900.0f, 2.0f);
        for (int n : kChords[chord]) {
            pluck(mix, t + 0.5f * beat, n + 12, 0.05f, 0.08f, 1.0f, 0.0f);
        }
    }
}

// Dark and powerful: a slow, heavy half-time beat over a distorted sub bass and low pads.
void darkPowerful(Mix& mix, Noise& noise) {
    const float beat = 60.0f / 70.0f;
    const int beats = int(DemoSong::kPartSeconds / beat) + 1;
    for (int i = 0; i < beats; ++i) {
        const float t = i * beat;
        const int chord = (i / 4) % 4;
        if (i % 4 == 0 || i % 8 == 5) {
            kick(mix, t, 0.9f, 0.25f, 38.0f);
        }
        if (i % 4 == 2) {
            hit(mix, noise, t, 0.35f, 0.18f, 140.0f, 0.8f, 900.0f, false, 0.0f);
        }
        if (i % 4 == 0) {
            bass(mix, t, 4.0f * beat, kRoots[chord] - 12, 0.32f, 220.0f, 4.0f);
            pad(mix, t, 4.0f * beat, shifted(kChords[chord], -24), 0.03f, 0.2f, 0.8f);
        }
    }
}

}  // namespace

AudioClip DemoSong::synthesizePart(uint32_t part) {
    static const char* const kNames[kPartCount] = {
        "demo song, part 1: soft and calm",
        "demo song, part 2: moderate groove",
        "demo song, part 3: loud and dynamic",
        "demo song, part 4: dark and powerful",
    };
    part = std::min(part, kPartCount - 1);
    Mix mix(kPartSeconds);
    Noise noise(0x5eed0000u + part);
    float drive = 1.0f;
    switch (part) {
        case 0:
            calmOpening(mix);
            break;
        case 1:
            groove(mix, noise);
            break;
        case 2:
            loudDynamic(mix, noise);
            drive = 1.6f;
            break;
        default:
            darkPowerful(mix, noise);
            drive = 1.8f;
            break;
    }

    AudioClip clip;
    clip.name = kNames[part];
    clip.sampleRate = kSampleRate;
    clip.channels = 2;
    clip.samples.resize(mix.size() * 2);
    // Soft clipping keeps the loud parts loud without going past full scale; short fades at
    // both ends keep the track changes free of clicks.
    const size_t fade = at(0.02f);
    for (size_t i = 0; i < mix.size(); ++i) {
        float gain = 1.0f;
        if (i < fade) {
            gain = float(i) / float(fade);
        } else if (i + fade > mix.size()) {
            gain = float(mix.size() - i) / float(fade);
        }
        clip.samples[2 * i] = gain * std::tanh(drive * mix.left[i]) * 0.98f;
        clip.samples[2 * i + 1] = gain * std::tanh(drive * mix.right[i]) * 0.98f;
    }
    mixToMono(clip);
    return clip;
}

std::vector<AudioClip> DemoSong::synthesize() {
    std::vector<AudioClip> parts;
    for (uint32_t p = 0; p < kPartCount; ++p) {
        parts.push_back(synthesizePart(p));
    }
    return parts;
}

}  // namespace vizhost
