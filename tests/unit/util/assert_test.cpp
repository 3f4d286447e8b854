#include "visualization/util/assert.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/gl_test.h"

namespace {

int evaluations = 0;
bool countedTrue() {
    ++evaluations;
    return true;
}

TEST(AssertDeathTest, StopsWithTheConditionTextFileAndFunctionOrEvaluatesItOnce) {
    GTEST_FLAG_SET(death_test_style, testsupport::kDeathTestStyle);
    const int* record = nullptr;
    EXPECT_DEATH(
        VIZ_ASSERT(record != nullptr && "Record not valid"),
        ::testing::AllOf(
            ::testing::HasSubstr("Assertion failed: record != nullptr && \"Record not valid\""),
            ::testing::HasSubstr("assert_test.cpp"),
            ::testing::HasSubstr("StopsWithTheConditionTextFileAndFunction")));
    // A holding condition is evaluated once and the program goes on.
    VIZ_ASSERT(countedTrue());
    EXPECT_EQ(evaluations, 1);
}

}  // namespace
