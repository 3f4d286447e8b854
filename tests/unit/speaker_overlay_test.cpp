#include "visualization/speaker_overlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <set>

#include "support/log_capture.h"
#include "visualization/util/random.h"

using testsupport::LogCapture;

namespace {

constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;
constexpr float kCycle = 4.5f;

const SpeakerInfo kAllSpeakers[] = {
    SpeakerInfo::TV_1,          SpeakerInfo::TV_2,          SpeakerInfo::TV_3,
    SpeakerInfo::TV_SoundBar_1, SpeakerInfo::TV_SoundBar_2, SpeakerInfo::TV_SoundBar_3,
    SpeakerInfo::SoundBar_1,    SpeakerInfo::SoundBar_2,    SpeakerInfo::SoundBar_3,
    SpeakerInfo::Kiro,
};

// The overlay without GL: its dots are computed, nothing is drawn.
std::unique_ptr<SpeakerOverlay> makeOverlay(SpeakerInfo speaker, uint32_t width = kWidth,
                                            uint32_t height = kHeight) {
    util::setRandomSeed(7);
    return std::make_unique<SpeakerOverlay>(width, height, speaker, false);
}

// Emits the frame at `time` seconds. A draw shows the time it starts at and then advances, so
// the first call moves the clock and the second emits.
void drawAt(SpeakerOverlay& overlay, float time) {
    overlay.draw(time - overlay.getTime());
    overlay.draw(0.0f);
}

struct Source {
    float x, y;
    bool operator<(const Source& o) const { return x < o.x || (x == o.x && y < o.y); }
};

// Finds, for every emitted dot, the source whose blueprint offset it is. Fails the test for a
// dot that no expected source explains.
std::map<Source, int> dotsPerSource(const SpeakerOverlay& overlay,
                                    const std::vector<Source>& sources) {
    std::map<Source, int> counts;
    for (const Source& s : sources) {
        counts[s] = 0;
    }
    for (const SpeakerOverlayRenderEntity& dot : overlay.getRenderEntities()) {
        bool explained = false;
        for (const Source& s : sources) {
            for (const SpeakerOverlay::Entity& e : overlay.getEntities()) {
                if (std::fabs(s.x + e.position.x - dot.position.x) < 1e-3f &&
                    std::fabs(s.y + e.position.y - dot.position.y) < 1e-3f) {
                    ++counts[s];
                    explained = true;
                    break;
                }
            }
            if (explained) {
                break;
            }
        }
        EXPECT_TRUE(explained) << "dot at " << dot.position.x << ", " << dot.position.y
                               << " belongs to no speaker";
    }
    return counts;
}

}  // namespace

TEST(SpeakerOverlay, BlueprintIsSharedRingsOfEvenlySpacedDots) {
    LogCapture log;
    auto overlay = makeOverlay(SpeakerInfo::TV_SoundBar_2);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "[SpeakerOverlay][Constructor] Begin",
                               "[SpeakerOverlay][createBlueprint] Begin",
                               "[SpeakerOverlay][createBlueprint] End",
                               "[SpeakerOverlay][Constructor] Speaker Info TV_SoundBar_2",
                               "[SpeakerOverlay][Constructor] End",
                           }));

    // Rings of 10, 16, ..., 106 dots up to the largest radius of any configuration:
    // 240 * 1.9 = 456 pixels on a 1920 wide screen.
    const auto& entities = overlay->getEntities();
    ASSERT_EQ(entities.size(), 986u);
    // Neighbours on a ring are 26 pixels apart along it: the first ring of 10 has radius 130/pi.
    EXPECT_NEAR(entities[0].distance, 130.0f / 3.14159265f, 1e-3f);
    EXPECT_NEAR(entities[10].distance, 208.0f / 3.14159265f, 1e-3f);
    EXPECT_NEAR(std::hypot(entities[500].position.x, entities[500].position.y),
                entities[500].distance, 1e-3f);
    EXPECT_LE(entities.back().distance, 456.0f);
    std::set<float> randoms;
    for (const SpeakerOverlay::Entity& e : entities) {
        randoms.insert(e.random);
    }
    EXPECT_GT(randoms.size(), 900u) << "each dot draws its own size variation";

    // One duration for all configurations: the latest source (delay 0.125) plus the second
    // wave (0.35) finishes after 1.475 cycles.
    for (SpeakerInfo speaker : kAllSpeakers) {
        auto other = makeOverlay(speaker);
        EXPECT_FLOAT_EQ(other->getDuration(), 6.6375f) << toString(speaker);
        EXPECT_EQ(other->getEntities().size(), entities.size());
    }

    log.clear();
    overlay.reset();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"[SpeakerOverlay][Destructor] Begin",
                                                     "[SpeakerOverlay][Destructor] End"}));
}

