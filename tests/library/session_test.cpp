// A minute of music time through the ten functions, as a host runs it, with the log checked line
// by line. Mode names depend on the shuffled playlist, so the expected lines name them by
// placeholders ({A}, {B}, ...) that must bind consistently across the whole session.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <regex>

#include "library/library_api.h"
#include "support/log_capture.h"

using testsupport::LogCapture;

namespace {

// Each mode name as a letter in braces, the first one named {A}, the next other one {B}, ...
std::vector<std::string> withPlaceholders(const std::vector<std::string>& lines) {
    const std::regex mode("CONTENT_20[0-9A-Z_]+");
    std::map<std::string, std::string> letters;
    std::vector<std::string> result;
    for (const std::string& line : lines) {
        std::string out;
        auto copied = line.begin();
        for (std::sregex_iterator it(line.begin(), line.end(), mode), end; it != end; ++it) {
            const std::string letter(1, static_cast<char>('A' + letters.size()));
            out.append(copied, line.begin() + it->position()) +=
                "{" + letters.emplace(it->str(), letter).first->second + "}";
            copied = line.begin() + it->position() + it->length();
        }
        result.push_back(out.append(copied, line.end()));
    }
    return result;
}

std::vector<std::string> trackChange(const std::vector<std::string>& inner) {
    std::vector<std::string> lines = {"[Library][UpdateTrackChange] Begin",
                                      "[Visualization][updateTrackChange] Begin",
                                      "[ContentPlayer][playNext] Begin"};
    lines.insert(lines.end(), inner.begin(), inner.end());
    lines.insert(lines.end(),
                 {"[ContentPlayer][playNext] End", "[Visualization][updateTrackChange] End",
                  "[Library][UpdateTrackChange] End"});
    return lines;
}

std::vector<std::string> advanceTo(const std::string& mode) {
    return trackChange(
        {"[ContentPlayer][advancePlaylist] Begin", "[ContentPlayer][setContentMode] Begin",
         "[ContentPlayer][setContentMode] Mode next: " + mode,
         "[ContentPlayer][setContentMode] End", "[ContentPlayer][advancePlaylist] End"});
}

std::vector<std::string> rotationStart(const std::string& from, const std::string& to) {
    return {"[Library][StartRotatingDevice] Begin",
            "[Library][StartRotatingDevice] toRotateInfo: " + to,
            "[Visualization][startRotationTransition] Begin",
            "[Visualization][startRotationTransition] Transition to " + to + " started",
            "[ContentPlayer][startRotationTransition] Begin",
            "[ContentPlayer][startRotationTransition] Rotating from " + from + " to " + to + " ...",
            "[ContentPlayer][startRotationTransition] End",
            "[Visualization][startRotationTransition] End",
            "[Library][StartRotatingDevice] End"};
}

std::string finished(const std::string& from, const std::string& to) {
    return "[ContentPlayer][updateContentModeTransition] Transition from " + from + " to " + to +
           " finished";
}

using Session = testsupport::LibraryTest;

TEST_F(Session, AMinuteOfMusicLogsExactlyWhatHappened) {
    LogCapture log;
    api.onCreateGlApp("res", 0);
    api.updateSpeakerInfo(0);

    std::vector<float> bands(16);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float invalid[4] = {-40.0f, -30.0f, nan, -20.0f};
    // Where frames are slow, every other frame is drawn, each twice as long.
    constexpr int kStep = testsupport::kSlowFrames ? 2 : 1;
    for (int frame = 0; frame < 3600; frame += kStep) {
        const float t = static_cast<float>(frame) / 60.0f;
        if (frame >= 1) {
            for (size_t b = 0; b < bands.size(); ++b) {
                bands[b] = -90.0f + 60.0f * (0.5f + 0.5f * std::sin(t * 7.0f + float(b)));
            }
            BandsInfo info{static_cast<uint32_t>(bands.size()), bands.data()};
            BandsInfo bad{4, invalid};
            api.updateBandsInfo(frame == 2400 ? &bad : &info);
        }
        switch (frame) {
            case 180:   // 3 s, still in the intro
            case 600:   // 10 s
            case 618:   // 10.3 s, too soon after the previous change
            case 1200:  // 20 s
            case 1236:  // 20.6 s, interrupts the running cross-fade
            case 2700:  // 45 s
                api.updateTrackChange();
                break;
            case 1800:
                api.startRotatingDevice(1);
                break;
            case 2100:
                api.startRotatingDevice(0);
                break;
            case 1500:
                api.updateSoundClass(1);
                break;
            default:
                break;
        }
        if (frame > 1800 && frame <= 1860) {
            api.updateRotationDegree(90.0f * float(frame - 1800) / 60.0f);
        }
        if (frame > 2100 && frame <= 2124) {
            api.updateRotationDegree(90.0f - 40.0f * float(frame - 2100) / 24.0f);
        }
        if (frame == 2126) {
            api.updateRotationDegree(-1.0f);
        }
        platform_clock_advance(kStep * kFrameNs);
        api.onUpdateGlApp();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "frame " << frame;
    }
    api.onTerminateGlApp();

    // The session from the end of the creation to the start of the teardown, without the
    // reshuffles (they depend on where in the playlist the session started).
    const auto& all = log.lines();
    auto begin = std::find(all.begin(), all.end(), "[Library][createInstanceOnSpeakerInfoSet] End");
    auto end = std::find(all.begin(), all.end(), "[ContentPlayer][Destructor] Begin");
    ASSERT_NE(begin, all.end());
    ASSERT_NE(end, all.end());
    std::vector<std::string> actual;
    int reshuffles = 0;
    for (auto it = begin + 1; it != end; ++it) {
        if (it->rfind("[ContentPlayer][reshufflePlaylist]", 0) == 0) {
            ++reshuffles;
            continue;
        }
        // What a content logs depends on which modes the shuffled playlist picked.
        if (it->rfind("[content2020]", 0) == 0 || it->rfind("[content2021]", 0) == 0 ||
            it->rfind("[2021]", 0) == 0 || it->rfind("[AbstractColorAnimator]", 0) == 0) {
            continue;
        }
        actual.push_back(*it);
    }
    EXPECT_EQ(reshuffles % 2, 0);

    std::vector<std::string> expected = {
        "[ContentPlayer][updateContentPlayMode] Switched playback mode from NONE to INTRO_IDLE",
        finished("{A}", "{A}"),
        "[ContentPlayer][activateAnimationMode] Begin",
        "[ContentPlayer][activateAnimationMode] Mode switched from WAITING_FOR_DATA to ANIMATING",
        "[ContentPlayer][activateAnimationMode] End",
        "[ContentPlayer][updateContentPlayMode] Switched playback mode from INTRO_IDLE to "
        "INTRO_FADE_IN",
    };
    auto append = [&expected](const std::vector<std::string>& lines) {
        expected.insert(expected.end(), lines.begin(), lines.end());
    };
    append(trackChange({"[ContentPlayer][playNext] In intro mode. Ignored"}));
    expected.push_back(
        "[ContentPlayer][updateContentPlayMode] Switched playback mode from INTRO_FADE_IN to "
        "ANIMATION");
    append(advanceTo("{B}"));
    append(trackChange({"[ContentPlayer][playNext] Trigger time below threshold. Ignored"}));
    expected.push_back(finished("{A}", "{B}"));
    append(advanceTo("{C}"));
    append(advanceTo("{D}"));
    expected.push_back(finished("{C}", "{D}"));
    append(rotationStart("Landscape", "Portrait"));
    expected.push_back(
        "[ContentPlayer][setRotationTransitionAngle] Finished transition from Landscape to "
        "Portrait");
    append(rotationStart("Portrait", "Landscape"));
    expected.push_back("[ContentPlayer][setRotationTransitionAngle] Transition abort signaled!");
    expected.push_back("[Visualization][setBandsInfo] Value at 2 is nan");
    append(advanceTo("{E}"));
    expected.push_back(finished("{D}", "{E}"));
    expected.insert(expected.end(),
                    {"[Library][OnTerminateGlApp] Begin", "[Library][deleteInstance] Begin",
                     "[Visualization][Destructor] Begin"});

    EXPECT_EQ(withPlaceholders(actual), expected);

    const std::vector<std::string> tail(all.end() - 4, all.end());
    const std::vector<std::string> expectedTail = {
        "[ContentPlayer][Destructor] End", "[Visualization][Destructor] End",
        "[Library][deleteInstance] End", "[Library][OnTerminateGlApp] End"};
    EXPECT_EQ(tail, expectedTail);
    EXPECT_TRUE(log.allTagged());
}

}  // namespace
