#include "visualization/util/random.h"

#include <cmath>
#include <random>

#include "platform.h"

namespace util {

namespace {

std::mt19937 gEngine(0);
std::uniform_real_distribution<float> gUnit(0.0f, 1.0f);

}  // namespace

uint32_t makeRandomSeed() {
    return static_cast<uint32_t>(platform_clock_now_ns());
}

void setRandomSeed(uint32_t seed) {
    gEngine.seed(seed);
}

float random01() {
    const float value = gUnit(gEngine);
    // The float distribution can round its largest draws up to exactly 1; keep the interval
    // half-open so randomInt never yields max + 1.
    return value < 1.0f ? value : std::nextafter(1.0f, 0.0f);
}

float randomRange(float min, float max) {
    return min + (max - min) * random01();
}

int randomInt(int min, int max) {
    const int value = static_cast<int>(
        std::floor(randomRange(static_cast<float>(min), static_cast<float>(max) + 1.0f)));
    // Over wide ranges float rounding alone can reach max + 1.
    return value > max ? max : value;
}

}  // namespace util
