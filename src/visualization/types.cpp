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

// One column of the mode table as a map from the mode.
template <typename Value, typename Field>
std::map<ContentMode, Value> column(Field ContentModeRow::*field) {
    std::map<ContentMode, Value> values;
    for (const ContentModeRow& row : ContentModeTable) {
        values.emplace(row.mode, row.*field);
    }
    return values;
}

// The rows must stand in value order, and a family's indices must count 0, 1, 2, ... in its
// rows: the contents index their per-mode arrays with them.
constexpr bool rowsAreConsistent() {
    for (size_t i = 0; i < std::size(ContentModeTable); ++i) {
        const ContentModeRow& row = ContentModeTable[i];
        uint32_t earlier = 0;
        for (size_t j = 0; j < i; ++j) {
            earlier += ContentModeTable[j].category == row.category ? 1 : 0;
        }
        if (static_cast<size_t>(row.mode) != i || row.index != earlier) {
            return false;
        }
    }
    return true;
}
static_assert(rowsAreConsistent(),
              "VIZ_CONTENT_MODES: rows out of order or indices not 0, 1, 2, ...");

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

const std::map<ContentMode, std::string> ContentModeNames =
    column<std::string>(&ContentModeRow::name);

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

const std::map<ContentMode, ContentCategory> ContentModeCategories =
    column<ContentCategory>(&ContentModeRow::category);
const std::map<ContentMode, uint32_t> ContentModeIndices = column<uint32_t>(&ContentModeRow::index);

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
