// A 4x4 matrix in the layout glUniformMatrix4fv takes untransposed: column-major, element i is
// column i / 4, row i % 4. Plain value, no allocation; a default matrix is the identity.
#pragma once

#include <cmath>

#include "visualization/util/assert.h"

namespace math {

template <typename T>
struct mat44 {
    T m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    T& operator[](int i) { return m[i]; }
    const T& operator[](int i) const { return m[i]; }
    const T* data() const { return m; }

    // The sixteen values in storage order.
    void set(T m0, T m1, T m2, T m3, T m4, T m5, T m6, T m7, T m8, T m9, T m10, T m11, T m12, T m13,
             T m14, T m15) {
        m[0] = m0, m[1] = m1, m[2] = m2, m[3] = m3;
        m[4] = m4, m[5] = m5, m[6] = m6, m[7] = m7;
        m[8] = m8, m[9] = m9, m[10] = m10, m[11] = m11;
        m[12] = m12, m[13] = m13, m[14] = m14, m[15] = m15;
    }

    void copy(const mat44& other) { *this = other; }

    // this = this x other.
    mat44& multiply(const mat44& other) {
        T result[16];
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                result[column * 4 + row] =
                    m[row] * other.m[column * 4] + m[4 + row] * other.m[column * 4 + 1] +
                    m[8 + row] * other.m[column * 4 + 2] + m[12 + row] * other.m[column * 4 + 3];
            }
        }
        for (int i = 0; i < 16; ++i) {
            m[i] = result[i];
        }
        return *this;
    }

    // (x, y, z, w) = this x (x, y, z, w).
    void transform(T& x, T& y, T& z, T& w) const {
        const T tx = m[0] * x + m[4] * y + m[8] * z + m[12] * w;
        const T ty = m[1] * x + m[5] * y + m[9] * z + m[13] * w;
        const T tz = m[2] * x + m[6] * y + m[10] * z + m[14] * w;
        const T tw = m[3] * x + m[7] * y + m[11] * z + m[15] * w;
        x = tx, y = ty, z = tz, w = tw;
    }
};

// a x b as a new matrix.
template <typename T>
mat44<T> operator*(const mat44<T>& a, const mat44<T>& b) {
    mat44<T> result = a;
    result.multiply(b);
    return result;
}

// Inverts in place by cofactors built from 2x2 sub-determinants of two pairs of rows and returns
// the matrix. A singular matrix stops the program.
template <typename T>
mat44<T>* invert(mat44<T>* matrix) {
    T* a = matrix->m;
    // The expansion is written over the storage order as if it were rows; since the inverse of
    // the transpose is the transpose of the inverse, that yields the column-major inverse.
    const T s0 = a[0] * a[5] - a[4] * a[1];
    const T s1 = a[0] * a[6] - a[4] * a[2];
    const T s2 = a[0] * a[7] - a[4] * a[3];
    const T s3 = a[1] * a[6] - a[5] * a[2];
    const T s4 = a[1] * a[7] - a[5] * a[3];
    const T s5 = a[2] * a[7] - a[6] * a[3];
    const T c5 = a[10] * a[15] - a[14] * a[11];
    const T c4 = a[9] * a[15] - a[13] * a[11];
    const T c3 = a[9] * a[14] - a[13] * a[10];
    const T c2 = a[8] * a[15] - a[12] * a[11];
    const T c1 = a[8] * a[14] - a[12] * a[10];
    const T c0 = a[8] * a[13] - a[12] * a[9];
    const T det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    VIZ_ASSERT(det != static_cast<T>(0));
    const T inv = static_cast<T>(1) / det;
    const T b[16] = {
        (a[5] * c5 - a[6] * c4 + a[7] * c3) * inv,     (-a[1] * c5 + a[2] * c4 - a[3] * c3) * inv,
        (a[13] * s5 - a[14] * s4 + a[15] * s3) * inv,  (-a[9] * s5 + a[10] * s4 - a[11] * s3) * inv,
        (-a[4] * c5 + a[6] * c2 - a[7] * c1) * inv,    (a[0] * c5 - a[2] * c2 + a[3] * c1) * inv,
        (-a[12] * s5 + a[14] * s2 - a[15] * s1) * inv, (a[8] * s5 - a[10] * s2 + a[11] * s1) * inv,
        (a[4] * c4 - a[5] * c2 + a[7] * c0) * inv,     (-a[0] * c4 + a[1] * c2 - a[3] * c0) * inv,
        (a[12] * s4 - a[13] * s2 + a[15] * s0) * inv,  (-a[8] * s4 + a[9] * s2 - a[11] * s0) * inv,
        (-a[4] * c3 + a[5] * c1 - a[6] * c0) * inv,    (a[0] * c3 - a[1] * c1 + a[2] * c0) * inv,
        (-a[12] * s3 + a[13] * s1 - a[14] * s0) * inv, (a[8] * s3 - a[9] * s1 + a[10] * s0) * inv,
    };
    for (int i = 0; i < 16; ++i) {
        a[i] = b[i];
    }
    return matrix;
}

// Orthographic projection. near and far are eye-space z values, not distances: eye z = near
// maps to depth -1 and eye z = far to +1, which flips the sign of m10 against the classic form.
template <typename T>
void ortho(mat44<T>& m, T left, T right, T bottom, T top, T near, T far) {
    m.set(-2 / (left - right), 0, 0, 0,  //
          0, -2 / (bottom - top), 0, 0,  //
          0, 0, -2 / (near - far), 0,    //
          (left + right) / (left - right), (top + bottom) / (bottom - top),
          (far + near) / (near - far), 1);
}

// Perspective projection with a vertical field of view in degrees; near and far are distances.
template <typename T>
void perspective(mat44<T>& m, T fovDegrees, T aspect, T near, T far) {
    const T f = static_cast<T>(1) / std::tan(fovDegrees / static_cast<T>(180) *
                                             static_cast<T>(M_PI) / static_cast<T>(2));
    m.set(f / aspect, 0, 0, 0,  //
          0, f, 0, 0,           //
          0, 0, (far + near) / (near - far), -1, 0, 0, 2 * far * near / (near - far), 0);
}

}  // namespace math
