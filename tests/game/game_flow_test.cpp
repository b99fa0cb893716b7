// The game's console questions, its court, its closing pictures and the
// search for picture files: the parts of the game flow that need no window.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "game.h"
#include "picture_files.h"

namespace {

struct Answer {
    bool got;
    int value;
    std::string written;
};

Answer Ask(const std::string& typed) {
    std::istringstream in(typed);
    std::ostringstream out;
    Answer a{false, -999, ""};
    a.got = AskWholeNumber(in, out, "Q?\n", a.value);
    a.written = out.str();
    return a;
}

const std::string NotANumber = "Please answer with a whole number.\n";

std::string TempFolder() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string folder = ::testing::TempDir() + "h5_" + info->name() + "_";
    return folder;
}

void Touch(const std::string& path) { std::ofstream(path, std::ios::binary) << "x"; }

}  // namespace

TEST(ConsoleQuestions, WholeNumbersAreReadAsTheyCome) {
    Answer a = Ask("7\n");
    EXPECT_TRUE(a.got);
    EXPECT_EQ(a.value, 7);
    EXPECT_EQ(a.written, "Q?\n");

    a = Ask("   -3 5\n");
    EXPECT_TRUE(a.got);
    EXPECT_EQ(a.value, -3);

    a = Ask("42");  // no line break before the end of the input
    EXPECT_TRUE(a.got);
    EXPECT_EQ(a.value, 42);
}

TEST(ConsoleQuestions, NotANumberIsToldAndTheRestOfTheLineDropped) {
    Answer a = Ask("abc 9 9\n12\n");
    EXPECT_TRUE(a.got);
    EXPECT_EQ(a.value, 12);  // the 9s on the bad line were dropped with it
    EXPECT_EQ(a.written, "Q?\n" + NotANumber + "Q?\n");

    a = Ask("x\n\ny\n 3\n");
    EXPECT_TRUE(a.got);
    EXPECT_EQ(a.value, 3);
    EXPECT_EQ(a.written, "Q?\n" + NotANumber + "Q?\n" + NotANumber + "Q?\n");

    a = Ask("99999999999\n4\n");  // beyond int: not a whole number we can use
    EXPECT_TRUE(a.got);
    EXPECT_EQ(a.value, 4);
    EXPECT_EQ(a.written, "Q?\n" + NotANumber + "Q?\n");
}

TEST(ConsoleQuestions, EndOfInputGivesNoAnswer) {
    EXPECT_FALSE(Ask("").got);
    EXPECT_FALSE(Ask("\n  \n").got);
    EXPECT_FALSE(Ask("abc").got);
    Answer a = Ask("abc\n");
    EXPECT_FALSE(a.got);
    EXPECT_EQ(a.written, "Q?\n" + NotANumber + "Q?\n");
}

TEST(ConsoleQuestions, BallSpeedOutsideOneToEightBecomesFour) {
    for (int bad : {0, 9, -3, 100}) {
        std::ostringstream out;
        EXPECT_EQ(CheckedBallSpeed(bad, out), 4) << bad;
        EXPECT_EQ(out.str(), "Invalid speed, default of 4 set\n");
    }
    for (int good : {1, 5, 8}) {
        std::ostringstream out;
        EXPECT_EQ(CheckedBallSpeed(good, out), good);
        EXPECT_EQ(out.str(), "");
    }
}

TEST(ClosingPictures, ByNationWithTheFourthForEveryOtherValue) {
    const struct { int nation; std::string file; int x; } cases[] = {
        {1, "PictureFiles/frame1.jpg", 300}, {2, "PictureFiles/frame2.jpg", 325},
        {3, "PictureFiles/frame3.jpg", 260}, {4, "PictureFiles/frame4.jpg", 350},
        {0, "PictureFiles/frame4.jpg", 350}, {6, "PictureFiles/frame4.jpg", 350},
        {42, "PictureFiles/frame4.jpg", 350}, {-1, "PictureFiles/frame4.jpg", 350},
    };
    for (const auto& c : cases) {
        const ClosingPicture picture = ClosingPictureFor(c.nation);
        EXPECT_EQ(picture.fileName, c.file) << c.nation;
        EXPECT_EQ(picture.x, c.x) << c.nation;
    }
}

