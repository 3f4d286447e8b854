// Matrix products, inversion and projections against glm as an independent oracle.
#include "visualization/util/math/mat44.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <random>

#include "support/glm_oracle.h"

namespace {

using Mat = math::mat44<float>;
using testsupport::matches;
using testsupport::toGlm;

Mat randomMatrix(std::mt19937& random) {
    std::uniform_real_distribution<float> value(-2.0f, 2.0f);
    Mat m;
    for (float& element : m.m) {
        element = value(random);
    }
    return m;
}

TEST(Mat44, DefaultIsIdentityAndSetKeepsStorageOrder) {
    EXPECT_TRUE(matches(Mat(), glm::mat4(1.0f), 0.0f));
    Mat m;
    m.set(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    // Element 12 is column 3, row 0: the translation x.
    EXPECT_EQ(toGlm(m)[3][0], 12.0f);
}

TEST(Mat44, ProductsAndTransformsAgreeWithGlm) {
    std::mt19937 random(7);
    for (int round = 0; round < 5; ++round) {
        const Mat a = randomMatrix(random);
        const Mat b = randomMatrix(random);
        Mat product = a;
        product.multiply(b);
        EXPECT_TRUE(matches(product, toGlm(a) * toGlm(b)));
        EXPECT_TRUE(matches(a * b, toGlm(a) * toGlm(b)));

        float x = 0.5f, y = -1.5f, z = 2.0f, w = 1.0f;
        a.transform(x, y, z, w);
        const glm::vec4 expected = toGlm(a) * glm::vec4(0.5f, -1.5f, 2.0f, 1.0f);
        EXPECT_NEAR(glm::distance(glm::vec4(x, y, z, w), expected), 0.0f, 1e-5f);
    }
}

TEST(Mat44, InvertsInPlaceLikeGlm) {
    Mat identity;
    EXPECT_EQ(math::invert(&identity), &identity);
    EXPECT_TRUE(matches(identity, glm::mat4(1.0f), 0.0f));

    std::mt19937 random(11);
    for (int round = 0; round < 5; ++round) {
        const Mat a = randomMatrix(random);
        Mat inverse = a;
        math::invert(&inverse);
        EXPECT_TRUE(matches(inverse, glm::inverse(toGlm(a)), 1e-3f)) << "round " << round;
        EXPECT_TRUE(matches(a * inverse, glm::mat4(1.0f), 1e-3f));
    }
}

TEST(Mat44DeathTest, SingularMatrixStopsWithTheDeterminantCheck) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Mat zeroRow;
    zeroRow[1] = zeroRow[5] = zeroRow[9] = zeroRow[13] = 0.0f;
    EXPECT_DEATH(math::invert(&zeroRow),
                 ::testing::HasSubstr("Assertion failed: det != static_cast<T>(0)"));
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

}  // namespace
