#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "band_analyzer.h"
#include "demo_song.h"
#include "sound_classifier.h"

using namespace vizhost;

TEST(DemoSong, PartsFitFullScaleWithoutClicks) {
    const std::vector<AudioClip> first = DemoSong::synthesize();
    ASSERT_EQ(first.size(), DemoSong::kPartCount);
    for (size_t p = 0; p < first.size(); ++p) {
        const float peak = std::fabs(
            *std::max_element(first[p].samples.begin(), first[p].samples.end(),
                              [](float a, float b) { return std::fabs(a) < std::fabs(b); }));
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
    const std::set<SoundClass> expected[] = {{SoundClass::Soft, SoundClass::Calm},
                                             {SoundClass::Moderate},
                                             {SoundClass::Loud, SoundClass::Dynamic},
                                             {SoundClass::Dark, SoundClass::Powerful}};
    for (size_t p = 0; p < 4; ++p) {
        EXPECT_EQ(expected[p].count(settled[p]), 1u)
            << "part " << p << ": " << toString(settled[p]);
    }
    // The opening is the quietest part, the last one the darkest and loudest.
    EXPECT_LT(loudness[0] + 10.0f, loudness[1]);
    EXPECT_LT(loudness[1], loudness[3]);
    EXPECT_LT(brightness[3], brightness[1]);
    EXPECT_LT(brightness[3], brightness[2]);
}
