// Sections: module state and geometry | lifecycle | matrices | colour and switches | draw helpers
// | points and lines | triangles, ellipses, rectangles | textured rectangles and meshes | solids |
// wire shapes
#include "visualization/util/gl/qd.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "visualization/util/assert.h"
#include "visualization/util/gl/buffer.h"
#include "visualization/util/gl/program.h"
#include "visualization/util/gl/vertex_array.h"
#include "visualization/util/math/scalar.h"
#include "visualization/util/math/transform.h"

namespace qd {

namespace {

const char* const kVertexShader = R"(#version 300 es
precision highp float;
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec2 aTexCoord;
uniform mat4 uProjectionMatrix;
uniform mat4 uModelMatrix;
uniform float uFlipTexCoordY;
uniform float uPointSize;
out vec2 vTexCoord;
void main() {
    vTexCoord = aTexCoord * (1.0 - uFlipTexCoordY) + vec2(aTexCoord.x, 1.0 - aTexCoord.y) * uFlipTexCoordY;
    gl_PointSize = uPointSize;
    gl_Position = uProjectionMatrix * uModelMatrix * aPosition;
}
)";

const char* const kFragmentShader = R"(#version 300 es
precision highp float;
in vec2 vTexCoord;
uniform sampler2D uTexture;
uniform vec4 uColor;
uniform float uUseTexture;
uniform float uAlphaMultiplier;
out vec4 FragColor;
void main() {
    FragColor = mix(uColor, texture(uTexture, vTexCoord), uUseTexture);
    FragColor.a *= uAlphaMultiplier;
    FragColor.rgb *= FragColor.a;
}
)";

