#include <gtest/gtest.h>

#include "ball.h"

namespace {
void ExpectPoint(const Point3D& p, float x, float y, float z) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
}
}  // namespace

TEST(BallConstruction, SidesOfTheGamesBall) {
    Ball ball(50, 0, 0, 400);
    EXPECT_EQ(ball.size, 50.0f);
    ExpectPoint(ball.position, 0, 0, 400);
    ExpectPoint(ball.velocity, 0, 0, 0);
    for (const Face& side : ball.faces) {
        EXPECT_EQ(side.height, 50.0f);
        EXPECT_EQ(side.width, 50.0f);
        ExpectPoint(side.position, 0, 0, 400);
        EXPECT_EQ(side.outlineWidth, 1);
        EXPECT_EQ(side.colorCode, 0);
        for (int i = 0; i < 4; ++i) ExpectPoint(side.turned[i], side.corners[i].x, side.corners[i].y, side.corners[i].z);
    }
    const Face& far = ball.faces[1];
    ExpectPoint(far.corners[0], -25, 25, 25);
    ExpectPoint(far.corners[1], 25, 25, 25);
    ExpectPoint(far.corners[2], 25, -25, 25);
    ExpectPoint(far.corners[3], -25, -25, 25);
}

TEST(BallConstruction, EverySideLiesInItsOwnPlane) {
    Ball ball(50, 0, 0, 400);
    // side: axis (0 x, 1 y, 2 z) and value shared by its four corners
    const struct { int axis; float value; } planes[6] = {{1, 25}, {2, 25}, {2, -25}, {1, -25}, {0, -25}, {0, 25}};
    for (int s = 0; s < 6; ++s) {
        for (const Point3D& c : ball.faces[s].corners) {
            const float v = planes[s].axis == 0 ? c.x : planes[s].axis == 1 ? c.y : c.z;
            EXPECT_EQ(v, planes[s].value) << "side " << s;
        }
    }
    // Together the sides use all eight corners of the cube.
    int seen = 0;
    for (int code = 0; code < 8; ++code) {
        const float x = code & 1 ? 25 : -25, y = code & 2 ? 25 : -25, z = code & 4 ? 25 : -25;
        bool found = false;
        for (const Face& side : ball.faces)
            for (const Point3D& c : side.corners) found |= c.x == x && c.y == y && c.z == z;
        seen += found;
    }
    EXPECT_EQ(seen, 8);
}

TEST(BallConstruction, OddSizeKeepsHalfUnitsInTheCorners) {
    Ball ball(51, 3, -4, 400);
    ExpectPoint(ball.faces[0].corners[0], -25.5f, 25.5f, 25.5f);
    ExpectPoint(ball.faces[5].corners[2], 25.5f, -25.5f, -25.5f);
    EXPECT_EQ(ball.faces[0].width, 51.0f);
    ExpectPoint(ball.faces[0].position, 3, -4, 400);
}

TEST(BallFlight, MoveCarriesTheSidesAlong) {
    Ball ball(50, 0, 0, 400);
    ball.SetVelocity(6, 1.2f, 4);
    ball.Move();
    ExpectPoint(ball.position, 6, 1.2f, 404);
    for (const Face& side : ball.faces) ExpectPoint(side.position, 6, 1.2f, 404);
    ball.Move();
    ExpectPoint(ball.position, 12, 2.4f, 408);
}

TEST(BallFlight, WrittenPositionReachesTheSidesOnlyAtTheNextMove) {
    Ball ball(50, 0, 0, 400);
    ball.SetVelocity(1, 0, 0);
    ball.Move();
    ball.position.Set(0, 0, 400);
    for (const Face& side : ball.faces) ExpectPoint(side.position, 1, 0, 400);
    ball.Move();
    for (const Face& side : ball.faces) ExpectPoint(side.position, 1, 0, 400);
    ExpectPoint(ball.position, 1, 0, 400);
}

TEST(BallSpin, TurnStartsFromTheUntouchedCorners) {
    Ball ball(50, 0, 0, 400);
    ball.Turn(0, 180, 0);
    const Point3D& c = ball.faces[1].turned[0];
    EXPECT_NEAR(c.x, 25, 1e-4);
    EXPECT_NEAR(c.y, 25, 1e-4);
    EXPECT_NEAR(c.z, -25, 1e-4);
    ExpectPoint(ball.faces[1].corners[0], -25, 25, 25);

    // The same turn twice gives the same result: turns are not added up.
    const Point3D once = ball.faces[3].turned[2];
    ball.Turn(0, 180, 0);
    ExpectPoint(ball.faces[3].turned[2], once.x, once.y, once.z);

    // The game's spin for spinAngle 30.
    ball.Turn(-30, 150, 30);
    for (int s = 0; s < 6; ++s)
        for (int i = 0; i < 4; ++i) {
            const Point3D expect = TurnPoint(ball.faces[s].corners[i], -30, 150, 30);
            ExpectPoint(ball.faces[s].turned[i], expect.x, expect.y, expect.z);
        }
}
