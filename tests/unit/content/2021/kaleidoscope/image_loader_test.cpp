// The photograph worker keeps what it decodes beside the heap: photographs decoded ahead and
// waiting for their modes take nothing from it, however many come and go.
#include "visualization/content/2021/kaleidoscope/image_loader.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <string>

#include "support/heap.h"
#include "support/test_output.h"

namespace {

using namespace content2021::kaleidoscope;

const std::string kPhotos = (testsupport::sourceDir() + "/res/images/kaleidoscope_default/");

using testsupport::heapInUse;
using testsupport::heapVisible;

}  // namespace

TEST(KaleidoscopeImageLoader, PhotographsDecodedAheadHoldNothingOnTheHeap) {
    if (!heapVisible()) {
        GTEST_SKIP() << "the heap in use cannot be read";
    }
    ImageLoader loader;
    DecodedImage warm;
    loader.request(kPhotos + "rocket.jpg");
    ASSERT_TRUE(loader.wait(warm));
    warm = DecodedImage();

    const size_t before = heapInUse();
    DecodedImage held[3];
    const char* names[3] = {"hubble_deep_field.jpg", "chelsea.jpg", "retina.jpg"};
    for (int i = 0; i < 3; ++i) {
        loader.request(kPhotos + names[i]);
        ASSERT_TRUE(loader.wait(held[i])) << names[i];
        EXPECT_EQ(held[i].path, kPhotos + names[i]);
        EXPECT_EQ(held[i].channels, 3);
    }
    EXPECT_EQ(held[0].width, 1000);
    EXPECT_EQ(held[0].height, 872);
    // Paths and bookkeeping only; a photograph's pixels or levels would be megabytes.
    EXPECT_LT(heapInUse() - before, 64u * 1024);
}
