#include <gtest/gtest.h>

#include <vector>

#include "sound_classifier.h"

using vizhost::SoundClassifier;

namespace {

// Synthetic frames: a steady spectrum at `loudness` with a beat every `beatEvery` frames that
// lifts every band by 20 dB for two frames and the loudness by `punch` dB.
struct Section {
    float loudness;
    float centroid;
    size_t beatEvery;  // 0: no beats
    float punch;
};

// Feeds `seconds` of a section; returns the classes reported, in order.
std::vector<SoundClass> feed(SoundClassifier& classifier, const Section& section, float seconds,
                             size_t& frame) {
    std::vector<SoundClass> reported;
    std::vector<float> bands(16);
    const size_t frames = size_t(seconds * 60.0f);
    for (size_t i = 0; i < frames; ++i, ++frame) {
        const bool beat = section.beatEvery != 0 && frame % section.beatEvery < 2;
        for (float& b : bands) {
            b = section.loudness - 20.0f + (beat ? 20.0f : 0.0f);
        }
        const float loudness = section.loudness + (beat ? section.punch : 0.0f);
        if (classifier.push(bands, loudness, section.centroid)) {
            reported.push_back(classifier.soundClass());
        }
    }
    return reported;
}

const Section kQuietStill{-40.0f, 1500.0f, 0, 0.0f};
const Section kGroove{-24.0f, 1500.0f, 30, 3.0f};       // two beats a second
const Section kLoudPunchy{-10.0f, 2000.0f, 12, 20.0f};  // five hard beats a second

}  // namespace

TEST(SoundClassifier, SectionsOfDifferentCharacterGetTheirClasses) {
    struct Case {
        Section section;
        SoundClass expected;
    };
    for (const Case& c : {Case{kQuietStill, SoundClass::Calm}, Case{kGroove, SoundClass::Moderate},
                          Case{kLoudPunchy, SoundClass::Dynamic},
                          Case{{-10.0f, 300.0f, 40, 3.0f}, SoundClass::Powerful},
                          Case{{-40.0f, 6000.0f, 0, 0.0f}, SoundClass::Light},
                          Case{{-24.0f, 300.0f, 30, 3.0f}, SoundClass::Dark},
                          Case{{-10.0f, 2000.0f, 30, 2.0f}, SoundClass::Loud},
                          Case{{-24.0f, 1500.0f, 0, 0.0f}, SoundClass::Slow}}) {
        SoundClassifier classifier;
        size_t frame = 0;
        const std::vector<SoundClass> reported = feed(classifier, c.section, 8.0f, frame);
        ASSERT_FALSE(reported.empty());
        EXPECT_EQ(reported.back(), c.expected) << toString(c.expected);
        EXPECT_EQ(classifier.soundClass(), c.expected);
    }
}

TEST(SoundClassifier,
     DecidesAfterHearingEnoughChangesWhenTheChangeHoldsRestartsPerTrackAndHoldsAtBoundaries) {
    SoundClassifier classifier;
    size_t frame = 0;
    EXPECT_TRUE(feed(classifier, kQuietStill, 2.0f, frame).empty());
    EXPECT_FALSE(classifier.hasClass());
    EXPECT_EQ(feed(classifier, kQuietStill, 6.0f, frame),
              std::vector<SoundClass>{SoundClass::Calm});

    // A quarter of a second of loud beats inside calm music is a moment, not a new class.
    EXPECT_TRUE(feed(classifier, kLoudPunchy, 0.25f, frame).empty());
    EXPECT_TRUE(feed(classifier, kQuietStill, 6.0f, frame).empty());
    EXPECT_EQ(classifier.soundClass(), SoundClass::Calm);

    // Music that stays loud changes it once, after at least the hold time and within the
    // measuring window and the hold.
    EXPECT_TRUE(feed(classifier, kLoudPunchy, 1.0f, frame).empty());
    EXPECT_EQ(feed(classifier, kLoudPunchy, 4.0f, frame),
              std::vector<SoundClass>{SoundClass::Dynamic});
    EXPECT_TRUE(feed(classifier, kLoudPunchy, 3.0f, frame).empty());

    // A new track is heard afresh: its first two seconds decide nothing, not even with the old
    // window, and the old class holds until the new one is decided.
    classifier.restart();
    EXPECT_TRUE(classifier.hasClass());
    EXPECT_TRUE(feed(classifier, kQuietStill, 2.0f, frame).empty());
    EXPECT_EQ(classifier.soundClass(), SoundClass::Dynamic);
    EXPECT_EQ(feed(classifier, kQuietStill, 4.0f, frame),
              std::vector<SoundClass>{SoundClass::Calm});

    // Music wandering half a dB either side of the quiet/medium boundary does not flip it.
    classifier = SoundClassifier();
    feed(classifier, {-29.0f, 1500.0f, 0, 0.0f}, 6.0f, frame);
    EXPECT_EQ(classifier.soundClass(), SoundClass::Slow);
    for (int i = 0; i < 10; ++i) {
        const float level = i % 2 == 0 ? -30.5f : -29.5f;
        EXPECT_TRUE(feed(classifier, {level, 1500.0f, 0, 0.0f}, 3.0f, frame).empty());
    }
}

TEST(SoundClassifier, CountsAttacksNotNoiseInQuietBands) {
    SoundClassifier classifier;
    std::vector<float> bands(16);
    uint32_t state = 7;
    for (size_t frame = 0; frame < 5 * 60; ++frame) {
        // Loud bass, and treble bands flickering at the noise floor by up to 30 dB per frame.
        for (size_t i = 0; i < bands.size(); ++i) {
            state = state * 1664525u + 1013904223u;
            bands[i] = i < 4 ? -20.0f : -110.0f + float(state >> 27);
        }
        // Three attacks a second lifting everything.
        if (frame % 20 == 0) {
            for (float& b : bands) {
                b = -15.0f;
            }
        }
        classifier.push(bands, -20.0f, 500.0f);
    }
    EXPECT_NEAR(classifier.measures().onsetRate, 3.0f, 0.3f);
}
