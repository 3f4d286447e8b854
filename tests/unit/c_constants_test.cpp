// The C constants a host passes cannot drift from the library's enumerations: each names its
// value's log name, and each list covers the whole enumeration.
#include "unit/c_constants.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>

#include "visualization/types.h"

namespace {

template <typename Enum>
void expectSameEnumeration(const CConstantList& list, const std::map<Enum, std::string>& names) {
    SCOPED_TRACE(list.prefix);
    EXPECT_EQ(list.rowCount, static_cast<int>(names.size()));
    EXPECT_EQ(list.declaredCount, static_cast<int>(names.size()));
    for (int i = 0; i < list.rowCount; ++i) {
        const CConstant& row = list.rows[i];
        const auto named = names.find(static_cast<Enum>(row.value));
        ASSERT_NE(named, names.end()) << row.name << " = " << row.value;
        std::string expected = list.prefix;
        for (const char c : named->second) {
            expected += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(row.name, expected);
    }
}

}  // namespace

TEST(CConstants, MatchTheLibrarysEnumerations) {
    expectSameEnumeration(cRotateInfo, RotateInfoNames);
    expectSameEnumeration(cSpeakerInfo, SpeakerInfoNames);
    expectSameEnumeration(cSoundClass, SoundClassNames);
}
