#include "visualization/content/util/animator_data_util.h"

#include <algorithm>

#include "visualization/util/assert.h"

void update_threshold(RelThreshold& threshold, float x) {
    if (threshold.active && threshold.low >= x) {
        threshold.active = false;
    }
    if (!threshold.active && threshold.high <= x) {
        threshold.active = true;
        threshold.triggered = true;
    }
}

void update_threshold_history(RelThresholdHistory& history, float x, float dt) {
    VIZ_ASSERT(history.data.size() >= 5);
    update_threshold(history.threshold, x);
    if (history.threshold.triggered) {
        history.value = 1.0f;
    }
    history.threshold.triggered = false;
    std::copy_backward(history.data.begin(), history.data.end() - 1, history.data.end());
    history.data[0] = history.value;
    history.value = std::max(history.value - std::min(dt, 1.0f), 0.0f);
}
