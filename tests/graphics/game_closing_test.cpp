// The unlosable phase played to its end: the closing picture of the
// nation, shown for seven seconds, then the game is over.
#include <gtest/gtest.h>

#include <cstring>

#include "game.h"
#include "game_test_support.h"
#include "picture_files.h"
#include "random.h"

using game_test::Describe;
using game_test::SameColor;
using game_test::ScriptedIo;

namespace {

// The colour of pixel (x, y) of a loaded picture.
color PictureColor(const image& picture, int x, int y) {
    const unsigned char* p = picture.Pixels() + (static_cast<size_t>(y) * picture.Width() + x) * 4;
    return color(p[2], p[1], p[0]);
}

}  // namespace

TEST(GameClosing, UnlosablePhaseEndsWithTheNationsPicture) {
    const std::string folder = game_test::MakePictureFolder("closing", false, true);
    const struct { int nation; const char* file; int x; } cases[] = {
        {0, "PictureFiles/frame4.jpg", 350}, {6, "PictureFiles/frame4.jpg", 350},
        {42, "PictureFiles/frame4.jpg", 350}, {1, "PictureFiles/frame1.jpg", 300},
        {3, "PictureFiles/frame3.jpg", 260},
    };
    for (const auto& c : cases) {
        window win(1000, 720, 5, 5);
        win.SetWaitOnClose(false);
        image background;
        ScriptedIo scripted("", {folder});
        image expected(folder + c.file, IK_JPEG);
        const int w = expected.Width(), h = expected.Height();
        ASSERT_GT(w, 0);

        int mismatches = 0, framesBefore = 0;
        bool leftOfPictureWhite = false, rightOfPictureWhite = false;
        scripted.duringPause = [&](uint32_t) {
            for (int y = 0; y < h; y += 7)
                for (int x = 0; x < w; x += 7) {
                    const color seen = win.GetColor(c.x + x, 20 + y);
                    if (!SameColor(seen, PictureColor(expected, x, y))) {
                        if (mismatches++ < 3)
                            ADD_FAILURE() << "nation " << c.nation << " at " << x << "," << y << ": " << Describe(seen);
                    }
                }
            leftOfPictureWhite = SameColor(win.GetColor(c.x - 1, 20 + h / 2), WHITE);
            rightOfPictureWhite = SameColor(win.GetColor(c.x + w, 20 + h / 2), WHITE);
        };

        SeedRandomAt(c.nation + 1000);
        Game game(win, background, c.nation, 3, scripted.io);
        game.score = 20001;
        scripted.io.pollKey = [&](window&) {
            ++framesBefore;
            return char(0);
        };
        game.Play();

        EXPECT_TRUE(game.quit);
        EXPECT_EQ(game.level, 111) << "the level passed 110";
        EXPECT_EQ(framesBefore, 110);
        ASSERT_EQ(scripted.pauses.size(), 1u) << "nation " << c.nation;
        EXPECT_EQ(scripted.pauses[0], 7000u);
        EXPECT_EQ(mismatches, 0) << "nation " << c.nation;
        EXPECT_TRUE(leftOfPictureWhite) << "nation " << c.nation;
        EXPECT_TRUE(rightOfPictureWhite) << "nation " << c.nation;
    }
}

TEST(GameClosing, MissingClosingPictureIsReportedByName) {
    const std::string folder = game_test::MakePictureFolder("closing_missing", true, false);
    window win(1000, 720, 5, 5);
    win.SetWaitOnClose(false);
    image background;
    ScriptedIo scripted("", {folder});
    SeedRandomAt(1);
    Game game(win, background, 2, 3, scripted.io);
    game.score = 30000;
    try {
        game.Play();
        FAIL() << "a missing picture went unnoticed";
    } catch (const PictureFileError& failure) {
        EXPECT_EQ(failure.fileName, "PictureFiles/frame2.jpg");
        EXPECT_EQ(failure.code, ERR_NO_FILE);
    }
    EXPECT_TRUE(scripted.pauses.empty());
}
