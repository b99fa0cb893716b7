// The whole program's console dialogue: the menu, the speed question, bad
// answers, the end of the input, a game in between and missing pictures.
// A second window stays open meanwhile, so that closing a game's window
// does not wait for a click.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game.h"
#include "game_test_support.h"
#include "picture_files.h"

using game_test::ScriptedIo;

namespace {

const std::string Menu =
    "What Nation do you want to play as? : \n"
    "1 <Japan>\n"
    "2 <England - God save the Princess>\n"
    "3 <Ethiopia>\n"
    "4 <Default: I want to be a Farm animal like Snorvald>\n"
    "5 <I don't care, I want to quit>\n";
const std::string Speed = "BallSpeed(1-8) : \n";
const std::string NotANumber = "Please answer with a whole number.\n";

class GameProgram : public ::testing::Test {
protected:
    GameProgram() : keeper(200, 100, 0, 0) {
        keeper.SetWaitOnClose(false);
        folder = game_test::MakePictureFolder("program", true, true);
    }

    // Runs the program on the typed answers; every game quits at its first
    // frame. Gives the exit status.
    int Run(const std::string& typed) {
        ScriptedIo* s = new ScriptedIo(typed, {folder});
        scripted.reset(s);
        s->io.pollKey = [s](window&) {
            ++s->polls;
            return 'q';
        };
        Program program(s->io);
        return program.Run();
    }
    std::string Written() const { return scripted->output.str(); }

    window keeper;
    std::string folder;
    std::unique_ptr<ScriptedIo> scripted;
};

}  // namespace

TEST_F(GameProgram, ChoiceFiveEndsAtOnce) {
    EXPECT_EQ(Run("5\n1\n3\n"), 0);
    EXPECT_EQ(Written(), Menu);
    EXPECT_EQ(scripted->polls, 0);
}

TEST_F(GameProgram, EndOfInputEndsLikeFive) {
    EXPECT_EQ(Run(""), 0);
    EXPECT_EQ(Written(), Menu);
    EXPECT_EQ(Run("2\n"), 0);
    EXPECT_EQ(Written(), Menu + Speed);
    EXPECT_EQ(scripted->polls, 0);
}

TEST_F(GameProgram, AnswersThatAreNotNumbersAreAskedAgain) {
    EXPECT_EQ(Run("Japan please\n5\n"), 0);
    EXPECT_EQ(Written(), Menu + NotANumber + Menu);

    EXPECT_EQ(Run("1\nfast\n3\nq\n5\n"), 0);
    const std::string w = Written();
    const std::string head = Menu + Speed + NotANumber + Speed;
    ASSERT_EQ(w.substr(0, head.size()), head);
    // The starting group, then the menu again; the q line is no number.
    ASSERT_GT(w.size(), head.size());
    const char group = w[head.size()];
    EXPECT_TRUE(group >= '0' && group <= '7') << group;
    EXPECT_EQ(w.substr(head.size() + 1), Menu + NotANumber + Menu);
    EXPECT_EQ(scripted->polls, 1);
}

TEST_F(GameProgram, GamesFollowEachOtherUntilFive) {
    EXPECT_EQ(Run("42\n9\n0\n-3\n1\n8\n5\n"), 0);
    const std::string invalid = "Invalid speed, default of 4 set\n";
    const std::string w = Written();
    size_t at = 0;
    auto expect = [&](const std::string& text) {
        ASSERT_EQ(w.compare(at, text.size(), text), 0) << "at " << at << " in\n" << w;
        at += text.size();
    };
    auto expectGroup = [&]() {
        ASSERT_LT(at, w.size());
        EXPECT_TRUE(w[at] >= '0' && w[at] <= '7') << w[at];
        ++at;
    };
    expect(Menu + Speed + invalid);
    expectGroup();
    expect(Menu + Speed + invalid);
    expectGroup();
    expect(Menu + Speed);
    expectGroup();
    expect(Menu);
    EXPECT_EQ(at, w.size());
    EXPECT_EQ(scripted->polls, 3) << "one frame in each of three games";
}

TEST_F(GameProgram, MissingBackgroundStopsBeforeTheMenu) {
    folder = game_test::MakePictureFolder("program_empty", false, false);
    try {
        Run("1\n1\n5\n");
        FAIL() << "no error for a missing background";
    } catch (const PictureFileError& failure) {
        EXPECT_EQ(failure.fileName, "PictureFiles/background1.jpg");
        EXPECT_EQ(failure.code, ERR_NO_FILE);
    }
    EXPECT_EQ(Written(), "");
}

// Hostile console input: a line of a megabyte, binary bytes, numbers past
// int either way, negative numbers, and input that ends in the middle of an
// answer. Lines that are no whole number are refused and asked again;
// negative numbers are whole numbers and play; the end of the input quits.
TEST_F(GameProgram, HostileInputIsRefusedPlayedOrEndsTheProgram) {
    const std::string binary("\x00\x01\xff\x80%\x1b", 6);
    EXPECT_EQ(Run(std::string(1 << 20, 'x') + "\n" + binary + "\n99999999999999999999\n-99999999999999999999\n" +
                  "-7\n-2147483648\n5\n"),
              0);
    const std::string w = Written();
    const std::string head = Menu + NotANumber + Menu + NotANumber + Menu + NotANumber + Menu + NotANumber + Menu +
                             Speed + "Invalid speed, default of 4 set\n";
    ASSERT_EQ(w.substr(0, head.size()), head);
    ASSERT_GT(w.size(), head.size());
    EXPECT_TRUE(w[head.size()] >= '0' && w[head.size()] <= '7');
    EXPECT_EQ(w.substr(head.size() + 1), Menu);
    EXPECT_EQ(scripted->polls, 1);

    // Input that ends inside an answer, at either question.
    EXPECT_EQ(Run("7"), 0);
    EXPECT_EQ(Written(), Menu + Speed);
    EXPECT_EQ(Run(std::string(1 << 20, '9')), 0);
    EXPECT_EQ(Written(), Menu);
    EXPECT_EQ(Run("1\n-"), 0);
    EXPECT_EQ(Written(), Menu + Speed);
    EXPECT_EQ(scripted->polls, 0);
}
