// The cubes' palettes: five per version, each with one row per sound-class group of eight colours
// and the two background entries.
#pragma once

#include <array>
#include <cstddef>

#include "visualization/content/abstract_color_animator.h"

namespace content2021::cubes {

constexpr size_t kPaletteColors = 8;

// Hexadecimal text, parsed when an animator builds its preset.
using PaletteRow = std::array<const char*, kPaletteColors + 2>;
using PaletteTable = std::array<std::array<PaletteRow, 5>, 5>;

// The table of Animator_Version_0, _1 or _2.
const PaletteTable& paletteTable(int version);

// Appends the table's palettes to both looks of the preset: DEFAULT as written, AOD with the
// same colours on a black background.
void addPalettes(AbstractColorAnimator::Preset& preset, const PaletteTable& table);

}  // namespace content2021::cubes
