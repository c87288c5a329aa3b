#pragma once
// Segment-triangle hit test from plane and angle-sum tests, used for picking faces.
// A triangle is three consecutive Vec4 corners, a segment two consecutive Vec4 end points.

#include <cstdint>

#include "model/vec4.h"

// Sets n to the triangle's TriangleNormal and d to its plane distance; returns 1 when the end
// points lie strictly on opposite sides of the plane (touching or lying in it is no crossing), else 0.
int32_t SegmentCrossesPlane(const Vec4 triangle[3], const Vec4 segment[2], Vec4* n, float* d);
// Where the line through the segment meets the plane n.x + d = 0 (w = 0); P0 itself (with its w)
// when the segment runs parallel to the plane.
Vec4 PlaneIntersectionPoint(Vec4 n, const Vec4 segment[2], float d);
// The distance from P0 to the plane along the segment's direction; -1 when parallel to the plane.
float PlaneIntersectionDistance(Vec4 n, const Vec4 segment[2], float d);
// 1 when p (in the polygon's plane) lies inside the convex polygon of count corners, judged by the
// angles under which p sees the edges summing to at least 2 pi * 0.9999; else 0 (also for NaN).
int32_t PointInPolygon(Vec4 p, const Vec4* corners, int32_t count);
// The distance from P0 to where the segment passes through the polygon of count corners
// (3 for a face), always positive; 0 when the segment misses it.
float SegmentTriangleDistance(const Vec4* triangle, const Vec4 segment[2], int32_t count);
