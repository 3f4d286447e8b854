#include "visualization/content/2020/content.h"

#include <algorithm>
#include <memory>

#include "platform.h"
#include "visualization/content/2020/animator_circular_1.h"
#include "visualization/content/2020/animator_circular_2.h"
#include "visualization/content/2020/animator_diamond_1.h"
#include "visualization/content/2020/animator_diamond_2.h"
#include "visualization/content/2020/animator_random_1.h"
#include "visualization/content/2020/animator_random_2.h"
#include "visualization/content/2020/animator_random_3.h"
#include "visualization/content/2020/animator_random_4.h"
#include "visualization/content/2020/animator_random_5.h"
#include "visualization/content/2020/animator_vertical_1.h"
#include "visualization/content/2020/animator_waves_1.h"
#include "visualization/content/2020/animator_waves_2.h"
#include "visualization/content/2020/animator_waves_3.h"
#include "visualization/content/2020/animator_zig_zag_1.h"
#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/random.h"
#include "visualization/util/shuffle.h"

namespace content2020 {

const std::map<ContentMode, std::string> ContentModeNames = {
    {ContentMode::RANDOM_1, "RANDOM_1"},     {ContentMode::RANDOM_2, "RANDOM_2"},
    {ContentMode::RANDOM_3, "RANDOM_3"},     {ContentMode::RANDOM_4, "RANDOM_4"},
    {ContentMode::RANDOM_5, "RANDOM_5"},     {ContentMode::ZIG_ZAG_1, "ZIG_ZAG_1"},
    {ContentMode::CIRCULAR_1, "CIRCULAR_1"}, {ContentMode::CIRCULAR_2, "CIRCULAR_2"},
    {ContentMode::WAVES_1, "WAVES_1"},       {ContentMode::WAVES_2, "WAVES_2"},
    {ContentMode::WAVES_3, "WAVES_3"},       {ContentMode::VERTICAL_1, "VERTICAL_1"},
    {ContentMode::DIAMOND_1, "DIAMOND_1"},   {ContentMode::DIAMOND_2, "DIAMOND_2"},
};

std::unique_ptr<AbstractAnimator> createAnimator(ContentMode mode, uint32_t width,
                                                 uint32_t height) {
    switch (mode) {
        case ContentMode::CIRCULAR_1:
            return std::make_unique<AnimatorCircular_1>(width, height);
        case ContentMode::CIRCULAR_2:
            return std::make_unique<AnimatorCircular_2>(width, height);
        case ContentMode::RANDOM_1:
            return std::make_unique<AnimatorRandom_1>(width, height);
        case ContentMode::RANDOM_2:
            return std::make_unique<AnimatorRandom_2>(width, height);
        case ContentMode::RANDOM_3:
            return std::make_unique<AnimatorRandom_3>(width, height);
        case ContentMode::VERTICAL_1:
            return std::make_unique<AnimatorVertical_1>(width, height);
        case ContentMode::WAVES_1:
            return std::make_unique<AnimatorWaves_1>(width, height);
        case ContentMode::RANDOM_4:
            return std::make_unique<AnimatorRandom_4>(width, height);
        case ContentMode::RANDOM_5:
            return std::make_unique<AnimatorRandom_5>(width, height);
        case ContentMode::WAVES_3:
            return std::make_unique<AnimatorWaves_3>(width, height);
        case ContentMode::WAVES_2:
            return std::make_unique<AnimatorWaves_2>(width, height);
        case ContentMode::DIAMOND_1:
            return std::make_unique<AnimatorDiamond_1>(width, height);
        case ContentMode::DIAMOND_2:
            return std::make_unique<AnimatorDiamond_2>(width, height);
        case ContentMode::ZIG_ZAG_1:
            return std::make_unique<AnimatorZigZag_1>(width, height);
    }
    return nullptr;
}

Content::Content(uint32_t width, uint32_t height, RotateInfo rotation)
    : AbstractContent(width, height, rotation),
      mRandom(static_cast<uint32_t>(platform_clock_now_ns())) {
    beginScope("[content2020][Content][Constructor]");
    beginSubScope("Create animators");
    for (size_t i = 0; i < kModeCount; ++i) {
        mAnimators[i] = createAnimator(static_cast<ContentMode>(i), width, height);
        // The playlist below and the animator's palette index are both taken modulo this count.
        VIZ_ASSERT(mAnimators[i]->getNumPalettes() > 0);
    }
    for (size_t i = 0; i < kModeCount; ++i) {
        PalettePlaylist& playlist = mPalettePlaylists[i];
        const size_t n = mAnimators[i]->getNumPalettes();
        playlist.indices.resize(n);
        for (size_t k = 0; k < n; ++k) {
            playlist.indices[k] = k;
        }
        // A random last element makes the value the first shuffle must avoid random, so the
        // first palette of a mode differs from run to run.
        playlist.indices[n - 1] =
            std::min(static_cast<size_t>(util::randomRange(0.0f, static_cast<float>(n))), n - 1);
        reshufflePaletteItem(i, false);
        mAnimators[i]->setPaletteIndex(playlist.indices.at(playlist.cursor), true);
    }
    endSubScope();
    mRenderer = std::make_unique<Renderer>(width, height);
    endScope();
}

Content::~Content() {
    beginScope("[content2020][Content][Destructor]");
    // Released here rather than by the members' destructors, so that the animators' and the
    // renderer's own scopes log inside this one, animators first.
    for (std::unique_ptr<AbstractAnimator>& animator : mAnimators) {
        animator.reset();
    }
    mRenderer.reset();
    endScope();
}

void Content::reshufflePaletteItem(size_t modeIndex, bool log) {
    PalettePlaylist& playlist = mPalettePlaylists.at(modeIndex);
    if (playlist.indices.size() < util::NUM_ELEMENTS_MIN_RESHUFFABLE) {
        return;
    }
    if (log) {
        beginScope("[content2020][Content][reshufflePaletteItem]");
    }
    const size_t n = mAnimators[modeIndex]->getNumPalettes();
    const util::UniformInt distribution(0, static_cast<int>(n) - 1);
    util::reshuffle(playlist.indices.data(), n, distribution, mRandom);
    if (log) {
        std::string text =
            format("%s: ", ContentModeNames.at(static_cast<ContentMode>(modeIndex)).c_str());
        for (size_t k = 0; k < playlist.indices.size(); ++k) {
            text += format("%i%s", static_cast<int>(playlist.indices.at(k)),
                           k + 1 < playlist.indices.size() ? ", " : " ");
        }
        logMessage("[content2020][Content][reshufflePalettePlaylistItem] %s", text.c_str());
        endScope();
    }
}

void Content::onModeIndexChanged() {
    const size_t mode = currentMode();
    PalettePlaylist& playlist = mPalettePlaylists[mode];
    if (playlist.indices.size() <= 2) {
        return;
    }
    playlist.cursor = (playlist.cursor + 1) % playlist.indices.size();
    if (playlist.cursor == 0) {
        reshufflePaletteItem(mode, true);
    }
    mAnimators[mode]->setPaletteIndex(playlist.indices.at(playlist.cursor), true);
}

void Content::update(float dt, const SoundInput& sound, const RotationTransition& rotation) {
    AbstractAnimator& animator = *mAnimators[currentMode()];
    animator.setPaused(mPaused);
    animator.setTransition(mTransition);
    animator.setDisplayModeBlend(mDisplayModeBlend);
    animator.update(dt, rotation, sound);
}

void Content::render() {
    mRenderer->setBlend(mBlend);
    mRenderer->draw(mAnimators[currentMode()]->getRenderState());
}

AODMask Content::getAODMask() const {
    return mAnimators[currentMode()]->getAODMask();
}

void Content::setModePaletteIndex(size_t indexMode, size_t indexPalette) {
    VIZ_ASSERT(indexMode < mAnimators.size());
    PalettePlaylist& playlist = mPalettePlaylists[indexMode];
    VIZ_ASSERT(indexPalette < playlist.indices.size());
    if (playlist.indices.at(playlist.cursor) == indexPalette) {
        return;
    }
    const auto found = std::find(playlist.indices.begin(), playlist.indices.end(), indexPalette);
    // A short playlist may not hold every palette; then the request has nothing to point at.
    if (found == playlist.indices.end()) {
        return;
    }
    playlist.cursor = static_cast<size_t>(found - playlist.indices.begin());
    mAnimators[indexMode]->setPaletteIndex(playlist.indices.at(playlist.cursor), true);
}

uint32_t Content::getModePaletteIndex() const {
    const PalettePlaylist& playlist = mPalettePlaylists[currentMode()];
    return static_cast<uint32_t>(playlist.indices.at(playlist.cursor));
}

colorf Content::getBackgroundColor() const {
    return getBackgroundColor(mModeIndex);
}

colorf Content::getBackgroundColor(uint32_t modeIndex) const {
    return mAnimators[modeIndex < kModeCount ? modeIndex : 0]->getBackgroundColor();
}

}  // namespace content2020
