#include "visualization/content/2021/kaleidoscope/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
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

constexpr double kPi = 3.14159265358979323846;

// What the next photograph may upload per frame: about a third of a millisecond on a software
// rasteriser, so that a photograph with all its levels is up within a quarter of a second.
constexpr size_t kStagingBytesPerFrame = 256 * 1024;

// The fold is drawn as geometry rather than worked out per pixel. Folding the screen around a
// centre takes an arc tangent, a square root, a cosine, a sine and a floor at every pixel, which
// is what a television's GPU has fewest units for, and at 1080p it is most of the frame. Yet the
// fold is piecewise affine: inside each half-wedge (where the angle modulo one wedge stays below
// or above half a wedge) the screen maps to the photograph by one rotation or one reflection, a
// scale by the photograph's aspect and a shift. So each half-wedge is a few triangles whose
// vertices carry the photograph coordinate worked out here, and interpolating it is exact. Only
// the mirror at the photograph's edges, the zoom, the drift and the blend are left per pixel.
const char* const kVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout (location = 0) in vec2 aPosition;
layout (location = 1) in vec2 aTexCoord;
out vec2 vTexCoord;
void main() {
    gl_Position = vec4(aPosition, 0.0, 1.0);
    vTexCoord = aTexCoord;
}
)";

// Mirrors the folded picture at 0 and at uTextureMirrorRatio before zoom and drift; the output
// is premultiplied by uBlend.
const char* const kFragmentShader = R"(#version 300 es
precision highp float;
precision highp int;
in vec2 vTexCoord;
out vec4 FragColor;
uniform sampler2D uTexture;
uniform float uTextureZoom;
uniform vec3 uTextureOffset;
uniform float uTextureMirrorRatio;
uniform float uBlend;
void main() {
    vec2 uv = vTexCoord;
    uv = max(min(uv, uTextureMirrorRatio - uv), -uv) * uTextureZoom + uTextureOffset.z + uTextureOffset.xy;
    FragColor = vec4(texture(uTexture, uv).rgb, uBlend);
    FragColor.rgb *= uBlend;
}
)";

// A vertex of the fold: clip position and photograph coordinate.
constexpr size_t kFloatsPerVertex = 4;
// Seven segments (the most any sound class asks for) take 84 vertices on a still screen and about
// 300 half-way through a rotation, when the tiles around the first one show. Sixteen segments
// bound the work a faulty count could ask for.
constexpr size_t kMaxFoldVertices = 1024;
constexpr uint32_t kMaxSegments = 16;

struct Point {
    double x;
    double y;
};

// Screen (clip space) to the folded plane: the texture coordinate that the camera's turn and the
// screen's aspect give, scaled by the tiling. It is affine: s = origin + ax * x + ay * y.
struct ScreenMap {
    Point origin, ax, ay;
    double invDet;

    Point toScreen(Point s) const {
        const double dx = s.x - origin.x;
        const double dy = s.y - origin.y;
        return {(dx * ay.y - dy * ay.x) * invDet, (ax.x * dy - ax.y * dx) * invDet};
    }
};

// A convex polygon of the folded plane, cut by axis-parallel lines.
struct Polygon {
    std::array<Point, 12> points;
    size_t count = 0;
};

// Keeps the side of the line where (axis ? y : x) * sign >= bound * sign. The crossing of an
// edge is worked out from its endpoints in one order whichever way the edge runs, so the two
// triangles that share an edge get the very same vertex on it and leave no crack.
void clip(Polygon& polygon, bool axis, double bound, double sign) {
    const Polygon in = polygon;
    polygon.count = 0;
    auto coord = [axis](const Point& p) { return axis ? p.y : p.x; };
    for (size_t i = 0; i < in.count; ++i) {
        const Point& a = in.points[i];
        const Point& b = in.points[(i + 1) % in.count];
        const bool aIn = (coord(a) - bound) * sign >= 0.0;
        const bool bIn = (coord(b) - bound) * sign >= 0.0;
        if (aIn) {
            polygon.points[polygon.count++] = a;
        }
        if (aIn != bIn) {
            const bool ordered = a.x < b.x || (a.x == b.x && a.y < b.y);
            const Point& p = ordered ? a : b;
            const Point& q = ordered ? b : a;
            const double t = (bound - coord(p)) / (coord(q) - coord(p));
            Point cut{p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t};
            (axis ? cut.y : cut.x) = bound;
            polygon.points[polygon.count++] = cut;
        }
    }
}

}  // namespace

