#include "visualization/log.h"

#include <gtest/gtest.h>

#include <stdexcept>

// The scopes' words are pinned line by line by the content player's and the session's logs.
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
