#include "visualization/content/2021/kaleidoscope/renderer.h"

#include <algorithm>
#include <limits>

#include "visualization/content/2021/kaleidoscope/image_loader.h"
#include "visualization/log.h"
#include "visualization/util/gl/shared_context.h"

namespace content2021 {
namespace kaleidoscope {

const std::map<FitMode, std::string> FitModeNames = {
    {FitMode::HORIZONTAL, "HORIZONTAL"},
    {FitMode::VERTICAL, "VERTICAL"},
};

namespace {

constexpr float kPi = 3.14159265358979323846f;

// What the next photograph may upload per frame: about a third of a millisecond on a software
// rasteriser, so that a photograph with all its levels is up within a quarter of a second.
constexpr size_t kStagingBytesPerFrame = 256 * 1024;

// The quad covers clip space; the view matrix's upper-left block turns the texture coordinates
// with the device so that the picture stays upright while the screen rotates.
const char* const kVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout (location = 0) in vec4 aPosition;
uniform mat4 uViewMatrix;
uniform vec2 uAspect;
out vec2 vTexCoord;
void main() {
    gl_Position = aPosition;
    mat2 rotation = mat2(uViewMatrix[0][0], uViewMatrix[0][1], uViewMatrix[1][0], uViewMatrix[1][1]);
    vTexCoord = 0.5 + rotation * (aPosition.xy * uAspect) * 0.5;
    gl_PointSize = 10.0f;
}
)";

// Folds the screen around uCenter into wedges of uAngleDivisor, each the mirror image of its
// neighbour, then mirrors the picture at 0 and at uTextureMirrorRatio before zoom and drift.
// The output is premultiplied by uBlend.
const char* const kFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
in vec2 vTexCoord;
out vec4 FragColor;
uniform vec2 uCenter;
uniform float uTile;
uniform float uAngleDivisor;
uniform float uAngleOffset;
uniform float uAngleRoll;
uniform sampler2D uTexture;
uniform vec2 uTextureAspect;
uniform float uTextureZoom;
uniform vec3 uTextureOffset;
uniform float uTextureMirrorRatio;
uniform float uBlend;
struct polar2 {
    float angle;
    float radius;
};
polar2 cartesianToPolar(vec2 p) {
    return polar2(atan(p.y, p.x), sqrt(dot(p, p)));
}
vec2 polarToCartesian(polar2 p) {
    return vec2(cos(p.angle), sin(p.angle)) * p.radius;
}
void main() {
    vec2 texCoord = vTexCoord;
    texCoord = fract(texCoord * (1.0 + uTile) + uTile * 0.5 + vec2(0.0, uTile));
    polar2 p = cartesianToPolar(texCoord - uCenter);
    p.angle += uAngleOffset;
    p.angle = p.angle - uAngleDivisor * floor(p.angle / uAngleDivisor);
    p.angle = min(p.angle, uAngleDivisor - p.angle);
    p.angle += uAngleRoll - uAngleOffset;
    vec2 uv = polarToCartesian(p) * uTextureAspect + uCenter;
    uv = max(min(uv, uTextureMirrorRatio - uv), -uv) * uTextureZoom + uTextureOffset.z + uTextureOffset.xy;
    FragColor = vec4(texture(uTexture, uv).rgb, uBlend);
    FragColor.rgb *= uBlend;
}
)";

}  // namespace

Renderer::Renderer(uint32_t width, uint32_t height) : mWidth(width), mHeight(height) {
    beginScope("[content2021][kaleidoscope][Renderer][Constructor]");
    mProgram.reset(gl::createProgram(kVertexShader, kFragmentShader, {}));
    gl::bindProgram(mProgram.get());
    gl::uniform("uTexture", 0);
    gl::unbindProgram();

    const std::vector<float> quad = {-1.0f, -1.0f, 1.0f, -1.0f, 1.0f, 1.0f, -1.0f, 1.0f};
    mVertexBuffer.reset(gl::createVertexBuffer(quad, GL_STATIC_DRAW));
    std::vector<gl::VertexArrayAttributeConfig> configs = {gl::VertexArrayAttributeConfig()
                                                               .setLocation(0)
                                                               .setBuffer(mVertexBuffer.get())
                                                               .setSize(2)
                                                               .setOffset(0)};
    mVertexArray.reset(gl::createVertexArray(configs, nullptr));
    // Every photograph is shown from one of these two, at one size: nothing is allocated in GL
    // when a photograph changes.
    for (gl::Owned<gl::Texture2d>& slot : mSlots) {
        slot.reset(gl::createTexture2dStorage(kUniformImageSize, kUniformImageSize,
                                              kUniformImageLevels, textureConfig()));
    }
    // A fading and a full fold are the two render states every mode draws with.
    {
        const gl::WarmUp warmUp;
        for (const float warmBlend : {0.5f, 1.0f}) {
            mBlend = warmBlend;
            drawFold(RenderState(), mSlots[0].get());
        }
        mBlend = 0.0f;
    }
    endScope();
}

