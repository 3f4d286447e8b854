#include "visualization/util/math/vector.h"

#include <cmath>

namespace math {

float length(const vec3f& v) {
    return std::sqrt(dot(v, v));
}

vec3f normalize(const vec3f& v) {
    const float l = length(v);
    return l > 0.0f ? v * (1.0f / l) : v;
}

}  // namespace math
