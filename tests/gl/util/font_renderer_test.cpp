// The distance-field text: every malformed description is logged and refused, and layout follows
// advances, kerning, lines and alignment. Its pixels are the diagnostic views' labels.
#include "visualization/util/font_renderer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/log_capture.h"
#include "support/resource_gl_test.h"
#include "support/test_output.h"

namespace {

using testsupport::LogCapture;

// A small font with round numbers: A and V with a kerning pair, a space, no '?'.
const char* const kTestFont = R"({
 "info": {"size": "20", "padding": "0,0,0,0", "spacing": "0,0"},
 "common": {"lineHeight": "24", "base": "18", "scaleW": "64", "scaleH": "64"},
 "chars": {"char": [
  {"id": "65", "x": "0", "y": "0", "width": "10", "height": "12", "xoffset": "1", "yoffset": "6", "xadvance": "12"},
  {"id": "86", "x": "16", "y": "0", "width": "11", "height": "13", "xoffset": "0", "yoffset": "5", "xadvance": "11"},
  {"id": "32", "x": "0", "y": "0", "width": "0", "height": "0", "xoffset": "0", "yoffset": "0", "xadvance": "5"}]},
 "kernings": [{"first": "65", "second": "86", "amount": "-2"}]
})";

class FontRendererTest : public testsupport::ResourceGlTest {
protected:
    // Writes a description into the test's scratch directory and answers its resource-relative
    // path.
    std::string writeDescription(const std::string& name, const std::string& text) {
        std::ofstream(mFonts / name) << text;
        fs::setResourcePath(mFonts.relative().c_str());
        return name;
    }

    testsupport::ScratchDirectory mFonts{"fonts"};
};

TEST_F(FontRendererTest, MalformedDescriptionsAreLoggedAndRefused) {
    const std::string info = R"("info": {"size": "20", "padding": "0,0,0,0", "spacing": "0,0"})";
    const std::string common =
        R"("common": {"lineHeight": "24", "base": "18", "scaleW": "64", "scaleH": "64"})";
    const std::string glyph =
        R"({"id": "65", "x": "0", "y": "0", "width": "10", "height": "12", "xoffset": "1", )"
        R"("yoffset": "6", "xadvance": "12"})";
    const struct {
        std::string text;
        std::vector<std::string> lines;  // a line ending in '*' is matched by its start
    } cases[] = {
        {"{\"info\": ", {"[FontRenderer][createCharInfo] Parse error: *"}},
        // Found by the font description fuzzer: the parser throws for a number beyond a double.
        {"5E455", {"[FontRenderer][createCharInfo] Parse error: number out of range\n"}},
        {"[1, 2]", {"[FontRenderer][createCharInfo] Invalid object\n"}},
        {"{" + common + ", \"chars\": {\"char\": []}}",
         {"[FontRenderer][createCharInfo] No \"info\" and/or \"common\" object."}},
        {"{" + info + ", " + common + "}", {"[FontRenderer][createCharInfo] No \"chars\" object."}},
        // Members that are missing, or strings that are no numbers.
        {"{" + info + ", " + common + R"(, "chars": {"char": [{"id": "65"}]}})",
         {"[FontRenderer][createCharInfo] Invalid font description bad.json: *"}},
        {"{" + info + ", " + common + ", \"chars\": {\"char\": [" + glyph +
             R"(]}, "kernings": [{"first": "A", "second": "86", "amount": "-2"}]})",
         {"[FontRenderer][createCharInfo] Invalid font description bad.json: stoi"}},
        {R"({"info": {"size": "0", "padding": "0", "spacing": "0"}, )" + common +
             ", \"chars\": {\"char\": []}}",
         {"[FontRenderer][createCharInfo] Invalid font description bad.json: font or atlas size "
          "not positive"}},
    };
    FontRenderer renderer(64, 64);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string path = writeDescription("bad.json", c.text);
        LogCapture log;
        EXPECT_FALSE(renderer.createCharInfo("bad", {"none.png", path}));
        ASSERT_EQ(log.lines().size(), c.lines.size());
        for (size_t i = 0; i < c.lines.size(); ++i) {
            const std::string& expected = c.lines[i];
            if (expected.back() == '*') {
                EXPECT_EQ(log.lines()[i].rfind(expected.substr(0, expected.size() - 1), 0), 0u)
                    << log.lines()[i];
            } else {
                EXPECT_EQ(log.lines()[i], expected);
            }
        }
    }
    // The same file made whole loads.
    writeDescription("good.json", kTestFont);
    EXPECT_TRUE(renderer.createCharInfo("good", {"none.png", "good.json"}));
}

TEST_F(FontRendererTest, LayoutFollowsAdvancesKerningLinesAndAlignment) {
    FontRenderer renderer(64, 64);
    ASSERT_TRUE(
        renderer.createCharInfo("test", {"none.png", writeDescription("test.json", kTestFont)}));
    renderer.setFont("test");
    // At the font's own size (20) font pixels are drawn pixels. The first glyph starts the line
    // (its offset of 1 dropped) and the pair (A, V) closes up by 2: "AV" is 12 - 2 - 1 + 11 = 20
    // wide. A character without a glyph is skipped, also by the kerning lookup. A second line lies
    // one line height lower; half the size halves the rest. Right and centre alignment start each
    // line left of the anchor by its (half) width.
    const struct {
        float size;
        int align;
        const char* text;
        FontRenderer::TextMetrics expected;
    } cases[] = {
        {20.0f, 0, "AV", {0.0f, 6.0f, 20.0f, 24.0f, 18.0f}},
        {20.0f, 0, "A?V", {0.0f, 6.0f, 20.0f, 24.0f, 18.0f}},
        {10.0f, 0, "AV\nA", {0.0f, 3.0f, 10.0f, 24.0f, 9.0f}},
        {20.0f, 1, "AV\nA", {-20.0f, 6.0f, 20.0f, 48.0f, 18.0f}},
        {20.0f, 2, "AV\nA", {-10.0f, 6.0f, 20.0f, 48.0f, 18.0f}},
        {20.0f, 2, "", {0.0f, 0.0f, 0.0f, 0.0f, 0.0f}},
    };
    for (const auto& c : cases) {
        renderer.size(c.size);
        renderer.horizontalAlign(c.align);
        const FontRenderer::TextMetrics m = renderer.getTextMetrics(c.text);
        const FontRenderer::TextMetrics& e = c.expected;
        EXPECT_TRUE(m.left == e.left && m.top == e.top && m.width == e.width &&
                    m.height == e.height && m.base == e.base)
            << c.text << " at " << c.size << ", aligned " << c.align << ": " << m.left << " "
            << m.top << " " << m.width << " " << m.height << " " << m.base;
    }
}

}  // namespace
