// Everything the content player does to the GL context, in the order of a frame: clear the
// screen, draw the current content through the AOD cover, draw the speaker rings. The player
// owns one; the GL one (ContentPlayerGlOutput) in production, a recorder in tests, which is
// how the player's state machines run without a GL context.
#pragma once

#include "visualization/content/abstract_content.h"
#include "visualization/util/color.h"

class ContentPlayerOutput {
public:
    virtual ~ContentPlayerOutput() = default;

    // The whole screen, colour and depth.
    virtual void clear(const colorf& color) = 0;
    // Bracket the current content's render: the AOD cover follows the display-mode blend and
    // the content's mask.
    virtual void beginContent(float displayModeBlend, const AODMask& mask) = 0;
    virtual void endContent() = 0;

    virtual bool isSpeakerOverlayFinished() const = 0;
    virtual void skipSpeakerOverlay() = 0;
    // Draws this frame's rings, then moves their clock on by dt.
    virtual void drawSpeakerOverlay(float opacity, float dt) = 0;
};
