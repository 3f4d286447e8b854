#include "visualization/content/2021/lines/content.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/content_gl_test.h"
#include "support/log_capture.h"

using LinesContentTest = testsupport::ContentGlTest;

// The content and its renderer log their scopes; the three animators work silently inside them.
TEST_F(LinesContentTest, OnlyTheContentAndTheRendererLogTheirScopes) {
    testsupport::LogCapture log;
    auto content =
        std::make_unique<content2021::lines::Content>(kWidth, kHeight, RotateInfo::Landscape);
    const std::string c = "[content2021][lines]";
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  c + "[Content][Constructor] Begin", c + "[Renderer][Constructor] Begin",
                  c + "[Renderer][Constructor] End", c + "[Content][Constructor] End"}));
    log.clear();
    content.reset();
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  c + "[Content][Destructor] Begin", c + "[Renderer][Destructor] Begin",
                  c + "[Renderer][Destructor] End", c + "[Content][Destructor] End"}));
}
