#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/hit_test.h"
#include "model/model_transform.h"
#include "model/test_support.h"
#include "model/vec4.h"

namespace {

void ExpectVec(Vec4 want, Vec4 got) {
    EXPECT_FLOAT_EQ(want.x, got.x);
    EXPECT_FLOAT_EQ(want.y, got.y);
    EXPECT_FLOAT_EQ(want.z, got.z);
    EXPECT_EQ(want.w, got.w);
}

const Vec4 kTriangle[3] = {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}};

TEST(Vec4Ops, ResultsHaveWZeroAndIgnoreInputW) {
    const Vec4 a{1, 2, 3, 99}, b{4, 5, 6, -7};
    ExpectVec({-3, -3, -3, 0}, VecSub(a, b));
    ExpectVec({-3, 6, -3, 0}, VecCross(a, b));
    EXPECT_EQ(32.0f, VecDot(a, b));
    EXPECT_FLOAT_EQ(std::sqrt(14.0f), VecLength(a));
    ExpectVec({0, 0.6f, 0.8f, 0}, VecNormalize({0, 3, 4, 5}));
    EXPECT_EQ(-32.0f, PlaneDistance(a, b));
}

TEST(Vec4Ops, SumsAreFormedInDoublePrecision) {
    // In float, 2^24 + 1 + 1 rounds back to 2^24 at each step; the exact sum is representable.
    EXPECT_EQ(16777218.0f, VecDot({16777216.0f, 1, 1, 0}, {1, 1, 1, 0}));
}

TEST(Vec4Ops, AnglesAndTheirUndefinedCases) {
    EXPECT_DOUBLE_EQ(std::numbers::pi / 2, VecAngle({1, 0, 0, 0}, {0, 1, 0, 0}));
    EXPECT_EQ(0.0, VecAngle({1, 0, 0, 0}, {2, 0, 0, 0}));
    EXPECT_NEAR(std::numbers::pi, VecAngle({1, 0, 0, 0}, {-3, 0, 0, 0}), 1e-12);
    EXPECT_TRUE(std::isnan(VecAngle({0, 0, 0, 0}, {1, 0, 0, 0})));
}

TEST(TriangleNormalTest, PointsToTheBackOfACounterClockwiseTriangle) {
    ExpectVec({0, 0, -1, 0}, TriangleNormal(kTriangle));
    ExpectVec({0, 0, -1, 0}, TriangleNormal(kTriangle[0], kTriangle[1], kTriangle[2]));
    // The front normal is the negation: normalize((B - A) x (C - A)).
    const Vec4 front =
        VecNormalize(VecCross(VecSub(kTriangle[1], kTriangle[0]), VecSub(kTriangle[2], kTriangle[0])));
    ExpectVec({0, 0, 1, 0}, front);
    ExpectVec({0, 0, 1, 0}, TriangleNormal(kTriangle[0], kTriangle[2], kTriangle[1]));
    // Scale does not matter, translation does not matter.
    ExpectVec({0, 0, -1, 0}, TriangleNormal({5, 5, 7, 1}, {9, 5, 7, 1}, {5, 6, 7, 1}));
    const Vec4 degenerate = TriangleNormal({0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0});
    EXPECT_FALSE(std::isfinite(degenerate.x));
}

TEST(HitTest, SegmentThroughTheTriangle) {
    const Vec4 down[2] = {{0.25f, 0.25f, 1, 0}, {0.25f, 0.25f, -1, 0}};
    EXPECT_EQ(1.0f, SegmentTriangleDistance(kTriangle, down, 3));
    const Vec4 up[2] = {{0.25f, 0.25f, -3, 0}, {0.25f, 0.25f, 1, 0}};
    EXPECT_EQ(3.0f, SegmentTriangleDistance(kTriangle, up, 3));
    // Slanted: from (0, 0, 2) to (0.5, 0.5, -2) crosses at (0.25, 0.25, 0).
    const Vec4 slanted[2] = {{0, 0, 2, 0}, {0.5f, 0.5f, -2, 0}};
    EXPECT_NEAR(std::sqrt(0.125 + 4.0), SegmentTriangleDistance(kTriangle, slanted, 3), 1e-5);
}

