#include "visualization/util/system/fs.h"

#include <dirent.h>
#include <stb_image_write.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/log_capture.h"

using testsupport::LogCapture;

namespace {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir()
        : mPath("/tmp/viz-fs-" + std::to_string(::getpid()) + "-" + std::to_string(sCount++)) {
        std::filesystem::remove_all(mPath);
        std::filesystem::create_directories(mPath);
    }
    ~TempDir() { std::filesystem::remove_all(mPath); }

    const std::string& path() const { return mPath; }
    std::string file(const std::string& name) const { return mPath + "/" + name; }

    void write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        FILE* out = std::fopen(file(name).c_str(), "wb");
        ASSERT_NE(out, nullptr);
        if (!bytes.empty()) {
            std::fwrite(bytes.data(), 1, bytes.size(), out);
        }
        std::fclose(out);
    }

private:
    static inline int sCount = 0;
    std::string mPath;
};

// Restores the module's resource path and the working directory a test changes.
class ResourcePathGuard {
public:
    ResourcePathGuard() : mPath(fs::getResourcePath()) {
        char cwd[4096];
        mCwd = ::getcwd(cwd, sizeof(cwd)) != nullptr ? cwd : "/";
    }
    ~ResourcePathGuard() {
        fs::setResourcePath(mPath.c_str());
        EXPECT_EQ(::chdir(mCwd.c_str()), 0);
    }

private:
    std::string mPath;
    std::string mCwd;
};

std::vector<std::string> rawDirectoryOrder(const std::string& path) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(path.c_str());
    while (const dirent* entry = ::readdir(directory)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(directory);
    return names;
}

}  // namespace

TEST(Fs, ResourcePathLosesSeparatorsAtBothEnds) {
    ResourcePathGuard guard;
    fs::setResourcePath("/a/b/");
    EXPECT_EQ(fs::getResourcePath(), "a/b");
    EXPECT_EQ(fs::getResourceFilepath("images/x.png"), "a/b/images/x.png");

    fs::setResourcePath("/\\mixed\\/");
    EXPECT_EQ(fs::getResourcePath(), "mixed");
    // Slashes first: a slash inside backslashes survives.
    fs::setResourcePath("\\/x/\\");
    EXPECT_EQ(fs::getResourcePath(), "/x/");
    fs::setResourcePath("///");
    EXPECT_EQ(fs::getResourcePath(), "");
    EXPECT_EQ(fs::getResourceFilepath("a"), "/a");
}

TEST(Fs, WholeFilesComeBackByteForByte) {
    TempDir dir;
    const std::vector<uint8_t> bytes = {0x20, 0x0A, 0x00, 0xFF, 0x0D, 0x0A, 0x09, 0x20};
    dir.write("data.bin", bytes);
    dir.write("empty.bin", {});

    LogCapture log;
    EXPECT_EQ(fs::loadBinary(dir.file("data.bin").c_str()), bytes);
    EXPECT_TRUE(fs::loadBinary(dir.file("empty.bin").c_str()).empty());
    EXPECT_EQ(fs::loadString(dir.file("data.bin").c_str()),
              std::string(bytes.begin(), bytes.end()));
    EXPECT_TRUE(log.lines().empty());

    const std::string missing = dir.file("missing.bin");
    EXPECT_TRUE(fs::loadBinary(missing.c_str()).empty());
    EXPECT_EQ(fs::loadString(missing.c_str()), "");
    // A directory is no asset, and must not be mistaken for an enormous file.
    EXPECT_TRUE(fs::loadBinary(dir.path().c_str()).empty());
    const std::vector<std::string> expected = {
        "[fs] Binary could not be loaded: " + missing + "\n",
        "[fs] String could not be loaded: " + missing + "\n",
        "[fs] Binary could not be loaded: " + dir.path() + "\n",
    };
    EXPECT_EQ(log.lines(), expected);
}

