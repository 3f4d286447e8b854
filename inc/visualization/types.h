// The vocabulary shared by the host interface and the whole library: the enumerations, their
// fixed name tables and the fixed mapping tables between them. The names are observable: they
// appear in log lines.
#pragma once

#include <cstdint>
#include <iterator>
#include <map>
#include <string>
#include <utility>

enum class RotateInfo : int32_t { Landscape, Portrait };

enum class SpeakerInfo : int32_t {
    TV_1,
    TV_2,
    TV_3,
    TV_SoundBar_1,
    TV_SoundBar_2,
    TV_SoundBar_3,
    SoundBar_1,
    SoundBar_2,
    SoundBar_3,
    Kiro,
};

enum class SoundClass : int32_t {
    Soft,
    Loud,
    Slow,
    Dynamic,
    Moderate,
    Calm,
    Light,
    Dark,
    Powerful
};

enum class SoundClassGroup : int32_t {
    SOFT_SLOW,
    CALM_LIGHT,
    MODERATE,
    LOUD_DYNAMIC,
    DARK_POWERFUL
};

enum class BeatLevel : int32_t { Low, Mid, High };

enum class DisplayMode : int32_t { DEFAULT, AOD };

enum class ContentCategory : int32_t {
    NONE,
    CONTENT_2020,
    CONTENT_2021_CUBES,
    CONTENT_2021_RING,
    CONTENT_2021_LINES,
    CONTENT_2021_KALEIDOSCOPE,
};

// The catalogue of content modes: one row per mode, in value order, as
//   X(mode, family, index within the family, suits the start).
// The enumeration, the name, category and index tables and the content player's default
// start-up filter are all made from it, so a new family adds its rows here and its content to
// the factory in content/catalogue.cpp. The two busiest random layouts and the lines family do
// not suit the start.
#define VIZ_CONTENT_MODES(X)                                                            \
    X(NONE, NONE, 0, false)                                                             \
    X(CONTENT_2020_RANDOM_1, CONTENT_2020, 0, true)                                     \
    X(CONTENT_2020_RANDOM_2, CONTENT_2020, 1, true)                                     \
    X(CONTENT_2020_RANDOM_3, CONTENT_2020, 2, true)                                     \
    X(CONTENT_2020_RANDOM_4, CONTENT_2020, 3, false)                                    \
    X(CONTENT_2020_RANDOM_5, CONTENT_2020, 4, false)                                    \
    X(CONTENT_2020_ZIG_ZAG_1, CONTENT_2020, 5, true)                                    \
    X(CONTENT_2020_CIRCULAR_1, CONTENT_2020, 6, true)                                   \
    X(CONTENT_2020_CIRCULAR_2, CONTENT_2020, 7, true)                                   \
    X(CONTENT_2020_WAVES_1, CONTENT_2020, 8, true)                                      \
    X(CONTENT_2020_WAVES_2, CONTENT_2020, 9, true)                                      \
    X(CONTENT_2020_WAVES_3, CONTENT_2020, 10, true)                                     \
    X(CONTENT_2020_VERTICAL_1, CONTENT_2020, 11, true)                                  \
    X(CONTENT_2020_DIAMOND_1, CONTENT_2020, 12, true)                                   \
    X(CONTENT_2020_DIAMOND_2, CONTENT_2020, 13, true)                                   \
    X(CONTENT_2021_CUBES_VERSION_0, CONTENT_2021_CUBES, 0, true)                        \
    X(CONTENT_2021_CUBES_VERSION_1, CONTENT_2021_CUBES, 1, true)                        \
    X(CONTENT_2021_CUBES_VERSION_2, CONTENT_2021_CUBES, 2, true)                        \
    X(CONTENT_2021_RING_VERSION_0, CONTENT_2021_RING, 0, true)                          \
    X(CONTENT_2021_RING_VERSION_1, CONTENT_2021_RING, 1, true)                          \
    X(CONTENT_2021_RING_VERSION_2, CONTENT_2021_RING, 2, true)                          \
    X(CONTENT_2021_RING_VERSION_3, CONTENT_2021_RING, 3, true)                          \
    X(CONTENT_2021_RING_VERSION_4, CONTENT_2021_RING, 4, true)                          \
    X(CONTENT_2021_RING_VERSION_5, CONTENT_2021_RING, 5, true)                          \
    X(CONTENT_2021_LINES_VERSION_0, CONTENT_2021_LINES, 0, false)                       \
    X(CONTENT_2021_LINES_VERSION_0_REPEAT_0, CONTENT_2021_LINES, 1, false)              \
    X(CONTENT_2021_LINES_VERSION_0_REPEAT_1, CONTENT_2021_LINES, 2, false)              \
    X(CONTENT_2021_KALEIDOSCOPE_VERSION_0, CONTENT_2021_KALEIDOSCOPE, 0, true)          \
    X(CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_0, CONTENT_2021_KALEIDOSCOPE, 1, true) \
    X(CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_1, CONTENT_2021_KALEIDOSCOPE, 2, true) \
    X(CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_2, CONTENT_2021_KALEIDOSCOPE, 3, true) \
    X(CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_3, CONTENT_2021_KALEIDOSCOPE, 4, true)

