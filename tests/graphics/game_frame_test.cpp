// The frame loop driven frame by frame in a real window (offscreen on
// Linux), with a seeded random state, scripted keys and pauses that return
// at once.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game.h"
#include "game_test_support.h"
#include "random.h"

using game_test::CountColor;
using game_test::Describe;
using game_test::SameColor;
using game_test::ScriptedIo;

namespace {

const color CeilingGrey(122, 122, 122);
const color SideGrey(174, 174, 174);

class GameFrame : public ::testing::Test {
protected:
    GameFrame() : win(1000, 720, 5, 5) { win.SetWaitOnClose(false); }

    // A game of the nation and speed, on a random state seeded with `seed`.
    Game& Start(int nation = 1, int speed = 1, int seed = 0) {
        SeedRandomAt(seed);
        scripted.output.str("");
        game = std::make_unique<Game>(win, background, nation, speed, scripted.io);
        return *game;
    }

    // Places the ball so that the next frame's move brings it to (x, y, z).
    void BallArrivesAt(float x, float y, float z, float vx, float vy, float vz) {
        game->court.ball.SetVelocity(vx, vy, vz);
        game->court.ball.position.x = x - vx;
        game->court.ball.position.y = y - vy;
        game->court.ball.position.z = z - vz;
    }

    window win;
    image background;  // empty: nothing is drawn in the back wall
    ScriptedIo scripted;
    std::unique_ptr<Game> game;
};

void ExpectVelocity(const Ball& ball, float x, float y, float z) {
    EXPECT_EQ(ball.velocity.x, x);
    EXPECT_EQ(ball.velocity.y, y);
    EXPECT_EQ(ball.velocity.z, z);
}

}  // namespace

TEST_F(GameFrame, SetUpWritesTheStartingGroupAndSetsTheBallGoing) {
    bool seenGroup[8] = {};
    for (int seed = 0; seed < 60; ++seed) {
        SeedRandomAt(seed);
        const int group = RandomRange(0, 7);
        const int vy = RandomRange(-5, 3);
        const int vx = RandomRange(-1, 6);
        seenGroup[group] = true;

        Game& g = Start(2, 5, seed);
        EXPECT_EQ(scripted.output.str(), std::to_string(group)) << "the group alone, no line break";
        const Ball& ball = g.court.ball;
        if (group <= 1) {
            ExpectVelocity(ball, 7.5f, 1.5f, 5);
        } else if (group <= 3) {
            ExpectVelocity(ball, 1.5f, 7.5f, 5);
        } else {
            ExpectVelocity(ball, float(vx), float(vy), 5);
        }
        EXPECT_EQ(g.score, 0);
        EXPECT_EQ(g.level, 1);
        EXPECT_EQ(g.pointsPerHit, 50);
        EXPECT_EQ(g.spinAngle, 0.0f);
        EXPECT_FALSE(g.quit);
        EXPECT_TRUE(g.lossEnabled);
    }
    for (int group = 0; group < 8; ++group) EXPECT_TRUE(seenGroup[group]) << group;
}

TEST_F(GameFrame, FirstFrameMovesTheBallThenDrawsTheCourt) {
    Game& g = Start(1, 5, 0);
    const Point3D v = g.court.ball.velocity;
    g.RunFrame();
    EXPECT_EQ(g.court.ball.position.x, v.x);
    EXPECT_EQ(g.court.ball.position.y, v.y);
    EXPECT_EQ(g.court.ball.position.z, 400 + v.z);
    EXPECT_EQ(g.court.ball.faces[0].position.z, 400 + v.z);
    EXPECT_EQ(g.spinAngle, 3.0f);
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(scripted.polls, 1);

    // Paddle, ceiling, side walls and the white clear, in the back buffer.
    const struct { int x, y; color expected; const char* what; } points[] = {
        {445, 305, BLUE, "paddle"},          {420, 305, CeilingGrey, "ceiling"},
        {300, 360, SideGrey, "left wall"},   {700, 360, SideGrey, "right wall"},
        {500, 470, WHITE, "floor"},          {500, 600, WHITE, "below the court"},
    };
    for (const auto& p : points) {
        const color c = win.GetColor(p.x, p.y);
        EXPECT_TRUE(SameColor(c, p.expected)) << p.what << " is " << Describe(c);
    }
    // The ball: green in the middle of the court.
    EXPECT_GT(CountColor(win, 470, 330, 540, 400, GREEN), 20);
    // Title text in black across the top.
    EXPECT_GT(CountColor(win, 340, 20, 700, 75, BLACK), 40);
}