const float kPoint[3] = {0.0f, 0.0f, 0.0f};
const float kQuadXY[12] = {0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
const float kQuadTexCoords[8] = {0, 0, 0, 1, 1, 1, 1, 0};
const float kQuadXZ[12] = {0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 0};
const float kCube[24] = {-0.5f, -0.5f, -0.5f, 0.5f, -0.5f, -0.5f, 0.5f,  -0.5f,
                         0.5f,  -0.5f, -0.5f, 0.5f, -0.5f, 0.5f,  -0.5f, 0.5f,
                         0.5f,  -0.5f, 0.5f,  0.5f, 0.5f,  -0.5f, 0.5f,  0.5f};
const uint8_t kCubeSolid[36] = {0, 1, 5, 5, 4, 0, 1, 2, 6, 6, 5, 1, 2, 3, 7, 7, 6, 2,
                                3, 0, 4, 4, 7, 3, 0, 1, 2, 2, 3, 0, 4, 5, 6, 6, 7, 4};
const uint8_t kCubeWire[24] = {0, 1, 1, 2, 2, 3, 3, 0, 4, 5, 5, 6,
                               6, 7, 7, 4, 0, 4, 1, 5, 2, 6, 3, 7};

// Byte indices address 256 vertices: two rings and two cap centres.
constexpr int kMaxCylinderSegments = 127;

struct Buffers {
    gl::VertexBuffer* point = nullptr;
    gl::VertexBuffer* quadXY = nullptr;
    gl::VertexBuffer* quadTexCoords = nullptr;
    gl::VertexBuffer* quadXZ = nullptr;
    gl::VertexBuffer* cube = nullptr;
    gl::IndexBuffer* cubeSolid = nullptr;
    gl::IndexBuffer* cubeWire = nullptr;
    gl::VertexBuffer* line = nullptr;
    gl::VertexBuffer* triangle = nullptr;
    gl::VertexBuffer* points3 = nullptr;
    gl::VertexBuffer* points2 = nullptr;
    gl::VertexBuffer* lineStrip = nullptr;
    gl::VertexBuffer* lineBatch = nullptr;
    gl::VertexBuffer* circle = nullptr;
    gl::VertexBuffer* cylinder = nullptr;
    gl::IndexBuffer* cylinderIndices = nullptr;
    gl::VertexBuffer* meshPositions = nullptr;
    gl::VertexBuffer* meshTexCoords = nullptr;
    gl::IndexBuffer* meshIndices = nullptr;
};

struct VertexArrays {
    gl::VertexArray* point = nullptr;
    gl::VertexArray* quadXY = nullptr;
    gl::VertexArray* quadXZ = nullptr;
    gl::VertexArray* cubeSolid = nullptr;
    gl::VertexArray* cubeWire = nullptr;
    gl::VertexArray* line = nullptr;
    gl::VertexArray* triangle = nullptr;
    gl::VertexArray* points3 = nullptr;
    gl::VertexArray* points2 = nullptr;
    gl::VertexArray* lineStrip = nullptr;
    gl::VertexArray* lineBatch = nullptr;
    gl::VertexArray* circle = nullptr;
    gl::VertexArray* cylinder = nullptr;
    gl::VertexArray* mesh = nullptr;
};

bool g_created = false;
gl::Program* g_program = nullptr;
Buffers g_buffers;
VertexArrays g_arrays;
math::mat44<float> g_projection;
math::mat44<float> g_model;
bool g_modelDirty = false;
std::vector<math::mat44<float>> g_stackMatrixModel;
std::vector<math::mat44<float>> g_stackMatrixProjection;
colorf g_color(0.0f, 0.0f, 0.0f, 1.0f);
float g_pointSize = 0.0f;
float g_pointSizeRange[2] = {0.0f, 0.0f};
bool g_useTexture = false;
gl::Texture2d* g_texture = nullptr;

// Scratch and batches: cleared, never shrunk, so their capacity carries over between frames.
std::vector<float> g_lines;
std::vector<float> g_stripPoints;
std::vector<float> g_texturedRectPositions;
std::vector<float> g_texturedRectTexCoords;
std::vector<uint16_t> g_texturedRectIndices;
std::vector<float> g_zeroTexCoords;
int g_circleSegments = 0;
std::vector<float> g_circle;
struct CylinderKey {
    int segments = 0;
    float topRadius = 0.0f;
    float bottomRadius = 0.0f;
};
CylinderKey g_cylinderKey;
GLsizei g_cylinderIndexCount = 0;
std::vector<float> g_cylinderVertices;
std::vector<uint8_t> g_cylinderIndices;

gl::VertexBuffer* makeBuffer(const float* values, size_t count, GLenum usage) {
    return gl::createVertexBuffer(static_cast<GLsizeiptr>(count), sizeof(float), values, usage);
}

gl::VertexArray* makeArray(gl::VertexBuffer* positions, GLint size, gl::VertexBuffer* texCoords,
                           gl::IndexBuffer* indices) {
    std::vector<gl::VertexArrayAttributeConfig> configs = {
        gl::VertexArrayAttributeConfig().setLocation(0).setBuffer(positions).setSize(size)};
    if (texCoords != nullptr) {
        configs.push_back(
            gl::VertexArrayAttributeConfig().setLocation(1).setBuffer(texCoords).setSize(2));
    }
    gl::VertexArray* array = gl::createVertexArray(configs, indices);
    VIZ_ASSERT(!gl::getError());
    return array;
}

void uploadProjection() {
    gl::bindProgram(g_program);
    gl::uniform("uProjectionMatrix", g_projection, false);
}

void markModel() {
    g_modelDirty = true;
}

// What every draw relies on, set again because the host may have bound anything since.
void prepare(gl::VertexArray* array) {
    gl::bindProgram(g_program);
    if (g_modelDirty) {
        gl::uniform("uModelMatrix", g_model, false);
        g_modelDirty = false;
    }
    gl::bindVertexArray(array);
    if (g_useTexture && g_texture != nullptr) {
        gl::activeTexture(0);
        gl::bindTexture2d(g_texture);
    }
}

// A placed primitive: the unit geometry translated and scaled inside the current model matrix.
// The placed matrix is uploaded directly; the model matrix stays dirty so that the next
// unplaced draw uploads it again.
void preparePlaced(gl::VertexArray* array, float x, float y, float z, float sx, float sy,
                   float sz) {
    prepare(array);
    math::mat44<float> placed = g_model;
    placed.multiply(math::translation(x, y, z));
    placed.multiply(math::scaling(sx, sy, sz));
    gl::uniform("uModelMatrix", placed, false);
    g_modelDirty = true;
}

void upload(gl::VertexBuffer* buffer, const float* values, size_t count, GLenum usage) {
    gl::bindVertexBuffer(buffer);
    gl::bufferVertexData(static_cast<GLsizeiptr>(count), sizeof(float), values, usage);
}

void updateCircle(int segments) {
    if (segments == g_circleSegments) {
        return;
    }
    g_circleSegments = segments;
    g_circle.clear();
    for (int i = 0; i < segments; ++i) {
        const float angle = 2.0f * math::kPi * static_cast<float>(i) / static_cast<float>(segments);
        g_circle.push_back(std::cos(angle));
        g_circle.push_back(std::sin(angle));
        g_circle.push_back(0.0f);
    }
    upload(g_buffers.circle, g_circle.data(), g_circle.size(), GL_DYNAMIC_DRAW);
}

void drawEllipse(float x, float y, float z, float rx, float ry, int segments, GLenum mode) {
    if (segments < 3) {
        return;
    }
    preparePlaced(g_arrays.circle, x, y, z, rx, ry, 1.0f);
    updateCircle(segments);
    glDrawArrays(mode, 0, segments);
}

void drawQuad(gl::VertexArray* array, float x, float y, float z, float w, float h, bool xz,
              GLenum mode) {
    if (xz) {
        preparePlaced(array, x, y, z, w, 1.0f, h);
    } else {
        preparePlaced(array, x, y, z, w, h, 1.0f);
    }
    glDrawArrays(mode, 0, 4);
}

void drawStrip(bool closed) {
    size_t count = g_stripPoints.size() / 3;
    if (count < 2) {
        return;
    }
    if (closed) {
        g_stripPoints.insert(g_stripPoints.end(), g_stripPoints.begin(), g_stripPoints.begin() + 3);
        ++count;
    }
    prepare(g_arrays.lineStrip);
    upload(g_buffers.lineStrip, g_stripPoints.data(), g_stripPoints.size(), GL_DYNAMIC_DRAW);
    glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(count));
}

void drawBox(float x, float y, float z, float sx, float sy, float sz, bool outline) {
    preparePlaced(outline ? g_arrays.cubeWire : g_arrays.cubeSolid, x, y, z, sx, sy, sz);
    if (outline) {
        glDrawElements(GL_LINES, 24, GL_UNSIGNED_BYTE, nullptr);
    } else {
        glDrawElements(GL_TRIANGLES, 36, GL_UNSIGNED_BYTE, nullptr);
    }
}

