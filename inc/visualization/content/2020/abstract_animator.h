// The base of the fourteen point-field animators: canvas, time, the render output, the AOD mask
// and the palette handling with its sound-class driven mix weights and beat flash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "visualization/content/2020/animator_preset.h"
#include "visualization/content/abstract_content.h"
#include "visualization/content/util/animator_data_util.h"
#include "visualization/rotation_transition.h"
#include "visualization/sound_input.h"
#include "visualization/util/color.h"
#include "visualization/util/orthographic_camera_2d.h"

namespace content2020 {

// One sprite: centre, half side (camera units) and colour; seven floats as the renderer reads
// them.
struct Instance {
    float x = 0.0f;
    float y = 0.0f;
    float scale = 0.0f;
    colorf color;
};

static_assert(sizeof(Instance) == 7 * sizeof(float), "an instance is seven packed floats");

struct RenderState {
    OrthographicCamera2d camera;
    std::vector<Instance> instances;
    PointMode pointMode = PointMode::CIRCLE_SMALL;
};

// The targets of the five palette-mix weights. Every animator's per-sound-class record starts
// with these fields.
struct PaletteMixParameters {
    float backgroundMix1 = 0.0f;
    float backgroundMix2 = 0.0f;
    float backgroundBeatMix = 0.0f;
    float pointMix1 = 0.0f;
    float pointMix2 = 0.0f;
};

// The five weights of a and b blended by t, as a sound-class switch progresses.
void blendPaletteMix(const PaletteMixParameters& a, const PaletteMixParameters& b, float t,
                     PaletteMixParameters& out);

struct SmoothedValue {
    float target = 0.0f;
    float value = 0.0f;
};

// What the animators read of the sound model, by reference, so that a frame can also be driven
// by hand-made levels. Empty lists read as silence.
struct SoundFrame {
    SoundClass soundClassCurrent = SoundClass::Moderate;
    SoundClass soundClassNext = SoundClass::Moderate;
    float switchProgress = 0.0f;
    const std::vector<float>* levels = nullptr;      // one 0..1 value per band
    const std::vector<float>* historyMin = nullptr;  // 240 frames, newest first
    const std::vector<float>* historyMid = nullptr;
    const std::vector<float>* historyMax = nullptr;

    static SoundFrame from(const SoundInput& sound);
};

class AbstractAnimator {
public:
    AbstractAnimator(uint32_t width, uint32_t height);
    virtual ~AbstractAnimator() = default;
    AbstractAnimator(const AbstractAnimator&) = delete;
    AbstractAnimator& operator=(const AbstractAnimator&) = delete;

    // One frame. Concrete animators call preUpdate first and postUpdate last.
    virtual void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) {
        (void)dt;
        (void)rotation;
        (void)sound;
    }
    virtual size_t getNumPalettes() const { return 0; }

    void update(float dt, const RotationTransition& rotation, const SoundInput& sound) {
        update(dt, rotation, SoundFrame::from(sound));
    }

    // Wraps the index into the palette count; forceMix snaps the mix weights on the next frame.
    void setPaletteIndex(size_t index, bool forceMix);
    void setPaused(bool paused) { mPaused = paused; }
    void setTransition(float transition) { mTransition = transition; }
    void setDisplayModeBlend(float blend) { mDisplayModeBlend = blend; }

    colorf getBackgroundColor() const { return mBackgroundColor; }
    const RenderState& getRenderState() const { return mRenderState; }
    AODMask getAODMask() const { return mAODMask; }

protected:
    void preUpdate(float dt, const SoundFrame& sound, const PaletteMixParameters& targets);
    void postUpdate(float dt, const SoundFrame& sound);
    // The current palette, DEFAULT and AOD mixed by the display-mode blend.
    Palette getPalette(const PaletteMap& palettes) const;
    // The same into a list the caller keeps between frames.
    void getPalette(const PaletteMap& palettes, Palette& out) const;
    // Starts the frame's output: the preset's sprite, an empty instance list, the camera over
    // the canvas turned with the screen, the AOD mask turned with it, and the background mixed
    // from the palette's entry 0 by the two background weights and the beat.
    OrthographicCamera2d& beginFrame(const RotationTransition& rotation,
                                     const AnimatorPreset& preset, const Palette& palette);
    // A point colour from its calm, moderate and loud versions by the two point weights.
    colorf mixPoints(const colorf& calm, const colorf& moderate, const colorf& loud) const;
    // mixPoints colour by colour over the palette entries first, first + stride and
    // first + 2 * stride.
    void mixPointEntries(const Palette& palette, size_t first, size_t stride,
                         std::vector<colorf>& out) const;
    // mixPoints over count colours of one entry whose versions lie stride apart.
    void mixPointColors(const std::vector<colorf>& entry, size_t count, size_t stride,
                        std::vector<colorf>& out) const;

    uint32_t mWidth;
    uint32_t mHeight;
    float mTime = 0.0f;
    bool mPaused = false;
    RenderState mRenderState;
    AODMask mAODMask;
    float mTransition = 1.0f;
    float mDisplayModeBlend = 0.0f;
    colorf mBackgroundColor{0.0f, 0.0f, 0.0f, 0.0f};
    uint32_t mPaletteIndex = 0;
    SmoothedValue mBackgroundMix1;
    SmoothedValue mBackgroundMix2;
    SmoothedValue mBeat;
    RelThreshold mBeatThreshold{0.35f, 0.65f};
    SmoothedValue mPointMix1;
    SmoothedValue mPointMix2;
    bool mForcePaletteMix = false;
};

}  // namespace content2020
