#include "visualization/types.h"

namespace {

template <typename Enum>
std::map<std::string, Enum> reverse(const std::map<Enum, std::string>& names) {
    std::map<std::string, Enum> values;
    for (const auto& [value, name] : names) {
        values.emplace(name, value);
    }
    return values;
}

}  // namespace

const std::map<RotateInfo, std::string> RotateInfoNames = {
    {RotateInfo::Landscape, "Landscape"},
    {RotateInfo::Portrait, "Portrait"},
};

const std::map<SpeakerInfo, std::string> SpeakerInfoNames = {
    {SpeakerInfo::TV_1, "TV_1"},
    {SpeakerInfo::TV_2, "TV_2"},
    {SpeakerInfo::TV_3, "TV_3"},
    {SpeakerInfo::TV_SoundBar_1, "TV_SoundBar_1"},
    {SpeakerInfo::TV_SoundBar_2, "TV_SoundBar_2"},
    {SpeakerInfo::TV_SoundBar_3, "TV_SoundBar_3"},
    {SpeakerInfo::SoundBar_1, "SoundBar_1"},
    {SpeakerInfo::SoundBar_2, "SoundBar_2"},
    {SpeakerInfo::SoundBar_3, "SoundBar_3"},
    {SpeakerInfo::Kiro, "Kiro"},
};

const std::map<SoundClass, std::string> SoundClassNames = {
    {SoundClass::Soft, "Soft"},         {SoundClass::Loud, "Loud"},
    {SoundClass::Slow, "Slow"},         {SoundClass::Dynamic, "Dynamic"},
    {SoundClass::Moderate, "Moderate"}, {SoundClass::Calm, "Calm"},
    {SoundClass::Light, "Light"},       {SoundClass::Dark, "Dark"},
    {SoundClass::Powerful, "Powerful"},
};

const std::map<SoundClassGroup, std::string> SoundClassGroupNames = {
    {SoundClassGroup::SOFT_SLOW, "SOFT_SLOW"},
    {SoundClassGroup::CALM_LIGHT, "CALM_LIGHT"},
    {SoundClassGroup::MODERATE, "MODERATE"},
    {SoundClassGroup::LOUD_DYNAMIC, "LOUD_DYNAMIC"},
    {SoundClassGroup::DARK_POWERFUL, "DARK_POWERFUL"},
};

const std::map<BeatLevel, std::string> BeatLevelNames = {
    {BeatLevel::Low, "Low"},
    {BeatLevel::Mid, "Mid"},
    {BeatLevel::High, "High"},
};

const std::map<DisplayMode, std::string> DisplayModeNames = {
    {DisplayMode::DEFAULT, "DEFAULT"},
    {DisplayMode::AOD, "AOD"},
};

const std::map<ContentCategory, std::string> ContentCategoryNames = {
    {ContentCategory::NONE, "NONE"},
    {ContentCategory::CONTENT_2020, "CONTENT_2020"},
    {ContentCategory::CONTENT_2021_CUBES, "CONTENT_2021_CUBES"},
    {ContentCategory::CONTENT_2021_RING, "CONTENT_2021_RING"},
    {ContentCategory::CONTENT_2021_LINES, "CONTENT_2021_LINES"},
    {ContentCategory::CONTENT_2021_KALEIDOSCOPE, "CONTENT_2021_KALEIDOSCOPE"},
};

