// Closing the game's window with its close box ends the game after the
// frame, as Q does, and the last window's destruction does not wait for a
// click that can no longer come.
#include <gtest/gtest.h>

#include <chrono>

#include "game.h"
#include "game_test_support.h"
#include "input_injection.h"
#include "picture_files.h"
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

// A failure inside a game (here a key source that throws, as a missing
// closing picture does) ends the program: the window closes without first
// waiting for a click, and the failure reaches the caller.
TEST(GameClose, FailureInAGameClosesTheWindowWithoutWaiting) {
    const std::string folder = game_test::MakePictureFolder("close_failure", true, false);
    ScriptedIo scripted("", {folder});
    int polls = 0;
    scripted.io.pollKey = [&polls](window&) -> char {
        if (++polls == 3) throw PictureFileError{"PictureFiles/frame1.jpg", ERR_NO_FILE};
        return 0;
    };
    Program program(scripted.io);
    ::testing::internal::CaptureStdout();
    try {
        program.PlayGame(1, 4);
        ADD_FAILURE() << "the failure did not reach the caller";
    } catch (const PictureFileError& failure) {
        EXPECT_EQ(failure.fileName, "PictureFiles/frame1.jpg");
    }
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.find("Click mouse"), std::string::npos) << printed;
    EXPECT_EQ(windowRegistry, nullptr) << "the game's window is gone";
    EXPECT_EQ(polls, 3);
}
