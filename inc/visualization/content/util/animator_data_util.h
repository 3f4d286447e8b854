// Beat triggers shared by the animators of every content family.
#pragma once

#include <cstddef>
#include <vector>

// A hysteresis trigger on a value in 0..1: it switches on at `high` and only switches off again
// once the value has fallen to `low`, so a level hovering around one threshold fires once.
struct RelThreshold {
    float low = 0.35f;
    float high = 0.65f;
    bool active = false;
    // Set on the frame the trigger switched on; the owner clears it once it has reacted.
    bool triggered = false;

    RelThreshold() = default;
    RelThreshold(float lowLevel, float highLevel) : low(lowLevel), high(highLevel) {}
};

// A trigger whose firing starts a pulse of 1.0 that decays by one unit per second, with a short
// history of the pulse (newest at index 0) for effects that travel with the beat.
struct RelThresholdHistory {
    RelThreshold threshold;
    std::vector<float> data;
    float value = 0.0f;

    RelThresholdHistory(float low, float high, size_t length)
        : threshold(low, high), data(length, 0.0f) {}
};

void update_threshold(RelThreshold& threshold, float x);
void update_threshold_history(RelThresholdHistory& history, float x, float dt);
