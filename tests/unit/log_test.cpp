#include "visualization/log.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/log_capture.h"

using testsupport::LogCapture;

TEST(Log, ScopesChooseTheirWordsByTheLastCharacter) {
    LogCapture log;
    beginScope("[X][y]");
    beginSubScope("Step");
    logInSubScope("inside %d", 1);
    endSubScope();
    beginSubScope("[Z]");
    endSubScope();
    logInScope("value %i", 3);
    endScope();
    beginScope("Load");
    endScope();
    // Plain messages go out unchanged, a trailing newline included.
    logMessage("[fs] Binary could not be loaded: %s\n", "a/b");

    const std::vector<std::string> expected = {
        "[X][y] Begin",    "[X][y] Step, begin", "Step inside 1",  "[X][y] Step, end",
        "[X][y] [Z]Begin", "[X][y] [Z]End",      "[X][y] value 3", "[X][y] End",
        "Load , begin",    "Load , end",
    };
    EXPECT_EQ(std::vector<std::string>(log.lines().begin(), log.lines().end() - 1), expected);
    EXPECT_EQ(log.lines().back(), "[fs] Binary could not be loaded: a/b\n");
    EXPECT_TRUE(log.allTagged());
    EXPECT_EQ(scopeDepth(), 0u);
}

TEST(Log, FormatMeasuresThenFillsAndThrowsOnFailure) {
    EXPECT_EQ(format("%s/%s", "dir", "x.jpg"), "dir/x.jpg");
    EXPECT_EQ(format("%s", ""), "");
    // A wide character that cannot be converted in the "C" locale makes vsnprintf fail.
    const wchar_t unconvertible[] = {static_cast<wchar_t>(0x110000), 0};
    try {
        format("%ls", unconvertible);
        ADD_FAILURE() << "no error for a failed format";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Format error.");
    }
}
