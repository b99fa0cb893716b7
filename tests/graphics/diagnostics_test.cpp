// The warnings for beginners: each suspicious call is told in one line on
// standard error, once however often the call repeats, and not at all with
// GRAPHICS_WARNINGS=0; the program's own choices are never told.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "graphics.h"
#include "image_test_support.h"
#include "input_injection.h"
#include "input_test_support.h"

using input_test::QuietWindow;

namespace {

void SetWarnings(const char* value) {
#ifdef _WIN32
    _putenv_s("GRAPHICS_WARNINGS", value ? value : "");
#else
    if (value) {
        setenv("GRAPHICS_WARNINGS", value, 1);
    } else {
        unsetenv("GRAPHICS_WARNINGS");
    }
#endif
}

// What `act` writes on standard error when it makes its call twice, in a
// loop: twice from one place of the program.
std::string TwiceWrites(window& w, const std::function<void(window&, int)>& act) {
    testing::internal::CaptureStderr();
    act(w, 2);
    return testing::internal::GetCapturedStderr();
}

// Handles the window's messages until its close has come through, without
// asking IsOpen as a program would.
void LetCloseArrive(window& w) {
    for (int i = 0; i < 40 && PlatformWindowExists(w); ++i) w.ProcessOneMessage();
    ASSERT_FALSE(PlatformWindowExists(w));
}

struct Case {
    const char* line;  // the whole line, without "graphics: " and the line break
    std::function<void(window&)> prepare;
    std::function<void(window&, int)> act;
};

}  // namespace

TEST(Diagnostics, EachTrapIsToldOnceAndNotWhenTurnedOff) {
    const auto nothing = [](window&) {};
    const auto buffered = [](window& w) { w.SetBuffering(true); };
    const Case cases[] = {
        {"SetBrush(300, 0, 0): 300 is outside 0 to 255 and wraps to 44; give whole numbers 0 to 255", nothing,
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.SetBrush(300, 0, 0);
         }},
        {"SetPen(0, 0, -1, 2): -1 is outside 0 to 255 and wraps to 255; give whole numbers 0 to 255", nothing,
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.SetPen(0, 0, -1L, 2);
         }},
        {"SetBrush(255, 0.5, 0): whole numbers mixed with fractions are all taken as fractions, so 255 wraps to 1; "
         "give red, green and blue all as whole numbers 0 to 255 or all as fractions 0.0 to 1.0",
         nothing,
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.SetBrush(255, 0.5, 0);
         }},
        {"SetBrush(255.0, 0, 0): 255.0 is taken as a fraction, outside 0.0 to 1.0, and wraps to 1; give fractions "
         "0.0 to 1.0, or whole numbers 0 to 255 as integers",
         nothing,
         [](window& w, int times) {
             double shade = 1.0;
             for (int i = 0; i < times; ++i) w.SetBrush(shade * 255, 0, 0);
         }},
        {"SetPen(0.5, 2.0, 0.0, 1): 2.0 is taken as a fraction, outside 0.0 to 1.0, and wraps to 254; give "
         "fractions 0.0 to 1.0, or whole numbers 0 to 255 as integers",
         nothing,
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.SetPen(0.5, 2.0, 0.0, 1);
         }},
        {"DrawCircle: the pen and the brush are white, as a new window and SetBuffering(true) set them, so the "
         "shape is white on white and cannot be seen; choose colours first, e.g. SetPen(BLACK, 1) and "
         "SetBrush(RED)",
         buffered,
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.DrawCircle(50, 50, 20, STYLE_FILLED);
         }},
        {"DrawString: the pen is white, as a new window and SetBuffering(true) set it, so this is drawn white on "
         "white and cannot be seen; choose a colour first, e.g. SetPen(BLACK, 1)",
         [](window& w) {
             w.SetPen(RED, 1);
             w.SetBuffering(true);  // which sets the pen white again
         },
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.DrawString(10, 10, "Hello");
         }},
        {"UpdateBuffer: buffering is off, so there is no hidden frame to show and each drawing call goes straight "
         "to the window, where the picture flickers; call SetBuffering(true) once before drawing the frames",
         nothing,
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.UpdateBuffer();
         }},
        {"GetColor(600, 10): the point is outside the 600 x 400 window and reads as black; give x from 0 to 599 "
         "and y from 0 to 399",
         nothing,
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.GetColor(600, 10);
         }},
        {"GetBlueLevel(3, -1): the point is outside the 600 x 400 window and reads as black; give x from 0 to 599 "
         "and y from 0 to 399",
         nothing,
         [](window& w, int times) {
             for (int i = 0; i < times; ++i) w.GetBlueLevel(3, -1);
         }},
        {"PollKey: the window was closed by its user, so it shows nothing and no input comes; end the loop when "
         "IsOpen() is false, as in while (w.IsOpen())",
         [](window& w) {
             inject::Close(input_test::Handle(w));
             LetCloseArrive(w);
         },
         [](window& w, int times) {
             char code = 0;
             for (int i = 0; i < times; ++i) w.PollKey(code);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto w = QuietWindow(600, 400, 20, 20);
        c.prepare(*w);
        SetWarnings("0");
        EXPECT_EQ(TwiceWrites(*w, c.act), "");
        SetWarnings(nullptr);
        EXPECT_EQ(TwiceWrites(*w, c.act), "graphics: " + std::string(c.line) + "\n");
    }
}

// What programs choose on purpose is never told: erasing with a white brush
// the program set, colours given as fractions with 0 and 1 among them, a
// white shape on a picture, a closed window's loop that asks IsOpen.
TEST(Diagnostics, TheProgramsOwnChoicesAreNotTold) {
    image picture(image_test::WriteRgbFile("diagnostics_red.jpg", 2, 2, std::vector<unsigned char>(12, 0)), IK_JPEG);
    auto w = QuietWindow(200, 100, 20, 20);
    testing::internal::CaptureStderr();
    w->SetBuffering(true);
    w->SetBrush(WHITE);
    w->DrawRectangle(0, 0, 200, 100, STYLE_FILLED);  // the pen is still the library's white
    w->SetBrush(0, 0.5, 1);
    w->SetPen(1, 0.25f, 0, 1);
    w->SetBrush(uint8_t(200), uint8_t(0), uint8_t(0));
    w->SetBuffering(false);
    w->SetBuffering(true);
    w->DrawImage(picture, 10, 10, 40, 40);
    w->DrawCircle(30, 30, 10, STYLE_FILLED);  // white on the black picture
    w->DrawRectangle(0, 0, 20, 20, STYLE_INVERTED);
    (void)w->GetColor(199, 99);
    w->UpdateBuffer();

    inject::Close(input_test::Handle(*w));
    LetCloseArrive(*w);
    char code = 0;
    for (int turn = 0; turn < 3 && w->IsOpen(); ++turn) w->PollKey(code);
    for (int turn = 0; turn < 3; ++turn) w->PollKey(code);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
