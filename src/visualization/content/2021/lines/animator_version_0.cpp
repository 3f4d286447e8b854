#include "visualization/content/2021/lines/animator_version_0.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "visualization/content/util/sound_parameters.h"
#include "visualization/util/random.h"

namespace content2021 {
namespace lines {

namespace {

constexpr size_t kPointCount = 100;
constexpr uint32_t kSides = 26;
constexpr float kEpsilon = std::numeric_limits<float>::epsilon();

// Per palette, one row per sound-class group (SOFT_SLOW, CALM_LIGHT, MODERATE, LOUD_DYNAMIC,
// DARK_POWERFUL): the first tube's gradient (0, 1), the second's (2, 3), then the resting
// background and the background at full beat impulse. The louder groups put white into the
// gradients and light the background up on beats.
const char* const kPaletteTable[5][5][6] = {
    {
        {"D93280FF", "FBE6EBFF", "F16856FF", "FF0D87FF", "1B112DFF", "1B112DFF"},
        {"D93280FF", "FFB3DEFF", "F16856FF", "FBE6EBFF", "1B112DFF", "1B112DFF"},
        {"FF0D87FF", "FBE6EBFF", "F16856FF", "FFB3DEFF", "1B112DFF", "2E1922FF"},
        {"FF0D87FF", "FFFFFFFF", "F16856FF", "FFB3DEFF", "1B112DFF", "3A1C4AFF"},
        {"983BBFFF", "FF0D87FF", "F16856FF", "FFFFFFFF", "120A1FFF", "3A1030FF"},
    },
    {
        {"4285F4FF", "E8F0FEFF", "00FFE6FF", "1F5FFFFF", "030F26FF", "030F26FF"},
        {"8AB4F8FF", "E8F0FEFF", "00FFE6FF", "4285F4FF", "030F26FF", "030F26FF"},
        {"1F5FFFFF", "00FFE6FF", "A142F4FF", "E8F0FEFF", "030F26FF", "0A1E45FF"},
        {"1F5FFFFF", "FFFFFFFF", "00FFE6FF", "A142F4FF", "030F26FF", "122A5CFF"},
        {"270B42FF", "4285F4FF", "00FFE6FF", "FFFFFFFF", "01050FFF", "0F1F4AFF"},
    },
    {
        {"34A853FF", "F1FFF4FF", "FBBC04FF", "81C995FF", "05160CFF", "05160CFF"},
        {"81C995FF", "F1FFF4FF", "FBBC04FF", "34A853FF", "05160CFF", "05160CFF"},
        {"00C853FF", "FFFEEFFF", "FBBC04FF", "00FFE6FF", "05160CFF", "0B2A17FF"},
        {"00C853FF", "FFFFFFFF", "FF6D00FF", "FBBC04FF", "05160CFF", "123820FF"},
        {"0D652DFF", "34A853FF", "FF6D00FF", "FFFEEFFF", "020A05FF", "10301AFF"},
    },
    {
        {"FF6D00FF", "FFFEEFFF", "FBBC04FF", "EA4335FF", "1E0F05FF", "1E0F05FF"},
        {"FDD663FF", "FFFEEFFF", "FF6D00FF", "FBBC04FF", "1E0F05FF", "1E0F05FF"},
        {"FBBC04FF", "FFFEEFFF", "EA4335FF", "FF6D00FF", "1E0F05FF", "3A1C08FF"},
        {"FF6D00FF", "FFFFFFFF", "EA4335FF", "FBBC04FF", "1E0F05FF", "4A240AFF"},
        {"B06000FF", "FBBC04FF", "EA4335FF", "FFFFFFFF", "140802FF", "3A1606FF"},
    },
    {
        {"A142F4FF", "F3E8FDFF", "FF63B8FF", "C58AF9FF", "160826FF", "160826FF"},
        {"C58AF9FF", "F3E8FDFF", "FF63B8FF", "A142F4FF", "160826FF", "160826FF"},
        {"A142F4FF", "FFFEEFFF", "FF63B8FF", "4285F4FF", "160826FF", "2A1046FF"},
        {"FF63B8FF", "FFFFFFFF", "A142F4FF", "00FFE6FF", "160826FF", "361456FF"},
        {"681DA8FF", "FF63B8FF", "4285F4FF", "F3E8FDFF", "0C0416FF", "2C0E44FF"},
    },
};

// The AOD look keeps the tubes' colours on a black screen.
AbstractColorAnimator::Preset makePalettes() {
    AbstractColorAnimator::Preset preset;
    auto& normal = preset.palettes[DisplayMode::DEFAULT];
    auto& aod = preset.palettes[DisplayMode::AOD];
    for (const auto& table : kPaletteTable) {
        AbstractColorAnimator::GroupPalettes groups;
        AbstractColorAnimator::GroupPalettes groupsAOD;
        for (size_t g = 0; g < 5; ++g) {
            for (int c = 0; c < 4; ++c) {
                groups[g].colors.emplace_back(table[g][c]);
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

vec3f mixPoint(const vec3f& a, const vec3f& b, float t) {
    return a + (b - a) * t;
}

// R = Rx(angles.x) Ry(angles.y) Rz(angles.z) applied to v.
vec3f rotateEuler(const vec3f& angles, vec3f v) {
    float c = std::cos(angles.z);
    float s = std::sin(angles.z);
    v = {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
    c = std::cos(angles.y);
    s = std::sin(angles.y);
    v = {c * v.x + s * v.z, v.y, -s * v.x + c * v.z};
    c = std::cos(angles.x);
    s = std::sin(angles.x);
    return {v.x, c * v.y - s * v.z, s * v.y + c * v.z};
}

float clamp01(float x) {
    return std::min(std::max(x, 0.0f), 1.0f);
}

}  // namespace

Animator_Version_0::Animator_Version_0(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height),
      mLines{Line({0.0f, -5.0f, 0.0f}, kPointCount, kSides),
             Line({0.0f, 5.0f, 0.0f}, kPointCount, kSides)} {
    static_cast<AbstractColorAnimator::Preset&>(mPreset) = makePalettes();
    using P = SoundClassParameters;
    mPreset.parameters = {
        {SoundClass::Soft, P{0, 0, 0, 0.5f, 0, 0, 0, 0.5f}},
        {SoundClass::Slow, P{0, 0, 0, 0.5f, 0, 0, 0, 0.5f}},
        {SoundClass::Calm, P{0, 0, 0, 1, 0, 0, 0, 1}},
        {SoundClass::Light, P{0, 0, 0, 1, 0, 0, 0, 1}},
        {SoundClass::Moderate, P{0, 0, 0, 1, 0, 0, 0, 1}},
        {SoundClass::Loud, P{1, 1, 0, 1, 0, 0, 0, 1}},
        {SoundClass::Dynamic, P{1, 1, 0, 1, 0, 0, 0, 1}},
        {SoundClass::Dark, P{1, 1, 0.125f, 1, 0, 0, 0, 1}},
        {SoundClass::Powerful, P{1, 1, 0.125f, 1, 1, 0.5f, 1, 1}},
    };
    mLines[1].headEasing = 0.0f;
    mLines[1].followEasing = 0.01f;
    mLines[1].thicknessMin = 0.5f;
    mTrail.position = {util::randomRange(-0.125f, 0.125f), util::randomRange(-0.125f, 0.125f),
                       util::randomRange(-0.125f, 0.125f)};
    // The camera starts where it rests with no music, one unit out on the -z side. From the
    // camera's default eye on the +z side, easing toward that rest point at 0.75 a second, the eye
    // would reach the centre it looks at after about 2.4 s (0.75^t = 0.5) and go on through it,
    // turning the view round in one frame: a mode would open on the tubes mirrored and then flip.
    mScene.camera.eye = {0.0f, 0.0f, -mCameraDistance};
    mScene.lines.resize(2);
    for (size_t k = 0; k < 2; ++k) {
        mScene.lines[k] = mLines[k].drawable;
    }
    createPalettePlaylist(mPreset);
}

void Animator_Version_0::pickTarget(const vec3f& min, const vec3f& max) {
    mTrail.target = {util::randomRange(min.x, max.x), util::randomRange(min.y, max.y),
                     util::randomRange(min.z, max.z)};
}

void Animator_Version_0::moveTrail(float dt, float trailSpeed) {
    Trail& t = mTrail;
    const vec3f toTarget = t.target - t.position;
    const float dist = math::length(toTarget);
    const vec3f direction = math::normalize(toTarget);
    const vec3f heading =
        math::normalize(mixPoint(t.heading, direction, 1.0f - std::pow(t.turnEasing, dt)));
    // A target straight behind could cancel the heading out; it then keeps its course a frame.
    if (math::dot(heading, heading) > 0.5f) {
        t.heading = heading;
    }
    const vec3f reference =
        std::fabs(t.heading.y) < 0.99f ? vec3f{0.0f, 1.0f, 0.0f} : vec3f{1.0f, 0.0f, 0.0f};
    t.frame[0] = math::normalize(math::cross(reference, t.heading));
    t.frame[1] = math::cross(t.heading, t.frame[0]);
    t.frame[2] = t.heading;

    const float minSpeed = std::max(kEpsilon, t.minSpeed);
    const float speed = math::mix(minSpeed, std::max(minSpeed, trailSpeed * t.speedFactor),
                                  math::smoothstep(0.0f, 1.0f, clamp01(dist)));
    t.position = t.position + t.heading * clamp01(speed * dt);

    for (Orbit& orbit : t.orbits) {
        orbit.angle.z += t.orbitSpeed * dt;
        const vec3f local =
            rotateEuler(orbit.angle + orbit.offset, vec3f{t.orbitRadius, 0.0f, 0.0f});
        orbit.point =
            t.position + t.frame[0] * local.x + t.frame[1] * local.y + t.frame[2] * local.z;
    }
    const float radiusGoal =
        math::mix(0.25f, t.orbitRadiusFar, math::smoothstep(0.05f, 1.0f, clamp01(dist)));
    t.orbitRadius += (radiusGoal - t.orbitRadius) * std::min(3.0f * dt, 1.0f);
}

void Animator_Version_0::animate(float dt, const SoundInput& sound,
                                 const RotationTransition& rotation) {
    const float high = newestMaxNormalized(sound);
    const float low = newestMinNormalized(sound);
    update_threshold(mTriggerHigh, high);
    update_threshold(mTriggerLow, low);
    const SoundClassParameters p = mixParameters(mPreset.parameters, sound);
    const ColorPalette& palette = updatePalette(mPreset);

    PerspectiveCamera& camera = mScene.camera;
    camera.rotationMode = 3;
    camera.aspect = static_cast<float>(mWidth) / static_cast<float>(mHeight);
    camera.baseFov = mFov;
    camera.far = mFar;
    const float distance = mCameraDistance * mLevel * p.cameraZoom - mCameraDistance;
    const vec3f follow{mTrail.position.x, mTrail.position.y, 0.0f};
    const vec3f centerGoal = mixPoint({0.0f, 0.0f, 0.0f}, follow, p.cameraFollow);
    const vec3f eyeGoal =
        mixPoint({0.0f, 0.0f, distance}, follow + vec3f{0.0f, 0.0f, distance}, p.cameraFollow);
    const float cameraStep = 1.0f - std::pow(mCameraEasing, dt);
    camera.eye = mixPoint(camera.eye, eyeGoal, cameraStep);
    camera.center = mixPoint(camera.center, centerGoal, cameraStep);
    camera.update(rotation);

    if (mTriggerLow.triggered) {
        mToggle = std::fmod(mToggle + 1.0f, 2.0f);
    }
    if (mTriggerHigh.triggered) {
        mImpulse = 1.0f;
    }

    vec3f boundsMin = mBoundsMin;
    vec3f boundsMax = mBoundsMax;
    if (rotation.current == RotateInfo::Portrait) {
        std::swap(boundsMin.x, boundsMin.y);
        std::swap(boundsMax.x, boundsMax.y);
    }
    if (math::length(mTrail.target - mTrail.position) < 0.1f || mTriggerHigh.triggered) {
        pickTarget(boundsMin, boundsMax);
    }
    moveTrail(dt, p.trailSpeed);

    const float x = mToggleSmoothed;
    const float s = x * x * (3.0f - 2.0f * x);
    const float swap = p.colorSwap * s;
    const std::vector<colorf>& c = palette.colors;
    const LineGradient a = {c[0], c[1], c[1]};
    const LineGradient b = {c[2], c[3], c[3]};
    LineGradient gradients[2];
    for (size_t k = 0; k < 3; ++k) {
        gradients[0][k] = mix_color(a[k], b[k], swap);
        gradients[1][k] = mix_color(a[k], b[k], 1.0f - swap);
    }
    auto radiusFactor = [&p](float toggle) {
        return math::mix(
            p.radiusBase,
            math::mix(p.radiusFactorA * p.radiusBase, p.radiusFactorB * p.radiusBase, toggle),
            p.radiusToggleMix);
    };
    const float factors[2] = {radiusFactor(s), radiusFactor(1.0f - s)};
    const float levels[2] = {high, low};
    const float thicknessStep = 1.0f - std::pow(0.001f, dt);
    const float slack = math::mix(0.25f, 0.5f, math::smoothstep(0.0f, 1.0f, mLevel));
    for (size_t k = 0; k < 2; ++k) {
        Line& line = mLines[k];
        line.thicknessMix += (levels[k] - line.thicknessMix) * thicknessStep;
        line.headTarget = mTrail.orbits[k].point;
        line.slack = slack;
        line.update(dt, gradients[k], factors[k] * mFade);
        mScene.lines[k] = line.drawable;
    }

    mLevel += (high - mLevel) * clamp01(3.0f * dt);
    mToggleSmoothed += (mToggle - mToggleSmoothed) * clamp01(6.0f * dt);
    mTriggerHigh.triggered = false;
    mTriggerLow.triggered = false;
    mImpulse *= 0.99f;
}

}  // namespace lines
}  // namespace content2021