void updateCylinder(int segments, float topRadius, float bottomRadius) {
    if (g_cylinderKey.segments == segments && g_cylinderKey.topRadius == topRadius &&
        g_cylinderKey.bottomRadius == bottomRadius) {
        return;
    }
    g_cylinderKey = {segments, topRadius, bottomRadius};
    g_cylinderVertices.clear();
    g_cylinderIndices.clear();
    // Vertex i of the bottom ring is 2i, of the top ring 2i + 1; the cap centres come last.
    for (int i = 0; i < segments; ++i) {
        const float angle = 2.0f * math::kPi * static_cast<float>(i) / static_cast<float>(segments);
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        g_cylinderVertices.insert(g_cylinderVertices.end(),
                                  {c * bottomRadius, -0.5f, s * bottomRadius});
        g_cylinderVertices.insert(g_cylinderVertices.end(), {c * topRadius, 0.5f, s * topRadius});
    }
    g_cylinderVertices.insert(g_cylinderVertices.end(), {0.0f, -0.5f, 0.0f, 0.0f, 0.5f, 0.0f});
    const auto bottomCentre = static_cast<uint8_t>(2 * segments);
    const auto topCentre = static_cast<uint8_t>(2 * segments + 1);
    for (int i = 0; i < segments; ++i) {
        const auto b0 = static_cast<uint8_t>(2 * i);
        const auto t0 = static_cast<uint8_t>(2 * i + 1);
        const auto b1 = static_cast<uint8_t>(2 * ((i + 1) % segments));
        const auto t1 = static_cast<uint8_t>(b1 + 1);
        g_cylinderIndices.insert(g_cylinderIndices.end(),
                                 {b0, t0, t1, t1, b1, b0, bottomCentre, b0, b1, topCentre, t1, t0});
    }
    g_cylinderIndexCount = static_cast<GLsizei>(g_cylinderIndices.size());
    upload(g_buffers.cylinder, g_cylinderVertices.data(), g_cylinderVertices.size(),
           GL_DYNAMIC_DRAW);
    gl::bindIndexBuffer(g_buffers.cylinderIndices);
    gl::bufferIndexData(g_cylinderIndices, GL_DYNAMIC_DRAW);
}

void addArcLines(float x, float y, float z, float radius, float start, float end, int segments) {
    float px = x + radius * std::cos(start);
    float py = y + radius * std::sin(start);
    for (int i = 1; i <= segments; ++i) {
        const float angle =
            math::mix(start, end, static_cast<float>(i) / static_cast<float>(segments));
        const float nx = x + radius * std::cos(angle);
        const float ny = y + radius * std::sin(angle);
        addLine(px, py, z, nx, ny, z);
        px = nx, py = ny;
    }
}

}  // namespace

// ---- Lifecycle ---------------------------------------------------------------------------------

namespace {

// Deletes whatever of the shared resources exists: all of them after create(), or those made
// before an allocation failed inside it.
void release() {
    if (g_program != nullptr) {
        gl::deleteProgram(g_program);
    }
    for (gl::VertexArray** array :
         {&g_arrays.point, &g_arrays.quadXY, &g_arrays.quadXZ, &g_arrays.cubeSolid,
          &g_arrays.cubeWire, &g_arrays.line, &g_arrays.triangle, &g_arrays.points3,
          &g_arrays.points2, &g_arrays.lineStrip, &g_arrays.lineBatch, &g_arrays.circle,
          &g_arrays.cylinder, &g_arrays.mesh}) {
        if (*array != nullptr) {
            gl::deleteVertexArray(*array);
        }
    }
    for (gl::VertexBuffer** buffer :
         {&g_buffers.point, &g_buffers.quadXY, &g_buffers.quadTexCoords, &g_buffers.quadXZ,
          &g_buffers.cube, &g_buffers.line, &g_buffers.triangle, &g_buffers.points3,
          &g_buffers.points2, &g_buffers.lineStrip, &g_buffers.lineBatch, &g_buffers.circle,
          &g_buffers.cylinder, &g_buffers.meshPositions, &g_buffers.meshTexCoords}) {
        if (*buffer != nullptr) {
            gl::deleteVertexBuffer(*buffer);
        }
    }
    for (gl::IndexBuffer** buffer : {&g_buffers.cubeSolid, &g_buffers.cubeWire,
                                     &g_buffers.cylinderIndices, &g_buffers.meshIndices}) {
        if (*buffer != nullptr) {
            gl::deleteIndexBuffer(*buffer);
        }
    }
    g_circleSegments = 0;
    g_circle.clear();
    g_cylinderKey = CylinderKey();
    g_cylinderIndexCount = 0;
    g_texture = nullptr;
}

void build();

}  // namespace

void create() {
    if (g_created) {
        return;
    }
    try {
        build();
    } catch (...) {
        release();
        throw;
    }
    g_created = true;
}

