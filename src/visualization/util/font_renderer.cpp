#include "visualization/util/font_renderer.h"

#include <picojson.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <stdexcept>

#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/math/transform.h"
#include "visualization/util/system/fs.h"

namespace {

// The vertex stage keeps the default high precision: positions are screen pixels, and medium
// precision would round them to whole pixels or worse at television widths.
const char* const kVertexShader = R"(#version 100
attribute vec4 aPosition;
attribute vec2 aTexCoord;
uniform mat4 uProjectionMatrix;
varying vec2 vTexCoord;
void main() {
    vTexCoord = aTexCoord;
    gl_Position = uProjectionMatrix * aPosition;
}
)";

const char* const kFragmentShader = R"(#version 100
precision mediump float;
uniform sampler2D uTexture;
uniform vec4 uColor;
uniform vec4 uColorDropShadow;
uniform float uSmoothing;
varying vec2 vTexCoord;
const float shadowSmoothing = 1.0 / 2.0;
const vec2 shadowOffset = vec2(-0.0015, 0.0015);
void main() {
    float dist = texture2D(uTexture, vTexCoord).a;
    float alpha = smoothstep(0.5 - uSmoothing, 0.5 + uSmoothing, dist) * uColor.a;
    vec4 char_ = vec4(uColor.rgb * alpha, alpha);
    float shadowDistance = texture2D(uTexture, vTexCoord - shadowOffset).a;
    float alphaShadow = smoothstep(0.5 - shadowSmoothing, 0.5 + shadowSmoothing, shadowDistance) *
                        uColorDropShadow.a;
    vec4 shadow = vec4(uColorDropShadow.rgb * alphaShadow, alphaShadow);
    gl_FragColor = mix(shadow, char_, char_.a);
}
)";

// Four glyph corners per quad and 16-bit indices.
constexpr size_t kMaxGlyphsPerDraw = 65536 / 4;

// The description's numbers are JSON strings. A missing member reads as JSON null, and get<>
// on anything but a string throws picojson's type-mismatch error; a string that is not a
// number throws the standard conversion error. createCharInfo catches both, but not memory
// running out, which is no fault of the description.
const std::string& member(const picojson::value& object, const char* name) {
    return object.get(name).get<std::string>();
}

int toInt(const picojson::value& object, const char* name) {
    return std::stoi(member(object, name));
}

float toFloat(const picojson::value& object, const char* name) {
    return std::stof(member(object, name));
}

