#include <gtest/gtest.h>

#include "face.h"
#include "random.h"

#include <climits>
#include <limits>

namespace {

Point3D P(float x, float y, float z) {
    Point3D p;
    p.x = x;
    p.y = y;
    p.z = z;
    return p;
}

void ExpectPoint(const Point3D& p, float x, float y, float z) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
}

// The court's faces as the game builds them.
Face Paddle() { return Face(120, 120, 0, 0, 200.0f, 16); }
Face BackWall() { return Face(300, 600, 0, 0, 800, 32); }
Face LossPlane() { return Face(320, 620, 0, 0, 180, 0); }
Face Floor() {
    Face f(600, 600, 0, 150, 500, 32);
    f.TurnInPlace(90, 0, 0);
    f.bounceKind = BounceVertical;
    return f;
}
Face Ceiling() {
    Face f(600, 600, 0, -150, 500, 32);
    f.TurnInPlace(90, 0, 0);
    f.bounceKind = BounceVertical;
    return f;
}
Face LeftWall() {
    Face f(300, 600, 300, 0, 500, 32);
    f.TurnInPlace(0, 90, 0);
    f.bounceKind = BounceSideways;
    return f;
}
Face RightWall() {
    Face f(300, 600, -300, 0, 500, 32);
    f.TurnInPlace(0, 90, 0);
    f.bounceKind = BounceSideways;
    return f;
}

}  // namespace

TEST(FaceSetup, PaddleCornersPlaneAndOutline) {
    Face paddle = Paddle();
    ExpectPoint(paddle.corners[0], -60, 60, 0);
    ExpectPoint(paddle.corners[1], 60, 60, 0);
    ExpectPoint(paddle.corners[2], 60, -60, 0);
    ExpectPoint(paddle.corners[3], -60, -60, 0);
    for (int i = 0; i < 4; ++i) ExpectPoint(paddle.turned[i], paddle.corners[i].x, paddle.corners[i].y, 0);
    EXPECT_EQ(paddle.outlineWidth, 4);
    EXPECT_EQ(paddle.colorCode, 16);
    EXPECT_EQ(paddle.height, 120.0f);
    EXPECT_EQ(paddle.width, 120.0f);
    ExpectPoint(paddle.normal, 0, 0, -14400);
    EXPECT_EQ(paddle.planeConstant, -2880000.0f);
}

TEST(FaceSetup, PositionAndHalfExtentsAreTruncated) {
    Face f(10, 51, 10.9f, -3.7f, 200.5f, 0);
    ExpectPoint(f.position, 10, -3, 200);
    ExpectPoint(f.corners[0], -25, 5, 0);
    ExpectPoint(f.corners[2], 25, -5, 0);
    EXPECT_EQ(f.width, 51.0f);

    Face wall = BackWall();
    ExpectPoint(wall.corners[0], -300, 150, 0);
    ExpectPoint(wall.corners[1], 300, 150, 0);
    ExpectPoint(wall.corners[2], 300, -150, 0);
    ExpectPoint(wall.corners[3], -300, -150, 0);
}

TEST(FaceSetup, SetCornersReplacesOnlyTheCorners) {
    Face f = Paddle();
    f.SetCorners(P(1, 2, 3), P(4, 5, 6), P(7, 8, 9), P(10, 11, 12.5f));
    ExpectPoint(f.corners[3], 10, 11, 12.5f);
    ExpectPoint(f.turned[0], -60, 60, 0);  // turned and the plane wait for ResetTurned
    EXPECT_EQ(f.planeConstant, -2880000.0f);
    f.ResetTurned();
    ExpectPoint(f.turned[3], 10, 11, 12.5f);
    EXPECT_NE(f.planeConstant, -2880000.0f);
}

