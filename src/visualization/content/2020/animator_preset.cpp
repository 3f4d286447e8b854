#include "visualization/content/2020/animator_preset.h"

#include "visualization/util/assert.h"

namespace content2020 {

std::vector<colorf> colors(Colors hex) {
    std::vector<colorf> result;
    for (const char* h : hex) {
        result.emplace_back(h);
    }
    return result;
}

Palette palette(Colors background, Colors points) {
    return Palette{colors(background), colors(points)};
}

PaletteMap withAODPalettes(const std::vector<Palette>& palettes) {
    std::vector<Palette> aod = palettes;
    for (Palette& p : aod) {
        for (colorf& c : p[0]) {
            c = colorf("000000");
        }
    }
    PaletteMap map;
    map[DisplayMode::DEFAULT] = palettes;
    map[DisplayMode::AOD] = aod;
    return map;
}

AnimatorPreset::AnimatorPreset(PointMode mode, const PaletteMap& paletteMap, const AODMask& mask)
    : pointMode(mode), palettes(paletteMap), aodMask(mask) {
    const std::vector<Palette>& palettesDefault = palettes[DisplayMode::DEFAULT];
    const std::vector<Palette>& palettesAOD = palettes[DisplayMode::AOD];
    VIZ_ASSERT(palettesDefault.size() == palettesAOD.size() &&
               "DEFAULT and AOD palettes length does not match!");
    VIZ_ASSERT(!palettesDefault.empty());
    const Palette& ref = palettesDefault.front();
    VIZ_ASSERT(!ref.empty() && "Front color palette is empty!");
    for (size_t i = 0; i < palettesDefault.size(); ++i) {
        const Palette& paletteDefault = palettesDefault[i];
        const Palette& paletteAOD = palettesAOD[i];
        VIZ_ASSERT(paletteDefault.size() == ref.size() &&
                   "DEFAULT and ref palette not equal length!");
        VIZ_ASSERT(paletteAOD.size() == ref.size() && "AOD and ref palette not equal length!");
        for (size_t j = 0; j < ref.size(); ++j) {
            const std::vector<colorf>& entryDefault = paletteDefault[j];
            const std::vector<colorf>& entryAOD = paletteAOD[j];
            const size_t sizeRef = ref[j].size();
            VIZ_ASSERT(entryDefault.size() == sizeRef &&
                       "DEFAULT palette and ref entry not equal length!");
            VIZ_ASSERT(entryAOD.size() == sizeRef && "AOD palette and ref entry not equal length!");
        }
    }
}

}  // namespace content2020
