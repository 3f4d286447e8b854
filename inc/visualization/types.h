// The vocabulary shared by the host interface and the whole library: the enumerations, their
// fixed name tables and the fixed mapping tables between them. The names are observable: they
// appear in log lines.
#pragma once

#include <cstdint>
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

enum class ContentMode : int32_t {
    NONE,
    CONTENT_2020_RANDOM_1,
    CONTENT_2020_RANDOM_2,
    CONTENT_2020_RANDOM_3,
    CONTENT_2020_RANDOM_4,
    CONTENT_2020_RANDOM_5,
    CONTENT_2020_ZIG_ZAG_1,
    CONTENT_2020_CIRCULAR_1,
    CONTENT_2020_CIRCULAR_2,
    CONTENT_2020_WAVES_1,
    CONTENT_2020_WAVES_2,
    CONTENT_2020_WAVES_3,
    CONTENT_2020_VERTICAL_1,
    CONTENT_2020_DIAMOND_1,
    CONTENT_2020_DIAMOND_2,
    CONTENT_2021_CUBES_VERSION_0,
    CONTENT_2021_CUBES_VERSION_1,
    CONTENT_2021_CUBES_VERSION_2,
    CONTENT_2021_RING_VERSION_0,
    CONTENT_2021_RING_VERSION_1,
    CONTENT_2021_RING_VERSION_2,
    CONTENT_2021_RING_VERSION_3,
    CONTENT_2021_RING_VERSION_4,
    CONTENT_2021_RING_VERSION_5,
    CONTENT_2021_LINES_VERSION_0,
    CONTENT_2021_LINES_VERSION_0_REPEAT_0,
    CONTENT_2021_LINES_VERSION_0_REPEAT_1,
    CONTENT_2021_KALEIDOSCOPE_VERSION_0,
    CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_0,
    CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_1,
    CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_2,
    CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_3,
};

// Playable modes are 1..31; NONE is never in the playlist.
constexpr int32_t kContentModeCount = 32;
constexpr int32_t kPlaylistLength = 31;

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
// The constant lists from which the content player fills its own mode tables.
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