const std::map<ContentMode, std::string> ContentModeNames = {
    {ContentMode::NONE, "NONE"},
    {ContentMode::CONTENT_2020_RANDOM_1, "CONTENT_2020_RANDOM_1"},
    {ContentMode::CONTENT_2020_RANDOM_2, "CONTENT_2020_RANDOM_2"},
    {ContentMode::CONTENT_2020_RANDOM_3, "CONTENT_2020_RANDOM_3"},
    {ContentMode::CONTENT_2020_RANDOM_4, "CONTENT_2020_RANDOM_4"},
    {ContentMode::CONTENT_2020_RANDOM_5, "CONTENT_2020_RANDOM_5"},
    {ContentMode::CONTENT_2020_ZIG_ZAG_1, "CONTENT_2020_ZIG_ZAG_1"},
    {ContentMode::CONTENT_2020_CIRCULAR_1, "CONTENT_2020_CIRCULAR_1"},
    {ContentMode::CONTENT_2020_CIRCULAR_2, "CONTENT_2020_CIRCULAR_2"},
    {ContentMode::CONTENT_2020_WAVES_1, "CONTENT_2020_WAVES_1"},
    {ContentMode::CONTENT_2020_WAVES_2, "CONTENT_2020_WAVES_2"},
    {ContentMode::CONTENT_2020_WAVES_3, "CONTENT_2020_WAVES_3"},
    {ContentMode::CONTENT_2020_VERTICAL_1, "CONTENT_2020_VERTICAL_1"},
    {ContentMode::CONTENT_2020_DIAMOND_1, "CONTENT_2020_DIAMOND_1"},
    {ContentMode::CONTENT_2020_DIAMOND_2, "CONTENT_2020_DIAMOND_2"},
    {ContentMode::CONTENT_2021_CUBES_VERSION_0, "CONTENT_2021_CUBES_VERSION_0"},
    {ContentMode::CONTENT_2021_CUBES_VERSION_1, "CONTENT_2021_CUBES_VERSION_1"},
    {ContentMode::CONTENT_2021_CUBES_VERSION_2, "CONTENT_2021_CUBES_VERSION_2"},
    {ContentMode::CONTENT_2021_RING_VERSION_0, "CONTENT_2021_RING_VERSION_0"},
    {ContentMode::CONTENT_2021_RING_VERSION_1, "CONTENT_2021_RING_VERSION_1"},
    {ContentMode::CONTENT_2021_RING_VERSION_2, "CONTENT_2021_RING_VERSION_2"},
    {ContentMode::CONTENT_2021_RING_VERSION_3, "CONTENT_2021_RING_VERSION_3"},
    {ContentMode::CONTENT_2021_RING_VERSION_4, "CONTENT_2021_RING_VERSION_4"},
    {ContentMode::CONTENT_2021_RING_VERSION_5, "CONTENT_2021_RING_VERSION_5"},
    {ContentMode::CONTENT_2021_LINES_VERSION_0, "CONTENT_2021_LINES_VERSION_0"},
    {ContentMode::CONTENT_2021_LINES_VERSION_0_REPEAT_0, "CONTENT_2021_LINES_VERSION_0_REPEAT_0"},
    {ContentMode::CONTENT_2021_LINES_VERSION_0_REPEAT_1, "CONTENT_2021_LINES_VERSION_0_REPEAT_1"},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0, "CONTENT_2021_KALEIDOSCOPE_VERSION_0"},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_0,
     "CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_0"},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_1,
     "CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_1"},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_2,
     "CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_2"},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_3,
     "CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_3"},
};

const std::map<ContentPlayerAnimationMode, std::string> ContentPlayerAnimationModeNames = {
    {ContentPlayerAnimationMode::WAITING_FOR_DATA, "WAITING_FOR_DATA"},
    {ContentPlayerAnimationMode::ANIMATING, "ANIMATING"},
};

const std::map<ContentPlayerPlaybackMode, std::string> ContentPlayerPlaybackModeNames = {
    {ContentPlayerPlaybackMode::NONE, "NONE"},
    {ContentPlayerPlaybackMode::INTRO_IDLE, "INTRO_IDLE"},
    {ContentPlayerPlaybackMode::INTRO_FADE_IN, "INTRO_FADE_IN"},
    {ContentPlayerPlaybackMode::ANIMATION, "ANIMATION"},
};

const std::map<ContentPlayerTransitionMode, std::string> ContentPlayerTransitionModeNames = {
    {ContentPlayerTransitionMode::NONE, "NONE"},
    {ContentPlayerTransitionMode::FADING_OUT, "FADING_OUT"},
    {ContentPlayerTransitionMode::FADING_IN, "FADING_IN"},
    {ContentPlayerTransitionMode::FINISHED, "FINISHED"},
};

