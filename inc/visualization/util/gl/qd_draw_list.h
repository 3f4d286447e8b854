// A recording of qd calls for later replay: each call appends its kind and its parameters, and
// qd::submit performs the calls in order inside a pushed model matrix. A list holds copies of
// everything it was given (meshes and strips included), so the caller's data may go away.
//
// Recorded: the model and projection matrix operations, the GL state switches, colour, and the
// primitive forms below. Point size and texture bindings are not recorded: they belong to the
// caller's state at replay.
#pragma once

#include <GLES3/gl3.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "visualization/util/color.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"

namespace qd {

class DrawList {
public:
    enum class Type : uint8_t {
        PUSH_MATRIX,
        POP_MATRIX,
        PUSH_PROJECTION_MATRIX,
        POP_PROJECTION_MATRIX,
        PUSH_MATRICES,
        POP_MATRICES,
        IDENTITY,
        MULTIPLY_MATRIX,
        SET_MODEL_MATRIX,
        SET_PROJECTION_MATRIX,
        ENABLE_BLEND,
        DISABLE_BLEND,
        BLEND_PREMULTIPLIED,
        ENABLE_DEPTH_TEST,
        DISABLE_DEPTH_TEST,
        DEPTH_MASK_ON,
        DEPTH_MASK_OFF,
        ENABLE_CULL_FACE,
        DISABLE_CULL_FACE,
        CULL_FRONT_FACES,
        CULL_BACK_FACES,
        ENABLE_SCISSOR,
        DISABLE_SCISSOR,
        SCISSOR,
        USE_TEXTURE_ON,
        USE_TEXTURE_OFF,
        FLIP_TEX_COORD_Y_ON,
        FLIP_TEX_COORD_Y_OFF,
        COLOR,
        POINT,
        POINTS,
        LINE,
        LINE_STRIP,
        CLEAR_LINES,
        ADD_LINE,
        DRAW_LINES,
        TRIANGLE,
        ELLIPSE,
        ELLIPSE_OUTLINE,
        RECT,
        RECT_OUTLINE,
        RECT_XZ,
        RECT_XZ_OUTLINE,
        CLEAR_TEXTURED_RECTS,
        ADD_TEXTURED_RECT,
        FLUSH_TEXTURED_RECTS,
        BOX,
        BOX_OUTLINE,
        CYLINDER,
        SPHERE,
        GRID,
        GRID_XZ,
        ARC,
        AXES,
        TRIANGLE_MESH,
    };

    struct Line {
        vec3f a, b;
    };
    struct LineStrip {
        std::vector<float> values;  // 3 per point
        bool closed = false;
    };
    struct Rect {
        float x, y, z, w, h;
    };
    struct Ellipse {
        float x, y, z, rx, ry;
        int segments;
    };
    struct Box {
        vec3f position;
        vec3f size;  // a cylinder's (radius, height, radius)
        int segments = 0;
        float topRadius = 0.0f;
        float bottomRadius = 0.0f;
    };
    struct TriangleMesh {
        std::vector<float> positions;
        std::vector<float> texCoords;  // empty when recorded without
        std::vector<uint8_t> indices;  // raw bytes
        size_t indexCount = 0;
        size_t indexSize = 0;
        GLenum indexType = GL_UNSIGNED_SHORT;
    };
    struct Sphere {
        float x, y, z, radius;
        int rings, segments;
    };
    struct Grid3d {
        float x, y, z, w, h;
        int columns, rows;
    };
    struct Arc3d {
        float x, y, z, radius, startAngle, endAngle;
        int segments;
    };
    struct Axes {
        float x, y, z, length;
    };

    void clear();
    bool empty() const { return _types.empty(); }

    void pushMatrix();
    void popMatrix();
    void pushProjectionMatrix();
    void popProjectionMatrix();
    void pushMatrices();
    void popMatrices();
    void identity();
    void translate(float x, float y, float z = 0.0f);
    void scale(float x, float y, float z = 1.0f);
    void rotate(float angle, const vec3f& axis);
    void setModelMatrix(const math::mat44<float>& matrix);
    void setProjection(float width, float height, bool flip);
    void setProjectionMatrix(const math::mat44<float>& matrix);

    void enableBlend();
    void disableBlend();
    void blendPremultiplied();
    void enableDepthTest();
    void disableDepthTest();
    void depthMask(bool write);
    void enableCullFace();
    void disableCullFace();
    void cullFrontFaces();
    void cullBackFaces();
    void enableScissor();
    void disableScissor();
    void scissor(int x, int y, int width, int height);
    void useTexture(bool use);
    void flipTexCoordY(bool flip);

    void color(float r, float g, float b, float a);
    void color(const colorf& c);

    void point(float x, float y, float z = 0.0f);
    void points3fv(const float* values, size_t length);
    void line(float x1, float y1, float x2, float y2);
    void line(const vec3f& a, const vec3f& b);
    void lineStrip3fv(const float* values, size_t length, bool closed);
    void lineStrip2fv(const float* values, size_t length, bool closed);
    void clearLines();
    void addLine(const vec3f& a, const vec3f& b);
    void drawLines();
    void triangle(const vec3f& a, const vec3f& b, const vec3f& c);
    void ellipse(float x, float y, float rx, float ry, int segments);
    void ellipseOutline(float x, float y, float rx, float ry, int segments);
    void rect(float x, float y, float w, float h);
    void rectOutline(float x, float y, float w, float h);
    void rectXZ(float x, float y, float z, float w, float d);
    void rectXZOutline(float x, float y, float z, float w, float d);
    void clearTexturedRects();
    void addTexturedRect(float x, float y, float w, float h);
    void flushTexturedRects();
    void box(float x, float y, float z, float sx, float sy, float sz);
    void boxOutline(float x, float y, float z, float sx, float sy, float sz);
    void cylinder(float x, float y, float z, float radius, float height, int segments,
                  float topRadius, float bottomRadius);
    void sphere(float x, float y, float z, float radius, int rings, int segments);
    void grid(float x, float y, float w, float h, int columns, int rows);
    void gridXZ(float x, float y, float z, float w, float d, int columns, int rows);
    void arc(float x, float y, float z, float radius, float startAngle, float endAngle,
             int segments);
    void axes(float x, float y, float z, float length);
    void triangleMesh(const float* positions, size_t positionCount, const float* texCoords,
                      size_t texCoordCount, const void* indices, size_t indexCount,
                      size_t indexSize, GLenum indexType);

    std::vector<Type> _types;
    std::vector<colorf> _colors;
    std::vector<Line> _lines;
    std::vector<LineStrip> _lineStrips;
    std::vector<Rect> _rects;
    std::vector<Ellipse> _ellipses;
    std::vector<std::vector<vec3f>> _points;  // one point, a point list or a triangle's corners
    std::vector<math::mat44<float>> _matrices;
    std::vector<Box> _boxes;
    std::vector<TriangleMesh> _triangleMeshes;
    std::vector<Sphere> _spheres;
    std::vector<Grid3d> _grid3ds;
    std::vector<Arc3d> _arc3ds;
    std::vector<Axes> _axes;
};

// Replays the list with the immediate calls, inside a pushed (and finally popped) model matrix.
void submit(const DrawList& list);

}  // namespace qd
