#include "visualization/content/2021/ring/content.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/content_gl_test.h"
#include "visualization/util/random.h"

using content2021::ring::Content;
using RingMode = content2021::ring::ContentMode;

using RingContentTest = testsupport::ContentGlTest;

// The loudest a host can send: every band above the top of the range the sound input clamps to,
// in bursts half a second apart so that each is a beat, in the class whose parameters move the
// rings most. No mode reaches the edge of the screen: the outermost pixels of every fourth frame
// (where frames are slow, of every twelfth of two modes in turn: the sanitizers look after memory,
// not geometry) are still background.
TEST_F(RingContentTest, EveryModeStaysOnScreenAtTheLoudestInput) {
    const uint32_t taken = testsupport::kSlowFrames ? 2 : 6;
    const uint32_t first = testsupport::firstTaken(6, taken);
    for (uint32_t i = first; i < first + taken; ++i) {
        const uint32_t mode = i % 6;
        util::setRandomSeed(7);
        Content content(kWidth, kHeight, RotateInfo::Landscape);
        content.setTransition(1.0f);
        content.setModeIndex(mode);
        testsupport::BandMusic music(SoundClass::Powerful);
        const std::string name = "ring_" + content2021::ring::ContentModeNames.at(RingMode(mode));
        for (int frame = 0; frame < 1200; ++frame) {
            music.feedEvery(frame % 30 < 10 ? -120.0f : 0.0f);
            content.update(testsupport::kMusicDt, music.sound, RotationTransition{});
            if (frame % (testsupport::kSlowFrames ? 12 : 4) != 0) {
                continue;
            }
            const colorf background = draw(content);
            const testsupport::Rgba clear{static_cast<uint8_t>(std::lround(background.r * 255.0f)),
                                          static_cast<uint8_t>(std::lround(background.g * 255.0f)),
                                          static_cast<uint8_t>(std::lround(background.b * 255.0f)),
                                          255};
            readBack();
            int cut = 0;
            for (uint32_t x = 0; x < kWidth; ++x) {
                cut += !testsupport::near(pixel(x, 0), clear) +
                       !testsupport::near(pixel(x, kHeight - 1), clear);
            }
            for (uint32_t y = 1; y + 1 < kHeight; ++y) {
                cut += !testsupport::near(pixel(0, y), clear) +
                       !testsupport::near(pixel(kWidth - 1, y), clear);
            }
            if (cut != 0) {
                ADD_FAILURE() << name << " reaches the edge at frame " << frame << ": "
                              << savePng(name + "_edge");
                break;
            }
        }
    }
}
