// The palettes, sprite and AOD mask of one point-field animator, built once by its constructor.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/abstract_content.h"
#include "visualization/types.h"
#include "visualization/util/color.h"

namespace content2020 {

// Index of the renderer's sprite texture.
enum class PointMode : uint32_t { PLAIN = 0, CIRCLE_SMALL = 1, CIRCLE_LARGE = 2 };

// A palette is a list of entries, an entry a list of colours.
using Palette = std::vector<std::vector<colorf>>;
using PaletteMap = std::map<DisplayMode, std::vector<Palette>>;

class AnimatorPreset {
public:
    // Every palette of both display modes must have the shape of the first DEFAULT palette, so
    // that DEFAULT and AOD versions can be mixed entry by entry; a broken table is fatal.
    AnimatorPreset(PointMode pointMode, const PaletteMap& palettes, const AODMask& aodMask);

    PointMode pointMode;
    PaletteMap palettes;
    AODMask aodMask;
};

}  // namespace content2020
