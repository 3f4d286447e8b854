// The decoder's memory: inside an arena's scope a decode takes nothing from the heap, so that
// photographs coming and going for hours cannot fragment it; outside one, or beyond its room, the
// heap serves as before, and every block can be grown and freed whichever it came from.
#include "visualization/util/system/decode_arena.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/heap.h"

#include "support/test_output.h"
#include "visualization/util/system/fs.h"

namespace {

using testsupport::heapInUse;
using testsupport::heapVisible;

}  // namespace

TEST(DecodeArena, ADecodeInsideAScopeTakesNothingFromTheHeap) {
    if (!heapVisible()) {
        GTEST_SKIP() << "the heap in use cannot be read";
    }
    const std::string path =
        testsupport::sourceDir() + "/res/images/kaleidoscope_default/chelsea.jpg";
    const std::vector<uint8_t> bytes = fs::loadBinary(path.c_str());
    ASSERT_FALSE(bytes.empty());
    int width = 0, height = 0, channels = 0;
    fs::DecodeArena arena(16u << 20);
    const size_t before = heapInUse();
    fs::TextureData inside;
    {
        const fs::DecodeArena::Scope scope(arena);
        inside = fs::decodeTextureData(bytes, &width, &height, &channels);
    }
    ASSERT_NE(inside, nullptr);
    const size_t picture = static_cast<size_t>(width) * height * channels;
    EXPECT_LT(heapInUse() - before, 16u * 1024) << "held by the heap while the pixels live";

    // Too small an arena, or none: the heap, as the decoder always did.
    fs::DecodeArena small(64u * 1024);
    {
        const fs::DecodeArena::Scope scope(small);
        const fs::TextureData outside = fs::decodeTextureData(bytes, &width, &height, &channels);
        ASSERT_NE(outside, nullptr);
        EXPECT_GE(heapInUse() - before, picture);
        EXPECT_EQ(std::memcmp(outside.get(), inside.get(), picture), 0);
    }
    const fs::TextureData plain = fs::decodeTextureData(bytes, &width, &height, &channels);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(std::memcmp(plain.get(), inside.get(), picture), 0);

    // An image loaded from its file brings a mapping of its own, which goes with the pixels.
    const size_t beforeLoad = heapInUse();
    const fs::TextureData loaded = fs::loadTextureData(path.c_str(), &width, &height, &channels);
    ASSERT_NE(loaded, nullptr);
    EXPECT_LT(heapInUse() - beforeLoad, 16u * 1024);
    EXPECT_EQ(std::memcmp(loaded.get(), inside.get(), picture), 0);
}

TEST(DecodeArena, BlocksGrowAndFreeWhereverTheyCameFrom) {
    fs::DecodeArena arena(4096);
    const fs::DecodeArena::Scope scope(arena);
    auto* first = static_cast<unsigned char*>(fs::decoderAllocate(100));
    ASSERT_NE(first, nullptr);
    std::memset(first, 7, 100);
    // The newest block grows where it is.
    auto* grown = static_cast<unsigned char*>(fs::decoderReallocate(first, 1000));
    EXPECT_EQ(grown, first);
    void* next = fs::decoderAllocate(16);
    // Any other moves, keeping its bytes: to the arena while it has room, then to the heap.
    auto* moved = static_cast<unsigned char*>(fs::decoderReallocate(grown, 2000));
    ASSERT_NE(moved, nullptr);
    EXPECT_NE(moved, grown);
    auto* heap = static_cast<unsigned char*>(fs::decoderReallocate(moved, 8000));
    ASSERT_NE(heap, nullptr);
    for (size_t i = 0; i < 100; ++i) {
        ASSERT_EQ(heap[i], 7) << i;
    }
    heap = static_cast<unsigned char*>(fs::decoderReallocate(heap, 16000));
    ASSERT_NE(heap, nullptr);
    EXPECT_EQ(heap[99], 7);
    fs::decoderFree(heap);
    fs::decoderFree(next);
    fs::decoderFree(nullptr);
}