// "a,b,c": up to `count` numbers into out.
void toFloats(const picojson::value& object, const char* name, float* out, size_t count) {
    const std::string& list = member(object, name);
    size_t start = 0;
    for (size_t i = 0; i < count && start <= list.size(); ++i) {
        const size_t comma = std::min(list.find(',', start), list.size());
        out[i] = std::stof(list.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace

FontRenderer::FontRenderer(uint32_t width, uint32_t height) {
    mProgram.reset(
        gl::createProgram(kVertexShader, kFragmentShader, {{0, "aPosition"}, {1, "aTexCoord"}}));
    gl::bindProgram(mProgram.get());
    gl::uniform("uTexture", 0);

    mPositionBuffer.reset(gl::createVertexBuffer());
    mTexCoordBuffer.reset(gl::createVertexBuffer());
    mIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(), GL_STREAM_DRAW));
    std::vector<gl::VertexArrayAttributeConfig> configs = {
        gl::VertexArrayAttributeConfig().setLocation(0).setBuffer(mPositionBuffer.get()).setSize(2),
        gl::VertexArrayAttributeConfig().setLocation(1).setBuffer(mTexCoordBuffer.get()).setSize(2),
    };
    mVertexArray.reset(gl::createVertexArray(configs, mIndexBuffer.get()));
    setViewport(width, height);
}

FontRenderer::~FontRenderer() {
    mProgram.reset();
    mPositionBuffer.reset();
    mTexCoordBuffer.reset();
    mIndexBuffer.reset();
    mVertexArray.reset();
    mFontInfo.clear();
}

void FontRenderer::setViewport(uint32_t width, uint32_t height) {
    if (width == mWidth && height == mHeight) {
        return;
    }
    mWidth = width;
    mHeight = height;
    math::ortho(mProjectionMatrix, 0.0f, static_cast<float>(width), static_cast<float>(height),
                0.0f, -1.0f, 1.0f);
    gl::bindProgram(mProgram.get());
    gl::uniform("uProjectionMatrix", mProjectionMatrix, false);
}

bool FontRenderer::createCharInfo(const std::string& name, const FontPaths& paths) {
    const std::string json = fs::loadResourceString(paths.jsonPath);
    picojson::value root;
    std::string error;
    // The parser throws, rather than reports, a number beyond the range of a double ("1e999").
    try {
        error = picojson::parse(root, json);
    } catch (const std::bad_alloc&) {
        throw;  // not the description's fault: the boundary drops the instance
    } catch (const std::exception& exception) {
        error = exception.what()[0] != '\0' ? exception.what() : "number out of range";
    }
    if (!error.empty()) {
        logMessage("[FontRenderer][createCharInfo] Parse error: %s\n", error.c_str());
        return false;
    }
    if (!root.is<picojson::object>()) {
        logMessage("[FontRenderer][createCharInfo] Invalid object\n");
        return false;
    }

    const picojson::value& info = root.get("info");
    const picojson::value& common = root.get("common");
    const picojson::value& chars = root.get("chars");
    const bool hasMetrics = !info.is<picojson::null>() && !common.is<picojson::null>();
    if (!hasMetrics) {
        logMessage("[FontRenderer][createCharInfo] No \"info\" and/or \"common\" object.");
    }
    if (chars.is<picojson::null>()) {
        logMessage("[FontRenderer][createCharInfo] No \"chars\" object.");
    }
    // A font without metrics or glyphs would draw nothing sensible (its scale divides by a size
    // of zero), so it is not stored at all.
    if (!hasMetrics || chars.is<picojson::null>()) {
        return false;
    }

    // A member that is missing, not a string or not a number rejects the whole description: the
    // error is logged and nothing is stored. A faulty asset must cost the diagnostics their
    // text, never the process.
    FontInfo font;
    try {
        font.size = toInt(info, "size");
        toFloats(info, "padding", font.padding, 4);
        toFloats(info, "spacing", font.spacing, 2);
        font.lineHeight = toFloat(common, "lineHeight");
        font.base = toFloat(common, "base");
        font.scaleW = toInt(common, "scaleW");
        font.scaleH = toInt(common, "scaleH");
        // Layout divides by these.
        if (font.size <= 0 || font.scaleW <= 0 || font.scaleH <= 0) {
            throw std::invalid_argument("font or atlas size not positive");
        }

        for (const picojson::value& glyph : chars.get("char").get<picojson::array>()) {
            CharInfo c;
            c.id = toInt(glyph, "id");
            c.x = toFloat(glyph, "x");
            c.y = toFloat(glyph, "y");
            c.width = toFloat(glyph, "width");
            c.height = toFloat(glyph, "height");
            c.xoffset = toFloat(glyph, "xoffset");
            c.yoffset = toFloat(glyph, "yoffset");
            c.xadvance = toFloat(glyph, "xadvance");
            font.chars[c.id] = c;
        }
        for (const char capital : {'A', 'N', 'W', 'M', 'X', 'H'}) {
            const auto found = font.chars.find(capital);
            if (found != font.chars.end()) {
                font.capHeight = found->second.height - font.spacing[1];
                break;
            }
        }

        const picojson::value& kernings = root.get("kernings");
        if (!kernings.is<picojson::null>()) {
            for (const picojson::value& pair : kernings.get<picojson::array>()) {
                KerningInfo k;
                k.first = toInt(pair, "first");
                k.second = toInt(pair, "second");
                k.amount = toFloat(pair, "amount");
                font.kernings[k.first][k.second] = k;
            }
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        logMessage("[FontRenderer][createCharInfo] Invalid font description %s: %s",
                   paths.jsonPath.c_str(), e.what());
        return false;
    }

    gl::Texture2dConfig config;
    font.texture.reset(gl::createTexture2d(paths.imagePath.c_str(), config));
    mFontInfo[name] = std::move(font);
    return true;
}

void FontRenderer::setFont(const std::string& name) {
    mFontInfoName = name;
}

void FontRenderer::size(float size) {
    mStyle.size = size;
}

void FontRenderer::color(float r, float g, float b, float a) {
    mStyle.color = colorf(r, g, b, a);
}

void FontRenderer::shadowColor(float r, float g, float b, float a) {
    mStyle.shadowColor = colorf(r, g, b, a);
}

void FontRenderer::smoothing(float smoothing) {
    mStyle.smoothing = smoothing;
}

void FontRenderer::horizontalAlign(int align) {
    mStyle.horizontalAlign = align;
}

void FontRenderer::verticalAlign(int align) {
    mStyle.verticalAlign = align;
}

void FontRenderer::pushStyle() {
    mStyleStack.push_back(mStyle);
}

void FontRenderer::popStyle() {
    VIZ_ASSERT(!mStyleStack.empty());
    mStyle = mStyleStack.back();
    mStyleStack.pop_back();
}

void FontRenderer::pushMatrix() {
    mModelMatrixStack.push_back(mModelMatrix);
}

void FontRenderer::popMatrix() {
    VIZ_ASSERT(!mModelMatrixStack.empty());
    mModelMatrix = mModelMatrixStack.back();
    mModelMatrixStack.pop_back();
}

void FontRenderer::setMatrix(const math::mat44<float>& matrix) {
    mModelMatrix = matrix;
}

void FontRenderer::identity() {
    mModelMatrix = math::mat44<float>();
}

void FontRenderer::translate(float x, float y) {
    mModelMatrix.multiply(math::translation(x, y, 0.0f));
}

void FontRenderer::rotate(float angle) {
    mModelMatrix.multiply(math::rotation(angle, 0.0f, 0.0f, 1.0f));
}

void FontRenderer::scale(float s) {
    scale(s, s);
}

void FontRenderer::scale(float sx, float sy) {
    mModelMatrix.multiply(math::scaling(sx, sy, 1.0f));
}

const FontRenderer::FontInfo& FontRenderer::currentFont() const {
    const auto found = mFontInfo.find(mFontInfoName);
    VIZ_ASSERT(!mFontInfoName.empty() && found != mFontInfo.end() &&
               "[FontRenderer][drawString] Current font set not valid");
    return found->second;
}

float FontRenderer::getNextKerning(int index, const char* text, int length) const {
    VIZ_ASSERT(index >= 0 && index < length);
    const FontInfo& font = currentFont();
    const auto pairs = font.kernings.find(static_cast<unsigned char>(text[index]));
    if (pairs == font.kernings.end()) {
        return 0.0f;
    }
    int next = std::min(index + 1, length - 1);
    while (next < length - 1 && font.chars.count(static_cast<unsigned char>(text[next])) == 0) {
        ++next;
    }
    const auto pair = pairs->second.find(static_cast<unsigned char>(text[next]));
    return pair != pairs->second.end() ? pair->second.amount : 0.0f;
}

void FontRenderer::layout(const FontInfo& font, std::string_view text) {
    mMetrics.clear();
    mLines.clear();
    size_t start = 0;
    for (int lineIndex = 0;; ++lineIndex) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        Line span;
        span.begin = mMetrics.size();
        float pen = 0.0f;
        for (size_t i = 0; i < line.size(); ++i) {
            const auto glyph = font.chars.find(static_cast<unsigned char>(line[i]));
            if (glyph == font.chars.end()) {
                continue;
            }
            const CharInfo& c = glyph->second;
            if (mMetrics.size() == span.begin) {
                // The first glyph's bitmap starts the line, whatever its bearing.
                pen = -c.xoffset;
            }
            CharMetric m;
            m.character = c.id;
            m.x = c.xoffset + pen;
            m.y = c.yoffset + static_cast<float>(lineIndex) * font.lineHeight;
            m.width = c.width;
            m.height = c.height;
            m.u = c.x / static_cast<float>(font.scaleW);
            m.v = c.y / static_cast<float>(font.scaleH);
            m.us = c.width / static_cast<float>(font.scaleW);
            m.vs = c.height / static_cast<float>(font.scaleH);
            mMetrics.push_back(m);
            pen += c.xadvance +
                   getNextKerning(static_cast<int>(i), line.data(), static_cast<int>(line.size()));
        }
        span.end = mMetrics.size();
        if (span.end > span.begin) {
            const CharMetric& last = mMetrics[span.end - 1];
            span.width = mMetrics[span.begin].x + last.x + last.width;
        }
        mLines.push_back(span);
        if (end == text.size()) {
            break;
        }
        start = end + 1;
    }
}

FontRenderer::TextMetrics FontRenderer::getTextMetrics(std::string_view text) {
    const FontInfo& font = currentFont();
    TextMetrics metrics;
    if (text.empty()) {
        return metrics;
    }
    const float scale = mStyle.size / static_cast<float>(font.size);
    layout(font, text);
    bool firstTop = true;
    bool firstLeft = true;
    for (const Line& line : mLines) {
        float start = 0.0f;
        if (mStyle.horizontalAlign == 1) {
            start = -line.width;
        } else if (mStyle.horizontalAlign == 2) {
            start = -line.width * 0.5f;
        }
        metrics.left = firstLeft ? start : std::min(metrics.left, start);
        firstLeft = false;
        metrics.width = std::max(metrics.width, line.width);
        if (line.end > line.begin) {
            const float top = mMetrics[line.begin].y;
            metrics.top = firstTop ? top : std::min(metrics.top, top);
            firstTop = false;
        }
    }
    metrics.left *= scale;
    metrics.top *= scale;
    metrics.width *= scale;
    metrics.height = static_cast<float>(mLines.size()) * font.lineHeight * scale;
    metrics.base = font.base * scale;
    return metrics;
}

void FontRenderer::drawString(float x, float y, std::string_view text) {
    const FontInfo& font = currentFont();
    if (text.empty()) {
        return;
    }
    const float scale = mStyle.size / static_cast<float>(font.size);
    layout(font, text);
    if (mStyle.verticalAlign == 1) {
        y += -font.base * scale;
    } else if (mStyle.verticalAlign == 2) {
        y += -font.lineHeight / 2.0f * scale;
    }
    for (const Line& line : mLines) {
        float lineX = x;
        if (mStyle.horizontalAlign == 1) {
            lineX = x - line.width * scale;
        } else if (mStyle.horizontalAlign == 2) {
            lineX = x - line.width / 2.0f * scale;
        }
        drawLine(font, line, lineX, y, scale);
    }
}

void FontRenderer::drawLine(const FontInfo& font, const Line& line, float x, float y, float scale) {
    const size_t count = std::min(line.end - line.begin, kMaxGlyphsPerDraw);
    if (count == 0) {
        return;
    }
    math::mat44<float> lineMatrix = math::translation(x, y, 0.0f);
    lineMatrix.multiply(mModelMatrix);
    lineMatrix.multiply(math::rotation(mRotation, 0.0f, 0.0f, 1.0f));

    mPositions.clear();
    mTexCoords.clear();
    mIndices.clear();
    for (size_t i = 0; i < count; ++i) {
        const CharMetric& m = mMetrics[line.begin + i];
        const float gx = m.x * scale;
        const float gy = m.y * scale;
        const float gw = m.width * scale;
        const float gh = m.height * scale;
        const float corners[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};
        for (const auto& corner : corners) {
            float px = gx + corner[0] * gw, py = gy + corner[1] * gh, pz = 0.0f, pw = 1.0f;
            lineMatrix.transform(px, py, pz, pw);
            mPositions.push_back(px);
            mPositions.push_back(py);
            mTexCoords.push_back(m.u + corner[0] * m.us);
            mTexCoords.push_back(m.v + corner[1] * m.vs);
        }
        const auto b = static_cast<uint16_t>(i * 4);
        mIndices.insert(mIndices.end(),
                        {b, static_cast<uint16_t>(b + 1), static_cast<uint16_t>(b + 2), b,
                         static_cast<uint16_t>(b + 2), static_cast<uint16_t>(b + 3)});
    }

    gl::bindProgram(mProgram.get());
    gl::bindVertexArray(mVertexArray.get());
    gl::activeTexture(0);
    gl::bindTexture2d(font.texture.get());
    gl::uniform("uColor", mStyle.color.r, mStyle.color.g, mStyle.color.b, mStyle.color.a);
    gl::uniform("uColorDropShadow", mStyle.shadowColor.r, mStyle.shadowColor.g,
                mStyle.shadowColor.b, mStyle.shadowColor.a);
    gl::uniform("uSmoothing", 1.0f / mStyle.smoothing);
    gl::bindVertexBuffer(mPositionBuffer.get());
    gl::bufferVertexData(mPositions, GL_STREAM_DRAW);
    gl::bindVertexBuffer(mTexCoordBuffer.get());
    gl::bufferVertexData(mTexCoords, GL_STREAM_DRAW);
    gl::bindIndexBuffer(mIndexBuffer.get());
    gl::bufferIndexData(mIndices, GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mIndices.size()), GL_UNSIGNED_SHORT, nullptr);
}
