#include "visualization/content/2021/lines/line.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "visualization/util/math/scalar.h"

namespace content2021 {
namespace lines {

namespace {

constexpr float kEpsilon = std::numeric_limits<float>::epsilon();

vec3f mixPoint(const vec3f& a, const vec3f& b, float t) {
    return a + (b - a) * t;
}

// The share of the way covered in dt when `easing` of the distance is left after one second.
float easeFactor(float easing, float dt) {
    return 1.0f - std::pow(easing, dt);
}

// Any unit vector perpendicular to the unit vector v.
vec3f perpendicular(const vec3f& v) {
    const vec3f axis = std::fabs(v.x) < 0.9f ? vec3f{1.0f, 0.0f, 0.0f} : vec3f{0.0f, 1.0f, 0.0f};
    return math::normalize(math::cross(v, axis));
}

// Turns the frame of `point` to a new tangent, keeping its normal as close to `previousNormal`
// as the tangent allows.
void carryFrame(LinePoint& point, const vec3f& tangent, const vec3f& previousNormal) {
    point.tangent = tangent;
    vec3f binormal = math::cross(tangent, previousNormal);
    // A tangent turned onto the old normal leaves no plane to carry; any perpendicular will do
    // for the one frame in which that happens.
    if (math::dot(binormal, binormal) < 1e-12f) {
        binormal = math::cross(tangent, perpendicular(tangent));
    }
    point.binormal = math::normalize(binormal);
    point.normal = math::normalize(math::cross(point.binormal, tangent));
}

}  // namespace

Line::Line(const vec3f& position, size_t count, uint32_t sideCount)
    : head(position), headTarget(position) {
    drawable.points.resize(count);
    for (LinePoint& point : drawable.points) {
        point.position = position;
    }
    drawable.sides = sideCount;
}

void Line::update(float dt, const LineGradient& gradient, float radiusFactor) {
    std::vector<LinePoint>& p = drawable.points;
    head = mixPoint(head, headTarget, easeFactor(headEasing, dt));
    if (p.empty()) {
        return;
    }
    p[0].position = mixPoint(p[0].position, head, easeFactor(followEasing, dt));

    const size_t count = p.size();
    const float f = std::max(slack, 2.0f * kEpsilon);
    const float spacing = (length / static_cast<float>(count)) * (2.0f - f);
    for (size_t i = 1; i < count; ++i) {
        vec3f d = p[i].position - p[i - 1].position;
        const float len = math::length(d);
        if (len < spacing) {
            // Points on top of each other keep the direction the tube had there.
            d = len > kEpsilon ? d * (spacing / len) : p[i].tangent * spacing;
        }
        p[i].position = p[i - 1].position + d * f;
        const vec3f tangent = math::normalize(p[i].position - p[i - 1].position);
        if (i == 1) {
            // The head point has no predecessor: it takes the first link's direction and carries
            // its own normal over from the last frame.
            carryFrame(p[0], tangent, p[0].normal);
        }
        carryFrame(p[i], tangent, p[i - 1].normal);
    }

    const float thickness = math::mix(thicknessMin, thicknessMax, thicknessMix);
    const float last = count > 1 ? static_cast<float>(count - 1) : 1.0f;
    for (size_t i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / last;
        p[i].color = sample_color(gradient.data(), gradient.size(), t);
        p[i].radius = math::mix(radiusStart, math::mix(radiusMid, radiusEnd, t), t) * thickness *
                      radiusFactor;
    }
}

}  // namespace lines
}  // namespace content2021
