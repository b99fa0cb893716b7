#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "geometry.h"

namespace {
uint32_t Bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}
}  // namespace

TEST(Geometry, FixedValues) {
    EXPECT_EQ(ScreenWidth, 1000.0f);
    EXPECT_EQ(ScreenHeight, 720.0f);
    EXPECT_EQ(FocalScale, 225.0f);
    EXPECT_DOUBLE_EQ(DegreesToRadians, 0.017453292222222222);
    EXPECT_NE(DegreesToRadians, 3.141592653589793 / 180);  // pi is taken as 3.1415926
}

TEST(Geometry, PointSetAndEdgeDirection) {
    Point3D p;
    p.Set(-300, 150, 7);
    EXPECT_EQ(p.x, -300.0f);
    EXPECT_EQ(p.y, 150.0f);
    EXPECT_EQ(p.z, 7.0f);

    Edge3D e;
    e.start.Set(1, 2, 3);
    e.end.Set(-4, 10, 3);
    e.UpdateDirection();
    EXPECT_EQ(e.direction.x, -5.0f);
    EXPECT_EQ(e.direction.y, 8.0f);
    EXPECT_EQ(e.direction.z, 0.0f);
}

TEST(Geometry, NormalizeAngleSubtractsOnlyAbove360) {
    const float cases[][2] = {{725, 5}, {360, 360}, {361, 1}, {-30, -30}, {0, 0}, {1080, 360}};
    for (auto& c : cases) {
        float a = c[0];
        NormalizeAngle(a);
        EXPECT_EQ(a, c[1]) << "from " << c[0];
    }
}

TEST(Geometry, TurnAboutXKeepsTheFloatRadiansResidue) {
    Point3D p;
    p.Set(-300, 300, 0);
    Point3D t = TurnPoint(p, 90, 0, 0);
    EXPECT_EQ(t.x, -300.0f);
    EXPECT_NEAR(t.y, 0.0000226, 0.0000005);
    EXPECT_NE(t.y, 0.0f);  // cos of the float 1.5707963 is about 7.5e-8, not 0
    EXPECT_EQ(t.z, 300.0f);
}

TEST(Geometry, TurnAboutYTurnsPlusXTowardPlusZ) {
    Point3D p;
    p.Set(300, 150, 0);
    Point3D t = TurnPoint(p, 0, 90, 0);
    EXPECT_NEAR(t.x, 0.0000226, 0.0000005);
    EXPECT_EQ(t.y, 150.0f);
    EXPECT_EQ(t.z, 300.0f);
}

TEST(Geometry, TurnRoundsEachStepToFloat) {
    // Reference computed step by step with the stated roundings.
    Point3D p;
    p.x = 25.0f;
    p.y = -25.0f;
    p.z = 25.0f;
    const float ax = -33.0f, ay = 147.0f, az = 33.0f;
    const float rx = float(ax * DegreesToRadians), ry = float(ay * DegreesToRadians),
                rz = float(az * DegreesToRadians);
    const float y1 = float(std::cos(double(rx)) * p.y - std::sin(double(rx)) * p.z);
    const float z1 = float(std::sin(double(rx)) * p.y + std::cos(double(rx)) * p.z);
    const float x2 = float(std::cos(double(ry)) * p.x - std::sin(double(ry)) * z1);
    const float z2 = float(std::sin(double(ry)) * p.x + std::cos(double(ry)) * z1);
    const float x3 = float(std::cos(double(rz)) * x2 - std::sin(double(rz)) * y1);
    const float y3 = float(std::sin(double(rz)) * x2 + std::cos(double(rz)) * y1);
    Point3D t = TurnPoint(p, ax, ay, az);
    EXPECT_EQ(Bits(t.x), Bits(x3));
    EXPECT_EQ(Bits(t.y), Bits(y3));
    EXPECT_EQ(Bits(t.z), Bits(z2));
}

TEST(Geometry, TurnIsAbsoluteAndNormalizesItsAngles) {
    Point3D p;
    p.Set(10, 20, 30);
    Point3D a = TurnPoint(p, 400, 30, 725);
    Point3D b = TurnPoint(p, 40, 30, 5);
    EXPECT_EQ(Bits(a.x), Bits(b.x));
    EXPECT_EQ(Bits(a.y), Bits(b.y));
    EXPECT_EQ(Bits(a.z), Bits(b.z));
    Point3D c = TurnPoint(p, 0, 0, 0);
    EXPECT_EQ(c.x, 10.0f);
    EXPECT_EQ(c.y, 20.0f);
    EXPECT_EQ(c.z, 30.0f);
}

TEST(Geometry, ProjectionOfTheBackWallCorners) {
    Point3D at;
    at.Set(0, 0, 800);
    Point3D corner;
    corner.Set(-300, 150, 0);
    ScreenPoint s = ProjectPoint(corner, at);
    EXPECT_EQ(s.x, 584.375f);
    EXPECT_EQ(s.y, 402.1875f);
    EXPECT_EQ(ToPixel(s.x), 584);
    EXPECT_EQ(ToPixel(s.y), 402);

    corner.Set(300, -150, 0);
    s = ProjectPoint(corner, at);
    EXPECT_EQ(s.x, 415.625f);
    EXPECT_EQ(s.y, 317.8125f);
    EXPECT_EQ(ToPixel(s.x), 415);
    EXPECT_EQ(ToPixel(s.y), 317);
}

TEST(Geometry, ProjectionOfThePaddleAndAMirroredDepth) {
    Point3D at;
    at.Set(0, 0, 200);
    Point3D corner;
    corner.Set(60, 60, 0);
    ScreenPoint s = ProjectPoint(corner, at);
    EXPECT_EQ(s.x, 432.5f);
    EXPECT_EQ(s.y, 427.5f);

    // Local z +25 at position z 400 is drawn as if at depth 375.
    at.Set(0, 0, 400);
    corner.Set(75, 0, 25);
    s = ProjectPoint(corner, at);
    EXPECT_EQ(s.x, 455.0f);
    EXPECT_EQ(s.y, 360.0f);
}

TEST(Geometry, ToPixelTruncatesTowardZeroAndNeverOverflows) {
    EXPECT_EQ(ToPixel(3.9f), 3);
    EXPECT_EQ(ToPixel(-3.9f), -3);
    EXPECT_EQ(ToPixel(INFINITY), 1000000);
    EXPECT_EQ(ToPixel(-INFINITY), -1000000);
    EXPECT_EQ(ToPixel(NAN), 0);
    EXPECT_EQ(ToPixel(3.0e30f), 1000000);

    // A point in the plane of its position divides by zero: still no failure.
    Point3D at, p;
    at.Set(0, 0, 400);
    p.Set(10, 10, 400);
    ScreenPoint s = ProjectPoint(p, at);
    EXPECT_EQ(ToPixel(s.x), 1000000);
    EXPECT_EQ(ToPixel(s.y), -1000000);
}
