// Matrix.cpp: matrix products and the fixed-function matrices.
#include "gles/Matrix.h"

#include <cmath>

namespace gles {

Mat4 identity()
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Mat4 multiply(const Mat4& a, const Mat4& b)
{
    Mat4 r{};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    }
    return r;
}

Mat4 translation(float x, float y, float z)
{
    Mat4 m = identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Mat4 rotation(float degrees, float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) return identity();
    x /= length;
    y /= length;
    z /= length;
    const float radians = degrees * static_cast<float>(M_PI / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    const float one = 1.0f - c;
    Mat4 m = identity();
    m[0] = x * x * one + c;
    m[1] = y * x * one + z * s;
    m[2] = x * z * one - y * s;
    m[4] = x * y * one - z * s;
    m[5] = y * y * one + c;
    m[6] = y * z * one + x * s;
    m[8] = x * z * one + y * s;
    m[9] = y * z * one - x * s;
    m[10] = z * z * one + c;
    return m;
}

Mat4 ortho(double left, double right, double bottom, double top, double zNear, double zFar)
{
    Mat4 m = identity();
    m[0] = static_cast<float>(2.0 / (right - left));
    m[5] = static_cast<float>(2.0 / (top - bottom));
    m[10] = static_cast<float>(-2.0 / (zFar - zNear));
    m[12] = static_cast<float>(-(right + left) / (right - left));
    m[13] = static_cast<float>(-(top + bottom) / (top - bottom));
    m[14] = static_cast<float>(-(zFar + zNear) / (zFar - zNear));
    return m;
}

Mat4 perspective(double fovyDegrees, double aspect, double zNear, double zFar)
{
    // Computed in double, as the utility library does, then stored as floats.
    const double radians = fovyDegrees / 2.0 * M_PI / 180.0;
    const double depth = zFar - zNear;
    const double cotangent = std::cos(radians) / std::sin(radians);
    Mat4 m{};
    m[0] = static_cast<float>(cotangent / aspect);
    m[5] = static_cast<float>(cotangent);
    m[10] = static_cast<float>(-(zFar + zNear) / depth);
    m[11] = -1.0f;
    m[14] = static_cast<float>(-2.0 * zNear * zFar / depth);
    return m;
}

Mat3 normalMatrix(const Mat4& m)
{
    // Upper 3 x 3 as a[row][col].
    const auto a = [&](int row, int col) { return m[col * 4 + row]; };
    const float c00 = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
    const float c01 = a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2);
    const float c02 = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
    const float det = a(0, 0) * c00 + a(0, 1) * c01 + a(0, 2) * c02;
    if (det == 0.0f) return {};
    const float inv = 1.0f / det;
    // The inverse's transpose is the cofactor matrix over the determinant;
    // stored column-major like the 4 x 4 ones.
    const float cof[3][3] = {
        {c00, c01, c02},
        {a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2), a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0),
         a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1)},
        {a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1), a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2),
         a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)},
    };
    Mat3 r{};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) r[col * 3 + row] = cof[row][col] * inv;
    }
    return r;
}

std::array<float, 4> transform(const Mat4& m, const std::array<float, 4>& v)
{
    std::array<float, 4> r{};
    for (int row = 0; row < 4; ++row) {
        r[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    }
    return r;
}

}  // namespace gles
