// The start-up rings of dots that show where the device's speakers are. Built once from a
// static dot field (the blueprint, shared by all sources); each frame emits the dots that the
// travelling waves make visible and hands them to the renderer. Finished after the longest
// configuration's waves have passed (6.6375 s with the default preset).
//
// Owned by the content player, which calls setOpacity and draw(dt) every frame until
// isFinished(), and skip() when the intro is skipped. Render thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "visualization/speaker_overlay_preset.h"
#include "visualization/speaker_overlay_render_entity.h"
#include "visualization/types.h"
#include "visualization/util/color.h"
#include "visualization/util/math/vector.h"

class SpeakerOverlayRenderer;

class SpeakerOverlay {
public:
    struct Entity {
        vec2f position;     // relative to its source, pixels
        float size = 0.0f;  // half side of the quad before modulation
        float distance = 0.0f;
        float random = 0.0f;  // [0, 1), drawn once
    };

    // Without a renderer the overlay computes its dots but draws nothing; that is how its
    // timing is examined where no GL context exists.
    SpeakerOverlay(uint32_t width, uint32_t height, SpeakerInfo speaker, bool withRenderer = true);
    ~SpeakerOverlay();
    SpeakerOverlay(const SpeakerOverlay&) = delete;
    SpeakerOverlay& operator=(const SpeakerOverlay&) = delete;

    bool isFinished() const { return mTime > mDuration; }
    void skip();
    void setOpacity(float opacity) { mOpacity = opacity; }
    // Emits this frame's dots, draws them, then advances the clock by dt seconds.
    void draw(float dt);

    float getTime() const { return mTime; }
    // The dots of the last draw.
    const std::vector<SpeakerOverlayRenderEntity>& getRenderEntities() const {
        return mRenderEntities;
    }

    // The travelling bump: 0 outside the wave, 1 at its crest. d is the relative distance from
    // the source (0 at the source, 1 at its radius), t the wave's phase in cycles.
    static float wave(float d, float t);

private:
    void createBlueprint();
    void emitSource(float x, float y, float radius, float delay, float waveLag);
    bool isOffScreen(const vec2f& p, float size) const;

    uint32_t mWidth;
    uint32_t mHeight;
    SpeakerOverlayPreset mPreset;
    float mTime = 0.0f;
    float mDuration = 0.0f;
    SpeakerInfo mSpeaker;
    colorf mColor{1.0f, 1.0f, 1.0f, 1.0f};
    float mQuarterWidth = 0.0f;
    float mSideHeight = 0.0f;
    float mUnitRadius = 0.0f;
    vec2f mInnerFade{0.0f, 0.5f};
    vec2f mOuterFade{0.0f, 0.5f};
    float mSizeVariation = 0.35f;
    float mSpacing = 13.0f;
    uint32_t mFirstRingCount = 10;
    uint32_t mRingCountStep = 6;
    std::vector<Entity> mEntities;
    float mOpacity = 1.0f;
    std::vector<SpeakerOverlayRenderEntity> mRenderEntities;
    std::unique_ptr<SpeakerOverlayRenderer> mRenderer;
};
