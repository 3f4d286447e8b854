#include "visualization/content/2020/content.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "support/log_capture.h"
#include "support/resource_gl_test.h"

namespace {

constexpr uint32_t kCircular1 = 6;

using Content2020Test = testsupport::ResourceGlTest;

}  // namespace

// Leaving a mode moves its palette playlist on; once all ten palettes have been shown the playlist
// is reshuffled, logged, and never starts again with either of the last two palettes shown.
TEST_F(Content2020Test, PalettePlaylistsReshuffleOnWrapWithoutARepeat) {
    content2020::Content content(320, 180, RotateInfo::Landscape);
    testsupport::LogCapture log;
    for (int pass = 0; pass < 30; ++pass) {
        content.setModeIndex(kCircular1);
        content.setModeIndex(0);
    }
    const std::string prefix = "[content2020][Content][reshufflePalettePlaylistItem] CIRCULAR_1: ";
    const std::vector<std::string> lines = log.matching(prefix);
    ASSERT_EQ(lines.size(), 3u);
    std::vector<std::vector<size_t>> playlists;
    for (const std::string& line : lines) {
        std::istringstream in(line.substr(prefix.size()));
        std::vector<size_t> indices;
        for (size_t index = 0; in >> index; in.ignore(1)) {
            indices.push_back(index);
        }
        std::vector<size_t> sorted = indices;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9})) << line;
        playlists.push_back(indices);
    }
    for (size_t i = 1; i < playlists.size(); ++i) {
        EXPECT_NE(playlists[i][0], playlists[i - 1][9]);
        EXPECT_NE(playlists[i][0], playlists[i - 1][8]);
    }
}
