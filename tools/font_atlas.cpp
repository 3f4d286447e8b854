#include "font_atlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include <picojson.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace assets {

namespace {

struct Glyph {
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int left = 0, top = 0;
    double advance = 0.0;
    std::vector<uint8_t> distances;  // width x height, top row first
};

picojson::value text(const std::string& s) {
    return picojson::value(s);
}

picojson::value number(int v) {
    return text(std::to_string(v));
}

// 26.6 fixed point, printed exactly: every value is a multiple of 1/64.
picojson::value fixed(long v) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%.10g", static_cast<double>(v) / 64.0);
    return text(buffer);
}

uint32_t nextPowerOfTwo(uint32_t v) {
    uint32_t p = 1;
    while (p < v) {
        p <<= 1;
    }
    return p;
}

class FreeType {
public:
    FreeType() { mError = FT_Init_FreeType(&mLibrary); }
    ~FreeType() {
        if (mFace != nullptr) {
            FT_Done_Face(mFace);
        }
        if (mError == 0) {
            FT_Done_FreeType(mLibrary);
        }
    }
    FreeType(const FreeType&) = delete;
    FreeType& operator=(const FreeType&) = delete;

    bool open(const std::string& path) {
        if (mError != 0) {
            return false;
        }
        FT_Int spread = kFontSpread;
        FT_Property_Set(mLibrary, "sdf", "spread", &spread);
        return FT_New_Face(mLibrary, path.c_str(), 0, &mFace) == 0 &&
               FT_Set_Pixel_Sizes(mFace, 0, kFontSize) == 0;
    }
    FT_Face face() const { return mFace; }

private:
    FT_Library mLibrary = nullptr;
    FT_Face mFace = nullptr;
    FT_Error mError = 0;
};

}  // namespace

FontAtlas makeFontAtlas(const std::string& fontPath) {
    FontAtlas atlas;
    FreeType freeType;
    if (!freeType.open(fontPath)) {
        atlas.error = "cannot open " + fontPath;
        return atlas;
    }
    FT_Face face = freeType.face();

    std::vector<Glyph> glyphs;
    for (int code = kFontFirstChar; code <= kFontLastChar; ++code) {
        // Unhinted outlines: the field should follow the true shape, not the pixel grid of one
        // size, since the text is drawn at many.
        if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_NO_HINTING) != 0) {
            atlas.error = "cannot load character " + std::to_string(code);
            return atlas;
        }
        Glyph glyph;
        glyph.id = code;
        glyph.advance = static_cast<double>(face->glyph->advance.x);
        if (face->glyph->outline.n_points > 0) {
            if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_SDF) != 0) {
                atlas.error = "cannot render character " + std::to_string(code);
                return atlas;
            }
            const FT_Bitmap& bitmap = face->glyph->bitmap;
            glyph.width = static_cast<int>(bitmap.width);
            glyph.height = static_cast<int>(bitmap.rows);
            glyph.left = face->glyph->bitmap_left;
            glyph.top = face->glyph->bitmap_top;
            for (int row = 0; row < glyph.height; ++row) {
                const uint8_t* line = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
                glyph.distances.insert(glyph.distances.end(), line, line + glyph.width);
            }
        }
        glyphs.push_back(std::move(glyph));
    }

    // Shelves in character order, a spacing's margin around every glyph.
    const uint32_t width = 512;
    int x = kFontSpacing, y = kFontSpacing, shelf = 0;
    for (Glyph& glyph : glyphs) {
        if (x + glyph.width + kFontSpacing > static_cast<int>(width)) {
            x = kFontSpacing;
            y += shelf + kFontSpacing;
            shelf = 0;
        }
        glyph.x = x;
        glyph.y = y;
        x += glyph.width + kFontSpacing;
        shelf = std::max(shelf, glyph.height);
    }
    const uint32_t height = nextPowerOfTwo(static_cast<uint32_t>(y + shelf + kFontSpacing));

    atlas.image.width = width;
    atlas.image.height = height;
    atlas.image.channels = 4;
    atlas.image.pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    for (size_t i = 0; i < atlas.image.pixels.size(); i += 4) {
        // White everywhere, so that filtering at glyph edges never darkens the colour.
        atlas.image.pixels[i] = atlas.image.pixels[i + 1] = atlas.image.pixels[i + 2] = 255;
    }
    for (const Glyph& glyph : glyphs) {
        for (int row = 0; row < glyph.height; ++row) {
            for (int column = 0; column < glyph.width; ++column) {
                const size_t at =
                    (static_cast<size_t>(glyph.y + row) * width + glyph.x + column) * 4 + 3;
                atlas.image.pixels[at] =
                    glyph.distances[static_cast<size_t>(row) * glyph.width + column];
            }
        }
    }

    const FT_Size_Metrics& metrics = face->size->metrics;
    const int base = static_cast<int>(std::lround(metrics.ascender / 64.0));
    picojson::object info;
    info["face"] = text(std::string(face->family_name) + " " + face->style_name);
    info["size"] = number(kFontSize);
    const std::string spread = std::to_string(kFontSpread);
    info["padding"] = text(spread + "," + spread + "," + spread + "," + spread);
    const std::string spacing = std::to_string(kFontSpacing);
    info["spacing"] = text(spacing + "," + spacing);
    info["distanceRange"] = number(2 * kFontSpread);

    picojson::object common;
    common["lineHeight"] = number(static_cast<int>(std::lround(metrics.height / 64.0)));
    common["base"] = number(base);
    common["scaleW"] = number(static_cast<int>(width));
    common["scaleH"] = number(static_cast<int>(height));
    common["pages"] = number(1);

    picojson::array chars;
    for (const Glyph& glyph : glyphs) {
        picojson::object c;
        c["id"] = number(glyph.id);
        c["x"] = number(glyph.x);
        c["y"] = number(glyph.y);
        c["width"] = number(glyph.width);
        c["height"] = number(glyph.height);
        c["xoffset"] = number(glyph.left);
        c["yoffset"] = number(base - glyph.top);
        c["xadvance"] = fixed(static_cast<long>(glyph.advance));
        c["page"] = number(0);
        chars.emplace_back(std::move(c));
    }
    picojson::object charsObject;
    charsObject["count"] = number(static_cast<int>(glyphs.size()));
    charsObject["char"] = picojson::value(std::move(chars));

    // The font's own kerning table, at the atlas size and unrounded.
    picojson::array kernings;
    if (FT_HAS_KERNING(face)) {
        for (const Glyph& first : glyphs) {
            for (const Glyph& second : glyphs) {
                FT_Vector kerning{0, 0};
                FT_Get_Kerning(face, FT_Get_Char_Index(face, static_cast<FT_ULong>(first.id)),
                               FT_Get_Char_Index(face, static_cast<FT_ULong>(second.id)),
                               FT_KERNING_UNFITTED, &kerning);
                if (kerning.x != 0) {
                    picojson::object k;
                    k["first"] = number(first.id);
                    k["second"] = number(second.id);
                    k["amount"] = fixed(kerning.x);
                    kernings.emplace_back(std::move(k));
                }
            }
        }
    }

    picojson::object root;
    root["info"] = picojson::value(std::move(info));
    root["common"] = picojson::value(std::move(common));
    root["chars"] = picojson::value(std::move(charsObject));
    root["kernings"] = picojson::value(std::move(kernings));
    atlas.json = picojson::value(std::move(root)).serialize(true);
    return atlas;
}

}  // namespace assets