TEST(Fs, ResourceLoadsJoinTheStoredPath) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("fonts").c_str(), 0755), 0);
    dir.write("fonts/f.json", {'{', '}', '\n'});
    ResourcePathGuard guard;
    // The stored path loses its leading slash, so it resolves against the working directory.
    ASSERT_EQ(::chdir("/"), 0);
    fs::setResourcePath((dir.path() + "/").c_str());
    EXPECT_EQ(fs::loadResourceString("fonts/f.json"), "{}\n");

    LogCapture log;
    int width = -1, height = -1, channels = -1;
    EXPECT_EQ(fs::loadResourceTextureData("nope.png", &width, &height, &channels), nullptr);
    const std::string joined = dir.path().substr(1) + "/nope.png";
    const std::vector<std::string> expected = {
        "[fs] Binary could not be loaded: " + joined + "\n",
        "[fs] Error loading texture data: " + joined + "\n",
    };
    EXPECT_EQ(log.lines(), expected);
}

TEST(Fs, ImagesDecodeTopRowFirstInTheirOwnChannels) {
    TempDir dir;
    // 3 x 2 RGBA with a distinct value in every channel of every pixel.
    std::vector<uint8_t> rgba(3 * 2 * 4);
    for (size_t i = 0; i < rgba.size(); ++i) {
        rgba[i] = static_cast<uint8_t>(i * 10 + 5);
    }
    ASSERT_NE(stbi_write_png(dir.file("rgba.png").c_str(), 3, 2, 4, rgba.data(), 3 * 4), 0);

    LogCapture log;
    int width = 0, height = 0, channels = 0;
    fs::TextureData pixels =
        fs::loadTextureData(dir.file("rgba.png").c_str(), &width, &height, &channels);
    ASSERT_NE(pixels, nullptr);
    EXPECT_TRUE(width == 3 && height == 2 && channels == 4);
    EXPECT_EQ(std::vector<uint8_t>(pixels.get(), pixels.get() + rgba.size()), rgba);

    EXPECT_TRUE(log.lines().empty());

    // Bytes the decoder rejects: null, without a line of its own.
    dir.write("junk.png", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    width = height = channels = -1;
    EXPECT_EQ(fs::loadTextureData(dir.file("junk.png").c_str(), &width, &height, &channels),
              nullptr);
    EXPECT_TRUE(log.lines().empty());

    // An empty file is read fine but has nothing to decode.
    dir.write("empty.png", {});
    EXPECT_EQ(fs::loadTextureData(dir.file("empty.png").c_str(), &width, &height, &channels),
              nullptr);
    const std::vector<std::string> expected = {
        "[fs] Error loading texture data: " + dir.file("empty.png") + "\n"};
    EXPECT_EQ(log.lines(), expected);
    EXPECT_TRUE(width == -1 && height == -1 && channels == -1);
}

TEST(Fs, DirectoriesListEveryEntryInTheSystemsOrder) {
    TempDir dir;
    LogCapture log;
    EXPECT_TRUE(fs::getDirectoryFilenames(dir.path().c_str()).empty());
    EXPECT_TRUE(fs::getDirectoryFilepaths(dir.file("missing").c_str()).empty());

    for (const char* name : {"b.png", "a.png", "x.jpg", "c.png", "m.png"}) {
        dir.write(name, {1});
    }
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("a.png", dir.file("link").c_str()), 0);

    const std::vector<std::string> names = fs::getDirectoryFilenames(dir.path().c_str());
    EXPECT_EQ(names, rawDirectoryOrder(dir.path()));
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, std::vector<std::string>(
                          {"a.png", "b.png", "c.png", "link", "m.png", "sub", "x.jpg"}));

    const std::vector<std::string> paths = fs::getDirectoryFilepaths(dir.path().c_str());
    ASSERT_EQ(paths.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(paths[i], dir.path() + "/" + names[i]);
    }
    EXPECT_TRUE(log.lines().empty());
}