TEST(HitTest, Misses) {
    const Vec4 beside[2] = {{2, 0.25f, 1, 0}, {2, 0.25f, -1, 0}};
    EXPECT_EQ(0.0f, SegmentTriangleDistance(kTriangle, beside, 3));
    // Beyond the hypotenuse but inside the bounding square.
    const Vec4 corner[2] = {{0.75f, 0.75f, 1, 0}, {0.75f, 0.75f, -1, 0}};
    EXPECT_EQ(0.0f, SegmentTriangleDistance(kTriangle, corner, 3));
    const Vec4 touching[2] = {{0.25f, 0.25f, 0, 0}, {0.25f, 0.25f, -1, 0}};
    EXPECT_EQ(0.0f, SegmentTriangleDistance(kTriangle, touching, 3));
    const Vec4 short_of_it[2] = {{0.25f, 0.25f, 2, 0}, {0.25f, 0.25f, 1, 0}};
    EXPECT_EQ(0.0f, SegmentTriangleDistance(kTriangle, short_of_it, 3));
    const Vec4 inPlane[2] = {{-1, 0.25f, 0, 0}, {2, 0.25f, 0, 0}};
    EXPECT_EQ(0.0f, SegmentTriangleDistance(kTriangle, inPlane, 3));
}

TEST(HitTest, PlaneCrossingIsStrictAndReportsThePlane) {
    Vec4 n;
    float d;
    const Vec4 across[2] = {{0, 0, 3, 0}, {0, 0, -1, 0}};
    EXPECT_EQ(1, SegmentCrossesPlane(kTriangle, across, &n, &d));
    ExpectVec({0, 0, -1, 0}, n);
    EXPECT_EQ(0.0f, d);
    const Vec4 lifted[3] = {{0, 0, 2, 0}, {1, 0, 2, 0}, {0, 1, 2, 0}};
    EXPECT_EQ(1, SegmentCrossesPlane(lifted, across, &n, &d));
    EXPECT_EQ(2.0f, d); // -(n . A) = -(-2)
    const Vec4 endOnPlane[2] = {{0, 0, 2, 0}, {0, 0, -1, 0}};
    EXPECT_EQ(0, SegmentCrossesPlane(lifted, endOnPlane, &n, &d));
}

TEST(HitTest, ParallelSegment) {
    const Vec4 n{0, 0, -1, 0};
    const Vec4 parallel[2] = {{0, 0, 1, 42}, {1, 0, 1, 0}};
    EXPECT_EQ(-1.0f, PlaneIntersectionDistance(n, parallel, 0));
    const Vec4 p = PlaneIntersectionPoint(n, parallel, 0);
    EXPECT_EQ(0.0f, p.x);
    EXPECT_EQ(1.0f, p.z);
    EXPECT_EQ(42.0f, p.w); // P0 itself, w included
    const Vec4 steep[2] = {{1, 2, 4, 42}, {1, 2, 2, 0}};
    ExpectVec({1, 2, 0, 0}, PlaneIntersectionPoint(n, steep, 0));
    EXPECT_EQ(4.0f, PlaneIntersectionDistance(n, steep, 0));
}

TEST(HitTest, PointInPolygon) {
    const Vec4 square[4] = {{0, 0, 0, 0}, {2, 0, 0, 0}, {2, 2, 0, 0}, {0, 2, 0, 0}};
    EXPECT_EQ(1, PointInPolygon({1, 1, 0, 0}, square, 4));
    EXPECT_EQ(1, PointInPolygon({1.9f, 0.1f, 0, 0}, square, 4));
    EXPECT_EQ(0, PointInPolygon({3, 1, 0, 0}, square, 4));
    EXPECT_EQ(0, PointInPolygon({0.9f, 0.9f, 0, 0}, kTriangle, 3));
    EXPECT_EQ(1, PointInPolygon({0.2f, 0.2f, 0, 0}, kTriangle, 3));
    // On a corner one edge vector has no length: the angle is NaN and the answer is no.
    EXPECT_EQ(0, PointInPolygon({0, 0, 0, 0}, kTriangle, 3));
}