const std::map<std::string, RotateInfo> RotateInfoValues = reverse(RotateInfoNames);
const std::map<std::string, SpeakerInfo> SpeakerInfoValues = reverse(SpeakerInfoNames);
const std::map<std::string, SoundClass> SoundClassValues = reverse(SoundClassNames);
const std::map<std::string, SoundClassGroup> SoundClassGroupValues = reverse(SoundClassGroupNames);
const std::map<std::string, BeatLevel> BeatLevelValues = reverse(BeatLevelNames);
const std::map<std::string, DisplayMode> DisplayModeValues = reverse(DisplayModeNames);
const std::map<std::string, ContentCategory> ContentCategoryValues = reverse(ContentCategoryNames);
const std::map<std::string, ContentMode> ContentModeValues = reverse(ContentModeNames);
const std::map<std::string, ContentPlayerAnimationMode> ContentPlayerAnimationModeValues =
    reverse(ContentPlayerAnimationModeNames);
const std::map<std::string, ContentPlayerPlaybackMode> ContentPlayerPlaybackModeValues =
    reverse(ContentPlayerPlaybackModeNames);
const std::map<std::string, ContentPlayerTransitionMode> ContentPlayerTransitionModeValues =
    reverse(ContentPlayerTransitionModeNames);

const std::map<SoundClass, SoundClassGroup> SoundClassGroups = {
    {SoundClass::Soft, SoundClassGroup::SOFT_SLOW},
    {SoundClass::Loud, SoundClassGroup::LOUD_DYNAMIC},
    {SoundClass::Slow, SoundClassGroup::SOFT_SLOW},
    {SoundClass::Dynamic, SoundClassGroup::LOUD_DYNAMIC},
    {SoundClass::Moderate, SoundClassGroup::MODERATE},
    {SoundClass::Calm, SoundClassGroup::CALM_LIGHT},
    {SoundClass::Light, SoundClassGroup::CALM_LIGHT},
    {SoundClass::Dark, SoundClassGroup::DARK_POWERFUL},
    {SoundClass::Powerful, SoundClassGroup::DARK_POWERFUL},
};

const std::map<SoundClass, SoundClass> SoundClassReduced = {
    {SoundClass::Soft, SoundClass::Soft},         {SoundClass::Loud, SoundClass::Loud},
    {SoundClass::Slow, SoundClass::Slow},         {SoundClass::Dynamic, SoundClass::Dynamic},
    {SoundClass::Moderate, SoundClass::Moderate}, {SoundClass::Calm, SoundClass::Soft},
    {SoundClass::Light, SoundClass::Soft},        {SoundClass::Dark, SoundClass::Loud},
    {SoundClass::Powerful, SoundClass::Loud},
};

const std::map<DisplayMode, float> DisplayModeBlendValues = {
    {DisplayMode::DEFAULT, 0.0f},
    {DisplayMode::AOD, 1.0f},
};

const std::map<ContentMode, ContentCategory> ContentModeCategories = {
    {ContentMode::NONE, ContentCategory::NONE},
    {ContentMode::CONTENT_2020_RANDOM_1, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_RANDOM_2, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_RANDOM_3, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_RANDOM_4, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_RANDOM_5, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_ZIG_ZAG_1, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_CIRCULAR_1, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_CIRCULAR_2, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_WAVES_1, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_WAVES_2, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_WAVES_3, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_VERTICAL_1, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_DIAMOND_1, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2020_DIAMOND_2, ContentCategory::CONTENT_2020},
    {ContentMode::CONTENT_2021_CUBES_VERSION_0, ContentCategory::CONTENT_2021_CUBES},
    {ContentMode::CONTENT_2021_CUBES_VERSION_1, ContentCategory::CONTENT_2021_CUBES},
    {ContentMode::CONTENT_2021_CUBES_VERSION_2, ContentCategory::CONTENT_2021_CUBES},
    {ContentMode::CONTENT_2021_RING_VERSION_0, ContentCategory::CONTENT_2021_RING},
    {ContentMode::CONTENT_2021_RING_VERSION_1, ContentCategory::CONTENT_2021_RING},
    {ContentMode::CONTENT_2021_RING_VERSION_2, ContentCategory::CONTENT_2021_RING},
    {ContentMode::CONTENT_2021_RING_VERSION_3, ContentCategory::CONTENT_2021_RING},
    {ContentMode::CONTENT_2021_RING_VERSION_4, ContentCategory::CONTENT_2021_RING},
    {ContentMode::CONTENT_2021_RING_VERSION_5, ContentCategory::CONTENT_2021_RING},
    {ContentMode::CONTENT_2021_LINES_VERSION_0, ContentCategory::CONTENT_2021_LINES},
    {ContentMode::CONTENT_2021_LINES_VERSION_0_REPEAT_0, ContentCategory::CONTENT_2021_LINES},
    {ContentMode::CONTENT_2021_LINES_VERSION_0_REPEAT_1, ContentCategory::CONTENT_2021_LINES},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0, ContentCategory::CONTENT_2021_KALEIDOSCOPE},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_0,
     ContentCategory::CONTENT_2021_KALEIDOSCOPE},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_1,
     ContentCategory::CONTENT_2021_KALEIDOSCOPE},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_2,
     ContentCategory::CONTENT_2021_KALEIDOSCOPE},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_3,
     ContentCategory::CONTENT_2021_KALEIDOSCOPE},
};

