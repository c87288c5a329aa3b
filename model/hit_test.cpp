#include "model/hit_test.h"

namespace {

// 2 pi * 0.9999: an angle sum this large counts as a full turn, absorbing rounding.
constexpr double kFullTurn = 6.282556988648868;

// The parameter t of the line P0 + t dir where it meets the plane; false when parallel.
bool LineParameter(Vec4 n, const Vec4 segment[2], float d, Vec4* dir, double* t) {
    *dir = VecNormalize(VecSub(segment[1], segment[0]));
    const double num = -(double{VecDot(n, segment[0])} + d);
    const float den = VecDot(n, *dir);
    if (den == 0.0f) return false;
    *t = num / den;
    return true;
}

} // namespace

int32_t SegmentCrossesPlane(const Vec4 triangle[3], const Vec4 segment[2], Vec4* n, float* d) {
    *n = TriangleNormal(triangle);
    *d = PlaneDistance(*n, triangle[0]);
    const double side0 = double{VecDot(*n, segment[0])} + *d;
    const double side1 = double{VecDot(*n, segment[1])} + *d;
    return side0 * side1 < 0.0 ? 1 : 0;
}

Vec4 PlaneIntersectionPoint(Vec4 n, const Vec4 segment[2], float d) {
    Vec4 dir;
    double t;
    if (!LineParameter(n, segment, d, &dir, &t)) return segment[0];
    const Vec4& p0 = segment[0];
    return Vec4{static_cast<float>(p0.x + t * dir.x), static_cast<float>(p0.y + t * dir.y),
                static_cast<float>(p0.z + t * dir.z), 0.0f};
}

float PlaneIntersectionDistance(Vec4 n, const Vec4 segment[2], float d) {
    Vec4 dir;
    double t;
    if (!LineParameter(n, segment, d, &dir, &t)) return -1.0f;
    return static_cast<float>(t);
}

int32_t PointInPolygon(Vec4 p, const Vec4* corners, int32_t count) {
    double sum = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        sum += VecAngle(VecSub(corners[i], p), VecSub(corners[(i + 1) % count], p));
    }
    return sum >= kFullTurn ? 1 : 0;
}

float SegmentTriangleDistance(const Vec4* triangle, const Vec4 segment[2], int32_t count) {
    Vec4 n;
    float d;
    if (!SegmentCrossesPlane(triangle, segment, &n, &d)) return 0.0f;
    const Vec4 p = PlaneIntersectionPoint(n, segment, d);
    if (!PointInPolygon(p, triangle, count)) return 0.0f;
    return PlaneIntersectionDistance(n, segment, d);
}