Renderer::Renderer(uint32_t width, uint32_t height) : mWidth(width), mHeight(height) {
    beginScope("[content2021][kaleidoscope][Renderer][Constructor]");
    mProgram.reset(gl::createProgram(kVertexShader, kFragmentShader, {}));
    gl::bindProgram(mProgram.get());
    gl::uniform("uTexture", 0);
    gl::unbindProgram();

    mFoldVertices.resize(kMaxFoldVertices * kFloatsPerVertex);
    mVertexBuffer.reset(gl::createVertexBuffer(
        static_cast<GLsizeiptr>(kMaxFoldVertices),
        static_cast<GLsizeiptr>(kFloatsPerVertex * sizeof(float)), nullptr, GL_DYNAMIC_DRAW));
    mVertexArray.reset(gl::createInterleavedVertexArray(
        mVertexBuffer.get(), nullptr, {{2, 0}, {2, 2 * sizeof(float)}},
        static_cast<GLsizei>(kFloatsPerVertex * sizeof(float))));
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

size_t Renderer::buildFold(const RenderState& state) {
    const KaleidoscopeParameters& p = state.parameters;
    const vec2f aspect = getAspect();
    const vec2f textureAspect = getTextureAspect();
    const float* view = state.camera.getViewMatrix().m;

    // The texture coordinate turns with the camera (the upper-left block of its view matrix), so
    // that the picture stays upright while the screen rotates, and is then tiled.
    auto folded = [&](double x, double y) {
        const double ux = x * aspect.x;
        const double uy = y * aspect.y;
        const double tx = 0.5 + (view[0] * ux + view[4] * uy) * 0.5;
        const double ty = 0.5 + (view[1] * ux + view[5] * uy) * 0.5;
        const double tile = p.tile;
        return Point{tx * (1.0 + tile) + tile * 0.5, ty * (1.0 + tile) + tile * 0.5 + tile};
    };
    ScreenMap map;
    map.origin = folded(0.0, 0.0);
    const Point sx = folded(1.0, 0.0);
    const Point sy = folded(0.0, 1.0);
    map.ax = {sx.x - map.origin.x, sx.y - map.origin.y};
    map.ay = {sy.x - map.origin.x, sy.y - map.origin.y};
    const double det = map.ax.x * map.ay.y - map.ax.y * map.ay.x;
    if (!(std::fabs(det) > 1e-12)) {
        return 0;
    }
    map.invDet = 1.0 / det;

    Point lo{HUGE_VAL, HUGE_VAL};
    Point hi{-HUGE_VAL, -HUGE_VAL};
    for (const Point corner : {folded(-1, -1), folded(1, -1), folded(1, 1), folded(-1, 1)}) {
        lo = {std::min(lo.x, corner.x), std::min(lo.y, corner.y)};
        hi = {std::max(hi.x, corner.x), std::max(hi.y, corner.y)};
    }

    // Beyond the unit square the tiling starts the fold again around the centre of the next
    // tile; the screen shows more than one tile only while it turns.
    const uint32_t segments = std::min(std::max(p.segments, 1u), kMaxSegments);
    const double halfWedge = kPi / segments * 0.5;
    const int pieces = static_cast<int>(std::ceil(halfWedge / (kPi / 3.0) - 1e-9));
    const double pieceAngle = halfWedge / pieces;
    constexpr double kEdge = 1e-6;
    size_t count = 0;
    for (double cellY = std::floor(lo.y + kEdge); cellY < hi.y - kEdge; cellY += 1.0) {
        for (double cellX = std::floor(lo.x + kEdge); cellX < hi.x - kEdge; cellX += 1.0) {
            const Point boxLo{std::max(lo.x, cellX), std::max(lo.y, cellY)};
            const Point boxHi{std::min(hi.x, cellX + 1.0), std::min(hi.y, cellY + 1.0)};
            // A tile that holds the whole screen needs no cutting: its triangles reach past the
            // screen's corners and the rasteriser clips them.
            const bool cut =
                boxLo.x != lo.x || boxLo.y != lo.y || boxHi.x != hi.x || boxHi.y != hi.y;
            const Point c{cellX + p.center.x, cellY + p.center.y};
            double reach = 0.0;
            for (const Point corner :
                 {boxLo, boxHi, Point{boxLo.x, boxHi.y}, Point{boxHi.x, boxLo.y}}) {
                reach = std::max(reach, std::hypot(corner.x - c.x, corner.y - c.y));
            }
            reach = reach / std::cos(pieceAngle * 0.5) * 1.01 + 1e-3;

            for (uint32_t h = 0; h < 4 * segments; ++h) {
                // The angle modulo a wedge (2 half-wedges) and then mirrored inside it: below half
                // a wedge the half-wedge is turned onto the first one, above it is reflected.
                const double k = static_cast<double>(h / 2) * 2.0 * halfWedge;
                const bool reflected = h % 2 == 1;
                const double turn = reflected
                                        ? k + 2.0 * halfWedge + p.angleRoll - 2.0 * p.angleOffset
                                        : p.angleRoll - k;
                const double cosTurn = std::cos(turn);
                const double sinTurn = std::sin(turn);
                const double start = h * halfWedge - p.angleOffset;
                for (int piece = 0; piece < pieces; ++piece) {
                    const double a0 = start + piece * pieceAngle;
                    // The last piece ends on the very ray the next half-wedge starts from.
                    const double a1 =
                        piece + 1 == pieces ? (h + 1) * halfWedge - p.angleOffset : a0 + pieceAngle;
                    Polygon polygon;
                    polygon.points[0] = c;
                    polygon.points[1] = {c.x + reach * std::cos(a0), c.y + reach * std::sin(a0)};
                    polygon.points[2] = {c.x + reach * std::cos(a1), c.y + reach * std::sin(a1)};
                    polygon.count = 3;
                    if (cut) {
                        clip(polygon, false, boxLo.x, 1.0);
                        clip(polygon, false, boxHi.x, -1.0);
                        clip(polygon, true, boxLo.y, 1.0);
                        clip(polygon, true, boxHi.y, -1.0);
                    }
                    if (polygon.count < 3 || count + 3 * (polygon.count - 2) > kMaxFoldVertices) {
                        continue;
                    }
                    auto emit = [&](const Point& s) {
                        const Point screen = map.toScreen(s);
                        const double px = s.x - c.x;
                        const double py = s.y - c.y;
                        const double u =
                            reflected ? cosTurn * px + sinTurn * py : cosTurn * px - sinTurn * py;
                        const double v =
                            reflected ? sinTurn * px - cosTurn * py : sinTurn * px + cosTurn * py;
                        float* out = &mFoldVertices[count++ * kFloatsPerVertex];
                        out[0] = static_cast<float>(screen.x);
                        out[1] = static_cast<float>(screen.y);
                        out[2] = static_cast<float>(u * textureAspect.x + p.center.x);
                        out[3] = static_cast<float>(v * textureAspect.y + p.center.y);
                    };
                    for (size_t i = 1; i + 1 < polygon.count; ++i) {
                        emit(polygon.points[0]);
                        emit(polygon.points[i]);
                        emit(polygon.points[i + 1]);
                    }
                }
            }
        }
    }
    return count;
}

void Renderer::drawFold(const RenderState& state, gl::Texture2d* texture) {
    const KaleidoscopeParameters& p = state.parameters;
    const size_t vertices = buildFold(state);

    // The triangles cover every pixel once, so nothing else of the state matters but blending,
    // which the frame starts without.
    const bool blending = mBlend != 1.0f;
    if (blending) {
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);

    gl::bindProgram(mProgram.get());
    gl::uniform("uTextureOffset", p.textureOffset.x, p.textureOffset.y, p.textureOffset.z);
    gl::uniform("uTextureZoom", p.zoom);
    gl::uniform("uTextureMirrorRatio", p.mirror + 1.0f);
    gl::uniform("uBlend", mBlend);

    gl::activeTexture(0);
    gl::bindTexture2d(texture);
    gl::bindVertexBuffer(mVertexBuffer.get());
    gl::bufferVertexSubData(0, static_cast<GLsizeiptr>(vertices * kFloatsPerVertex), sizeof(float),
                            mFoldVertices.data());
    gl::bindVertexArray(mVertexArray.get());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices));

    if (blending) {
        glDisable(GL_BLEND);
    }
}

}  // namespace kaleidoscope
}  // namespace content2021
