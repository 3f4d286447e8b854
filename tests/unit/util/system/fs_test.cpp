#include "visualization/util/system/fs.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/log_capture.h"
#include "support/test_output.h"

using testsupport::LogCapture;

namespace {

// A fresh directory of the test's own, removed with everything in it. Restores the module's
// resource path and the working directory a test changes.
class FsTest : public ::testing::Test {
protected:
    void SetUp() override {
        mSavedPath = fs::getResourcePath();
        mSavedCwd = std::filesystem::current_path();
    }
    void TearDown() override {
        fs::setResourcePath(mSavedPath.c_str());
        std::filesystem::current_path(mSavedCwd);
    }

    std::string file(const std::string& name) const { return mDir + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }

    testsupport::ScratchDirectory mScratch{"fs"};
    const std::string mDir = mScratch.path().string();

private:
    std::string mSavedPath;
    std::filesystem::path mSavedCwd;
};

// Slashes first: a slash inside backslashes survives. The stored path loses its leading slash,
// so it resolves against the working directory.
TEST_F(FsTest, ResourcePathLosesSeparatorsAtBothEndsAndLoadsJoinIt) {
    for (const auto& [given, stored] :
         {std::pair{"/a/b/", "a/b"}, {"/\\mixed\\/", "mixed"}, {"\\/x/\\", "/x/"}, {"///", ""}}) {
        fs::setResourcePath(given);
        EXPECT_EQ(fs::getResourceFilepath("images/x.png"), stored + std::string("/images/x.png"));
    }
    std::filesystem::current_path("/");
    fs::setResourcePath((mDir + "/").c_str());
    LogCapture log;
    int width = -1, height = -1, channels = -1;
    EXPECT_EQ(fs::loadResourceTextureData("nope.png", &width, &height, &channels), nullptr);
    const std::string joined = mDir.substr(1) + "/nope.png";
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "[fs] Binary could not be loaded: " + joined + "\n",
                               "[fs] Error loading texture data: " + joined + "\n",
                           }));
}

TEST_F(FsTest, WholeFilesComeBackByteForByteOrEmptyWithALine) {
    const std::string bytes("\x20\x0A\x00\xFF\x0D\x0A\x09\x20", 8);
    write("data.bin", bytes);
    write("empty.bin", "");
    LogCapture log;
    EXPECT_EQ(fs::loadBinary(file("data.bin").c_str()),
              std::vector<uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_TRUE(fs::loadBinary(file("empty.bin").c_str()).empty());
    EXPECT_TRUE(log.lines().empty());

    const std::string missing = file("missing.bin");
    EXPECT_TRUE(fs::loadBinary(missing.c_str()).empty());
    // A directory is no asset, and must not be mistaken for an enormous file.
    EXPECT_TRUE(fs::loadBinary(mDir.c_str()).empty());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "[fs] Binary could not be loaded: " + missing + "\n",
                               "[fs] Binary could not be loaded: " + mDir + "\n",
                           }));
}

// Bytes the decoder rejects give null without a line of their own; an empty file is logged. Found
// by the image reader fuzzer: a JPEG claiming 16000 x 16000 pixels (768 MB, a minute to decode)
// and one of 20000 x 1, which decoded and then failed the texture upload.
TEST_F(FsTest, ImagesThatDoNotDecodeOrExceedTheLimitGiveNullAndLeaveTheSizesAlone) {
    write("junk.png", "not an image");
    write("empty.png", "");
    const std::vector<uint8_t> row(2049 * 3, 200);
    ASSERT_NE(stbi_write_png(file("limit.png").c_str(), 2048, 1, 3, row.data(), 0), 0);
    ASSERT_NE(stbi_write_png(file("over.png").c_str(), 1, 2049, 3, row.data(), 0), 0);
    const std::string huge = (testsupport::sourceDir() + "/tests/fuzz/image_reader/huge.jpg");
    LogCapture log;
    int width = -1, height = -1, channels = -1;
    EXPECT_NE(fs::loadTextureData(file("limit.png").c_str(), &width, &height, &channels), nullptr);
    EXPECT_TRUE(width == 2048 && height == 1 && channels == 3);
    width = height = channels = -1;
    for (const std::string& path : {file("junk.png"), file("empty.png"), file("over.png"), huge}) {
        EXPECT_EQ(fs::loadTextureData(path.c_str(), &width, &height, &channels), nullptr) << path;
    }
    EXPECT_EQ(fs::decodeTextureData(fs::loadBinary(huge.c_str()), &width, &height, &channels),
              nullptr);
    EXPECT_TRUE(width == -1 && height == -1 && channels == -1);
    EXPECT_EQ(
        log.lines(),
        (std::vector<std::string>{
            "[fs] Error loading texture data: " + file("empty.png") + "\n",
            "[fs] Image too large: " + file("over.png") + " (1x2049, at most 2048 on a side)\n",
            "[fs] Image too large: " + huge + " (16000x16000, at most 2048 on a side)\n"}));
}

// Found by the image reader fuzzer, each refused or survived: a Huffman table of more than 256
// codes, which the decoder writes past its arrays (also behind a fill byte, and cut short by the
// end of the file); coded data cut short inside a block by a marker (the decoder then shifts by
// more than 31 bits, excused in the fuzz build); a scan naming an AC table no definition filled,
// which the decoder read uncleared. Ordinary, progressive and bundled photographs still decode.
TEST_F(FsTest, CraftedJpegsAreRefusedOrSurvivedAndOrdinaryOnesDecode) {
    const std::string dir = testsupport::sourceDir() + "/tests/fuzz/image_reader/";
    const auto load = [&dir](const std::string& name) {
        return fs::loadBinary((dir + name).c_str());
    };
    std::vector<uint8_t> filled = load("huffman_overflow.jpg");
    filled.insert(filled.begin(), 0xFF);
    int width = -1, height = -1, channels = -1;
    for (const auto& crafted :
         {load("huffman_overflow.jpg"), filled, load("huffman_cut_short.jpg")}) {
        EXPECT_EQ(fs::decodeTextureData(crafted, &width, &height, &channels), nullptr);
    }
    // Debian's decoder, unlike the one the fuzzer builds, happens to refuse this file on its own.
    EXPECT_FALSE(fs::huffmanTablesFit(load("undefined_ac_table.jpg")));
    EXPECT_TRUE(fs::huffmanTablesFit(load("progressive.jpg")));
    for (const auto& [name, w, h] : {std::tuple{"rgb.jpg", 8, 6},
                                     {"entropy_cut_by_marker.jpg", 12, 6},
                                     {"progressive.jpg", 16, 12}}) {
        EXPECT_NE(fs::decodeTextureData(load(name), &width, &height, &channels), nullptr) << name;
        EXPECT_TRUE(width == w && height == h && channels == 3) << name;
    }
    for (const char* photo :
         {"astronaut", "chelsea", "coffee", "hubble_deep_field", "retina", "rocket"}) {
        const std::string path =
            (testsupport::sourceDir() + "/res/images/kaleidoscope_default/") + photo + ".jpg";
        EXPECT_NE(fs::decodeTextureData(fs::loadBinary(path.c_str()), &width, &height, &channels),
                  nullptr)
            << photo;
    }
}

}  // namespace
