// The distance-field font of res/fonts: every printable ASCII glyph of a TrueType font rendered
// by FreeType's signed-distance-field renderer into one white RGBA atlas (the distance in alpha,
// 0.5 on the outline), and the JSON description the font renderer reads. A pure function of the
// font file and the FreeType build, so the committed files can be checked against it.
#pragma once

#include <string>

#include "asset_images.h"

namespace assets {

// The em size the atlas is rendered at: text drawn at 16 to 32 pixels scales it down, which
// keeps the edges sharp.
constexpr int kFontSize = 48;
// How far the distance field reaches beyond the outline, in atlas pixels (FreeType's smallest).
// The renderer's edge ramp is a fixed share of the field (1 / smoothing of it): with a reach of 2
// it spans about a pixel of 14- to 32-pixel text, and the drop shadow, which fades over the
// whole field, shows as a one-pixel rim. A longer reach blurs both.
constexpr int kFontSpread = 2;
// Empty texels between neighbouring glyphs, so the shadow's offset lookup and linear filtering
// never reach into the next glyph.
constexpr int kFontSpacing = 2;
constexpr int kFontFirstChar = 32;
constexpr int kFontLastChar = 126;

struct FontAtlas {
    Image image;        // RGBA, white, the distance in alpha
    std::string json;   // the description, numbers as strings
    std::string error;  // why nothing was made; empty on success
};

FontAtlas makeFontAtlas(const std::string& fontPath);

}  // namespace assets
