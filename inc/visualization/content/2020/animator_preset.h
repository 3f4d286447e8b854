// The palettes, sprite and AOD mask of one point-field animator, built once by its constructor.
#pragma once

#include <cstdint>
#include <initializer_list>
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
// Hex texts "RRGGBB" of the colours of one palette entry.
using Colors = std::initializer_list<const char*>;

std::vector<colorf> colors(Colors hex);
// The common two-entry shape: the four background colours, then all point colours.
Palette palette(Colors background, Colors points);
// DEFAULT holds the palettes as given; AOD the same with a black background, since the
// always-on look keeps the points and drops the background.
PaletteMap withAODPalettes(const std::vector<Palette>& palettes);

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