TEST(SpeakerOverlay, EveryConfigurationEmitsFromItsOwnSpeakerPositions) {
    const float q = kWidth / 4.0f;
    const float h = kHeight;
    const float side = 0.6f * kHeight;
    const std::vector<Source> tvBottom = {{q, h}, {3 * q, h}};
    const std::vector<Source> top = {{q, 0}, {3 * q, 0}};
    const std::vector<Source> sides = {{0, side}, {float(kWidth), side}};
    // Sound bars spread their outer speakers by 0.35 of a quarter: 480 - 168 and 1440 + 168.
    const std::vector<Source> bar = {{312, h}, {2 * q, h}, {1608, h}};

    const auto join = [](std::vector<Source> a, const std::vector<Source>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::map<SpeakerInfo, std::vector<Source>> expected = {
        {SpeakerInfo::TV_1, tvBottom},
        {SpeakerInfo::TV_2, join(tvBottom, top)},
        {SpeakerInfo::TV_3, join(join(tvBottom, top), sides)},
        {SpeakerInfo::TV_SoundBar_1, join(bar, top)},
        {SpeakerInfo::TV_SoundBar_2, join(bar, top)},
        {SpeakerInfo::TV_SoundBar_3, join(bar, top)},
        {SpeakerInfo::SoundBar_1, bar},
        {SpeakerInfo::SoundBar_2, bar},
        {SpeakerInfo::SoundBar_3, bar},
        {SpeakerInfo::Kiro, {{2 * q, h}}},
    };

    for (const auto& [speaker, sources] : expected) {
        SCOPED_TRACE(toString(speaker));
        auto overlay = makeOverlay(speaker);
        // 2.7 s: every source, delayed or not, has a wave well inside its radius.
        drawAt(*overlay, 2.7f);
        ASSERT_FALSE(overlay->getRenderEntities().empty());
        for (const auto& [source, count] : dotsPerSource(*overlay, sources)) {
            EXPECT_GT(count, 20) << "no rings from the speaker at " << source.x << ", " << source.y;
        }
        for (const SpeakerOverlayRenderEntity& dot : overlay->getRenderEntities()) {
            ASSERT_TRUE(dot.size > 0.0f && dot.position.x + dot.size > 0.0f &&
                        dot.position.x - dot.size < float(kWidth) &&
                        dot.position.y + dot.size > 0.0f &&
                        dot.position.y - dot.size < float(kHeight))
                << "an invisible dot is drawn";
            ASSERT_TRUE(dot.color.a > 0.0f && dot.color.a <= 1.0f);
        }
    }
}

TEST(SpeakerOverlay, WavesTravelOutwardsTwiceAndDelaysShiftThem) {
    // The bump: zero before and behind it, one at its crest, which sits at d = 2t - 0.5.
    EXPECT_FLOAT_EQ(SpeakerOverlay::wave(0.5f, 0.5f), 1.0f);
    EXPECT_NEAR(SpeakerOverlay::wave(0.2f, 0.6f), 0.0f, 1e-6f);  // behind the wave
    EXPECT_NEAR(SpeakerOverlay::wave(0.9f, 0.3f), 0.0f, 1e-6f);  // not reached yet
    EXPECT_NEAR(SpeakerOverlay::wave(0.25f, 0.5f), 0.5f, 1e-6f);

    // At the start both waves sit below the source: nothing to draw.
    auto tv1 = makeOverlay(SpeakerInfo::TV_1);
    drawAt(*tv1, 0.0f);
    EXPECT_TRUE(tv1->getRenderEntities().empty());

    // The leading edge reaches d = 2t: half the radius after a quarter cycle.
    const float maxR = 240.0f * 1.9f;
    float previousEdge = 0.0f;
    for (float time : {0.5f, 1.0f, 1.5f, 2.0f}) {
        drawAt(*tv1, time);
        float edge = 0.0f;
        for (const SpeakerOverlayRenderEntity& dot : tv1->getRenderEntities()) {
            const float dx = dot.position.x - (dot.position.x < 960 ? 480.0f : 1440.0f);
            edge = std::max(edge, std::hypot(dx, dot.position.y - kHeight));
        }
        const float expected = 2.0f * time / kCycle * maxR;
        EXPECT_LE(edge, expected) << time;
        EXPECT_GT(edge, expected - 26.0f) << time << ": the next ring out is within reach";
        EXPECT_GT(edge, previousEdge);
        previousEdge = edge;
    }

    // The first wave has left a delay-0 source after one cycle; the second, 0.35 cycles
    // behind, keeps it lit until 1.35 cycles.
    drawAt(*tv1, 5.0f);
    EXPECT_FALSE(tv1->getRenderEntities().empty());
    drawAt(*tv1, 1.36f * kCycle);
    EXPECT_TRUE(tv1->getRenderEntities().empty());

    // The top speakers of TV_2 start 0.125 cycles (0.5625 s) after those of TV_3, which have
    // the same radius and no delay.
    const float q = kWidth / 4.0f;
    const std::vector<Source> top = {{q, 0}, {3 * q, 0}};
    for (float time : {0.8f, 3.1f}) {
        auto tv3 = makeOverlay(SpeakerInfo::TV_3);
        auto tv2 = makeOverlay(SpeakerInfo::TV_2);
        drawAt(*tv3, time);
        drawAt(*tv2, time + 0.5625f);
        const auto topOf = [](const SpeakerOverlay& overlay) {
            std::vector<SpeakerOverlayRenderEntity> top;
            std::copy_if(overlay.getRenderEntities().begin(), overlay.getRenderEntities().end(),
                         std::back_inserter(top),
                         [](const auto& dot) { return dot.position.y < 400.0f; });
            return top;
        };
        const auto topOf3 = topOf(*tv3), topOf2 = topOf(*tv2);
        ASSERT_FALSE(topOf3.empty()) << time;
        ASSERT_EQ(topOf2.size(), topOf3.size()) << time;
        for (size_t i = 0; i < topOf3.size(); ++i) {
            EXPECT_NEAR(topOf2[i].size, topOf3[i].size, 1e-3f);
            EXPECT_NEAR(topOf2[i].color.a, topOf3[i].color.a, 1e-5f);
        }
    }
}

TEST(SpeakerOverlay, FinishesAfterItsDurationAndSkipsToTheEnd) {
    // The latest sources (TV_3's sides, TV_2's top) and the undelayed sound bar.
    for (SpeakerInfo speaker : {SpeakerInfo::TV_3, SpeakerInfo::TV_2, SpeakerInfo::SoundBar_1}) {
        SCOPED_TRACE(toString(speaker));
        auto overlay = makeOverlay(speaker);
        size_t lastLit = 0;
        for (int frame = 0; frame < 420; ++frame) {  // 7 s at 60 fps
            EXPECT_EQ(overlay->isFinished(), overlay->getTime() > 6.6375f);
            overlay->draw(1.0f / 60.0f);
            if (!overlay->getRenderEntities().empty()) {
                lastLit = frame;
            }
        }
        EXPECT_TRUE(overlay->isFinished());
        // Nothing is left to see by the time the overlay reports the end.
        EXPECT_LT(lastLit / 60.0f, 6.6375f);
        EXPECT_GT(lastLit / 60.0f, 5.5f) << "the second wave keeps the overlay alive";
    }

    auto overlay = makeOverlay(SpeakerInfo::TV_1);
    drawAt(*overlay, 2.0f);
    EXPECT_FALSE(overlay->isFinished());
    overlay->skip();
    EXPECT_TRUE(overlay->isFinished());
    overlay->skip();
    EXPECT_FLOAT_EQ(overlay->getTime(), 2.0f + 6.6375f) << "skipping a finished overlay";
    overlay->draw(0.0f);
    EXPECT_TRUE(overlay->getRenderEntities().empty());
}

TEST(SpeakerOverlay, OpacityFadesAndShrinksEveryDot) {
    // The player lowers the opacity while the screen rotates (1 - 3 x progress, so it goes
    // negative once a third of the turn is done).
    auto full = makeOverlay(SpeakerInfo::TV_3);
    auto half = makeOverlay(SpeakerInfo::TV_3);
    half->setOpacity(0.5f);
    drawAt(*full, 2.5f);
    drawAt(*half, 2.5f);
    const auto& a = full->getRenderEntities();
    const auto& b = half->getRenderEntities();
    ASSERT_FALSE(a.empty());
    // Halving can push the faintest dots below the visible size, never add any.
    ASSERT_LE(b.size(), a.size());
    size_t j = 0;
    for (const auto& dot : b) {
        while (j < a.size() &&
               (a[j].position.x != dot.position.x || a[j].position.y != dot.position.y)) {
            ++j;
        }
        ASSERT_LT(j, a.size());
        EXPECT_NEAR(dot.color.a, 0.5f * a[j].color.a, 1e-6f);
        EXPECT_NEAR(dot.size, 0.5f * a[j].size, 1e-4f);
    }

    for (float opacity : {0.0f, -0.5f}) {
        auto gone = makeOverlay(SpeakerInfo::TV_3);
        gone->setOpacity(opacity);
        drawAt(*gone, 2.5f);
        EXPECT_TRUE(gone->getRenderEntities().empty()) << opacity;
        EXPECT_FALSE(gone->isFinished()) << "fading does not end the animation";
    }
}

TEST(SpeakerOverlay, DegenerateScreensDrawNothing) {
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{0, 0}, {0, 1080}, {1, 1}}) {
        auto overlay = makeOverlay(SpeakerInfo::TV_3, w, h);
        for (float time : {1.0f, 3.0f}) {
            drawAt(*overlay, time);
            EXPECT_TRUE(overlay->getRenderEntities().empty()) << w << "x" << h;
        }
    }
}