TEST_F(GameFrame, PaddleMovesInStepsOfThirtyWithinItsBounds) {
    Game& g = Start(1, 1, 0);
    const Point3D& p = g.court.paddle.position;
    auto press = [&](char key) {
        scripted.Type(std::string(1, key));
        g.RunFrame();
    };
    press('4');
    EXPECT_EQ(p.x, 30.0f);
    for (int i = 0; i < 9; ++i) press('4');
    EXPECT_EQ(p.x, 240.0f) << "key 4 at x 240 does nothing";
    press('1');
    EXPECT_EQ(p.x, 240.0f) << "a diagonal needs both of its conditions";
    EXPECT_EQ(p.y, 0.0f);
    for (int i = 0; i < 4; ++i) press('2');
    EXPECT_EQ(p.y, 90.0f);
    press('6');
    EXPECT_EQ(p.x, 210.0f);
    press('1');
    EXPECT_EQ(p.x, 210.0f) << "key 1 at y 90 does nothing although x is below 240";
    EXPECT_EQ(p.y, 90.0f);
    press('3');
    EXPECT_EQ(p.y, 90.0f);
    press('7');
    EXPECT_EQ(p.x, 240.0f);
    EXPECT_EQ(p.y, 60.0f);
    press('9');
    EXPECT_EQ(p.x, 210.0f);
    EXPECT_EQ(p.y, 30.0f);
    for (int i = 0; i < 5; ++i) press('8');
    EXPECT_EQ(p.y, -90.0f);
    press('9');
    EXPECT_EQ(p.y, -90.0f);
    press('3');
    EXPECT_EQ(p.x, 180.0f);
    EXPECT_EQ(p.y, -60.0f);
    for (char other : std::string("05ax+ ")) press(other);
    EXPECT_EQ(p.x, 180.0f);
    EXPECT_EQ(p.y, -60.0f);
    for (int i = 0; i < 20; ++i) press('6');
    EXPECT_EQ(p.x, -240.0f);
    press('1');
    EXPECT_EQ(p.x, -210.0f);
    EXPECT_EQ(p.y, -30.0f);
    EXPECT_EQ(p.z, 200.0f);
    EXPECT_TRUE(scripted.pauses.empty());
}

TEST_F(GameFrame, KeyFourDrawsThePaddleFurtherLeft) {
    Game& g = Start(1, 1, 0);
    g.RunFrame();
    EXPECT_TRUE(SameColor(win.GetColor(420, 305), CeilingGrey));
    scripted.Type("4");
    g.RunFrame();
    EXPECT_TRUE(SameColor(win.GetColor(420, 305), BLUE)) << Describe(win.GetColor(420, 305));
    EXPECT_TRUE(SameColor(win.GetColor(550, 305), CeilingGrey));
}

TEST_F(GameFrame, QuitKeysEndTheGameAfterTheWholeFrame) {
    for (char key : {'q', 'Q'}) {
        Game& g = Start(1, 1, 0);
        scripted.Type("44");
        scripted.Type(std::string(1, key));
        scripted.Type("4");
        g.Play();
        EXPECT_TRUE(g.quit);
        EXPECT_EQ(scripted.keys.size(), 1u) << "no frame after the one that read " << key;
        scripted.keys.clear();
        EXPECT_EQ(g.court.paddle.position.x, 60.0f);
        EXPECT_EQ(g.spinAngle, 9.0f);
        EXPECT_EQ(g.court.ball.position.z, 403.0f);
    }
}

