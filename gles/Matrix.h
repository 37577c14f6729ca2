// Matrix.h: the 4 x 4 float matrices of the GL 1.x layer's matrix stacks.
//
// Column-major, as GL stores them (element [col * 4 + row]); every
// operation multiplies on the right, as the fixed-function calls do. Pure
// arithmetic, no GL: the layer's tests check it without a context.
#pragma once

#include <array>

namespace gles {

using Mat4 = std::array<float, 16>;
using Mat3 = std::array<float, 9>;

Mat4 identity();
// a * b.
Mat4 multiply(const Mat4& a, const Mat4& b);
// The matrices glTranslatef, glRotatef (degrees, any axis), glOrtho and
// gluPerspective multiply by.
Mat4 translation(float x, float y, float z);
Mat4 rotation(float degrees, float x, float y, float z);
Mat4 ortho(double left, double right, double bottom, double top, double zNear, double zFar);
Mat4 perspective(double fovyDegrees, double aspect, double zNear, double zFar);
// Transpose of the inverse of the upper 3 x 3: what normals are multiplied
// by. A singular matrix gives the zero matrix.
Mat3 normalMatrix(const Mat4& m);
// m * (x, y, z, w).
std::array<float, 4> transform(const Mat4& m, const std::array<float, 4>& v);

}  // namespace gles