namespace {

void build() {
    g_program = gl::createProgram(kVertexShader, kFragmentShader, {});
    gl::bindProgram(g_program);
    glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, g_pointSizeRange);
    g_pointSize = g_pointSizeRange[0];
    gl::uniform("uProjectionMatrix", g_projection, false);
    gl::uniform("uModelMatrix", g_model, false);
    gl::uniform("uColor", 0.0f, 0.0f, 0.0f, 1.0f);
    gl::uniform("uUseTexture", 0.0f);
    gl::uniform("uFlipTexCoordY", 0.0f);
    gl::uniform("uAlphaMultiplier", 1.0f);
    gl::uniform("uPointSize", g_pointSize);
    gl::uniform("uTexture", 0);
    g_color = colorf(0.0f, 0.0f, 0.0f, 1.0f);
    g_useTexture = false;
    g_modelDirty = false;
    VIZ_ASSERT(!gl::getError());

    Buffers& b = g_buffers;
    b.point = makeBuffer(kPoint, 3, GL_STATIC_DRAW);
    b.quadXY = makeBuffer(kQuadXY, 12, GL_STATIC_DRAW);
    b.quadTexCoords = makeBuffer(kQuadTexCoords, 8, GL_DYNAMIC_DRAW);
    b.quadXZ = makeBuffer(kQuadXZ, 12, GL_STATIC_DRAW);
    b.cube = makeBuffer(kCube, 24, GL_STATIC_DRAW);
    b.cubeSolid = gl::createIndexBuffer(36, 1, kCubeSolid, GL_UNSIGNED_BYTE, GL_STATIC_DRAW);
    b.cubeWire = gl::createIndexBuffer(24, 1, kCubeWire, GL_UNSIGNED_BYTE, GL_STATIC_DRAW);
    b.line = makeBuffer(nullptr, 6, GL_DYNAMIC_DRAW);
    b.triangle = makeBuffer(nullptr, 9, GL_DYNAMIC_DRAW);
    b.points3 = gl::createVertexBuffer();
    b.points2 = gl::createVertexBuffer();
    b.lineStrip = gl::createVertexBuffer();
    b.lineBatch = gl::createVertexBuffer();
    b.circle = gl::createVertexBuffer();
    b.cylinder = gl::createVertexBuffer();
    b.cylinderIndices = gl::createIndexBuffer(std::vector<uint8_t>(), GL_DYNAMIC_DRAW);
    b.meshPositions = gl::createVertexBuffer();
    b.meshTexCoords = gl::createVertexBuffer();
    b.meshIndices = gl::createIndexBuffer(std::vector<uint16_t>(), GL_STREAM_DRAW);

    VertexArrays& a = g_arrays;
    a.point = makeArray(b.point, 3, nullptr, nullptr);
    a.quadXY = makeArray(b.quadXY, 3, b.quadTexCoords, nullptr);
    a.quadXZ = makeArray(b.quadXZ, 3, nullptr, nullptr);
    a.cubeSolid = makeArray(b.cube, 3, nullptr, b.cubeSolid);
    a.cubeWire = makeArray(b.cube, 3, nullptr, b.cubeWire);
    a.line = makeArray(b.line, 3, nullptr, nullptr);
    a.triangle = makeArray(b.triangle, 3, nullptr, nullptr);
    a.points3 = makeArray(b.points3, 3, nullptr, nullptr);
    a.points2 = makeArray(b.points2, 2, nullptr, nullptr);
    a.lineStrip = makeArray(b.lineStrip, 3, nullptr, nullptr);
    a.lineBatch = makeArray(b.lineBatch, 3, nullptr, nullptr);
    a.circle = makeArray(b.circle, 3, nullptr, nullptr);
    a.cylinder = makeArray(b.cylinder, 3, nullptr, b.cylinderIndices);
    a.mesh = makeArray(b.meshPositions, 3, b.meshTexCoords, b.meshIndices);
}

}  // namespace

void destroy() {
    if (!g_created) {
        return;
    }
    release();
    g_created = false;
}

bool isCreated() {
    return g_created;
}

void bind() {
    gl::bindProgram(g_program);
}

// ---- Matrices ----------------------------------------------------------------------------------

void setProjection(float width, float height, bool flip) {
    if (flip) {
        math::ortho(g_projection, 0.0f, width, height, 0.0f, -1.0f, 1.0f);
    } else {
        math::ortho(g_projection, 0.0f, width, 0.0f, height, -1.0f, 1.0f);
    }
    uploadProjection();
}

void setProjectionMatrix(const math::mat44<float>& matrix) {
    g_projection = matrix;
    uploadProjection();
}

void setModelMatrix(const math::mat44<float>& matrix) {
    g_model = matrix;
    markModel();
}

void multiplyMatrix(const math::mat44<float>& matrix) {
    g_model.multiply(matrix);
    markModel();
}

void pushMatrix() {
    g_stackMatrixModel.push_back(g_model);
}

void popMatrix() {
    VIZ_ASSERT(!g_stackMatrixModel.empty());
    g_model = g_stackMatrixModel.back();
    g_stackMatrixModel.pop_back();
    markModel();
}

void pushProjectionMatrix() {
    g_stackMatrixProjection.push_back(g_projection);
}

void popProjectionMatrix() {
    VIZ_ASSERT(!g_stackMatrixProjection.empty());
    g_projection = g_stackMatrixProjection.back();
    g_stackMatrixProjection.pop_back();
    uploadProjection();
}