TEST(ModelTransform, BoundsOfEmptyAndOfSomeVertices) {
    ScopedModel m;
    float b[6];
    ASSERT_EQ(0, ModelBounds(m.get(), &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]));
    EXPECT_EQ(1000000.0f, b[0]);
    EXPECT_EQ(-1000000.0f, b[1]);
    EXPECT_EQ(1000000.0f, b[4]);
    EXPECT_EQ(-1000000.0f, b[5]);
    ASSERT_EQ(0, AddVertex(m.get(), 1, 2, 3, 0));
    ASSERT_EQ(0, ModelBounds(m.get(), &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]));
    EXPECT_EQ(1.0f, b[0]);
    EXPECT_EQ(1.0f, b[1]);
    EXPECT_EQ(2.0f, b[2]);
    EXPECT_EQ(2.0f, b[3]);
    EXPECT_EQ(3.0f, b[4]);
    EXPECT_EQ(3.0f, b[5]);
    ASSERT_EQ(0, AddVertex(m.get(), -5, 7, 3, 0));
    ASSERT_EQ(0, AddVertex(m.get(), 0, -1, 9, 0));
    ASSERT_EQ(0, ModelBounds(m.get(), &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]));
    EXPECT_EQ(-5.0f, b[0]);
    EXPECT_EQ(1.0f, b[1]);
    EXPECT_EQ(-1.0f, b[2]);
    EXPECT_EQ(7.0f, b[3]);
    EXPECT_EQ(3.0f, b[4]);
    EXPECT_EQ(9.0f, b[5]);
}

TEST(ModelTransform, SwapTwiceRestoresAndLeavesFacesAlone) {
    ScopedModel m;
    ASSERT_EQ(0, AddVertex(m.get(), 1, 2, 3, 77));
    ASSERT_EQ(0, AddVertex(m.get(), 4, 5, 6, 0));
    ASSERT_EQ(0, AddFace(m.get(), 0, 1, 0, 2));
    const auto before = ModelState(m.m);
    ASSERT_EQ(0, ModelSwapYZ(m.get()));
    EXPECT_EQ(3.0f, m->vertices[0].y);
    EXPECT_EQ(2.0f, m->vertices[0].z);
    EXPECT_EQ(77u, m->vertices[0].w);
    EXPECT_EQ(1, m->faces[0].b);
    ASSERT_EQ(0, ModelSwapYZ(m.get()));
    EXPECT_EQ(before, ModelState(m.m));
}

TEST(ModelTransform, TranslateMovesEveryVertexOnly) {
    ScopedModel m;
    ASSERT_EQ(0, AddVertex(m.get(), 1, 2, 3, 5));
    ASSERT_EQ(0, AddVertex(m.get(), -1, -2, -3, 6));
    ASSERT_EQ(0, AddDummy(m.get(), 1, 10, 10, 10));
    ASSERT_EQ(0, ModelTranslate(m.get(), 0.5f, -1, 2));
    EXPECT_EQ(1.5f, m->vertices[0].x);
    EXPECT_EQ(1.0f, m->vertices[0].y);
    EXPECT_EQ(5.0f, m->vertices[0].z);
    EXPECT_EQ(-0.5f, m->vertices[1].x);
    EXPECT_EQ(-1.0f, m->vertices[1].z);
    EXPECT_EQ(6u, m->vertices[1].w);
    EXPECT_EQ(10.0f, m->dummies[0].x);
}

} // namespace
