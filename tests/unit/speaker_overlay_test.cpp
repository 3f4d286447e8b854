// The speaker rings' timing, without GL. Where the rings land on screen, and the log lines, are
// checked through pixels on the headless context.
#include "visualization/speaker_overlay.h"

#include <gtest/gtest.h>

// The latest source (delay 0.125) plus the second wave (0.35) finishes after 1.475 cycles of
// 4.5 s, whatever the layout; skipping ends it at once.
TEST(SpeakerOverlay, EveryLayoutFinishesAfterTheSameDurationOrWhenSkipped) {
    constexpr float kDuration = 1.475f * 4.5f;
    for (int s = 0; s <= static_cast<int>(SpeakerInfo::Kiro); ++s) {
        const auto speaker = static_cast<SpeakerInfo>(s);
        SpeakerOverlay overlay(1920, 1080, speaker, false);
        for (int frame = 0; frame < 420; ++frame) {  // 7 s at 60 fps
            ASSERT_EQ(overlay.isFinished(), frame / 60.0f > kDuration)
                << toString(speaker) << " frame " << frame;
            overlay.draw(1.0f / 60.0f);
        }
    }
    SpeakerOverlay overlay(1920, 1080, SpeakerInfo::TV_1, false);
    overlay.draw(2.0f);
    EXPECT_FALSE(overlay.isFinished());
    overlay.skip();
    EXPECT_TRUE(overlay.isFinished());
}
