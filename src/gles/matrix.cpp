#include "gles/matrix.h"

#include <cmath>

namespace gles {

namespace {

float& at(Mat4& a, int row, int column) { return a.m[column * 4 + row]; }
float at(const Mat4& a, int row, int column) { return a.m[column * 4 + row]; }

// A rotation about one of the axes, with the exact zeros and ones a general
// rotation would round away.
bool axis_rotation(Mat4& r, float s, float c, float x, float y, float z) {
    int a = -1, b = -1;
    float sign = 1;
    if (x == 0 && y == 0 && z != 0) a = 0, b = 1, sign = z < 0 ? -1.0f : 1.0f;
    else if (x == 0 && z == 0 && y != 0) a = 2, b = 0, sign = y < 0 ? -1.0f : 1.0f;
    else if (y == 0 && z == 0 && x != 0) a = 1, b = 2, sign = x < 0 ? -1.0f : 1.0f;
    if (a < 0) return false;
    s *= sign;
    at(r, a, a) = c;
    at(r, b, b) = c;
    at(r, a, b) = -s;
    at(r, b, a) = s;
    return true;
}

}  // namespace

Mat4 mat_identity() {
    Mat4 a{};
    for (int i = 0; i < 4; ++i) at(a, i, i) = 1;
    return a;
}

Mat4 mat_multiply(const Mat4& a, const Mat4& b) {
    Mat4 p{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            at(p, row, column) = at(a, row, 0) * at(b, 0, column) + at(a, row, 1) * at(b, 1, column) +
                                 at(a, row, 2) * at(b, 2, column) + at(a, row, 3) * at(b, 3, column);
    return p;
}

Mat4 mat_rotate(float degrees, float x, float y, float z) {
    const float s = std::sin(static_cast<float>(degrees * M_PI / 180.0));
    const float c = std::cos(static_cast<float>(degrees * M_PI / 180.0));
    Mat4 r = mat_identity();
    if (axis_rotation(r, s, c, x, y, z)) return r;
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) return r;
    x /= length, y /= length, z /= length;
    const float one_c = 1.0f - c;
    at(r, 0, 0) = one_c * x * x + c;
    at(r, 0, 1) = one_c * x * y - z * s;
    at(r, 0, 2) = one_c * z * x + y * s;
    at(r, 1, 0) = one_c * x * y + z * s;
    at(r, 1, 1) = one_c * y * y + c;
    at(r, 1, 2) = one_c * y * z - x * s;
    at(r, 2, 0) = one_c * z * x - y * s;
    at(r, 2, 1) = one_c * y * z + x * s;
    at(r, 2, 2) = one_c * z * z + c;
    return r;
}

Mat4 mat_translate(float x, float y, float z) {
    Mat4 t = mat_identity();
    at(t, 0, 3) = x;
    at(t, 1, 3) = y;
    at(t, 2, 3) = z;
    return t;
}

Mat4 mat_frustum(double left, double right, double bottom, double top, double near_value, double far_value) {
    Mat4 f{};
    at(f, 0, 0) = static_cast<float>(2 * near_value / (right - left));
    at(f, 0, 2) = static_cast<float>((right + left) / (right - left));
    at(f, 1, 1) = static_cast<float>(2 * near_value / (top - bottom));
    at(f, 1, 2) = static_cast<float>((top + bottom) / (top - bottom));
    at(f, 2, 2) = static_cast<float>(-(far_value + near_value) / (far_value - near_value));
    at(f, 2, 3) = static_cast<float>(-(2 * far_value * near_value) / (far_value - near_value));
    at(f, 3, 2) = -1;
    return f;
}

void mat_normal(const Mat4& a, float out[9]) {
    // The cofactors of the 3 x 3 over its determinant: the inverse transpose.
    float c[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            c[i][j] = at(a, i1, j1) * at(a, i2, j2) - at(a, i1, j2) * at(a, i2, j1);
        }
    float det = at(a, 0, 0) * c[0][0] + at(a, 0, 1) * c[0][1] + at(a, 0, 2) * c[0][2];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[j * 3 + i] = det != 0 ? c[i][j] / det : (i == j ? 1.0f : 0.0f);
}

void mat_apply(const Mat4& a, const float in[4], float out[4]) {
    for (int row = 0; row < 4; ++row)
        out[row] = at(a, row, 0) * in[0] + at(a, row, 1) * in[1] + at(a, row, 2) * in[2] + at(a, row, 3) * in[3];
}

}  // namespace gles