enum class ContentMode : int32_t {
#define VIZ_CONTENT_MODE_VALUE(mode, category, index, suitsStart) mode,
    VIZ_CONTENT_MODES(VIZ_CONTENT_MODE_VALUE)
#undef VIZ_CONTENT_MODE_VALUE
};

struct ContentModeRow {
    ContentMode mode;
    const char* name;
    ContentCategory category;
    uint32_t index;  // the variant number the family's content is given
    bool suitsStart;
};

inline constexpr ContentModeRow ContentModeTable[] = {
#define VIZ_CONTENT_MODE_ROW(mode, category, index, suitsStart) \
    {ContentMode::mode, #mode, ContentCategory::category, index, suitsStart},
    VIZ_CONTENT_MODES(VIZ_CONTENT_MODE_ROW)
#undef VIZ_CONTENT_MODE_ROW
};

// Playable modes are 1..31; NONE is never in the playlist.
constexpr int32_t kContentModeCount = static_cast<int32_t>(std::size(ContentModeTable));
constexpr int32_t kPlaylistLength = kContentModeCount - 1;

enum class ContentPlayerAnimationMode : int32_t { WAITING_FOR_DATA, ANIMATING };

enum class ContentPlayerPlaybackMode : int32_t { NONE, INTRO_IDLE, INTRO_FADE_IN, ANIMATION };

enum class ContentPlayerTransitionMode : int32_t { NONE, FADING_OUT, FADING_IN, FINISHED };

// Name tables (value to name) and their reverse tables (name to value), built before any
// exported function can be called and never changed afterwards.
extern const std::map<RotateInfo, std::string> RotateInfoNames;
extern const std::map<SpeakerInfo, std::string> SpeakerInfoNames;
extern const std::map<SoundClass, std::string> SoundClassNames;
extern const std::map<SoundClassGroup, std::string> SoundClassGroupNames;
extern const std::map<BeatLevel, std::string> BeatLevelNames;
extern const std::map<DisplayMode, std::string> DisplayModeNames;
extern const std::map<ContentCategory, std::string> ContentCategoryNames;
extern const std::map<ContentMode, std::string> ContentModeNames;
extern const std::map<ContentPlayerAnimationMode, std::string> ContentPlayerAnimationModeNames;
extern const std::map<ContentPlayerPlaybackMode, std::string> ContentPlayerPlaybackModeNames;
extern const std::map<ContentPlayerTransitionMode, std::string> ContentPlayerTransitionModeNames;

extern const std::map<std::string, RotateInfo> RotateInfoValues;
extern const std::map<std::string, SpeakerInfo> SpeakerInfoValues;
extern const std::map<std::string, SoundClass> SoundClassValues;
extern const std::map<std::string, SoundClassGroup> SoundClassGroupValues;
extern const std::map<std::string, BeatLevel> BeatLevelValues;
extern const std::map<std::string, DisplayMode> DisplayModeValues;
extern const std::map<std::string, ContentCategory> ContentCategoryValues;
extern const std::map<std::string, ContentMode> ContentModeValues;
extern const std::map<std::string, ContentPlayerAnimationMode> ContentPlayerAnimationModeValues;
extern const std::map<std::string, ContentPlayerPlaybackMode> ContentPlayerPlaybackModeValues;
extern const std::map<std::string, ContentPlayerTransitionMode> ContentPlayerTransitionModeValues;

// Fixed mapping tables.
extern const std::map<SoundClass, SoundClassGroup> SoundClassGroups;
extern const std::map<SoundClass, SoundClass> SoundClassReduced;
extern const std::map<DisplayMode, float> DisplayModeBlendValues;
// Columns of ContentModeTable, for lookups by mode.
extern const std::map<ContentMode, ContentCategory> ContentModeCategories;
extern const std::map<ContentMode, uint32_t> ContentModeIndices;

using ScreenSize = std::pair<uint32_t, uint32_t>;
// The default screen size per orientation; the preset holds its own copy.
extern const std::map<RotateInfo, ScreenSize> DefaultScreenSizes;

// The name of a value. Callers pass only values of the enumeration: a value outside the table
// is a caller error (the C boundary checks host values before they get here).
const char* toString(RotateInfo value);
const char* toString(SpeakerInfo value);
const char* toString(SoundClass value);
const char* toString(SoundClassGroup value);
const char* toString(BeatLevel value);
const char* toString(DisplayMode value);
const char* toString(ContentCategory value);
const char* toString(ContentMode value);
const char* toString(ContentPlayerAnimationMode value);
const char* toString(ContentPlayerPlaybackMode value);
const char* toString(ContentPlayerTransitionMode value);

// Whether a raw 32-bit value from the host names a value of the enumeration.
template <typename Enum>
bool isValidEnum(int32_t raw, const std::map<Enum, std::string>& names) {
    return names.count(static_cast<Enum>(raw)) != 0;
}
