// The content player's output on the GL context: the viewport and clear, the AOD overlay and
// the speaker overlay, which it owns. Created inside the player's constructor scope, after the
// playlist, and deleted after the contents, speaker overlay first; the log shows that order.
#pragma once

#include <cstdint>
#include <memory>

#include "visualization/aod_overlay.h"
#include "visualization/content_player_output.h"
#include "visualization/speaker_overlay.h"
#include "visualization/types.h"

class ContentPlayerGlOutput : public ContentPlayerOutput {
public:
    ContentPlayerGlOutput(uint32_t width, uint32_t height, SpeakerInfo speaker);
    ~ContentPlayerGlOutput() override;
    ContentPlayerGlOutput(const ContentPlayerGlOutput&) = delete;
    ContentPlayerGlOutput& operator=(const ContentPlayerGlOutput&) = delete;

    void clear(const colorf& color) override;
    void beginContent(float displayModeBlend, const AODMask& mask) override;
    void endContent() override;
    bool isSpeakerOverlayFinished() const override { return mSpeakerOverlay->isFinished(); }
    void skipSpeakerOverlay() override { mSpeakerOverlay->skip(); }
    void drawSpeakerOverlay(float opacity, float dt) override;

private:
    uint32_t mWidth;
    uint32_t mHeight;
    std::unique_ptr<SpeakerOverlay> mSpeakerOverlay;
    std::unique_ptr<AODOverlay> mAODOverlay;
};