TEST_F(GameFrame, QuitFrameStillScoresAndMayLoseTheRally) {
    Game& g = Start(1, 1, 0);
    BallArrivesAt(0, 0, 190, 0, 0, -1);
    scripted.Type("q");
    g.RunFrame();
    EXPECT_TRUE(g.quit);
    ASSERT_EQ(scripted.pauses.size(), 1u);
    EXPECT_EQ(scripted.pauses[0], 4000u);
}

TEST_F(GameFrame, LevelTableAppliesToTheScoreOfEveryFrame) {
    const struct { int score, level, points; } rows[] = {
        {2999, 1, 50},  {3000, 1, 75},  {4999, 1, 75},   {5000, 2, 100},  {7999, 2, 100},
        {8000, 3, 125}, {13999, 3, 125}, {14000, 4, 125}, {19999, 4, 125},
    };
    for (const auto& row : rows) {
        Game& g = Start(1, 1, 0);
        g.score = row.score;
        g.RunFrame();
        EXPECT_EQ(g.score, row.score) << "no contact in this frame";
        EXPECT_EQ(g.level, row.level) << row.score;
        EXPECT_EQ(g.pointsPerHit, row.points) << row.score;
    }
    // 20000 changes nothing and the rally can still be lost.
    Game& g = Start(1, 1, 0);
    g.score = 20000;
    g.level = 2;
    g.pointsPerHit = 100;
    g.RunFrame();
    EXPECT_EQ(g.level, 2);
    EXPECT_EQ(g.pointsPerHit, 100);
    EXPECT_TRUE(g.lossEnabled);
    BallArrivesAt(0, 0, 185, 0, 0, -1);
    g.RunFrame();
    EXPECT_EQ(scripted.pauses.size(), 1u);
    EXPECT_EQ(g.score, 0);
}

TEST_F(GameFrame, AHitReachingThreeThousandChangesTheLevelAtOnce) {
    Game& g = Start(1, 1, 0);
    g.score = 2950;
    BallArrivesAt(0, 0, 796, 0, 0, 1);
    g.RunFrame();
    EXPECT_EQ(g.score, 3000);
    EXPECT_EQ(g.level, 1);
    EXPECT_EQ(g.pointsPerHit, 75);
    EXPECT_EQ(g.court.ball.velocity.z, -1.0f);
}

TEST_F(GameFrame, CornerHitScoresAndBouncesTwice) {
    Game& g = Start(1, 1, 0);
    BallArrivesAt(295, 148, 500, 1, 1, 1);  // floor and left wall at once
    g.RunFrame();
    EXPECT_EQ(g.score, 100);
    ExpectVelocity(g.court.ball, -1, -1, 1);
}

TEST_F(GameFrame, DepthOneNinetyScoresOffThePaddleThenLoses) {
    Game& g = Start(1, 1, 0);
    g.spinAngle = 30;
    BallArrivesAt(0, 0, 190, 0, 0, -1);

    SeedRandomAt(77);
    RandomRange(-6, 6);  // the paddle's bounce
    RandomRange(-4, 5);
    const int vy = RandomRange(1, 3);  // the new rally
    const int vx = RandomRange(4, 8);
    SeedRandomAt(77);

    int scoreShown = -1;
    int blackInGameOver = 0, blackInScore = 0, greenBall = 0;
    scripted.duringPause = [&](uint32_t) {
        scoreShown = g.score;
        blackInGameOver = CountColor(win, 220, 260, 780, 370, BLACK, 3);
        blackInScore = CountColor(win, 400, 460, 520, 560, BLACK, 3);
        greenBall = CountColor(win, 440, 320, 560, 440, GREEN, 3);
    };
    g.RunFrame();

    ASSERT_EQ(scripted.pauses.size(), 1u);
    EXPECT_EQ(scripted.pauses[0], 4000u);
    EXPECT_EQ(scoreShown, 50) << "the paddle's hit counts before the rally is lost";
    EXPECT_GT(blackInGameOver, 100) << "GAME OVER drawn";
    EXPECT_GT(blackInScore, 5) << "the score drawn under it";
    EXPECT_GT(greenBall, 20) << "the ball drawn where it was lost";
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(g.level, 1);
    ExpectVelocity(g.court.ball, float(vx), float(vy), 3.0f);
    EXPECT_EQ(g.court.ball.position.z, 400.0f);
    EXPECT_EQ(g.spinAngle, 33.0f);
}