TEST(CourtSetup, FacesStandWhereTheGameNeedsThem) {
    Court court;
    const struct { const char* name; const Face& face; float x, y, z; int code, kind; } faces[] = {
        {"paddle", court.paddle, 0, 0, 200, 16, BounceDepth},
        {"back wall", court.backWall, 0, 0, 800, 32, BounceDepth},
        {"floor", court.floor, 0, 150, 500, 32, BounceVertical},
        {"ceiling", court.ceiling, 0, -150, 500, 32, BounceVertical},
        {"left wall", court.leftWall, 300, 0, 500, 32, BounceSideways},
        {"right wall", court.rightWall, -300, 0, 500, 32, BounceSideways},
        {"loss plane", court.lossPlane, 0, 0, 180, 0, -1},
    };
    for (const auto& f : faces) {
        EXPECT_EQ(f.face.position.x, f.x) << f.name;
        EXPECT_EQ(f.face.position.y, f.y) << f.name;
        EXPECT_EQ(f.face.position.z, f.z) << f.name;
        EXPECT_EQ(f.face.colorCode, f.code) << f.name;
        if (f.kind >= 0) {
            EXPECT_EQ(f.face.bounceKind, f.kind) << f.name;
        }
    }
    // The floor and ceiling lie flat (turned about x), the side walls stand
    // along the depth (turned about y).
    EXPECT_NEAR(court.floor.corners[0].z, 300, 1e-3);
    EXPECT_NEAR(court.floor.corners[0].y, 0, 1e-3);
    EXPECT_NEAR(court.leftWall.corners[1].z, 300, 1e-3);
    EXPECT_NEAR(court.leftWall.corners[1].x, 0, 1e-3);
    EXPECT_EQ(court.ball.position.z, 400.0f);
    EXPECT_EQ(court.ball.size, 50.0f);
    // Only the loss plane's contact matters for a lost rally: it reaches just
    // in front of the paddle.
    EXPECT_TRUE(court.lossPlane.Touches(0, 0, 190));
    EXPECT_FALSE(court.lossPlane.Touches(0, 0, 195));
}

TEST(PictureFiles, WorkingDirectoryFirstThenTheNextFolder) {
    const std::string first = TempFolder() + "a_";
    const std::string second = TempFolder() + "b_";
    const std::string name = "picture.jpg";
    std::remove((first + name).c_str());
    Touch(second + name);
    EXPECT_EQ(FindPictureFile(name, {first, second}), second + name);
    Touch(first + name);
    EXPECT_EQ(FindPictureFile(name, {first, second}), first + name);
    EXPECT_EQ(FindPictureFile("absent.jpg", {first, second}), "absent.jpg");
    std::remove((first + name).c_str());
    std::remove((second + name).c_str());
}

TEST(PictureFiles, ExecutableFolderHoldsThisProgram) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    const char last = folder.back();
    EXPECT_TRUE(last == '/' || last == '\\');
    const std::vector<std::string> defaults = DefaultPictureFolders();
    ASSERT_EQ(defaults.size(), 2u);
    EXPECT_EQ(defaults[0], "");
    EXPECT_EQ(defaults[1], folder);
}

TEST(PictureFiles, MissingFileIsReportedByItsName) {
    image picture;
    try {
        LoadPictureFile(picture, "PictureFiles/none_such.jpg", {TempFolder()});
        FAIL() << "no error for a missing picture";
    } catch (const PictureFileError& failure) {
        EXPECT_EQ(failure.fileName, "PictureFiles/none_such.jpg");
        EXPECT_EQ(failure.code, ERR_NO_FILE);
    }
}