void pushMatrices() {
    pushProjectionMatrix();
    pushMatrix();
}

void popMatrices() {
    popMatrix();
    popProjectionMatrix();
}

void identity() {
    setModelMatrix(math::mat44<float>());
}

void translate(float x, float y) {
    multiplyMatrix(math::translation(x, y, 0.0f));
}

void translate(float x, float y, float z) {
    multiplyMatrix(math::translation(x, y, z));
}

void scale(float s) {
    multiplyMatrix(math::scaling(s, s, s));
}

void scale(float x, float y) {
    multiplyMatrix(math::scaling(x, y, 1.0f));
}

void scale(float x, float y, float z) {
    multiplyMatrix(math::scaling(x, y, z));
}

void rotate(float angle, const vec3f& axis) {
    multiplyMatrix(math::rotation(angle, axis.x, axis.y, axis.z));
}

void rotateX(float angle) {
    rotate(angle, {1.0f, 0.0f, 0.0f});
}

void rotateY(float angle) {
    rotate(angle, {0.0f, 1.0f, 0.0f});
}

void rotateZ(float angle) {
    rotate(angle, {0.0f, 0.0f, 1.0f});
}

// ---- Colour and switches -----------------------------------------------------------------------

void color(float r, float g, float b, float a) {
    g_color = colorf(r, g, b, a);
    gl::bindProgram(g_program);
    gl::uniform("uColor", r, g, b, a);
}

void color(float grey, float a) {
    color(grey, grey, grey, a);
}

void color(const colorf& c) {
    color(c.r, c.g, c.b, c.a);
}

void pointSize(float size) {
    g_pointSize = std::clamp(size, g_pointSizeRange[0], g_pointSizeRange[1]);
    gl::bindProgram(g_program);
    gl::uniform("uPointSize", g_pointSize);
}

void useTexture(bool use) {
    g_useTexture = use;
    gl::bindProgram(g_program);
    gl::uniform("uUseTexture", use ? 1.0f : 0.0f);
}

void flipTexCoordY(bool flip) {
    gl::bindProgram(g_program);
    gl::uniform("uFlipTexCoordY", flip ? 1.0f : 0.0f);
}

void bindTexture(gl::Texture2d* texture) {
    g_texture = texture;
    gl::bindTexture2d(texture);
}

void enableBlend() {
    glEnable(GL_BLEND);
}

void disableBlend() {
    glDisable(GL_BLEND);
}

void blendPremultiplied() {
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

void enableDepthTest() {
    glEnable(GL_DEPTH_TEST);
}

void disableDepthTest() {
    glDisable(GL_DEPTH_TEST);
}

void depthMask(bool write) {
    glDepthMask(write ? GL_TRUE : GL_FALSE);
}

void enableCullFace() {
    glEnable(GL_CULL_FACE);
}

void disableCullFace() {
    glDisable(GL_CULL_FACE);
}

void cullFrontFaces() {
    glCullFace(GL_FRONT);
}

void cullBackFaces() {
    glCullFace(GL_BACK);
}

void enableScissor() {
    glEnable(GL_SCISSOR_TEST);
}

void disableScissor() {
    glDisable(GL_SCISSOR_TEST);
}

void scissor(int x, int y, int width, int height) {
    glScissor(x, y, width, height);
}

// ---- Points and lines --------------------------------------------------------------------------

void point(float x, float y) {
    point(x, y, 0.0f);
}

void point(float x, float y, float z) {
    preparePlaced(g_arrays.point, x, y, z, 1.0f, 1.0f, 1.0f);
    glDrawArrays(GL_POINTS, 0, 1);
}

void point(const vec3f& p) {
    point(p.x, p.y, p.z);
}

void points3fv(const float* values, size_t length) {
    VIZ_ASSERT(length % 3 == 0);
    if (length < 3) {
        return;
    }
    prepare(g_arrays.points3);
    upload(g_buffers.points3, values, length, GL_DYNAMIC_DRAW);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(length / 3));
}

void points2fv(const float* values, size_t length) {
    VIZ_ASSERT(length % 2 == 0);
    if (length < 2) {
        return;
    }
    prepare(g_arrays.points2);
    upload(g_buffers.points2, values, length, GL_DYNAMIC_DRAW);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(length / 2));
}

void points3fv(const std::vector<float>& values) {
    points3fv(values.data(), values.size());
}

void points2fv(const std::vector<float>& values) {
    points2fv(values.data(), values.size());
}

void points(const vec3f* values, size_t count) {
    static_assert(sizeof(vec3f) == 3 * sizeof(float), "vec3f is three packed floats");
    points3fv(reinterpret_cast<const float*>(values), count * 3);
}

void line(float x1, float y1, float x2, float y2) {
    line(x1, y1, 0.0f, x2, y2, 0.0f);
}

void line(float x1, float y1, float z1, float x2, float y2, float z2) {
    const float values[6] = {x1, y1, z1, x2, y2, z2};
    prepare(g_arrays.line);
    upload(g_buffers.line, values, 6, GL_DYNAMIC_DRAW);
    glDrawArrays(GL_LINES, 0, 2);
}

void line(const vec3f& a, const vec3f& b) {
    line(a.x, a.y, a.z, b.x, b.y, b.z);
}

