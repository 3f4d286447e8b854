// Vector and quaternion operations against glm as an independent oracle.
#include "visualization/util/math/quaternion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <random>

namespace {

glm::vec3 toGlm(const vec3f& v) {
    return {v.x, v.y, v.z};
}

glm::quat toGlm(const quatf& q) {
    return glm::quat(q.w, q.x, q.y, q.z);
}

void expectNear(const vec3f& actual, const glm::vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(glm::distance(toGlm(actual), expected), 0.0f, tolerance);
}

// q and -q are the same rotation.
void expectSameRotation(const quatf& actual, const glm::quat& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(std::fabs(glm::dot(toGlm(actual), expected)), 1.0f, tolerance)
        << "not the same rotation";
}

vec3f randomVector(std::mt19937& random) {
    std::uniform_real_distribution<float> value(-3.0f, 3.0f);
    return {value(random), value(random), value(random)};
}

TEST(Vector, ProductsAndNormalisation) {
    const vec3f a{1.0f, 2.0f, 3.0f};
    const vec3f b{-4.0f, 0.5f, 2.0f};
    EXPECT_FLOAT_EQ(math::dot(a, b), glm::dot(toGlm(a), toGlm(b)));
    expectNear(math::cross(a, b), glm::cross(toGlm(a), toGlm(b)));
    expectNear(math::normalize(b), glm::normalize(toGlm(b)));
    expectNear(a / b, toGlm(a) / toGlm(b));
    expectNear(math::normalize(vec3f{}), {0, 0, 0});
}

TEST(Quaternion, AxisAngleProductAndRotationAgreeWithGlm) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> angle(-6.0f, 6.0f);
    for (int round = 0; round < 10; ++round) {
        const vec3f axisA = math::normalize(randomVector(random));
        const vec3f axisB = math::normalize(randomVector(random));
        const float angleA = angle(random);
        const float angleB = angle(random);
        const quatf a = math::fromAxisAngle(axisA, angleA);
        const quatf b = math::fromAxisAngle(axisB, angleB);
        const glm::quat ga = glm::angleAxis(angleA, toGlm(axisA));
        const glm::quat gb = glm::angleAxis(angleB, toGlm(axisB));
        expectSameRotation(a, ga);
        expectSameRotation(a * b, ga * gb);

        const vec3f v = randomVector(random);
        expectNear(math::rotate(a, v), ga * toGlm(v), 1e-4f);
        // The product applies its right factor first.
        expectNear(math::rotate(a * b, v), ga * (gb * toGlm(v)), 1e-4f);
    }
}

TEST(Quaternion, BasisAndLookRotationAgreeWithGlm) {
    std::mt19937 random(5);
    int branchesSeen = 0;
    for (int round = 0; round < 200; ++round) {
        // Random rotations reach all four branches of the basis conversion.
        const glm::quat q =
            glm::angleAxis(std::uniform_real_distribution<float>(-6.0f, 6.0f)(random),
                           glm::normalize(toGlm(randomVector(random))));
        const glm::mat3 basis = glm::mat3_cast(q);
        const quatf actual = math::fromBasis({basis[0].x, basis[0].y, basis[0].z},
                                             {basis[1].x, basis[1].y, basis[1].z},
                                             {basis[2].x, basis[2].y, basis[2].z});
        expectSameRotation(actual, q, 1e-4f);
        branchesSeen |= (basis[0].x + basis[1].y + basis[2].z > 0.0f) ? 1 : 2;
    }
    EXPECT_EQ(branchesSeen, 3);

    const vec3f up{0.0f, 1.0f, 0.0f};
    for (const vec3f forward : {vec3f{1, 1, 1}, vec3f{-2, 0.5f, 3}, vec3f{0, 0, -1}}) {
        expectSameRotation(math::lookRotation(forward, up),
                           glm::quatLookAtLH(glm::normalize(toGlm(forward)), toGlm(up)), 1e-5f);
    }
    // Looking straight down or up: the up vector is replaced so that the basis stays defined.
    const quatf down = math::lookRotation({0.0f, -1.0f, 0.0f}, up);
    expectNear(math::rotate(down, {0, 0, 1}), {0, -1, 0});
    expectNear(math::rotate(down, {0, 1, 0}), {0, 0, -1});
    const quatf upward = math::lookRotation({0.0f, 2.0f, 0.0f}, up);
    expectNear(math::rotate(upward, {0, 0, 1}), {0, 1, 0});
}

}  // namespace
