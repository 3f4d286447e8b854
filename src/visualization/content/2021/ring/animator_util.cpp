#include "visualization/content/2021/ring/animator_util.h"

#include <algorithm>
#include <cmath>

#include "visualization/util/assert.h"
#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace ring {

void easeBuffer(std::vector<float>* buffer, const std::vector<float>& data, float t) {
    VIZ_ASSERT(data.size() == buffer->size());
    for (size_t i = 0; i < data.size(); ++i) {
        (*buffer)[i] += (data[i] - (*buffer)[i]) * t;
    }
}

void rotateBuffer(std::vector<float>& out, const std::vector<float>& in, int shift) {
    out.resize(in.size());
    const int size = static_cast<int>(in.size());
    for (int i = 0; i < size; ++i) {
        out[static_cast<size_t>(i)] = in[static_cast<size_t>(((i + shift) % size + size) % size)];
    }
}

void resampleCosine(std::vector<float>& out, const std::vector<float>& in) {
    const size_t n = out.size();
    const size_t m = in.size();
    if (m == 0) {
        std::fill(out.begin(), out.end(), 0.0f);
        return;
    }
    for (size_t i = 0; i < n; ++i) {
        const float p = static_cast<float>(m - 1) * static_cast<float>(i) / static_cast<float>(n);
        const size_t i0 = static_cast<size_t>(std::floor(p));
        const size_t i1 = std::min(i0 + 1, m - 1);
        const float f = p - std::floor(p);
        const float w = (1.0f - std::cos(math::kPi * f)) / 2.0f;
        out[i] = in[i0] + (in[i1] - in[i0]) * w;
    }
}

void resampleNearest(std::vector<float>& out, const std::vector<float>& in) {
    const size_t n = out.size();
    const size_t m = in.size();
    if (m == 0) {
        std::fill(out.begin(), out.end(), 0.0f);
        return;
    }
    for (size_t i = 0; i < n; ++i) {
        out[i] = in[static_cast<size_t>(
            std::floor(static_cast<float>(m - 1) * static_cast<float>(i) / static_cast<float>(n)))];
    }
}

float sample(const std::vector<float>& list, float x) {
    if (list.empty()) {
        return 0.0f;
    }
    const float t = std::min(std::max(x, 0.0f), 1.0f);
    return list[static_cast<size_t>(t * static_cast<float>(list.size() - 1))];
}

math::mat44<float> rotateX(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    math::mat44<float> m;
    m[5] = c, m[6] = s, m[9] = -s, m[10] = c;
    return m;
}

math::mat44<float> rotateY(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    math::mat44<float> m;
    m[0] = c, m[2] = -s, m[8] = s, m[10] = c;
    return m;
}

math::mat44<float> rotateZ(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    math::mat44<float> m;
    m[0] = c, m[1] = s, m[4] = -s, m[5] = c;
    return m;
}

math::mat44<float> translate(float x, float y, float z) {
    math::mat44<float> m;
    m[12] = x, m[13] = y, m[14] = z;
    return m;
}

math::mat44<float> scale(float x, float y, float z) {
    math::mat44<float> m;
    m[0] = x, m[5] = y, m[10] = z;
    return m;
}

