#pragma once
// Four-float vectors for model geometry. The operations ignore w on input and give w = 0.
// Intermediate results are computed in double precision and rounded once to float.

#include <cstdint>

#include "model/model.h"

struct Vec4 {
    float x, y, z, w;
};
static_assert(sizeof(Vec4) == 16 && sizeof(Vec4) == sizeof(Vertex));

// The position of a model vertex as a vector (w = 0).
inline Vec4 VertexPosition(const Vertex& v) {
    return Vec4{v.x, v.y, v.z, 0.0f};
}

// a - b.
Vec4 VecSub(Vec4 a, Vec4 b);
// a x b.
Vec4 VecCross(Vec4 a, Vec4 b);
// a . b.
float VecDot(Vec4 a, Vec4 b);
// |v|.
float VecLength(Vec4 v);
// v / |v|; not finite for a zero vector.
Vec4 VecNormalize(Vec4 v);
// The angle between a and b in radians: acos(a.b / float(|a| |b|)), the quotient not clamped,
// so rounding past +-1 or a zero vector gives NaN.
double VecAngle(Vec4 a, Vec4 b);
// The d of the plane n.x + d = 0 through p: -(n . p).
float PlaneDistance(Vec4 n, Vec4 p);

// normalize((C - A) x (B - A)): the back normal of a triangle whose corners run counter-clockwise
// seen from the front; its negation is the front normal. Not finite for a degenerate triangle.
Vec4 TriangleNormal(const Vec4 triangle[3]);
Vec4 TriangleNormal(Vec4 a, Vec4 b, Vec4 c);
