// New random orders for a playlist that wraps around: the new order never starts with either of
// the last two items of the previous one, so no item plays twice in a row or with only one item
// between across the wrap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

#include "visualization/util/assert.h"

namespace util {

// With two items the first of the new order could only repeat one of the last two.
constexpr size_t NUM_ELEMENTS_MIN_RESHUFFABLE = 3;

// Integers evenly spread over [min, max], drawn from the engine in the same way whatever the
// standard library. std::uniform_int_distribution leaves its method to the library, and the
// libraries differ: the web build's would play the modes in another order, with other palettes,
// than the native build from the same seed. This is the multiply-and-shift with rare rejections
// that GCC's library uses for a 32-bit engine, so the native build draws what it always drew.
class UniformInt {
public:
    UniformInt() = default;
    UniformInt(int min, int max)
        : mMin(min), mRange(static_cast<uint32_t>(int64_t(max) - int64_t(min) + 1)) {}

    int operator()(std::mt19937& engine) const {
        if (mRange == 0) {  // all 2^32 values
            return static_cast<int>(static_cast<uint32_t>(mMin) + static_cast<uint32_t>(engine()));
        }
        uint64_t product = uint64_t(engine()) * mRange;
        uint32_t low = static_cast<uint32_t>(product);
        if (low < mRange) {
            const uint32_t threshold = (0u - mRange) % mRange;
            while (low < threshold) {
                product = uint64_t(engine()) * mRange;
                low = static_cast<uint32_t>(product);
            }
        }
        return static_cast<int>(int64_t(mMin) + int64_t(product >> 32));
    }

private:
    int mMin = 0;
    uint32_t mRange = 1;
};

// Rewrites `data` (holding the previous order) with a new permutation of the values that
// `distribution` produces. The distribution must yield exactly `length` distinct values, the
// previous entries among them; the draws are rejection sampling against the whole array.
template <typename T>
void reshuffle(T* data, size_t length, const UniformInt& distribution, std::mt19937& engine) {
    VIZ_ASSERT(length >= NUM_ELEMENTS_MIN_RESHUFFABLE);

    const T last = data[length - 1];
    const T secondLast = data[length - 2];
    data[0] = last;
    while (data[0] == last || data[0] == secondLast) {
        data[0] = static_cast<T>(distribution(engine));
    }

    // Filling the tail with the first value lets the uniqueness test below scan the whole array
    // without tracking how much of it is already placed.
    for (size_t i = 1; i < length; ++i) {
        data[i] = data[0];
    }
    for (size_t i = 1; i < length; ++i) {
        T candidate;
        bool taken;
        do {
            candidate = static_cast<T>(distribution(engine));
            taken = false;
            for (size_t j = 0; j < length; ++j) {
                if (data[j] == candidate) {
                    taken = true;
                    break;
                }
            }
        } while (taken);
        data[i] = candidate;
    }
}

}  // namespace util