namespace {

float distance(const vec3f& a, const vec3f& b) {
    const vec3f d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

}  // namespace

void HalfTurns::startNext() {
    if (!(distance(current, target) <= 0.1f)) {
        return;
    }
    int last = 2;
    if (distance(current, {1.0f, 0.0f, 0.0f}) <= 0.1f) {
        last = 0;
    } else if (distance(current, {0.0f, 1.0f, 0.0f}) <= 0.1f) {
        last = 1;
    }
    int axis = last;
    while (axis == last) {
        axis = util::randomInt(0, 2);
    }
    sign *= util::random01() >= 0.5f ? 1.0f : -1.0f;
    (axis == 0 ? target.x : (axis == 1 ? target.y : target.z)) += sign * math::kPi;
}

namespace {

math::mat44<float> segmentFrame(float angle, float distance, float roll, const vec3f& size) {
    return rotateY(angle) * translate(0.0f, 0.0f, distance) * rotateX(roll) *
           rotateY(-math::kPi / 2.0f) * scale(size.z, size.y, 1.0f);
}

vec3f transformPoint(const math::mat44<float>& m, const vec3f& p) {
    float x = p.x, y = p.y, z = p.z, w = 1.0f;
    m.transform(x, y, z, w);
    return {x, y, z};
}

vec3f mixPoint(const vec3f& a, const vec3f& b, float t) {
    return {math::mix(a.x, b.x, t), math::mix(a.y, b.y, t), math::mix(a.z, b.z, t)};
}

}  // namespace

void buildWedges(const std::vector<WedgeAxisAligned>& segments, const RingGeometry& ring,
                 std::vector<WedgeGeometry>& wedges) {
    const size_t n = segments.size();
    VIZ_ASSERT(n <= kMaxWedges);
    wedges.resize(n);
    const float h = ring.width / 2.0f;
    const vec3f section[4] = {{-h, -h, 0.0f}, {h, -h, 0.0f}, {h, h, 0.0f}, {-h, h, 0.0f}};
    for (size_t i = 0; i < n; ++i) {
        const WedgeAxisAligned& segment = segments[i];
        const WedgeAxisAligned& next = segments[(i + 1) % n];
        const float distance = ring.radius + segment.push * ring.radius;
        float rollNext = next.roll;
        if (i + 1 == n) {
            rollNext -= static_cast<float>(ring.rollTurns) * math::kPi;
        }
        const math::mat44<float> start =
            segmentFrame(segment.angle - ring.segmentAngle / 2.0f, distance,
                         segment.roll + segment.twist, segment.scale);
        const math::mat44<float> end =
            segmentFrame(segment.angle + ring.segmentAngle / 2.0f, distance,
                         rollNext + segment.twist, segment.scale);
        const float s = 0.5f * segment.scale.x + 0.5f;
        WedgeGeometry& wedge = wedges[i];
        for (int k = 0; k < 4; ++k) {
            const vec3f a = transformPoint(start, section[k]);
            const vec3f b = transformPoint(end, section[k]);
            wedge.corners[k] = mixPoint(a, b, 1.0f - s);
            wedge.corners[k + 4] = mixPoint(a, b, s);
        }
        wedge.unused[0] = wedge.unused[1] = wedge.unused[2] = 0.0f;
        wedge.color = segment.color;
    }
}

namespace {

vec3f normalized(const vec3f& v) {
    const float length = std::sqrt(math::dot(v, v));
    return length > 0.0f ? v * (1.0f / length) : vec3f{1.0f, 0.0f, 0.0f};
}

// The square cross-section corner (x, y) rolled by `roll` in the plane spanned by a and b.
vec3f sectionCorner(const vec3f& center, const vec3f& a, const vec3f& b, float x, float y,
                    float roll) {
    const float c = std::cos(roll);
    const float s = std::sin(roll);
    return center + a * (x * c - y * s) + b * (x * s + y * c);
}

}  // namespace

void buildWedges(const std::vector<WedgeLineAligned>& segments, const RingGeometry& ring,
                 std::vector<WedgeGeometry>& wedges) {
    const size_t n = segments.size();
    VIZ_ASSERT(n <= kMaxWedges);
    wedges.resize(n);
    const float h = ring.width / 2.0f;
    const float section[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
    for (size_t i = 0; i < n; ++i) {
        const WedgeLineAligned& segment = segments[i];
        const WedgeLineAligned& next = segments[(i + 1) % n];
        const vec3f tangent = normalized(next.position - segment.position);
        const vec3f up{0.0f, 1.0f, 0.0f};
        const vec3f b = normalized(up - tangent * math::dot(up, tangent));
        const vec3f a = math::cross(tangent, b);
        float rollNext = next.roll;
        if (i + 1 == n) {
            rollNext -= static_cast<float>(ring.rollTurns) * math::kPi;
        }
        const float s = 0.5f * segment.scale.x + 0.5f;
        WedgeGeometry& wedge = wedges[i];
        for (int k = 0; k < 4; ++k) {
            const float x = section[k][0] * segment.scale.z;
            const float y = section[k][1] * segment.scale.y;
            const vec3f start =
                sectionCorner(segment.position, a, b, x, y, segment.roll + segment.twist);
            const vec3f end = sectionCorner(next.position, a, b, x, y, rollNext + segment.twist);
            wedge.corners[k] = mixPoint(start, end, 1.0f - s);
            wedge.corners[k + 4] = mixPoint(start, end, s);
        }
        wedge.unused[0] = wedge.unused[1] = wedge.unused[2] = 0.0f;
        wedge.color = segment.color;
    }
}

namespace {

// Per palette, one row per sound-class group (SOFT_SLOW, CALM_LIGHT, MODERATE, LOUD_DYNAMIC,
// DARK_POWERFUL): four foreground colours, then the resting background and the background at
// full beat impulse. Quiet groups keep the colours close together; loud ones spread them.
const char* const kPaletteTable[5][5][6] = {
    {
        {"EA4335FF", "EA4335FF", "FFFEEFFF", "EA4335FF", "000000FF", "000000FF"},
        {"FF7B6BFF", "EA4335FF", "FFFEEFFF", "FBBC04FF", "000000FF", "000000FF"},
        {"EA4335FF", "FBBC04FF", "FFFEEFFF", "FF7B6BFF", "000000FF", "0D0302FF"},
        {"EA4335FF", "FF6D00FF", "FFFFFFFF", "FBBC04FF", "000000FF", "2A0805FF"},
        {"B31412FF", "EA4335FF", "FFD6CFFF", "FF6D00FF", "000000FF", "33070AFF"},
    },
    {
        {"4285F4FF", "4285F4FF", "E8F0FEFF", "4285F4FF", "000000FF", "000000FF"},
        {"8AB4F8FF", "4285F4FF", "E8F0FEFF", "00FFE6FF", "000000FF", "000000FF"},
        {"4285F4FF", "00FFE6FF", "FFFEEFFF", "1F5FFFFF", "000000FF", "02071AFF"},
        {"1F5FFFFF", "00FFE6FF", "FFFFFFFF", "A142F4FF", "000000FF", "061033FF"},
        {"270B42FF", "4285F4FF", "DFCCD0FF", "00FFE6FF", "000000FF", "0B0620FF"},
    },
    {
        {"34A853FF", "34A853FF", "F1FFF4FF", "34A853FF", "000000FF", "000000FF"},
        {"81C995FF", "34A853FF", "F1FFF4FF", "00FFE6FF", "000000FF", "000000FF"},
        {"34A853FF", "FBBC04FF", "FFFEEFFF", "00FFE6FF", "000000FF", "021006FF"},
        {"00C853FF", "00FFE6FF", "FFFFFFFF", "FBBC04FF", "000000FF", "04200CFF"},
        {"0D652DFF", "34A853FF", "E6F4EAFF", "FF6D00FF", "000000FF", "061A0CFF"},
    },
    {
        {"FBBC04FF", "FBBC04FF", "FFFEEFFF", "FBBC04FF", "000000FF", "000000FF"},
        {"FDD663FF", "FBBC04FF", "FFFEEFFF", "FF6D00FF", "000000FF", "000000FF"},
        {"FBBC04FF", "FF6D00FF", "FFFEEFFF", "EA4335FF", "000000FF", "140D00FF"},
        {"FF6D00FF", "FBBC04FF", "FFFFFFFF", "EA4335FF", "000000FF", "2A1400FF"},
        {"B06000FF", "FBBC04FF", "FEEFC3FF", "EA4335FF", "000000FF", "2A1000FF"},
    },
    {
        {"A142F4FF", "A142F4FF", "F3E8FDFF", "A142F4FF", "000000FF", "000000FF"},
        {"C58AF9FF", "A142F4FF", "F3E8FDFF", "FF63B8FF", "000000FF", "000000FF"},
        {"A142F4FF", "FF63B8FF", "FFFEEFFF", "4285F4FF", "000000FF", "0C0414FF"},
        {"FF63B8FF", "A142F4FF", "FFFFFFFF", "00FFE6FF", "000000FF", "20082AFF"},
        {"681DA8FF", "FF63B8FF", "F3E8FDFF", "4285F4FF", "000000FF", "1A0626FF"},
    },
};

}  // namespace

AbstractColorAnimator::Preset makePalettes(const std::vector<int>& picks) {
    AbstractColorAnimator::Preset preset;
    std::vector<AbstractColorAnimator::GroupPalettes>& normal =
        preset.palettes[DisplayMode::DEFAULT];
    std::vector<AbstractColorAnimator::GroupPalettes>& aod = preset.palettes[DisplayMode::AOD];
    for (const auto& table : kPaletteTable) {
        AbstractColorAnimator::GroupPalettes groups;
        AbstractColorAnimator::GroupPalettes groupsAOD;
        for (size_t g = 0; g < 5; ++g) {
            for (int pick : picks) {
                groups[g].colors.emplace_back(table[g][pick]);
            }
            groups[g].background = {colorf(table[g][4]), colorf(table[g][5])};
            groupsAOD[g].colors = groups[g].colors;
            groupsAOD[g].background = {colorf("000000FF"), colorf("000000FF")};
        }
        normal.push_back(groups);
        aod.push_back(groupsAOD);
    }
    return preset;
}

}  // namespace ring
}  // namespace content2021
