// The process-wide random source behind every randomised decision of the contents: one 32-bit
// Mersenne Twister and one uniform [0, 1) distribution. Seeded with 0 at load time and reseeded
// when a Visualization is built; render thread only, unsynchronised.
#pragma once

#include <cstdint>

namespace util {

// The steady clock (through the platform clock seam) truncated to 32 bits, so a manual clock
// gives reproducible seeds.
uint32_t makeRandomSeed();
void setRandomSeed(uint32_t seed);

// Uniform in [0, 1).
float random01();
// min + (max - min) * random01().
float randomRange(float min, float max);
// Uniform over min..max, both bounds included.
int randomInt(int min, int max);

}  // namespace util
