// Immediate-mode drawing for the diagnostic displays: a projection and a model matrix with push/pop
// stacks, a current colour, and one call per primitive, all drawn by one program from small
// buffers that qd::create makes once and qd::destroy releases. The contents never use it.
//
// Typical use, once per frame:
//   qd::bind(); qd::setProjection(width, height, true); qd::pushMatrices();
//   qd::color(...); qd::rect(...); ...; qd::popMatrices();
//
// The host shares the context, so nothing here trusts what GL had bound before: every call that
// sets a uniform binds the qd program first, and every draw binds its own vertex array and
// buffers through the GL layer (a pointer comparison when they are still bound). Blending, depth,
// culling and scissor are left as the caller set them, through the switches below or otherwise.
//
// Module state, render thread only. Drawing before qd::create is outside the contract.
#pragma once

#include <GLES3/gl3.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "visualization/util/color.h"
#include "visualization/util/gl/texture_2d.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"

namespace qd {

// Lifecycle and state.
void create();
void destroy();
bool isCreated();
void bind();

void setProjection(float width, float height, bool flip);
void setProjectionMatrix(const math::mat44<float>& matrix);
void setModelMatrix(const math::mat44<float>& matrix);
// model = model x matrix, the form every model transform below takes.
void multiplyMatrix(const math::mat44<float>& matrix);

void pushMatrix();
void popMatrix();
void pushProjectionMatrix();
void popProjectionMatrix();
void pushMatrices();
void popMatrices();

void identity();
void translate(float x, float y);
void translate(float x, float y, float z);
void scale(float s);
void scale(float x, float y);
void scale(float x, float y, float z);
// Angles in radians.
void rotate(float angle, const vec3f& axis);
void rotateX(float angle);
void rotateY(float angle);
void rotateZ(float angle);

void color(float r, float g, float b, float a);
void color(float grey, float a);
void color(const colorf& c);
// Clamped into the point sizes GL supports (read by qd::create).
void pointSize(float size);
void useTexture(bool use);
void flipTexCoordY(bool flip);
// Remembered and bound on unit 0 again before each textured draw.
void bindTexture(gl::Texture2d* texture);

// GL state switches.
void enableBlend();
void disableBlend();
// Premultiplied alpha, what the qd program writes.
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

// Points.
void point(float x, float y);
void point(float x, float y, float z);
void point(const vec3f& p);
void points3fv(const float* values, size_t length);
void points2fv(const float* values, size_t length);
void points3fv(const std::vector<float>& values);
void points2fv(const std::vector<float>& values);
void points(const vec3f* values, size_t count);

// Lines.
void line(float x1, float y1, float x2, float y2);
void line(float x1, float y1, float z1, float x2, float y2, float z2);
void line(const vec3f& a, const vec3f& b);
void hline(float x1, float x2, float y);
void vline(float x, float y1, float y2);

void lineStrip2fv(const float* values, size_t length, bool closed);
void lineStrip3fv(const float* values, size_t length, bool closed);
void lineStrip3fv(const std::vector<float>& v, bool closed);
// `length` points; an empty strip is a broken call.
void lineStrip(const vec3f* values, size_t length, bool closed);

// The line batch: lines collected and drawn in one call; it stays until cleared.
void clearLines();
void addLine(float x1, float y1, float x2, float y2);
void addLine(float x1, float y1, float z1, float x2, float y2, float z2);
void addLine(const vec3f& a, const vec3f& b);
void drawLines();

// Triangles.
void triangle(float x1, float y1, float x2, float y2, float x3, float y3);
void triangle(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3,
              float z3);
void triangle(const vec3f& a, const vec3f& b, const vec3f& c);

// Ellipses and circles in the xy plane, filled or as outlines.
void ellipse(float x, float y, float rx, float ry, int segments);
void ellipse(float x, float y, float z, float rx, float ry, int segments);
void ellipse(float rx, float ry, int segments);
void circle(float x, float y, float radius, int segments);
void circle(float x, float y, float z, float radius, int segments);
void circle(float radius, int segments);
void ellipseOutline(float x, float y, float rx, float ry, int segments);
void ellipseOutline(float x, float y, float z, float rx, float ry, int segments);
void ellipseOutline(float rx, float ry, int segments);
void circleOutline(float x, float y, float radius, int segments);
void circleOutline(float x, float y, float z, float radius, int segments);
void circleOutline(float radius, int segments);

// Rectangles in the xy plane from their corner (or centre), filled or as outlines.
void rect(float x, float y, float w, float h);
void rect(float x, float y, float z, float w, float h);
void rect(float w, float h);
void rectCentered(float x, float y, float w, float h);
void rectCentered(float x, float y, float z, float w, float h);
void rectOutline(float x, float y, float w, float h);
void rectOutline(float x, float y, float z, float w, float h);
void rectOutline(float w, float h);
void rectCenteredOutline(float x, float y, float w, float h);
void rectCenteredOutline(float x, float y, float z, float w, float h);

// The same in the xz plane: w along x, d along z.
void rectXZ(float x, float y, float z, float w, float d);
void rectXZ(float w, float d);
void rectXZCentered(float x, float y, float z, float w, float d);
void rectXZOutline(float x, float y, float z, float w, float d);
void rectXZOutline(float w, float d);
void rectXZCenteredOutline(float x, float y, float z, float w, float d);

// Textured rectangles, batched and drawn by the flush as one triangle mesh. Texture
// coordinates run (0, 0) to (1, 1) from the corner at (x, y).
void clearTexturedRects();
void addTexturedRect(float x, float y, float w, float h);
void addTexturedRect(float x, float y, float z, float w, float h);
void addTexturedRect(const vec3f& position, const vec2f& size);
void addTexturedRectCentered(float x, float y, float w, float h);
void addTexturedRectCentered(float x, float y, float z, float w, float h);
void flushTexturedRects();

// Boxes centred on their position.
void box(float x, float y, float z, float sx, float sy, float sz);
void box(float x, float y, float z, float size);
void box(float sx, float sy, float sz);
void box(float size);
void boxOutline(float x, float y, float z, float sx, float sy, float sz);
void boxOutline(float x, float y, float z, float size);
void boxOutline(float sx, float sy, float sz);
void boxOutline(float size);

// A solid cylinder (or cone) along y, centred on its position: the radii scale `radius`.
void cylinder(float x, float y, float z, float radius, float height, int segments, float topRadius,
              float bottomRadius);
void cylinder(float radius, float height, int segments, float topRadius, float bottomRadius);

// Wire shapes built from the line batch; each clears the batch first.
void sphere(float x, float y, float z, float radius, int rings, int segments);
// columns x rows cells from the corner (x, y) in the xy plane.
void grid(float x, float y, float w, float h, int columns, int rows);
// The same in the xz plane at height y.
void gridXZ(float x, float y, float z, float w, float d, int columns, int rows);
// From startAngle to endAngle (radians, counter-clockwise from +x) around (x, y, z).
void arc(float x, float y, float radius, float startAngle, float endAngle, int segments);
void arc(float x, float y, float z, float radius, float startAngle, float endAngle, int segments);

// +x red, +y green, +z blue from (x, y, z); leaves the colour blue.
void axes(float x, float y, float z, float length);

// positionCount and texCoordCount are in floats (3 and 2 per vertex); without texture
// coordinates (null) the vertices get (0, 0). indexSize is the byte size of one index.
void triangleMesh(const float* positions, size_t positionCount, const float* texCoords,
                  size_t texCoordCount, const void* indices, size_t indexCount, size_t indexSize,
                  GLenum indexType);

}  // namespace qd