Renderer::~Renderer() {
    beginScope("[content2021][kaleidoscope][Renderer][Destructor]");
    mProgram.reset();
    mVertexArray.reset();
    mVertexBuffer.reset();
    mStaging = Staging();
    for (gl::Owned<gl::Texture2d>& slot : mSlots) {
        slot.reset();
    }
    endScope();
}

void Renderer::loadOnTheSpot(const std::string& path, DecodedImage& image) {
    const fs::TextureData pixels =
        fs::loadTextureData(path.c_str(), &image.width, &image.height, &image.channels);
    if (!pixels) {
        image.channels = 0;
        return;
    }
    if (image.channels != 3 && image.channels != 4) {
        return;
    }
    image.levels = mImageLoader != nullptr ? mImageLoader->acquireLevels() : LevelSet();
    if (!image.levels) {
        image.levels = LevelSet::ownBlock();
    }
    // The resampler works in the mapping the photograph was decoded in, where there is one.
    bool built = false;
    if (fs::DecodeArena* arena = pixels.get_deleter().arena) {
        const fs::DecodeArena::Scope scope(*arena);
        built = buildLevels(pixels.get(), image.width, image.height, image.channels,
                            image.levels.data());
    } else {
        built = buildLevels(pixels.get(), image.width, image.height, image.channels,
                            image.levels.data());
    }
    if (!built) {
        image.levels.reset();
    }
}

void Renderer::updateTexture(const std::string& path) {
    if (path == mTexturePath) {
        return;
    }
    beginScope("[content2021][kaleidoscope][Renderer][updateTexture]");
    startStopwatch();
    startStopwatch();

    const bool staged = !mStaging.image.path.empty() && mStaging.image.path == path;
    if (!staged) {
        // Staged for a photograph that did not come next; its slot takes this one instead.
        resetStaging();
    }
    DecodedImage loaded;
    DecodedImage& image = staged ? mStaging.image : loaded;
    int64_t loadMs = 0;
    if (staged) {
        stopStopwatch();
        loadMs = image.durationMs;
    } else if (mImageLoader != nullptr && mImageLoader->take(path, image)) {
        stopStopwatch();
        loadMs = image.durationMs;
    } else {
        loadOnTheSpot(path, image);
        loadMs = stopStopwatch();
    }
    logInScope("Asset path: %s", path.c_str());
    logInScope("Asset size: %ix%i, num channels: %i", image.width, image.height, image.channels);
    logInScope("Duration asset load: %ims", static_cast<int>(loadMs));
    mTexturePath = path;

    if ((image.channels != 3 && image.channels != 4) || !image.levels) {
        logInScope("Asset \"%s\" has invalid number of channels: %i", path.c_str(), image.channels);
        resetStaging();
        stopStopwatch();
        endScope();
        return;
    }

    startStopwatch();
    if (!staged) {
        mStaging.slot = mShownSlot == 0 ? 1 : 0;
        mStaging.level = 0;
        mStaging.row = 0;
    }
    upload(mStaging, image.levels.data(), std::numeric_limits<size_t>::max());
    mShownSlot = mStaging.slot;
    mImageWidth = image.width;
    mImageHeight = image.height;
    resetStaging();
    logInScope("Duration texture update: %ims", static_cast<int>(stopStopwatch()));
    mTextureValid = true;
    logInScope("Duration total: %ims", static_cast<int>(stopStopwatch()));
    endScope();
}

gl::Texture2dConfig Renderer::textureConfig() const {
    gl::Texture2dConfig config;
    config.format = GL_RGB;
    config.internalFormat = config.format;
    config.type = GL_UNSIGNED_BYTE;
    config.wrapS = mTextureWrap;
    config.wrapT = mTextureWrap;
    config.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    config.magFilter = GL_LINEAR;
    config.generateMipmap = false;
    config.unpackAlignment = 1;
    return config;
}

void Renderer::resetStaging() {
    mStaging = Staging();
}

void Renderer::setImageLoader(ImageLoader* loader) {
    resetStaging();
    mImageLoader = loader;
}

void Renderer::stageNextImage() {
    stage(std::numeric_limits<size_t>::max(), true);
}

