#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "band_analyzer.h"
#include "demo_song.h"
#include "sound_classifier.h"

using namespace vizhost;

TEST(DemoSong, IsTheSameEveryTimeAndFitsFullScaleWithoutClicks) {
    const std::vector<AudioClip> first = DemoSong::synthesize();
    const std::vector<AudioClip> second = DemoSong::synthesize();
    ASSERT_EQ(first.size(), DemoSong::kPartCount);
    for (size_t p = 0; p < first.size(); ++p) {
        EXPECT_EQ(first[p].samples, second[p].samples) << "part " << p;
        float peak = 0.0f;
        for (float s : first[p].samples) {
            peak = std::max(peak, std::fabs(s));
        }
        EXPECT_TRUE(peak <= 1.0f && peak > 0.05f) << "part " << p;
        // Parts start and end quietly, so the track changes do not click.
        EXPECT_LT(std::fabs(first[p].samples.front()) + std::fabs(first[p].samples.back()), 0.01f);
    }
}

TEST(DemoSong, PartsMoveTheClassifierThroughDifferentClasses) {
    const std::vector<AudioClip> parts = DemoSong::synthesize();
    SoundClassifier classifier;
    std::vector<SoundClass> settled;
    std::vector<float> loudness;
    std::vector<float> brightness;
    for (const AudioClip& part : parts) {
        BandAnalyzer analyzer(16, part.sampleRate);
        classifier.restart();
        const size_t frames = size_t(part.duration() * 60.0);
        for (size_t f = 0; f < frames; ++f) {
            analyzer.analyze(part.mono.data(), part.mono.size(), int64_t((f + 1) * 800));
            classifier.push(analyzer.bands(), analyzer.loudness(), analyzer.centroid());
        }
        settled.push_back(classifier.soundClass());
        loudness.push_back(classifier.measures().loudness);
        brightness.push_back(classifier.measures().brightness);
    }
    const std::set<SoundClass> calm = {SoundClass::Soft, SoundClass::Calm};
    const std::set<SoundClass> loud = {SoundClass::Loud, SoundClass::Dynamic};
    const std::set<SoundClass> dark = {SoundClass::Dark, SoundClass::Powerful};
    EXPECT_TRUE(calm.count(settled[0])) << toString(settled[0]);
    EXPECT_EQ(settled[1], SoundClass::Moderate) << toString(settled[1]);
    EXPECT_TRUE(loud.count(settled[2])) << toString(settled[2]);
    EXPECT_TRUE(dark.count(settled[3])) << toString(settled[3]);
    // The opening is the quietest part, the last one the darkest and loudest.
    EXPECT_LT(loudness[0] + 10.0f, loudness[1]);
    EXPECT_LT(loudness[1], loudness[3]);
    EXPECT_LT(brightness[3], brightness[1]);
    EXPECT_LT(brightness[3], brightness[2]);
}
