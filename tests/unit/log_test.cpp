#include "visualization/log.h"

#include <gtest/gtest.h>

#include <stdexcept>

// What the formatter makes, and the scopes' words, are pinned line by line by the content player's
// and the session's logs; its one error is not.
TEST(Log, FormatThrowsOnFailure) {
    // A wide character that cannot be converted in the "C" locale makes vsnprintf fail.
    const wchar_t unconvertible[] = {static_cast<wchar_t>(0x110000), 0};
    try {
        format("%ls", unconvertible);
        ADD_FAILURE() << "no error for a failed format";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Format error.");
    }
}
