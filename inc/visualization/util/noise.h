// Two- and three-dimensional simplex noise over the reference permutation of improved noise.
// Pure functions: deterministic, stateless, no allocation. Values lie within about -1 to 1 and
// are 0 at the corners of the simplex grid, the origin among them.
#pragma once

namespace math {

float noise(float x, float y);
float noise(float x, float y, float z);

}  // namespace math