const std::map<ContentMode, uint32_t> ContentModeIndices = {
    {ContentMode::NONE, 0},
    {ContentMode::CONTENT_2020_RANDOM_1, 0},
    {ContentMode::CONTENT_2020_RANDOM_2, 1},
    {ContentMode::CONTENT_2020_RANDOM_3, 2},
    {ContentMode::CONTENT_2020_RANDOM_4, 3},
    {ContentMode::CONTENT_2020_RANDOM_5, 4},
    {ContentMode::CONTENT_2020_ZIG_ZAG_1, 5},
    {ContentMode::CONTENT_2020_CIRCULAR_1, 6},
    {ContentMode::CONTENT_2020_CIRCULAR_2, 7},
    {ContentMode::CONTENT_2020_WAVES_1, 8},
    {ContentMode::CONTENT_2020_WAVES_2, 9},
    {ContentMode::CONTENT_2020_WAVES_3, 10},
    {ContentMode::CONTENT_2020_VERTICAL_1, 11},
    {ContentMode::CONTENT_2020_DIAMOND_1, 12},
    {ContentMode::CONTENT_2020_DIAMOND_2, 13},
    {ContentMode::CONTENT_2021_CUBES_VERSION_0, 0},
    {ContentMode::CONTENT_2021_CUBES_VERSION_1, 1},
    {ContentMode::CONTENT_2021_CUBES_VERSION_2, 2},
    {ContentMode::CONTENT_2021_RING_VERSION_0, 0},
    {ContentMode::CONTENT_2021_RING_VERSION_1, 1},
    {ContentMode::CONTENT_2021_RING_VERSION_2, 2},
    {ContentMode::CONTENT_2021_RING_VERSION_3, 3},
    {ContentMode::CONTENT_2021_RING_VERSION_4, 4},
    {ContentMode::CONTENT_2021_RING_VERSION_5, 5},
    {ContentMode::CONTENT_2021_LINES_VERSION_0, 0},
    {ContentMode::CONTENT_2021_LINES_VERSION_0_REPEAT_0, 1},
    {ContentMode::CONTENT_2021_LINES_VERSION_0_REPEAT_1, 2},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0, 0},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_0, 1},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_1, 2},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_2, 3},
    {ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_3, 4},
};

const std::map<RotateInfo, ScreenSize> DefaultScreenSizes = {
    {RotateInfo::Landscape, {1920, 1080}},
    {RotateInfo::Portrait, {1080, 1920}},
};

const char* toString(RotateInfo value) {
    return RotateInfoNames.at(value).c_str();
}

const char* toString(SpeakerInfo value) {
    return SpeakerInfoNames.at(value).c_str();
}

const char* toString(SoundClass value) {
    return SoundClassNames.at(value).c_str();
}

const char* toString(SoundClassGroup value) {
    return SoundClassGroupNames.at(value).c_str();
}

const char* toString(BeatLevel value) {
    return BeatLevelNames.at(value).c_str();
}

const char* toString(DisplayMode value) {
    return DisplayModeNames.at(value).c_str();
}

const char* toString(ContentCategory value) {
    return ContentCategoryNames.at(value).c_str();
}

const char* toString(ContentMode value) {
    return ContentModeNames.at(value).c_str();
}

const char* toString(ContentPlayerAnimationMode value) {
    return ContentPlayerAnimationModeNames.at(value).c_str();
}

const char* toString(ContentPlayerPlaybackMode value) {
    return ContentPlayerPlaybackModeNames.at(value).c_str();
}

const char* toString(ContentPlayerTransitionMode value) {
    return ContentPlayerTransitionModeNames.at(value).c_str();
}