void hline(float x1, float x2, float y) {
    line(x1, y, x2, y);
}

void vline(float x, float y1, float y2) {
    line(x, y1, x, y2);
}

void lineStrip2fv(const float* values, size_t length, bool closed) {
    VIZ_ASSERT(length % 2 == 0);
    g_stripPoints.clear();
    for (size_t i = 0; i + 1 < length; i += 2) {
        g_stripPoints.insert(g_stripPoints.end(), {values[i], values[i + 1], 0.0f});
    }
    drawStrip(closed);
}

void lineStrip3fv(const float* values, size_t length, bool closed) {
    VIZ_ASSERT(length % 3 == 0);
    g_stripPoints.assign(values, values + length);
    drawStrip(closed);
}

void lineStrip3fv(const std::vector<float>& v, bool closed) {
    VIZ_ASSERT(v.size() % 3 == 0);
    lineStrip3fv(v.data(), v.size(), closed);
}

void lineStrip(const vec3f* values, size_t length, bool closed) {
    VIZ_ASSERT(length > 0);
    lineStrip3fv(reinterpret_cast<const float*>(values), length * 3, closed);
}

void clearLines() {
    g_lines.clear();
}

void addLine(float x1, float y1, float x2, float y2) {
    addLine(x1, y1, 0.0f, x2, y2, 0.0f);
}

void addLine(float x1, float y1, float z1, float x2, float y2, float z2) {
    g_lines.insert(g_lines.end(), {x1, y1, z1, x2, y2, z2});
}

void addLine(const vec3f& a, const vec3f& b) {
    addLine(a.x, a.y, a.z, b.x, b.y, b.z);
}

void drawLines() {
    if (g_lines.empty()) {
        return;
    }
    prepare(g_arrays.lineBatch);
    upload(g_buffers.lineBatch, g_lines.data(), g_lines.size(), GL_STREAM_DRAW);
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(g_lines.size() / 3));
}

// ---- Triangles, ellipses, rectangles -----------------------------------------------------------

void triangle(float x1, float y1, float x2, float y2, float x3, float y3) {
    triangle(x1, y1, 0.0f, x2, y2, 0.0f, x3, y3, 0.0f);
}

void triangle(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3,
              float z3) {
    const float values[9] = {x1, y1, z1, x2, y2, z2, x3, y3, z3};
    prepare(g_arrays.triangle);
    upload(g_buffers.triangle, values, 9, GL_DYNAMIC_DRAW);
    glDrawArrays(GL_TRIANGLES, 0, 3);
}

void triangle(const vec3f& a, const vec3f& b, const vec3f& c) {
    triangle(a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z);
}

void ellipse(float x, float y, float rx, float ry, int segments) {
    drawEllipse(x, y, 0.0f, rx, ry, segments, GL_TRIANGLE_FAN);
}

void ellipse(float x, float y, float z, float rx, float ry, int segments) {
    drawEllipse(x, y, z, rx, ry, segments, GL_TRIANGLE_FAN);
}

void ellipse(float rx, float ry, int segments) {
    drawEllipse(0.0f, 0.0f, 0.0f, rx, ry, segments, GL_TRIANGLE_FAN);
}

void circle(float x, float y, float radius, int segments) {
    drawEllipse(x, y, 0.0f, radius, radius, segments, GL_TRIANGLE_FAN);
}

void circle(float x, float y, float z, float radius, int segments) {
    drawEllipse(x, y, z, radius, radius, segments, GL_TRIANGLE_FAN);
}

void circle(float radius, int segments) {
    drawEllipse(0.0f, 0.0f, 0.0f, radius, radius, segments, GL_TRIANGLE_FAN);
}

void ellipseOutline(float x, float y, float rx, float ry, int segments) {
    drawEllipse(x, y, 0.0f, rx, ry, segments, GL_LINE_LOOP);
}

void ellipseOutline(float x, float y, float z, float rx, float ry, int segments) {
    drawEllipse(x, y, z, rx, ry, segments, GL_LINE_LOOP);
}

void ellipseOutline(float rx, float ry, int segments) {
    drawEllipse(0.0f, 0.0f, 0.0f, rx, ry, segments, GL_LINE_LOOP);
}

void circleOutline(float x, float y, float radius, int segments) {
    drawEllipse(x, y, 0.0f, radius, radius, segments, GL_LINE_LOOP);
}

void circleOutline(float x, float y, float z, float radius, int segments) {
    drawEllipse(x, y, z, radius, radius, segments, GL_LINE_LOOP);
}

void circleOutline(float radius, int segments) {
    drawEllipse(0.0f, 0.0f, 0.0f, radius, radius, segments, GL_LINE_LOOP);
}

void rect(float x, float y, float w, float h) {
    drawQuad(g_arrays.quadXY, x, y, 0.0f, w, h, false, GL_TRIANGLE_FAN);
}

void rect(float x, float y, float z, float w, float h) {
    drawQuad(g_arrays.quadXY, x, y, z, w, h, false, GL_TRIANGLE_FAN);
}

void rect(float w, float h) {
    drawQuad(g_arrays.quadXY, 0.0f, 0.0f, 0.0f, w, h, false, GL_TRIANGLE_FAN);
}