TEST(FacePlane, NormalsAndPlaneConstantsOfTheCourt) {
    struct Case {
        const char* name;
        Face face;
        float nx, ny, nz, constant;
    } cases[] = {
        {"paddle", Paddle(), 0, 0, -14400, -2880000},
        {"back wall", BackWall(), 0, 0, -180000, -144000000},
        {"loss plane", LossPlane(), 0, 0, -198400, -35712000},
        {"floor", Floor(), 0, 360000, -600, 53520000},
        {"ceiling", Ceiling(), 0, 360000, -600, -54120000},
        {"left wall", LeftWall(), 180000, 0, -300, 53760000},
        {"right wall", RightWall(), 180000, 0, -300, -54060000},
    };
    for (Case& c : cases) {
        c.face.ComputePlane();
        EXPECT_EQ(c.face.normal.x, c.nx) << c.name;
        EXPECT_EQ(c.face.normal.y, c.ny) << c.name;
        EXPECT_EQ(c.face.normal.z, c.nz) << c.name;
        EXPECT_EQ(c.face.planeConstant, c.constant) << c.name;
    }
}

TEST(FacePlane, FloorEdgesAreTruncatedIntoTheWorld) {
    Face floor = Floor();
    floor.ComputePlane();
    ExpectPoint(floor.edgeA.start, -300, 150, 800);
    ExpectPoint(floor.edgeA.end, 300, 150, 800);
    ExpectPoint(floor.edgeB.start, -300, 150, 800);
    ExpectPoint(floor.edgeB.end, 300, 149, 200);  // 150 - 0.0000226 truncates to 149
    ExpectPoint(floor.edgeA.direction, 600, 0, 0);
    ExpectPoint(floor.edgeB.direction, 600, -1, -600);
}

TEST(FaceTurn, TurnInPlaceKeepsTheTurnAndTurnDoesNot) {
    Face a = Paddle();
    a.Turn(0, 0, 90);
    EXPECT_NEAR(a.turned[0].x, -60, 0.001);  // (-60, 60) turned a quarter about z
    EXPECT_NEAR(a.turned[0].y, -60, 0.001);
    ExpectPoint(a.corners[0], -60, 60, 0);

    Face b = Paddle();
    b.TurnInPlace(0, 0, 90);
    EXPECT_NEAR(b.corners[0].x, -60, 0.001);
    EXPECT_NEAR(b.corners[0].y, -60, 0.001);
    EXPECT_EQ(b.turned[0].x, b.corners[0].x);
    EXPECT_EQ(b.turned[0].y, b.corners[0].y);
    // A second Turn starts again from the corners: turns do not add up.
    a.Turn(0, 0, 0);
    ExpectPoint(a.turned[0], -60, 60, 0);
}

TEST(FaceProject, ScreenPointsOfTheBackWallAndPaddle) {
    Face wall = BackWall();
    wall.Project();
    EXPECT_FLOAT_EQ(wall.screenPoints[0].x, 584.375f);
    EXPECT_FLOAT_EQ(wall.screenPoints[0].y, 402.1875f);
    EXPECT_FLOAT_EQ(wall.screenPoints[2].x, 415.625f);
    EXPECT_FLOAT_EQ(wall.screenPoints[2].y, 317.8125f);

    Face paddle = Paddle();
    paddle.Project();
    EXPECT_FLOAT_EQ(paddle.screenPoints[2].x, 432.5f);  // corner (60, -60)
    EXPECT_FLOAT_EQ(paddle.screenPoints[1].y, 427.5f);  // corner (60, 60)
}

TEST(FaceContact, PaddleLimitsIncludeTheWidenedBoxBounds) {
    Face paddle = Paddle();
    EXPECT_TRUE(paddle.Touches(70, 0, 200));
    EXPECT_FALSE(paddle.Touches(70.5f, 0, 200));
    EXPECT_TRUE(paddle.Touches(-70, 70, 210));
    EXPECT_FALSE(paddle.Touches(0, -70.5f, 200));
    EXPECT_FALSE(paddle.Touches(0, 0, 189.9f));
    EXPECT_TRUE(paddle.Touches(0, 0, 190));
    EXPECT_FALSE(paddle.Touches(0, 0, 210.1f));

    paddle.position.Set(240, -90, 200);
    EXPECT_TRUE(paddle.Touches(310, -160, 200));
    EXPECT_FALSE(paddle.Touches(169, -90, 200));
}

