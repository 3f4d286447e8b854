#include <gtest/gtest.h>

#include <cmath>

#include "audio_clip.h"
#include "support/test_output.h"

using namespace vizhost;

TEST(AudioClip, WavWrittenAndDecodedKeepsTheSoundAndPadsWithSilence) {
    AudioClip clip{"", 22050, 2, {}, {}};
    for (int i = 0; i < 1000; ++i) {
        clip.samples.push_back(0.5f * std::sin(0.05f * i));
        clip.samples.push_back(-0.25f);
    }
    mixToMono(clip);
    ASSERT_EQ(clip.frameCount(), 1000u);
    EXPECT_NEAR(clip.mono[10], 0.5f * (0.5f * std::sin(0.5f) - 0.25f), 1e-6f);

    const testsupport::ScratchDirectory scratch("audio-clip");
    const std::string path = scratch / "roundtrip.wav";
    std::string error;
    ASSERT_TRUE(writeWavFile(path, clip, 1200, error)) << error;
    AudioClip decoded;
    ASSERT_TRUE(decodeAudioFile(path, decoded, error)) << error;
    EXPECT_TRUE(decoded.sampleRate == 22050u && decoded.channels == 2u);
    ASSERT_EQ(decoded.frameCount(), 1200u);
    for (size_t i = 0; i < 2400; ++i) {
        ASSERT_NEAR(decoded.samples[i], i < 2000 ? clip.samples[i] : 0.0f, 1.0f / 16000.0f) << i;
    }

    // Shorter than the clip: cut.
    ASSERT_TRUE(writeWavFile(path, clip, 100, error)) << error;
    ASSERT_TRUE(decodeAudioFile(path, decoded, error)) << error;
    EXPECT_EQ(decoded.frameCount(), 100u);
}

// Missing and foreign files are refused in the program test, by the message the user sees.
TEST(AudioClip, EmptyAndUnwritableFilesAreRefusedByName) {
    AudioClip clip;
    std::string error;
    const testsupport::ScratchDirectory scratch("audio-clip");
    // A valid WAV header with no samples.
    const AudioClip silent{"", 48000, 1, {}, {}};
    ASSERT_TRUE(writeWavFile(scratch / "empty.wav", silent, 0, error)) << error;
    EXPECT_FALSE(decodeAudioFile(scratch / "empty.wav", clip, error));
    EXPECT_NE(error.find("holds no sound"), std::string::npos) << error;

    error.clear();
    EXPECT_FALSE(writeWavFile("/nonexistent-dir/x.wav", silent, 10, error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
}