void rectCentered(float x, float y, float w, float h) {
    rect(x - w * 0.5f, y - h * 0.5f, w, h);
}

void rectCentered(float x, float y, float z, float w, float h) {
    rect(x - w * 0.5f, y - h * 0.5f, z, w, h);
}

void rectOutline(float x, float y, float w, float h) {
    drawQuad(g_arrays.quadXY, x, y, 0.0f, w, h, false, GL_LINE_LOOP);
}

void rectOutline(float x, float y, float z, float w, float h) {
    drawQuad(g_arrays.quadXY, x, y, z, w, h, false, GL_LINE_LOOP);
}

void rectOutline(float w, float h) {
    drawQuad(g_arrays.quadXY, 0.0f, 0.0f, 0.0f, w, h, false, GL_LINE_LOOP);
}

void rectCenteredOutline(float x, float y, float w, float h) {
    rectOutline(x - w * 0.5f, y - h * 0.5f, w, h);
}

void rectCenteredOutline(float x, float y, float z, float w, float h) {
    rectOutline(x - w * 0.5f, y - h * 0.5f, z, w, h);
}

void rectXZ(float x, float y, float z, float w, float d) {
    drawQuad(g_arrays.quadXZ, x, y, z, w, d, true, GL_TRIANGLE_FAN);
}

void rectXZ(float w, float d) {
    rectXZ(0.0f, 0.0f, 0.0f, w, d);
}

void rectXZCentered(float x, float y, float z, float w, float d) {
    rectXZ(x - w * 0.5f, y, z - d * 0.5f, w, d);
}

void rectXZOutline(float x, float y, float z, float w, float d) {
    drawQuad(g_arrays.quadXZ, x, y, z, w, d, true, GL_LINE_LOOP);
}

void rectXZOutline(float w, float d) {
    rectXZOutline(0.0f, 0.0f, 0.0f, w, d);
}

void rectXZCenteredOutline(float x, float y, float z, float w, float d) {
    rectXZOutline(x - w * 0.5f, y, z - d * 0.5f, w, d);
}

// ---- Textured rectangles and meshes ------------------------------------------------------------

void clearTexturedRects() {
    g_texturedRectPositions.clear();
    g_texturedRectTexCoords.clear();
    g_texturedRectIndices.clear();
}

void addTexturedRect(float x, float y, float w, float h) {
    addTexturedRect(x, y, 0.0f, w, h);
}

void addTexturedRect(float x, float y, float z, float w, float h) {
    const auto b = static_cast<uint16_t>(g_texturedRectPositions.size() / 3);
    g_texturedRectPositions.insert(g_texturedRectPositions.end(),
                                   {x, y, z, x, y + h, z, x + w, y + h, z, x + w, y, z});
    g_texturedRectTexCoords.insert(g_texturedRectTexCoords.end(), kQuadTexCoords,
                                   kQuadTexCoords + 8);
    g_texturedRectIndices.insert(g_texturedRectIndices.end(),
                                 {b, static_cast<uint16_t>(b + 1), static_cast<uint16_t>(b + 2), b,
                                  static_cast<uint16_t>(b + 2), static_cast<uint16_t>(b + 3)});
}

void addTexturedRect(const vec3f& position, const vec2f& size) {
    addTexturedRect(position.x, position.y, position.z, size.x, size.y);
}

void addTexturedRectCentered(float x, float y, float w, float h) {
    addTexturedRect(x - w * 0.5f, y - h * 0.5f, 0.0f, w, h);
}

void addTexturedRectCentered(float x, float y, float z, float w, float h) {
    addTexturedRect(x - w * 0.5f, y - h * 0.5f, z, w, h);
}

void flushTexturedRects() {
    if (g_texturedRectIndices.empty()) {
        return;
    }
    triangleMesh(g_texturedRectPositions.data(), g_texturedRectPositions.size(),
                 g_texturedRectTexCoords.data(), g_texturedRectTexCoords.size(),
                 g_texturedRectIndices.data(), g_texturedRectIndices.size(), sizeof(uint16_t),
                 GL_UNSIGNED_SHORT);
}

void triangleMesh(const float* positions, size_t positionCount, const float* texCoords,
                  size_t texCoordCount, const void* indices, size_t indexCount, size_t indexSize,
                  GLenum indexType) {
    if (indexCount == 0) {
        return;
    }
    prepare(g_arrays.mesh);
    upload(g_buffers.meshPositions, positions, positionCount, GL_DYNAMIC_DRAW);
    if (texCoords == nullptr) {
        // The attribute reads two floats per vertex whatever the caller has: give it zeros.
        g_zeroTexCoords.assign(positionCount / 3 * 2, 0.0f);
        texCoords = g_zeroTexCoords.data();
        texCoordCount = g_zeroTexCoords.size();
    }
    upload(g_buffers.meshTexCoords, texCoords, texCoordCount, GL_DYNAMIC_DRAW);
    gl::bindIndexBuffer(g_buffers.meshIndices);
    gl::bufferIndexData(static_cast<GLsizeiptr>(indexCount), static_cast<GLsizeiptr>(indexSize),
                        indices, indexType, GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), indexType, nullptr);
}

// ---- Solids ------------------------------------------------------------------------------------

void box(float x, float y, float z, float sx, float sy, float sz) {
    drawBox(x, y, z, sx, sy, sz, false);
}

