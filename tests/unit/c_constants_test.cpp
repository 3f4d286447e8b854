// The C constants a host passes cannot drift from the library's enumerations: each is named after
// its value's log name, and each list covers the whole enumeration.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "visualization/library_types.h"
#include "visualization/types.h"

#define ROW(constant) \
    { #constant, constant }

namespace {

template <typename Enum>
void expectSameEnumeration(const std::string& prefix, int count,
                           const std::vector<std::pair<std::string, int>>& rows,
                           const std::map<Enum, std::string>& names) {
    EXPECT_EQ(count, static_cast<int>(names.size())) << prefix;
    EXPECT_EQ(rows.size(), names.size()) << prefix;
    for (const auto& [constant, value] : rows) {
        const auto named = names.find(static_cast<Enum>(value));
        ASSERT_NE(named, names.end()) << constant;
        std::string expected = prefix;
        for (const char c : named->second) {
            expected += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(constant, expected);
    }
}

}  // namespace

TEST(CConstants, MatchTheLibrarysEnumerations) {
    expectSameEnumeration("VIZ_ROTATE_INFO_", VIZ_ROTATE_INFO_COUNT,
                          {ROW(VIZ_ROTATE_INFO_LANDSCAPE), ROW(VIZ_ROTATE_INFO_PORTRAIT)},
                          RotateInfoNames);
    expectSameEnumeration("VIZ_SPEAKER_INFO_", VIZ_SPEAKER_INFO_COUNT,
                          {ROW(VIZ_SPEAKER_INFO_TV_1), ROW(VIZ_SPEAKER_INFO_TV_2),
                           ROW(VIZ_SPEAKER_INFO_TV_3), ROW(VIZ_SPEAKER_INFO_TV_SOUNDBAR_1),
                           ROW(VIZ_SPEAKER_INFO_TV_SOUNDBAR_2), ROW(VIZ_SPEAKER_INFO_TV_SOUNDBAR_3),
                           ROW(VIZ_SPEAKER_INFO_SOUNDBAR_1), ROW(VIZ_SPEAKER_INFO_SOUNDBAR_2),
                           ROW(VIZ_SPEAKER_INFO_SOUNDBAR_3), ROW(VIZ_SPEAKER_INFO_KIRO)},
                          SpeakerInfoNames);
    expectSameEnumeration(
        "VIZ_SOUND_CLASS_", VIZ_SOUND_CLASS_COUNT,
        {ROW(VIZ_SOUND_CLASS_SOFT), ROW(VIZ_SOUND_CLASS_LOUD), ROW(VIZ_SOUND_CLASS_SLOW),
         ROW(VIZ_SOUND_CLASS_DYNAMIC), ROW(VIZ_SOUND_CLASS_MODERATE), ROW(VIZ_SOUND_CLASS_CALM),
         ROW(VIZ_SOUND_CLASS_LIGHT), ROW(VIZ_SOUND_CLASS_DARK), ROW(VIZ_SOUND_CLASS_POWERFUL)},
        SoundClassNames);
}