void Renderer::stage(size_t budgetBytes, bool wait) {
    DecodedImage& image = mStaging.image;
    if (image.path.empty()) {
        if (mImageLoader == nullptr ||
            !(wait ? mImageLoader->wait(image) : mImageLoader->poll(image))) {
            return;
        }
        mStaging.slot = mShownSlot == 0 ? 1 : 0;
        mStaging.level = 0;
        mStaging.row = 0;
    }
    upload(mStaging, image.levels.data(), budgetBytes);
}

void Renderer::upload(Staging& staging, const unsigned char* levels, size_t budgetBytes) {
    if (staging.slot < 0 || levels == nullptr || staging.level >= kUniformImageLevels) {
        return;
    }
    gl::activeTexture(0);
    gl::bindTexture2d(mSlots[staging.slot].get());
    while (budgetBytes > 0 && staging.level < kUniformImageLevels) {
        const int size = kUniformImageSize >> staging.level;
        const size_t rowBytes = static_cast<size_t>(size) * 3;
        const int rows = static_cast<int>(std::min<size_t>(
            static_cast<size_t>(size - staging.row), std::max<size_t>(1, budgetBytes / rowBytes)));
        gl::texSubImage2d(
            static_cast<GLint>(staging.level), static_cast<GLuint>(staging.row),
            static_cast<GLuint>(size), static_cast<GLuint>(rows),
            levels + levelOffset(staging.level) + static_cast<size_t>(staging.row) * rowBytes);
        budgetBytes -= std::min(budgetBytes, static_cast<size_t>(rows) * rowBytes);
        staging.row += rows;
        if (staging.row == size) {
            ++staging.level;
            staging.row = 0;
        }
    }
    // Rows of three bytes need alignment 1; the host expects GL's default back.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

vec2f Renderer::getAspect() const {
    const float w = static_cast<float>(mWidth);
    const float h = static_cast<float>(mHeight);
    return mScreenFitMode == FitMode::HORIZONTAL ? vec2f{1.0f, h / w} : vec2f{w / h, 1.0f};
}

vec2f Renderer::getTextureAspect() const {
    const float w = static_cast<float>(mImageWidth);
    const float h = static_cast<float>(mImageHeight);
    return mTextureFitMode == FitMode::HORIZONTAL ? vec2f{1.0f, w / h} : vec2f{h / w, 1.0f};
}

void Renderer::draw(const RenderState& state) {
    updateTexture(state.imagePath);
    stage(kStagingBytesPerFrame, false);
    if (!mTextureValid) {
        return;
    }
    if (mScreenFitAuto) {
        mScreenFitMode = mWidth > mHeight ? FitMode::HORIZONTAL : FitMode::VERTICAL;
    }
    if (mTextureFitAuto) {
        mTextureFitMode = mImageWidth > mImageHeight ? FitMode::HORIZONTAL : FitMode::VERTICAL;
    }
    drawFold(state, mSlots[mShownSlot].get());
}

void Renderer::drawFold(const RenderState& state, gl::Texture2d* texture) {
    const vec2f aspect = getAspect();
    const vec2f textureAspect = getTextureAspect();
    const KaleidoscopeParameters& p = state.parameters;

    // The quad covers every pixel once, so nothing else of the state matters but blending, which
    // the frame starts without.
    const bool blending = mBlend != 1.0f;
    if (blending) {
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);

    gl::bindProgram(mProgram.get());
    gl::uniform("uViewMatrix", state.camera.getViewMatrix(), false);
    gl::uniform("uAspect", aspect.x, aspect.y);
    gl::uniform("uTextureAspect", textureAspect.x, textureAspect.y);
    gl::uniform("uTile", p.tile);
    gl::uniform("uCenter", p.center.x, p.center.y);
    gl::uniform("uAngleDivisor", kPi / static_cast<float>(p.segments));
    gl::uniform("uAngleOffset", p.angleOffset);
    gl::uniform("uAngleRoll", p.angleRoll);
    gl::uniform("uTextureOffset", p.textureOffset.x, p.textureOffset.y, p.textureOffset.z);
    gl::uniform("uTextureZoom", p.zoom);
    gl::uniform("uTextureMirrorRatio", p.mirror + 1.0f);
    gl::uniform("uBlend", mBlend);

    gl::activeTexture(0);
    gl::bindTexture2d(texture);
    gl::bindVertexArray(mVertexArray.get());
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);

    if (blending) {
        glDisable(GL_BLEND);
    }
}

}  // namespace kaleidoscope
}  // namespace content2021
