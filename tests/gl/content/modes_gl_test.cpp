// The five families played through their contents as the player
// drives them.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/content_gl_test.h"
#include "visualization/content/2020/content.h"
#include "visualization/content/2021/cubes/content.h"
#include "visualization/content/2021/kaleidoscope/content.h"
#include "visualization/content/2021/lines/content.h"
#include "visualization/content/2021/ring/content.h"
#include "visualization/util/random.h"

namespace {

class FamilyModesGlTest : public testsupport::ContentGlTest {
protected:
    struct Family {
        const char* name;
        uint32_t seed;
        SoundClass soundClass;
        int silentFrames;
        int quietFrames;
        bool drawsInSilence;
    };

    template <class Content, class Mode>
    void everyModeReacts(const Family& family, const std::map<Mode, std::string>& names,
                         uint32_t modes) {
        util::setRandomSeed(family.seed);
        Content content(kWidth, kHeight, RotateInfo::Landscape);
        content.setTransition(1.0f);
        // Where frames are slow, one mode of each family in turn: every mode's drawing still runs
        // there in the shared-context lap.
        const uint32_t played = testsupport::kSlowFrames ? 1 : modes;
        const uint32_t first = testsupport::firstTaken(modes, played);
        for (uint32_t mode = first; mode < first + played; ++mode) {
            const std::string name =
                std::string(family.name) + "_" + names.at(static_cast<Mode>(mode));
            content.setModeIndex(mode);
            testsupport::BandMusic music(family.soundClass);
            const auto silent = play(content, music, 0.0f, family.silentFrames);
            savePng(name + "_silent");
            if (family.drawsInSilence) {
                EXPECT_GT(drawnPixels(silent), 200) << name;
            }
            const auto loud = play(content, music, 0.9f, 90);
            savePng(name + "_loud");
            EXPECT_GT(testsupport::differingPixels(silent, loud), 200) << name;

            const auto before = play(content, music, 0.1f, family.quietFrames);
            const auto beat = play(content, music, 1.0f, 12);
            savePng(name + "_beat");
            EXPECT_GT(testsupport::differingPixels(before, beat), 100) << name;
        }
    }
};

}  // namespace

// Every mode of each family: silence and loud music give different pictures, and so do a quiet
// stretch with and without a beat at its end. Each mode must visibly follow the sound, not merely
// animate.
TEST_F(FamilyModesGlTest, EveryModeReactsToLevelAndBeat) {
    namespace c21 = content2021;
    everyModeReacts<content2020::Content>({"point_field", 5, SoundClass::Loud, 30, 180, false},
                                          content2020::ContentModeNames, content2020::kModeCount);
    everyModeReacts<c21::lines::Content>({"lines", 3, SoundClass::Powerful, 240, 40, true},
                                         c21::lines::ContentModeNames, 3);
    everyModeReacts<c21::ring::Content>({"ring", 3, SoundClass::Dynamic, 90, 30, false},
                                        c21::ring::ContentModeNames, 6);
    everyModeReacts<c21::cubes::Content>({"cubes", 11, SoundClass::Dynamic, 150, 40, false},
                                         c21::cubes::ContentModeNames, 3);
    // The bundled photographs.
    everyModeReacts<c21::kaleidoscope::Content>(
        {"kaleidoscope", 5, SoundClass::Dynamic, 60, 40, true}, c21::kaleidoscope::ContentModeNames,
        5);
}

TEST_F(FamilyModesGlTest, TheIntroBlendGrowsTheTubesFromNothing) {
    util::setRandomSeed(4);
    content2021::lines::Content content(kWidth, kHeight, RotateInfo::Landscape);
    content.setTransition(1.0f);
    testsupport::BandMusic music(SoundClass::Moderate);
    EXPECT_EQ(drawnPixels(play(content, music, 0.5f, 240, 0.0f)), 0);
    EXPECT_GT(drawnPixels(play(content, music, 0.5f, 1, 1.0f)), 200);
}
