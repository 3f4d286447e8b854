// glm as the independent oracle for the library's own matrix code.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "visualization/util/math/mat44.h"

namespace testsupport {

inline glm::mat4 toGlm(const math::mat44<float>& m) {
    return glm::make_mat4(m.data());
}

// Element by element, relative to the expected magnitude where that exceeds 1.
inline ::testing::AssertionResult matches(const math::mat44<float>& actual,
                                          const glm::mat4& expected, float tolerance = 1e-5f) {
    const float* e = glm::value_ptr(expected);
    for (int i = 0; i < 16; ++i) {
        if (std::fabs(actual[i] - e[i]) > tolerance * std::max(1.0f, std::fabs(e[i]))) {
            return ::testing::AssertionFailure()
                   << "element " << i << " is " << actual[i] << ", expected " << e[i];
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace testsupport