TEST_F(GameFrame, LostRallyResetsScorePaddleAndBallOnly) {
    Game& g = Start(3, 8, 5);
    scripted.Type("47");
    g.RunFrame();
    g.RunFrame();
    g.score = 9000;
    g.level = 3;
    g.pointsPerHit = 125;
    const float spin = g.spinAngle;
    BallArrivesAt(100, 50, 184, 2, 2, -4);  // past the paddle, onto the loss plane
    g.RunFrame();
    ASSERT_EQ(scripted.pauses.size(), 1u);
    EXPECT_EQ(g.score, 0);
    EXPECT_EQ(g.level, 1);
    EXPECT_EQ(g.pointsPerHit, 125) << "kept until the score next reaches 3000";
    EXPECT_EQ(g.spinAngle, spin + 3);
    EXPECT_EQ(g.court.paddle.position.x, 0.0f);
    EXPECT_EQ(g.court.paddle.position.y, 0.0f);
    EXPECT_EQ(g.court.paddle.position.z, 200.0f);
    EXPECT_EQ(g.court.ball.position.x, 0.0f);
    EXPECT_EQ(g.court.ball.position.z, 400.0f);
    EXPECT_EQ(g.court.ball.velocity.z, 3.0f) << "the depth speed is 3 whatever the chosen speed";
    EXPECT_EQ(g.court.ball.faces[0].position.x, 100.0f) << "the sides follow only at the next move";
    EXPECT_FALSE(g.quit);

    // Play goes on in the same game: the next frame starts from the centre.
    const Point3D v = g.court.ball.velocity;
    g.RunFrame();
    EXPECT_EQ(g.court.ball.position.x, v.x);
    EXPECT_EQ(g.court.ball.position.z, 403.0f);
    EXPECT_EQ(scripted.pauses.size(), 1u);
}

TEST_F(GameFrame, AboveTwentyThousandNoRallyIsLostAndTheLevelClimbs) {
    Game& g = Start(1, 2, 0);
    g.score = 20001;
    g.level = 4;
    g.court.ball.SetVelocity(0, 0, 2);
    g.RunFrame();
    EXPECT_FALSE(g.lossEnabled);
    EXPECT_EQ(g.level, 5);
    EXPECT_EQ(g.court.ball.velocity.z, 4.0f);

    BallArrivesAt(0, 0, 180, 0, 0, -3);
    g.RunFrame();
    EXPECT_TRUE(scripted.pauses.empty()) << "the loss plane no longer counts";
    EXPECT_EQ(g.level, 6);
    EXPECT_EQ(g.court.ball.velocity.z, -5.0f);

    g.court.ball.velocity.z = 0;
    g.RunFrame();
    EXPECT_EQ(g.court.ball.velocity.z, 0.0f) << "a zero depth speed stays zero";
    EXPECT_EQ(g.level, 7);
}

TEST_F(GameFrame, EveryNewGameCanBeLostAgain) {
    Game& first = Start(1, 1, 0);
    first.score = 25000;
    first.RunFrame();
    ASSERT_FALSE(first.lossEnabled);

    Game& second = Start(1, 1, 0);
    EXPECT_TRUE(second.lossEnabled);
    BallArrivesAt(0, 0, 185, 0, 0, -1);
    second.RunFrame();
    EXPECT_EQ(scripted.pauses.size(), 1u);
}

TEST_F(GameFrame, TheBallFlyingFarAwayIsDrawnWithoutFault) {
    Game& g = Start(1, 1, 0);
    g.score = 20001;
    // At the viewer, beside the paddle, through the plane of the eye and
    // beyond.
    g.court.ball.position.x = 150;
    g.court.ball.SetVelocity(0.5f, 0.25f, -37);
    for (int i = 0; i < 60 && !g.quit; ++i) g.RunFrame();
    EXPECT_LT(g.court.ball.position.z, -1000.0f);
    EXPECT_FALSE(g.quit);
}
