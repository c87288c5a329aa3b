#include "model/vec4.h"

#include <cmath>

namespace {

Vec4 Round(double x, double y, double z) {
    return Vec4{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), 0.0f};
}

} // namespace

Vec4 VecSub(Vec4 a, Vec4 b) {
    return Round(double{a.x} - b.x, double{a.y} - b.y, double{a.z} - b.z);
}

Vec4 VecCross(Vec4 a, Vec4 b) {
    return Round(double{a.y} * b.z - double{a.z} * b.y, double{a.z} * b.x - double{a.x} * b.z,
                 double{a.x} * b.y - double{a.y} * b.x);
}

float VecDot(Vec4 a, Vec4 b) {
    return static_cast<float>(double{a.x} * b.x + double{a.y} * b.y + double{a.z} * b.z);
}

float VecLength(Vec4 v) {
    return static_cast<float>(std::sqrt(double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z));
}

Vec4 VecNormalize(Vec4 v) {
    const double length = VecLength(v);
    return Round(v.x / length, v.y / length, v.z / length);
}

double VecAngle(Vec4 a, Vec4 b) {
    const float lengths = static_cast<float>(double{VecLength(a)} * VecLength(b));
    return std::acos(double{VecDot(a, b)} / lengths);
}

float PlaneDistance(Vec4 n, Vec4 p) {
    return -VecDot(n, p);
}

Vec4 TriangleNormal(Vec4 a, Vec4 b, Vec4 c) {
    return VecNormalize(VecCross(VecSub(c, a), VecSub(b, a)));
}

Vec4 TriangleNormal(const Vec4 triangle[3]) {
    return TriangleNormal(triangle[0], triangle[1], triangle[2]);
}