TEST(FaceContact, WallBoxesAndBands) {
    Face back = BackWall();
    EXPECT_TRUE(back.Touches(0, 0, 790));
    EXPECT_FALSE(back.Touches(0, 0, 789.5f));
    EXPECT_TRUE(back.Touches(310, 160, 810));

    Face loss = LossPlane();
    EXPECT_TRUE(loss.Touches(0, 0, 190));
    EXPECT_TRUE(loss.Touches(0, 0, 170));
    EXPECT_FALSE(loss.Touches(0, 0, 191));

    Face left = LeftWall();
    EXPECT_TRUE(left.Touches(290, 0, 500));
    EXPECT_FALSE(left.Touches(289.9f, 0, 500));
    Face right = RightWall();
    EXPECT_TRUE(right.Touches(-310, 0, 500));
    EXPECT_FALSE(right.Touches(-311, 0, 500));
}

TEST(FaceContact, InsideTheBoxButOutsideTheBandIsNoContact) {
    // The floor's box reaches from y 140 to 160, its band only 8.3 around the
    // plane, which lies near y 149.5 at depth 500.
    Face floor = Floor();
    Point3D v = P(1, 2, 3);
    EXPECT_FALSE(floor.HitTest(0, 141, 500, v));
    ExpectPoint(v, 1, 2, 3);
    EXPECT_TRUE(floor.HitTest(0, 142, 500, v));
    ExpectPoint(v, 1, -2, 3);
    EXPECT_TRUE(floor.Touches(0, 157, 500));
    EXPECT_FALSE(floor.Touches(0, 158.5f, 500));
}

TEST(FaceContact, BoxFollowsTurnInPlaceButNotTurn) {
    // A wide, low bar in the plane z = 200, stood upright by a quarter turn
    // about z: only a turn in place moves the box with it.
    Face turnedForDrawing(20, 600, 0, 0, 200, 0);
    turnedForDrawing.Turn(0, 0, 90);
    EXPECT_FALSE(turnedForDrawing.Touches(0, 100, 200));
    EXPECT_TRUE(turnedForDrawing.Touches(100, 0, 200));

    Face turnedForGood(20, 600, 0, 0, 200, 0);
    turnedForGood.TurnInPlace(0, 0, 90);
    EXPECT_TRUE(turnedForGood.Touches(0, 100, 200));
    EXPECT_FALSE(turnedForGood.Touches(100, 0, 200));
}

TEST(FaceBounce, KindsChangeTheVelocityAsTheyShould) {
    Face f = Paddle();
    f.bounceKind = BounceSideways;
    Point3D v = P(5, 2, -3);
    f.Bounce(v);
    ExpectPoint(v, -5, 2, -3);

    f.bounceKind = BounceVertical;
    f.Bounce(v);
    ExpectPoint(v, -5, -2, -3);

    SeedRandomAt(99);
    f.bounceKind = 7;  // no such kind: nothing changes and nothing is drawn
    f.Bounce(v);
    ExpectPoint(v, -5, -2, -3);
    const int next = RandomNext();
    SeedRandomAt(99);
    EXPECT_EQ(RandomNext(), next);
}

TEST(FaceBounce, DepthBounceDrawsAcrossThenUp) {
    for (int seed : {0, 1, 12345, 1700000000}) {
        SeedRandomAt(seed);
        const int x = RandomRange(-6, 6);
        const int y = RandomRange(-4, 5);
        const int after = RandomNext();

        SeedRandomAt(seed);
        Face f = BackWall();
        f.bounceKind = BounceDepth;
        Point3D v = P(3, 3, 4.5f);
        EXPECT_TRUE(f.HitTest(0, 0, 800, v));
        EXPECT_EQ(v.x, float(x)) << seed;
        EXPECT_EQ(v.y, float(y)) << seed;
        EXPECT_EQ(v.z, -4.5f);
        EXPECT_GE(v.x, -6);
        EXPECT_LE(v.x, 6);
        EXPECT_GE(v.y, -4);
        EXPECT_LE(v.y, 5);
        EXPECT_EQ(RandomNext(), after) << "a depth bounce makes exactly two range draws";
    }
}

TEST(FaceTruncate, ToIntTruncatesTowardZeroAndStaysDefined) {
    EXPECT_EQ(TruncateToInt(299.99998), 299);
    EXPECT_EQ(TruncateToInt(-3.7), -3);
    EXPECT_EQ(TruncateToInt(1e30), INT_MAX);
    EXPECT_EQ(TruncateToInt(-1e30), INT_MIN);
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}
