#include "visualization/content/2020/abstract_animator.h"

#include <algorithm>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/log.h"

namespace content2020 {

namespace {

void smooth(SmoothedValue& s, float k) {
    s.value += (s.target - s.value) * k;
}

}  // namespace

void blendPaletteMix(const PaletteMixParameters& a, const PaletteMixParameters& b, float t,
                     PaletteMixParameters& out) {
    out.backgroundMix1 = lerp(a.backgroundMix1, b.backgroundMix1, t);
    out.backgroundMix2 = lerp(a.backgroundMix2, b.backgroundMix2, t);
    out.backgroundBeatMix = lerp(a.backgroundBeatMix, b.backgroundBeatMix, t);
    out.pointMix1 = lerp(a.pointMix1, b.pointMix1, t);
    out.pointMix2 = lerp(a.pointMix2, b.pointMix2, t);
}

SoundFrame SoundFrame::from(const SoundInput& sound) {
    SoundFrame frame;
    frame.soundClassCurrent = sound.getSoundClassCurrent();
    frame.soundClassNext = sound.getSoundClassNext();
    frame.switchProgress = sound.getSwitchProgress();
    const Spectrum& spectrum = sound.getSpectrum();
    frame.levels = &spectrum.relativeSmoothed();
    frame.historyMin = &spectrum.historyMinNormalized();
    frame.historyMid = &spectrum.historyMidNormalized();
    frame.historyMax = &spectrum.historyMaxNormalized();
    return frame;
}

AbstractAnimator::AbstractAnimator(uint32_t width, uint32_t height)
    : mWidth(width), mHeight(height) {}

void AbstractAnimator::setPaletteIndex(size_t index, bool forceMix) {
    mPaletteIndex = static_cast<uint32_t>(index % getNumPalettes());
    if (forceMix) {
        mForcePaletteMix = true;
    }
}

void AbstractAnimator::preUpdate(float dt, const SoundFrame& sound,
                                 const PaletteMixParameters& targets) {
    if (mForcePaletteMix) {
        logMessage("[content2020][AbstractAnimator][preUpdate] Force Palette Mix");
        dt = 1.0f;
    }
    const float k = std::min(dt * 4.0f, 1.0f);
    mBackgroundMix1.target = targets.backgroundMix1;
    smooth(mBackgroundMix1, k);
    mBackgroundMix2.target = targets.backgroundMix2;
    smooth(mBackgroundMix2, k);

    const float peak = sound.historyMax != nullptr && !sound.historyMax->empty()
                           ? sound.historyMax->front()
                           : 0.0f;
    update_threshold(mBeatThreshold, peak);
    if (mForcePaletteMix) {
        mBeat.target = 0.0f;
    } else if (mBeatThreshold.triggered) {
        mBeat.target = targets.backgroundBeatMix;
    }
    smooth(mBeat, k);

    mPointMix1.target = targets.pointMix1;
    mPointMix2.target = targets.pointMix2;
    smooth(mPointMix1, k);
    smooth(mPointMix2, k);
    mForcePaletteMix = false;
}

void AbstractAnimator::postUpdate(float dt, const SoundFrame& sound) {
    (void)sound;
    mBeat.target = std::max(mBeat.target - std::min(dt, 1.0f), 0.0f);
    mBeatThreshold.triggered = false;
    if (!mPaused) {
        mTime += dt;
    }
}

Palette AbstractAnimator::getPalette(const PaletteMap& palettes) const {
    Palette result;
    getPalette(palettes, result);
    return result;
}

void AbstractAnimator::getPalette(const PaletteMap& palettes, Palette& out) const {
    const float blendDefault = DisplayModeBlendValues.at(DisplayMode::DEFAULT);
    const float blendAOD = DisplayModeBlendValues.at(DisplayMode::AOD);
    if (mDisplayModeBlend != blendDefault && mDisplayModeBlend != blendAOD) {
        const Palette& paletteAOD = palettes.at(DisplayMode::AOD).at(mPaletteIndex);
        // Assignment keeps the capacity of out's entries, so a warm frame does not allocate.
        out = palettes.at(DisplayMode::DEFAULT).at(mPaletteIndex);
        for (size_t i = 0; i < out.size(); ++i) {
            for (size_t j = 0; j < out[i].size(); ++j) {
                out[i][j] = mix_color(out[i][j], paletteAOD[i][j], mDisplayModeBlend);
            }
        }
        return;
    }
    const DisplayMode mode =
        mDisplayModeBlend == blendDefault ? DisplayMode::DEFAULT : DisplayMode::AOD;
    out = palettes.at(mode).at(mPaletteIndex);
}

OrthographicCamera2d& AbstractAnimator::beginFrame(const RotationTransition& rotation,
                                                   const AnimatorPreset& preset,
                                                   const Palette& palette) {
    mRenderState.pointMode = preset.pointMode;
    mRenderState.instances.clear();
    OrthographicCamera2d& camera = mRenderState.camera;
    camera.aspect = static_cast<float>(mWidth) / static_cast<float>(mHeight);
    camera.size = static_cast<float>(mHeight) * 0.5f;
    camera.rotationMode = 3;
    camera.update(rotation);
    mAODMask = preset.aodMask;
    mAODMask.rotation = camera.roll;

    const std::vector<colorf>& background = palette[0];
    mBackgroundColor = mix_color(background[0], background[1], mBackgroundMix1.value);
    mBackgroundColor = mix_color(mBackgroundColor, background[2], mBackgroundMix2.value);
    mBackgroundColor = mix_color(mBackgroundColor, background[3], mBeat.value);
    return camera;
}

colorf AbstractAnimator::mixPoints(const colorf& calm, const colorf& moderate,
                                   const colorf& loud) const {
    return mix_color(mix_color(calm, moderate, mPointMix1.value), loud, mPointMix2.value);
}

void AbstractAnimator::mixPointEntries(const Palette& palette, size_t first, size_t stride,
                                       std::vector<colorf>& out) const {
    const std::vector<colorf>& calm = palette[first];
    const std::vector<colorf>& moderate = palette[first + stride];
    const std::vector<colorf>& loud = palette[first + 2 * stride];
    out.resize(calm.size());
    for (size_t i = 0; i < calm.size(); ++i) {
        out[i] = mixPoints(calm[i], moderate[i], loud[i]);
    }
}

void AbstractAnimator::mixPointColors(const std::vector<colorf>& entry, size_t count, size_t stride,
                                      std::vector<colorf>& out) const {
    out.resize(count);
    for (size_t i = 0; i < count; ++i) {
        out[i] = mixPoints(entry[i], entry[i + stride], entry[i + 2 * stride]);
    }
}

}  // namespace content2020
