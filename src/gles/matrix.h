// 4 x 4 matrices in single precision, column by column as GL keeps them,
// built the way a desktop GL driver builds them from the matrix calls.
#pragma once

namespace gles {

struct Mat4 {
    float m[16];
};

Mat4 mat_identity();
Mat4 mat_multiply(const Mat4& a, const Mat4& b);  // a * b
Mat4 mat_rotate(float degrees, float x, float y, float z);
Mat4 mat_translate(float x, float y, float z);
Mat4 mat_frustum(double left, double right, double bottom, double top, double near_value, double far_value);
// The transform of normals: the inverse transpose of the upper 3 x 3, as nine
// floats column by column (the identity when the matrix is singular).
void mat_normal(const Mat4& a, float out[9]);
// a * (x, y, z, w)
void mat_apply(const Mat4& a, const float in[4], float out[4]);

}  // namespace gles
