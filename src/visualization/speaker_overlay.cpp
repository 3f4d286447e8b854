#include "visualization/speaker_overlay.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "visualization/log.h"
#include "visualization/speaker_overlay_renderer.h"
#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

namespace {

using math::kPi;
using math::smoothstep;
constexpr float kEpsilon = std::numeric_limits<float>::epsilon();

}  // namespace

SpeakerOverlay::SpeakerOverlay(uint32_t width, uint32_t height, SpeakerInfo speaker,
                               bool withRenderer)
    : mWidth(width), mHeight(height), mSpeaker(speaker) {
    beginScope("[SpeakerOverlay][Constructor]");
    mQuarterWidth = static_cast<float>(mWidth) / 4.0f;
    mSideHeight = 0.6f * static_cast<float>(mHeight);
    mUnitRadius = static_cast<float>(mWidth) / 8.0f;
    createBlueprint();
    mRenderEntities.clear();
    if (withRenderer) {
        mRenderer = std::make_unique<SpeakerOverlayRenderer>(mWidth, mHeight);
    }
    logInScope("Speaker Info %s", toString(mSpeaker));
    endScope();
}

SpeakerOverlay::~SpeakerOverlay() {
    beginScope("[SpeakerOverlay][Destructor]");
    mRenderer.reset();
    endScope();
}

void SpeakerOverlay::skip() {
    if (!isFinished()) {
        mTime += mDuration;
    }
}

float SpeakerOverlay::wave(float d, float t) {
    float v = d - (2.0f * t - 1.0f);
    if (v < 0.0f) {
        v = 0.0f;
    } else if (v >= 1.0f) {
        v = 1.0f;
    }
    return std::sin(-kPi / 2.0f - 2.0f * kPi * v) * 0.5f + 0.5f;
}

void SpeakerOverlay::createBlueprint() {
    beginScope("[SpeakerOverlay][createBlueprint]");
    mRingCountStep = std::max(mRingCountStep, 1u);
    // Neighbouring dots of a ring are 2 * spacing apart along the ring.
    const auto ringRadius = [this](uint32_t n) {
        return 2.0f * static_cast<float>(n) * mSpacing / (2.0f * kPi);
    };

    // Every configuration shares one blueprint and one duration, so that the overlay looks
    // and lasts the same whichever speakers the host reports.
    mDuration = mPreset.cycleDuration;
    float maxFactor = 0.0f;
    for (const auto& entry : mPreset.parameters) {
        const SpeakerOverlayPreset::Parameters& p = entry.second;
        maxFactor = std::max({maxFactor, p.topRadius, p.sideRadius, p.bottomRadius});
        const float m = std::max({p.topDelay, p.sideDelay, p.bottomDelay});
        mDuration =
            std::max(mDuration, mPreset.cycleDuration * (1.0f + std::max(m, m + p.waveLag)));
    }

    const float maxRadius = mUnitRadius * maxFactor;
    mEntities.clear();
    uint32_t n = mFirstRingCount;
    float r = ringRadius(n);
    while (r <= maxRadius) {
        for (uint32_t i = 0; i < n; ++i) {
            const float angle = static_cast<float>(i) * 2.0f * kPi / static_cast<float>(n);
            Entity entity;
            entity.position = vec2f{std::cos(angle) * r, std::sin(angle) * r};
            const float x = entity.position.x;
            const float y = entity.position.y;
            entity.distance = std::sqrt(std::max(x * x + y * y, 1.4210855e-14f));
            entity.size = mSpacing;
            entity.random = util::random01();
            mEntities.push_back(entity);
        }
        n += mRingCountStep;
        r = ringRadius(n);
    }
    endScope();

    // Every source of this configuration can at most show the whole blueprint; reserving that
    // once keeps the frames free of allocations.
    const auto found = mPreset.parameters.find(mSpeaker);
    if (found != mPreset.parameters.end()) {
        const SpeakerOverlayPreset::Parameters& p = found->second;
        const size_t sources = (p.topRadius > kEpsilon ? 2 : 0) +
                               (p.sideRadius > kEpsilon ? 2 : 0) +
                               (p.bottomRadius > kEpsilon ? std::min(p.bottomCount, 3u) : 0);
        mRenderEntities.reserve(sources * mEntities.size());
    }
}

bool SpeakerOverlay::isOffScreen(const vec2f& p, float size) const {
    const float w = static_cast<float>(mWidth);
    const float h = static_cast<float>(mHeight);
    return !(size > kEpsilon) || p.x + size <= 0.0f || p.x - size >= w || p.y + size <= 0.0f ||
           p.y - size >= h;
}

void SpeakerOverlay::emitSource(float x, float y, float radius, float delay, float waveLag) {
    if (!(radius > kEpsilon)) {
        return;
    }
    const float maxR = mUnitRadius * radius;
    const float t = mTime / mPreset.cycleDuration;
    const float tA = t - delay;
    const float tB = tA - waveLag;
    for (const Entity& entity : mEntities) {
        const vec2f p{x + entity.position.x, y + entity.position.y};
        if (entity.distance > maxR || isOffScreen(p, entity.size)) {
            continue;
        }
        const float d = std::min(entity.distance, maxR) / maxR;
        const float alpha = smoothstep(mInnerFade.x, mInnerFade.y, d) *
                            smoothstep(mOuterFade.x, mOuterFade.y, 1.0f - d) * mOpacity;
        const float size = (entity.random * mSizeVariation + (1.0f - mSizeVariation)) *
                           entity.size * std::max(wave(d, tA), wave(d, tB)) * alpha;
        if (!isOffScreen(p, size)) {
            mRenderEntities.push_back({p, size, colorf(mColor.r, mColor.g, mColor.b, alpha)});
        }
    }
}

void SpeakerOverlay::draw(float dt) {
    mRenderEntities.clear();
    const SpeakerOverlayPreset::Parameters& p = mPreset.parameters.at(mSpeaker);
    const float q = mQuarterWidth;
    const float w = static_cast<float>(mWidth);
    const float h = static_cast<float>(mHeight);

    emitSource(q, 0.0f, p.topRadius, p.topDelay, p.waveLag);
    emitSource(3.0f * q, 0.0f, p.topRadius, p.topDelay, p.waveLag);
    emitSource(0.0f, mSideHeight, p.sideRadius, p.sideDelay, p.waveLag);
    emitSource(w, mSideHeight, p.sideRadius, p.sideDelay, p.waveLag);
    const float spread = q * p.bottomSpread;
    switch (p.bottomCount) {
        case 1:
            emitSource(2.0f * q, h, p.bottomRadius, p.bottomDelay, p.waveLag);
            break;
        case 2:
            emitSource(q - spread, h, p.bottomRadius, p.bottomDelay, p.waveLag);
            emitSource(3.0f * q + spread, h, p.bottomRadius, p.bottomDelay, p.waveLag);
            break;
        case 3:
            emitSource(q - spread, h, p.bottomRadius, p.bottomDelay, p.waveLag);
            emitSource(2.0f * q, h, p.bottomRadius, p.bottomDelay, p.waveLag);
            emitSource(3.0f * q + spread, h, p.bottomRadius, p.bottomDelay, p.waveLag);
            break;
        default:
            break;
    }

    if (mRenderer) {
        mRenderer->draw(mRenderEntities);
    }
    mTime += dt;
}