void box(float x, float y, float z, float size) {
    drawBox(x, y, z, size, size, size, false);
}

void box(float sx, float sy, float sz) {
    drawBox(0.0f, 0.0f, 0.0f, sx, sy, sz, false);
}

void box(float size) {
    drawBox(0.0f, 0.0f, 0.0f, size, size, size, false);
}

void boxOutline(float x, float y, float z, float sx, float sy, float sz) {
    drawBox(x, y, z, sx, sy, sz, true);
}

void boxOutline(float x, float y, float z, float size) {
    drawBox(x, y, z, size, size, size, true);
}

void boxOutline(float sx, float sy, float sz) {
    drawBox(0.0f, 0.0f, 0.0f, sx, sy, sz, true);
}

void boxOutline(float size) {
    drawBox(0.0f, 0.0f, 0.0f, size, size, size, true);
}

void cylinder(float x, float y, float z, float radius, float height, int segments, float topRadius,
              float bottomRadius) {
    segments = std::min(segments, kMaxCylinderSegments);
    if (segments < 3) {
        return;
    }
    preparePlaced(g_arrays.cylinder, x, y, z, radius, height, radius);
    updateCylinder(segments, topRadius, bottomRadius);
    glDrawElements(GL_TRIANGLES, g_cylinderIndexCount, GL_UNSIGNED_BYTE, nullptr);
}

void cylinder(float radius, float height, int segments, float topRadius, float bottomRadius) {
    cylinder(0.0f, 0.0f, 0.0f, radius, height, segments, topRadius, bottomRadius);
}

// ---- Wire shapes -------------------------------------------------------------------------------

void sphere(float x, float y, float z, float radius, int rings, int segments) {
    rings = std::max(rings, 3);
    segments = std::max(segments, 3);
    clearLines();
    // Latitude circles between the poles, then longitude half-circles from pole to pole.
    for (int ring = 1; ring < rings; ++ring) {
        const float polar = math::kPi * static_cast<float>(ring) / static_cast<float>(rings);
        const float r = radius * std::sin(polar);
        const float h = y + radius * std::cos(polar);
        for (int i = 0; i < segments; ++i) {
            const float a0 =
                2.0f * math::kPi * static_cast<float>(i) / static_cast<float>(segments);
            const float a1 =
                2.0f * math::kPi * static_cast<float>(i + 1) / static_cast<float>(segments);
            addLine(x + r * std::cos(a0), h, z + r * std::sin(a0), x + r * std::cos(a1), h,
                    z + r * std::sin(a1));
        }
    }
    for (int i = 0; i < segments; ++i) {
        const float azimuth =
            2.0f * math::kPi * static_cast<float>(i) / static_cast<float>(segments);
        const float c = std::cos(azimuth);
        const float s = std::sin(azimuth);
        for (int ring = 0; ring < rings; ++ring) {
            const float p0 = math::kPi * static_cast<float>(ring) / static_cast<float>(rings);
            const float p1 = math::kPi * static_cast<float>(ring + 1) / static_cast<float>(rings);
            addLine(x + radius * std::sin(p0) * c, y + radius * std::cos(p0),
                    z + radius * std::sin(p0) * s, x + radius * std::sin(p1) * c,
                    y + radius * std::cos(p1), z + radius * std::sin(p1) * s);
        }
    }
    drawLines();
}

void grid(float x, float y, float w, float h, int columns, int rows) {
    clearLines();
    for (int i = 0; i <= columns; ++i) {
        const float gx = x + w * static_cast<float>(i) / static_cast<float>(std::max(columns, 1));
        addLine(gx, y, gx, y + h);
    }
    for (int i = 0; i <= rows; ++i) {
        const float gy = y + h * static_cast<float>(i) / static_cast<float>(std::max(rows, 1));
        addLine(x, gy, x + w, gy);
    }
    drawLines();
}

void gridXZ(float x, float y, float z, float w, float d, int columns, int rows) {
    clearLines();
    for (int i = 0; i <= columns; ++i) {
        const float gx = x + w * static_cast<float>(i) / static_cast<float>(std::max(columns, 1));
        addLine(gx, y, z, gx, y, z + d);
    }
    for (int i = 0; i <= rows; ++i) {
        const float gz = z + d * static_cast<float>(i) / static_cast<float>(std::max(rows, 1));
        addLine(x, y, gz, x + w, y, gz);
    }
    drawLines();
}

void arc(float x, float y, float radius, float startAngle, float endAngle, int segments) {
    arc(x, y, 0.0f, radius, startAngle, endAngle, segments);
}

void arc(float x, float y, float z, float radius, float startAngle, float endAngle, int segments) {
    if (segments < 1) {
        return;
    }
    clearLines();
    addArcLines(x, y, z, radius, startAngle, endAngle, segments);
    drawLines();
}

void axes(float x, float y, float z, float length) {
    color(1.0f, 0.0f, 0.0f, 1.0f);
    line(x, y, z, x + length, y, z);
    color(0.0f, 1.0f, 0.0f, 1.0f);
    line(x, y, z, x, y + length, z);
    color(0.0f, 0.0f, 1.0f, 1.0f);
    line(x, y, z, x, y, z + length);
}

}  // namespace qd
