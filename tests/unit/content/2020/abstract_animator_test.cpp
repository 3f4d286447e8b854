#include "visualization/content/2020/abstract_animator.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/log_capture.h"

namespace {

using content2020::Palette;
using content2020::PaletteMap;
using content2020::PaletteMixParameters;

// Exposes the base's frame helpers with a settable palette count.
class ProbeAnimator : public content2020::AbstractAnimator {
public:
    ProbeAnimator() : AbstractAnimator(64, 32) {}
    size_t getNumPalettes() const override { return mNumPalettes; }
    void frame(float dt, float peak, const PaletteMixParameters& targets) {
        mPeak[0] = peak;
        content2020::SoundFrame sound;
        sound.historyMax = &mPeak;
        preUpdate(dt, sound, targets);
        postUpdate(dt, sound);
    }
    using AbstractAnimator::getPalette;
    float backgroundMix1() const { return mBackgroundMix1.value; }
    float beat() const { return mBeat.value; }

    size_t mNumPalettes = 10;
    std::vector<float> mPeak = std::vector<float>(1, 0.0f);
};

PaletteMixParameters all(float v) {
    return {v, v, v, v, v};
}

}  // namespace

TEST(AbstractAnimator2020, SmoothsTheMixWeightsAndSnapsThemOnForce) {
    ProbeAnimator a;
    a.frame(0.1f, 0.0f, all(1.0f));
    EXPECT_FLOAT_EQ(a.backgroundMix1(), 0.4f);
    a.frame(0.25f, 0.0f, all(0.0f));
    EXPECT_EQ(a.backgroundMix1(), 0.0f) << "no overshoot on a long frame";

    // A beat raises the flash weight; a forced mix drops it at once and logs once.
    a.frame(0.25f, 0.9f, all(1.0f));
    EXPECT_EQ(a.beat(), 1.0f);
    testsupport::LogCapture log;
    a.setPaletteIndex(12, true);
    a.frame(0.01f, 0.9f, all(0.5f));
    EXPECT_EQ(a.beat(), 0.0f);
    EXPECT_EQ(a.backgroundMix1(), 0.5f);
    a.frame(0.01f, 0.9f, all(0.5f));
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               "[content2020][AbstractAnimator][preUpdate] Force Palette Mix"});
}

TEST(AbstractAnimator2020, PaletteBlendsDefaultAndAODEntryByEntry) {
    PaletteMap map;
    map[DisplayMode::DEFAULT] = {Palette{{colorf("FF0000"), colorf("00FF00")}, {colorf("0000FF")}},
                                 Palette{{colorf("FFFFFF"), colorf("FFFFFF")}, {colorf("FFFFFF")}}};
    map[DisplayMode::AOD] = {Palette{{colorf("000000"), colorf("00FF00")}, {colorf("000000")}},
                             Palette{{colorf("000000"), colorf("000000")}, {colorf("000000")}}};
    ProbeAnimator a;
    a.mNumPalettes = 2;
    a.setDisplayModeBlend(0.0f);
    EXPECT_EQ(a.getPalette(map)[0][0].r, 1.0f);
    a.setDisplayModeBlend(1.0f);
    EXPECT_EQ(a.getPalette(map)[0][0].r, 0.0f);
    a.setDisplayModeBlend(0.5f);
    Palette mixed = a.getPalette(map);
    EXPECT_EQ(mixed[0][0].r, 0.5f);
    EXPECT_EQ(mixed[0][1].g, 1.0f);
    EXPECT_EQ(mixed[1][0].b, 0.5f);
    EXPECT_EQ(mixed[1][0].a, 1.0f);
    // Indices wrap around the palette count.
    a.setPaletteIndex(3, false);
    EXPECT_EQ(a.getPalette(map)[1][0].r, 0.5f);
}
