#include "visualization/util/gl/qd_draw_list.h"

#include "visualization/util/assert.h"
#include "visualization/util/gl/qd.h"
#include "visualization/util/math/transform.h"

namespace qd {

void DrawList::clear() {
    _types.clear();
    _colors.clear();
    _lines.clear();
    _lineStrips.clear();
    _rects.clear();
    _ellipses.clear();
    _points.clear();
    _matrices.clear();
    _boxes.clear();
    _triangleMeshes.clear();
    _spheres.clear();
    _grid3ds.clear();
    _arc3ds.clear();
    _axes.clear();
}

void DrawList::pushMatrix() {
    _types.push_back(Type::PUSH_MATRIX);
}

void DrawList::popMatrix() {
    _types.push_back(Type::POP_MATRIX);
}

void DrawList::pushProjectionMatrix() {
    _types.push_back(Type::PUSH_PROJECTION_MATRIX);
}

void DrawList::popProjectionMatrix() {
    _types.push_back(Type::POP_PROJECTION_MATRIX);
}

void DrawList::pushMatrices() {
    _types.push_back(Type::PUSH_MATRICES);
}

void DrawList::popMatrices() {
    _types.push_back(Type::POP_MATRICES);
}

void DrawList::identity() {
    _types.push_back(Type::IDENTITY);
}

void DrawList::translate(float x, float y, float z) {
    _types.push_back(Type::MULTIPLY_MATRIX);
    _matrices.push_back(math::translation(x, y, z));
}

void DrawList::scale(float x, float y, float z) {
    _types.push_back(Type::MULTIPLY_MATRIX);
    _matrices.push_back(math::scaling(x, y, z));
}

void DrawList::rotate(float angle, const vec3f& axis) {
    _types.push_back(Type::MULTIPLY_MATRIX);
    _matrices.push_back(math::rotation(angle, axis.x, axis.y, axis.z));
}

void DrawList::setModelMatrix(const math::mat44<float>& matrix) {
    _types.push_back(Type::SET_MODEL_MATRIX);
    _matrices.push_back(matrix);
}

void DrawList::setProjection(float width, float height, bool flip) {
    math::mat44<float> projection;
    if (flip) {
        math::ortho(projection, 0.0f, width, height, 0.0f, -1.0f, 1.0f);
    } else {
        math::ortho(projection, 0.0f, width, 0.0f, height, -1.0f, 1.0f);
    }
    setProjectionMatrix(projection);
}

void DrawList::setProjectionMatrix(const math::mat44<float>& matrix) {
    _types.push_back(Type::SET_PROJECTION_MATRIX);
    _matrices.push_back(matrix);
}

void DrawList::enableBlend() {
    _types.push_back(Type::ENABLE_BLEND);
}

void DrawList::disableBlend() {
    _types.push_back(Type::DISABLE_BLEND);
}

void DrawList::blendPremultiplied() {
    _types.push_back(Type::BLEND_PREMULTIPLIED);
}

void DrawList::enableDepthTest() {
    _types.push_back(Type::ENABLE_DEPTH_TEST);
}

void DrawList::disableDepthTest() {
    _types.push_back(Type::DISABLE_DEPTH_TEST);
}

void DrawList::depthMask(bool write) {
    _types.push_back(write ? Type::DEPTH_MASK_ON : Type::DEPTH_MASK_OFF);
}

void DrawList::enableCullFace() {
    _types.push_back(Type::ENABLE_CULL_FACE);
}

void DrawList::disableCullFace() {
    _types.push_back(Type::DISABLE_CULL_FACE);
}

void DrawList::cullFrontFaces() {
    _types.push_back(Type::CULL_FRONT_FACES);
}

void DrawList::cullBackFaces() {
    _types.push_back(Type::CULL_BACK_FACES);
}

void DrawList::enableScissor() {
    _types.push_back(Type::ENABLE_SCISSOR);
}

void DrawList::disableScissor() {
    _types.push_back(Type::DISABLE_SCISSOR);
}

void DrawList::scissor(int x, int y, int width, int height) {
    _types.push_back(Type::SCISSOR);
    _rects.push_back({static_cast<float>(x), static_cast<float>(y), 0.0f, static_cast<float>(width),
                      static_cast<float>(height)});
}

void DrawList::useTexture(bool use) {
    _types.push_back(use ? Type::USE_TEXTURE_ON : Type::USE_TEXTURE_OFF);
}

void DrawList::flipTexCoordY(bool flip) {
    _types.push_back(flip ? Type::FLIP_TEX_COORD_Y_ON : Type::FLIP_TEX_COORD_Y_OFF);
}

void DrawList::color(float r, float g, float b, float a) {
    _types.push_back(Type::COLOR);
    _colors.emplace_back(r, g, b, a);
}

void DrawList::color(const colorf& c) {
    color(c.r, c.g, c.b, c.a);
}

void DrawList::point(float x, float y, float z) {
    _types.push_back(Type::POINT);
    _points.push_back({vec3f{x, y, z}});
}

void DrawList::points3fv(const float* values, size_t length) {
    VIZ_ASSERT(length % 3 == 0);
    _types.push_back(Type::POINTS);
    std::vector<vec3f>& points = _points.emplace_back();
    for (size_t i = 0; i < length; i += 3) {
        points.push_back({values[i], values[i + 1], values[i + 2]});
    }
}

void DrawList::line(float x1, float y1, float x2, float y2) {
    line({x1, y1, 0.0f}, {x2, y2, 0.0f});
}

void DrawList::line(const vec3f& a, const vec3f& b) {
    _types.push_back(Type::LINE);
    _lines.push_back({a, b});
}

void DrawList::lineStrip3fv(const float* values, size_t length, bool closed) {
    VIZ_ASSERT(length % 3 == 0);
    _types.push_back(Type::LINE_STRIP);
    _lineStrips.push_back({std::vector<float>(values, values + length), closed});
}

void DrawList::lineStrip2fv(const float* values, size_t length, bool closed) {
    VIZ_ASSERT(length % 2 == 0);
    _types.push_back(Type::LINE_STRIP);
    LineStrip& strip = _lineStrips.emplace_back();
    strip.closed = closed;
    for (size_t i = 0; i < length; i += 2) {
        strip.values.insert(strip.values.end(), {values[i], values[i + 1], 0.0f});
    }
}

void DrawList::clearLines() {
    _types.push_back(Type::CLEAR_LINES);
}

void DrawList::addLine(const vec3f& a, const vec3f& b) {
    _types.push_back(Type::ADD_LINE);
    _lines.push_back({a, b});
}

void DrawList::drawLines() {
    _types.push_back(Type::DRAW_LINES);
}

void DrawList::triangle(const vec3f& a, const vec3f& b, const vec3f& c) {
    _types.push_back(Type::TRIANGLE);
    _points.push_back({a, b, c});
}

void DrawList::ellipse(float x, float y, float rx, float ry, int segments) {
    _types.push_back(Type::ELLIPSE);
    _ellipses.push_back({x, y, 0.0f, rx, ry, segments});
}

void DrawList::ellipseOutline(float x, float y, float rx, float ry, int segments) {
    _types.push_back(Type::ELLIPSE_OUTLINE);
    _ellipses.push_back({x, y, 0.0f, rx, ry, segments});
}

void DrawList::rect(float x, float y, float w, float h) {
    _types.push_back(Type::RECT);
    _rects.push_back({x, y, 0.0f, w, h});
}

void DrawList::rectOutline(float x, float y, float w, float h) {
    _types.push_back(Type::RECT_OUTLINE);
    _rects.push_back({x, y, 0.0f, w, h});
}

void DrawList::rectXZ(float x, float y, float z, float w, float d) {
    _types.push_back(Type::RECT_XZ);
    _rects.push_back({x, y, z, w, d});
}

void DrawList::rectXZOutline(float x, float y, float z, float w, float d) {
    _types.push_back(Type::RECT_XZ_OUTLINE);
    _rects.push_back({x, y, z, w, d});
}

void DrawList::clearTexturedRects() {
    _types.push_back(Type::CLEAR_TEXTURED_RECTS);
}

void DrawList::addTexturedRect(float x, float y, float w, float h) {
    _types.push_back(Type::ADD_TEXTURED_RECT);
    _rects.push_back({x, y, 0.0f, w, h});
}

void DrawList::flushTexturedRects() {
    _types.push_back(Type::FLUSH_TEXTURED_RECTS);
}

void DrawList::box(float x, float y, float z, float sx, float sy, float sz) {
    _types.push_back(Type::BOX);
    _boxes.push_back({{x, y, z}, {sx, sy, sz}});
}

void DrawList::boxOutline(float x, float y, float z, float sx, float sy, float sz) {
    _types.push_back(Type::BOX_OUTLINE);
    _boxes.push_back({{x, y, z}, {sx, sy, sz}});
}

void DrawList::cylinder(float x, float y, float z, float radius, float height, int segments,
                        float topRadius, float bottomRadius) {
    _types.push_back(Type::CYLINDER);
    _boxes.push_back({{x, y, z}, {radius, height, radius}, segments, topRadius, bottomRadius});
}

void DrawList::sphere(float x, float y, float z, float radius, int rings, int segments) {
    _types.push_back(Type::SPHERE);
    _spheres.push_back({x, y, z, radius, rings, segments});
}

void DrawList::grid(float x, float y, float w, float h, int columns, int rows) {
    _types.push_back(Type::GRID);
    _grid3ds.push_back({x, y, 0.0f, w, h, columns, rows});
}

void DrawList::gridXZ(float x, float y, float z, float w, float d, int columns, int rows) {
    _types.push_back(Type::GRID_XZ);
    _grid3ds.push_back({x, y, z, w, d, columns, rows});
}

void DrawList::arc(float x, float y, float z, float radius, float startAngle, float endAngle,
                   int segments) {
    _types.push_back(Type::ARC);
    _arc3ds.push_back({x, y, z, radius, startAngle, endAngle, segments});
}

void DrawList::axes(float x, float y, float z, float length) {
    _types.push_back(Type::AXES);
    _axes.push_back({x, y, z, length});
}

void DrawList::triangleMesh(const float* positions, size_t positionCount, const float* texCoords,
                            size_t texCoordCount, const void* indices, size_t indexCount,
                            size_t indexSize, GLenum indexType) {
    _types.push_back(Type::TRIANGLE_MESH);
    TriangleMesh& mesh = _triangleMeshes.emplace_back();
    mesh.positions.assign(positions, positions + positionCount);
    if (texCoords != nullptr) {
        mesh.texCoords.assign(texCoords, texCoords + texCoordCount);
    }
    const auto* bytes = static_cast<const uint8_t*>(indices);
    mesh.indices.assign(bytes, bytes + indexCount * indexSize);
    mesh.indexCount = indexCount;
    mesh.indexSize = indexSize;
    mesh.indexType = indexType;
}

// Read cursors over the parameter lists; each overrun and each leftover is a broken recording.
#define QD_CL_NEXT(list) (VIZ_ASSERT(list##Index < list.size()), list[list##Index++])
#define QD_CL_CHECK(list) (list##Index == list.size())

void submit(const DrawList& list) {
    using Type = DrawList::Type;
    const std::vector<colorf>& _colors = list._colors;
    const std::vector<DrawList::Line>& _lines = list._lines;
    const std::vector<DrawList::LineStrip>& _lineStrips = list._lineStrips;
    const std::vector<DrawList::Rect>& _rects = list._rects;
    const std::vector<DrawList::Ellipse>& _ellipses = list._ellipses;
    const std::vector<std::vector<vec3f>>& _points = list._points;
    const std::vector<math::mat44<float>>& _matrices = list._matrices;
    const std::vector<DrawList::Box>& _boxes = list._boxes;
    const std::vector<DrawList::TriangleMesh>& _triangleMeshes = list._triangleMeshes;
    const std::vector<DrawList::Sphere>& _spheres = list._spheres;
    const std::vector<DrawList::Grid3d>& _grid3ds = list._grid3ds;
    const std::vector<DrawList::Arc3d>& _arc3ds = list._arc3ds;
    const std::vector<DrawList::Axes>& _axes = list._axes;
    size_t _colorsIndex = 0, _linesIndex = 0, _lineStripsIndex = 0, _rectsIndex = 0,
           _ellipsesIndex = 0, _pointsIndex = 0, _matricesIndex = 0, _boxesIndex = 0,
           _triangleMeshesIndex = 0, _spheresIndex = 0, _grid3dsIndex = 0, _arc3dsIndex = 0,
           _axesIndex = 0;

    pushMatrix();
    for (const Type type : list._types) {
        switch (type) {
            case Type::PUSH_MATRIX:
                pushMatrix();
                break;
            case Type::POP_MATRIX:
                popMatrix();
                break;
            case Type::PUSH_PROJECTION_MATRIX:
                pushProjectionMatrix();
                break;
            case Type::POP_PROJECTION_MATRIX:
                popProjectionMatrix();
                break;
            case Type::PUSH_MATRICES:
                pushMatrices();
                break;
            case Type::POP_MATRICES:
                popMatrices();
                break;
            case Type::IDENTITY:
                identity();
                break;
            case Type::MULTIPLY_MATRIX:
                multiplyMatrix(QD_CL_NEXT(_matrices));
                break;
            case Type::SET_MODEL_MATRIX:
                setModelMatrix(QD_CL_NEXT(_matrices));
                break;
            case Type::SET_PROJECTION_MATRIX:
                setProjectionMatrix(QD_CL_NEXT(_matrices));
                break;
            case Type::ENABLE_BLEND:
                enableBlend();
                break;
            case Type::DISABLE_BLEND:
                disableBlend();
                break;
            case Type::BLEND_PREMULTIPLIED:
                blendPremultiplied();
                break;
            case Type::ENABLE_DEPTH_TEST:
                enableDepthTest();
                break;
            case Type::DISABLE_DEPTH_TEST:
                disableDepthTest();
                break;
            case Type::DEPTH_MASK_ON:
            case Type::DEPTH_MASK_OFF:
                depthMask(type == Type::DEPTH_MASK_ON);
                break;
            case Type::ENABLE_CULL_FACE:
                enableCullFace();
                break;
            case Type::DISABLE_CULL_FACE:
                disableCullFace();
                break;
            case Type::CULL_FRONT_FACES:
                cullFrontFaces();
                break;
            case Type::CULL_BACK_FACES:
                cullBackFaces();
                break;
            case Type::ENABLE_SCISSOR:
                enableScissor();
                break;
            case Type::DISABLE_SCISSOR:
                disableScissor();
                break;
            case Type::SCISSOR: {
                const DrawList::Rect& r = QD_CL_NEXT(_rects);
                scissor(static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.w),
                        static_cast<int>(r.h));
                break;
            }
            case Type::USE_TEXTURE_ON:
            case Type::USE_TEXTURE_OFF:
                useTexture(type == Type::USE_TEXTURE_ON);
                break;
            case Type::FLIP_TEX_COORD_Y_ON:
            case Type::FLIP_TEX_COORD_Y_OFF:
                flipTexCoordY(type == Type::FLIP_TEX_COORD_Y_ON);
                break;
            case Type::COLOR:
                color(QD_CL_NEXT(_colors));
                break;
            case Type::POINT:
                point(QD_CL_NEXT(_points)[0]);
                break;
            case Type::POINTS: {
                const std::vector<vec3f>& p = QD_CL_NEXT(_points);
                points(p.data(), p.size());
                break;
            }
            case Type::LINE: {
                const DrawList::Line& l = QD_CL_NEXT(_lines);
                line(l.a, l.b);
                break;
            }
            case Type::LINE_STRIP: {
                const DrawList::LineStrip& s = QD_CL_NEXT(_lineStrips);
                lineStrip3fv(s.values, s.closed);
                break;
            }
            case Type::CLEAR_LINES:
                clearLines();
                break;
            case Type::ADD_LINE: {
                const DrawList::Line& l = QD_CL_NEXT(_lines);
                addLine(l.a, l.b);
                break;
            }
            case Type::DRAW_LINES:
                drawLines();
                break;
            case Type::TRIANGLE: {
                const std::vector<vec3f>& p = QD_CL_NEXT(_points);
                triangle(p[0], p[1], p[2]);
                break;
            }
            case Type::ELLIPSE:
            case Type::ELLIPSE_OUTLINE: {
                const DrawList::Ellipse& e = QD_CL_NEXT(_ellipses);
                if (type == Type::ELLIPSE) {
                    ellipse(e.x, e.y, e.z, e.rx, e.ry, e.segments);
                } else {
                    ellipseOutline(e.x, e.y, e.z, e.rx, e.ry, e.segments);
                }
                break;
            }
            case Type::RECT:
            case Type::RECT_OUTLINE: {
                const DrawList::Rect& r = QD_CL_NEXT(_rects);
                if (type == Type::RECT) {
                    rect(r.x, r.y, r.z, r.w, r.h);
                } else {
                    rectOutline(r.x, r.y, r.z, r.w, r.h);
                }
                break;
            }
            case Type::RECT_XZ:
            case Type::RECT_XZ_OUTLINE: {
                const DrawList::Rect& r = QD_CL_NEXT(_rects);
                if (type == Type::RECT_XZ) {
                    rectXZ(r.x, r.y, r.z, r.w, r.h);
                } else {
                    rectXZOutline(r.x, r.y, r.z, r.w, r.h);
                }
                break;
            }
            case Type::CLEAR_TEXTURED_RECTS:
                clearTexturedRects();
                break;
            case Type::ADD_TEXTURED_RECT: {
                const DrawList::Rect& r = QD_CL_NEXT(_rects);
                addTexturedRect(r.x, r.y, r.z, r.w, r.h);
                break;
            }
            case Type::FLUSH_TEXTURED_RECTS:
                flushTexturedRects();
                break;
            case Type::BOX:
            case Type::BOX_OUTLINE: {
                const DrawList::Box& b = QD_CL_NEXT(_boxes);
                if (type == Type::BOX) {
                    box(b.position.x, b.position.y, b.position.z, b.size.x, b.size.y, b.size.z);
                } else {
                    boxOutline(b.position.x, b.position.y, b.position.z, b.size.x, b.size.y,
                               b.size.z);
                }
                break;
            }
            case Type::CYLINDER: {
                const DrawList::Box& b = QD_CL_NEXT(_boxes);
                cylinder(b.position.x, b.position.y, b.position.z, b.size.x, b.size.y, b.segments,
                         b.topRadius, b.bottomRadius);
                break;
            }
            case Type::SPHERE: {
                const DrawList::Sphere& s = QD_CL_NEXT(_spheres);
                sphere(s.x, s.y, s.z, s.radius, s.rings, s.segments);
                break;
            }
            case Type::GRID:
            case Type::GRID_XZ: {
                const DrawList::Grid3d& g = QD_CL_NEXT(_grid3ds);
                if (type == Type::GRID) {
                    grid(g.x, g.y, g.w, g.h, g.columns, g.rows);
                } else {
                    gridXZ(g.x, g.y, g.z, g.w, g.h, g.columns, g.rows);
                }
                break;
            }
            case Type::ARC: {
                const DrawList::Arc3d& a = QD_CL_NEXT(_arc3ds);
                arc(a.x, a.y, a.z, a.radius, a.startAngle, a.endAngle, a.segments);
                break;
            }
            case Type::AXES: {
                const DrawList::Axes& a = QD_CL_NEXT(_axes);
                axes(a.x, a.y, a.z, a.length);
                break;
            }
            case Type::TRIANGLE_MESH: {
                const DrawList::TriangleMesh& m = QD_CL_NEXT(_triangleMeshes);
                triangleMesh(m.positions.data(), m.positions.size(),
                             m.texCoords.empty() ? nullptr : m.texCoords.data(), m.texCoords.size(),
                             m.indices.data(), m.indexCount, m.indexSize, m.indexType);
                break;
            }
        }
    }
    VIZ_ASSERT(QD_CL_CHECK(_colors) && QD_CL_CHECK(_lines) && QD_CL_CHECK(_lineStrips) &&
               QD_CL_CHECK(_rects) && QD_CL_CHECK(_ellipses) && QD_CL_CHECK(_points) &&
               QD_CL_CHECK(_matrices) && QD_CL_CHECK(_boxes) && QD_CL_CHECK(_triangleMeshes) &&
               QD_CL_CHECK(_spheres) && QD_CL_CHECK(_grid3ds) && QD_CL_CHECK(_arc3ds) &&
               QD_CL_CHECK(_axes));
    popMatrix();
}

#undef QD_CL_NEXT
#undef QD_CL_CHECK

}  // namespace qd
