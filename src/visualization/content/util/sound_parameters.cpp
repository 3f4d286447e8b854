#include "visualization/content/util/sound_parameters.h"

#include <vector>

float newestMaxNormalized(const SoundInput& sound) {
    const std::vector<float>& history = sound.getSpectrum().historyMaxNormalized();
    return history.empty() ? 0.0f : history.front();
}

float newestMinNormalized(const SoundInput& sound) {
    const std::vector<float>& history = sound.getSpectrum().historyMinNormalized();
    return history.empty() ? 0.0f : history.front();
}
