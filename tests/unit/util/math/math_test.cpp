// Matrix, vector and quaternion operations against glm as an independent oracle.
#include "visualization/util/math/mat44.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <random>

#include "support/glm_oracle.h"
#include "visualization/util/math/quaternion.h"

namespace {

using Mat = math::mat44<float>;
using testsupport::matches;
using testsupport::toGlm;

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

std::mt19937 random(7);

float uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
}

vec3f randomVector() {
    return {uniform(-3.0f, 3.0f), uniform(-3.0f, 3.0f), uniform(-3.0f, 3.0f)};
}

Mat randomMatrix() {
    Mat m;
    for (float& element : m.m) {
        element = uniform(-2.0f, 2.0f);
    }
    return m;
}

TEST(Mat44, ProductsTransformsAndInversesAgreeWithGlm) {
    EXPECT_TRUE(matches(Mat(), glm::mat4(1.0f), 0.0f));
    for (int round = 0; round < 5; ++round) {
        const Mat a = randomMatrix();
        const Mat b = randomMatrix();
        Mat product = a;
        product.multiply(b);
        EXPECT_TRUE(matches(product, toGlm(a) * toGlm(b)));
        EXPECT_TRUE(matches(a * b, toGlm(a) * toGlm(b)));

        float x = 0.5f, y = -1.5f, z = 2.0f, w = 1.0f;
        a.transform(x, y, z, w);
        const glm::vec4 expected = toGlm(a) * glm::vec4(0.5f, -1.5f, 2.0f, 1.0f);
        EXPECT_NEAR(glm::distance(glm::vec4(x, y, z, w), expected), 0.0f, 1e-5f);

        Mat inverse = a;
        EXPECT_EQ(math::invert(&inverse), &inverse);
        EXPECT_TRUE(matches(inverse, glm::inverse(toGlm(a)), 1e-3f)) << "round " << round;
    }
}

TEST(Mat44, ProjectionsAgreeWithGlm) {
    // Eye-space near and far values: glm takes distances, which are their negatives.
    const float cases[][6] = {
        {-1.0f, 1.0f, -1.0f, 1.0f, 0.0f, -5.0f},
        {-960.0f, 960.0f, -540.0f, 540.0f, 0.1f, -10.0f},
        {-3.0f, 5.0f, 2.0f, 7.0f, 1.0f, -2.0f},
    };
    for (const auto& c : cases) {
        Mat m;
        math::ortho(m, c[0], c[1], c[2], c[3], c[4], c[5]);
        EXPECT_TRUE(matches(m, glm::ortho(c[0], c[1], c[2], c[3], -c[4], -c[5])));
    }
    for (float fov : {30.0f, 120.0f}) {
        for (float aspect : {0.5f, 16.0f / 9.0f}) {
            Mat m;
            math::perspective(m, fov, aspect, 0.01f, 10.0f);
            EXPECT_TRUE(matches(m, glm::perspective(glm::radians(fov), aspect, 0.01f, 10.0f)))
                << fov << " " << aspect;
        }
    }
}

TEST(Mat44DeathTest, SingularMatrixStopsWithTheDeterminantCheck) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Mat zeroRow;
    zeroRow[1] = zeroRow[5] = zeroRow[9] = zeroRow[13] = 0.0f;
    EXPECT_DEATH(math::invert(&zeroRow),
                 ::testing::HasSubstr("Assertion failed: det != static_cast<T>(0)"));
}

TEST(Quaternion, VectorsAxisAnglesProductsAndRotationsAgreeWithGlm) {
    const vec3f a{1.0f, 2.0f, 3.0f};
    const vec3f b{-4.0f, 0.5f, 2.0f};
    EXPECT_FLOAT_EQ(math::dot(a, b), glm::dot(toGlm(a), toGlm(b)));
    expectNear(math::cross(a, b), glm::cross(toGlm(a), toGlm(b)));
    expectNear(math::normalize(b), glm::normalize(toGlm(b)));
    expectNear(a / b, toGlm(a) / toGlm(b));
    expectNear(math::normalize(vec3f{}), {0, 0, 0});

    for (int round = 0; round < 10; ++round) {
        const vec3f axisA = math::normalize(randomVector());
        const vec3f axisB = math::normalize(randomVector());
        const float angleA = uniform(-6.0f, 6.0f);
        const float angleB = uniform(-6.0f, 6.0f);
        const quatf qa = math::fromAxisAngle(axisA, angleA);
        const quatf qb = math::fromAxisAngle(axisB, angleB);
        const glm::quat ga = glm::angleAxis(angleA, toGlm(axisA));
        const glm::quat gb = glm::angleAxis(angleB, toGlm(axisB));
        expectSameRotation(qa * qb, ga * gb);
        const vec3f v = randomVector();
        // The product applies its right factor first.
        expectNear(math::rotate(qa * qb, v), ga * (gb * toGlm(v)), 1e-4f);
    }
}

TEST(Quaternion, BasisAndLookRotationAgreeWithGlm) {
    int branchesSeen = 0;
    for (int round = 0; round < 200; ++round) {
        // Random rotations reach all four branches of the basis conversion.
        const glm::quat q =
            glm::angleAxis(uniform(-6.0f, 6.0f), glm::normalize(toGlm(randomVector())));
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
    expectNear(math::rotate(math::lookRotation({0.0f, 2.0f, 0.0f}, up), {0, 0, 1}), {0, 1, 0});
}

}  // namespace
