// Text for the diagnostic displays, from a signed-distance-field bitmap font: a glyph atlas
// (the distance in its alpha channel) and a JSON description of the glyphs, their metrics and
// kerning pairs. Text is laid out line by line with kerning, aligned, transformed by a model
// matrix and drawn with one indexed draw per line; the fragment shader smooths the edge and adds
// a drop shadow, and writes premultiplied colour. Blending and depth are the caller's.
//
// Owns its GL objects and the fonts' atlases; create, use and delete it on the render thread with
// the context current. Drawing allocates nothing once the scratch lists have grown to the
// longest text.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "visualization/util/color.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/math/mat44.h"

class FontRenderer {
public:
    struct CharInfo {
        int id = 0;
        float x = 0.0f;  // pixel position in the atlas
        float y = 0.0f;
        float width = 0.0f;
        float height = 0.0f;
        float xoffset = 0.0f;
        float yoffset = 0.0f;
        float xadvance = 0.0f;
    };

    struct KerningInfo {
        int first = 0;
        int second = 0;
        float amount = 0.0f;  // pixels
    };

    struct FontInfo {
        int size = 0;  // the size the atlas was generated for
        float padding[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        float spacing[2] = {0.0f, 0.0f};
        float lineHeight = 0.0f;
        float base = 0.0f;
        int scaleW = 0;
        int scaleH = 0;
        float capHeight = 0.0f;
        std::map<int, CharInfo> chars;
        std::map<int, std::map<int, KerningInfo>> kernings;
        gl::Owned<gl::Texture2d> texture;
    };

    // One laid-out glyph, in font pixels relative to the start of its text.
    struct CharMetric {
        int character = 0;
        float x = 0.0f;
        float y = 0.0f;
        float width = 0.0f;
        float height = 0.0f;
        float u = 0.0f;  // texture origin and size
        float v = 0.0f;
        float us = 0.0f;
        float vs = 0.0f;
    };

    struct Style {
        float size = 16.0f;  // pixel size of the drawn text
        colorf color = colorf(1.0f, 1.0f, 1.0f, 1.0f);
        colorf shadowColor = colorf(0.0f, 0.0f, 0.0f, 1.0f);
        float smoothing = 3.0f;   // the shader receives 1 / smoothing
        int horizontalAlign = 0;  // 0 left, 1 right, 2 centre
        int verticalAlign = 0;    // 0 top, 1 baseline, 2 middle of the line height
    };

    // In drawn pixels: left is the leftmost line start relative to the anchor (negative for right
    // and centre alignment), top the smallest glyph y of the lines' first glyphs, width the widest
    // line, height the number of lines times the line height, base the baseline.
    struct TextMetrics {
        float left = 0.0f;
        float top = 0.0f;
        float width = 0.0f;
        float height = 0.0f;
        float base = 0.0f;
    };

    // Both below the resource directory.
    struct FontPaths {
        std::string imagePath;
        std::string jsonPath;
    };

    FontRenderer(uint32_t width, uint32_t height);
    ~FontRenderer();
    FontRenderer(const FontRenderer&) = delete;
    FontRenderer& operator=(const FontRenderer&) = delete;

    void setViewport(uint32_t width, uint32_t height);

    // Loads a font and stores it under `name`, replacing one of that name. A description that
    // cannot be used is logged and stores nothing (answers false).
    bool createCharInfo(const std::string& name, const FontPaths& paths);
    void setFont(const std::string& name);

    void size(float size);
    void color(float r, float g, float b, float a);
    void shadowColor(float r, float g, float b, float a);
    void smoothing(float smoothing);
    void horizontalAlign(int align);
    void verticalAlign(int align);
    void pushStyle();
    void popStyle();
    void setStyle(const Style& style) { mStyle = style; }

    // The model matrix places every line (after its anchor translation); operations multiply
    // onto it from the right, like qd's.
    void pushMatrix();
    void popMatrix();
    void setMatrix(const math::mat44<float>& matrix);
    void identity();
    void translate(float x, float y);
    void rotate(float angle);  // radians, about z
    void scale(float s);
    void scale(float sx, float sy);
    // Turns every line about its own anchor after the model matrix (radians).
    void setRotation(float angle) { mRotation = angle; }

    TextMetrics getTextMetrics(std::string_view text);
    void drawString(float x, float y, std::string_view text);
    // Kerning between text[index] and the next character that has a glyph, in font pixels.
    float getNextKerning(int index, const char* text, int length) const;

private:
    struct Line {
        size_t begin = 0;  // into mMetrics
        size_t end = 0;
        float width = 0.0f;
    };

    const FontInfo& currentFont() const;
    void layout(const FontInfo& font, std::string_view text);
    void drawLine(const FontInfo& font, const Line& line, float x, float y, float scale);

    std::map<std::string, FontInfo> mFontInfo;
    std::string mFontInfoName;
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    Style mStyle;
    std::vector<Style> mStyleStack;
    math::mat44<float> mProjectionMatrix;
    math::mat44<float> mModelMatrix;
    std::vector<math::mat44<float>> mModelMatrixStack;
    float mRotation = 0.0f;
    gl::Owned<gl::Program> mProgram;
    gl::Owned<gl::VertexArray> mVertexArray;
    gl::Owned<gl::VertexBuffer> mPositionBuffer;
    gl::Owned<gl::VertexBuffer> mTexCoordBuffer;
    gl::Owned<gl::IndexBuffer> mIndexBuffer;
    std::vector<float> mPositions;
    std::vector<float> mTexCoords;
    std::vector<uint16_t> mIndices;
    std::vector<CharMetric> mMetrics;
    std::vector<Line> mLines;
};
