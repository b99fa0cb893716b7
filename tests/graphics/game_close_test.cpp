// Closing the game's window with its close box ends the game after the
// frame, as Q does, and the last window's destruction does not wait for a
// click that can no longer come.
#include <gtest/gtest.h>

#include <chrono>

#include "game.h"
#include "game_test_support.h"
#include "input_injection.h"
#include "random.h"
#include "window_test_access.h"

using game_test::ScriptedIo;

TEST(GameClose, CloseBoxEndsTheGameAndTheLastWindowClosesWithoutAClick) {
    image background;
    ScriptedIo scripted;
    int frames = 0;
    const auto start = std::chrono::steady_clock::now();
    {
        window win(1000, 720, 5, 5);  // the only window: its destruction would wait for a click
        SeedRandomAt(3);
        Game game(win, background, 1, 2, scripted.io);
        game.RunFrame();
        game.RunFrame();
        ASSERT_FALSE(game.quit);
        ASSERT_TRUE(win.IsOpen());

        inject::Close(WindowTestAccess::Handle(win));
        while (!game.quit && frames < 50) {
            game.RunFrame();
            ++frames;
        }
        EXPECT_TRUE(game.quit);
        EXPECT_FALSE(win.IsOpen());
        EXPECT_LE(frames, 10) << "the game ends within a few frames of the close";
        EXPECT_EQ(game.spinAngle, 3.0f * (frames + 2)) << "the last frame ran to its end";
        win.SetBuffering(false);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 10.0) << "the destruction did not wait for a click";
}

TEST(GameClose, ClosedWindowBringsTheMenuBack) {
    const std::string folder = game_test::MakePictureFolder("close_menu", true, false);
    ScriptedIo scripted("1\n3\n5\n", {folder});
    int polls = 0;
    scripted.io.pollKey = [&polls](window& win) {
        if (++polls == 3) inject::Close(WindowTestAccess::Handle(win));
        return char(0);
    };
    Program program(scripted.io);
    EXPECT_EQ(program.Run(), 0);
    EXPECT_GE(polls, 4);
    EXPECT_LE(polls, 12);
    // The menu came back after the game, and 5 ended the program.
    const std::string w = scripted.output.str();
    const std::string menuEnd = "5 <I don't care, I want to quit>\n";
    ASSERT_GE(w.size(), menuEnd.size());
    EXPECT_EQ(w.substr(w.size() - menuEnd.size()), menuEnd);
    EXPECT_NE(w.find(menuEnd), w.rfind(menuEnd)) << "the menu was shown twice";
}
