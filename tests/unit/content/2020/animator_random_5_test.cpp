#include "visualization/content/2020/animator_random_5.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorRandom_5;
using content2020::PointMode;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorRandom_5, APeakBeatHurriesOnlyTheSpray) {
    AnimatorRandom_5 a(1920, 1080);
    SoundHistories sound;
    sound.min.assign(240, 0.3f);
    sound.mid.assign(240, 0.3f);
    a.update(0.01f, kRest, sound.frame());
    std::vector<float> before;
    for (const auto& e : a.getEntities()) {
        before.push_back(e.phase);
    }

    sound.max.assign(240, 1.0f);
    a.update(0.01f, kRest, sound.frame());
    EXPECT_EQ(a.getPulse(0), 0.0f);
    EXPECT_EQ(a.getPulse(1), 0.0f);
    EXPECT_FLOAT_EQ(a.getPulse(2), 0.99f);
    const auto& entities = a.getEntities();
    for (size_t i = 0; i < entities.size(); ++i) {
        const float step = entities[i].phase - before[i];
        if (step < 0.0f) {
            continue;  // re-emitted at the inner edge
        }
        // The quiet streams keep their pace; the spray travels five times as fast.
        const float rest = i < 5 ? 0.01f / 14.0f : i < 15 ? 0.01f / 9.0f : 0.01f / 5.0f;
        EXPECT_NEAR(step, entities[i].group == 2 ? 5.0f * rest : rest, 1e-5f) << i;
    }
}
