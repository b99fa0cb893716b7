// A window whose close box was used: the platform window is gone, the
// `window` object lives on. Drawing on it does nothing and reports nothing,
// on every build, buffered or not, and the program goes on.
#include <gtest/gtest.h>

#include <string>

#include "drawing_test_support.h"
#include "graphics.h"
#include "image_test_support.h"
#include "input_injection.h"
#include "input_test_support.h"

using input_test::Drain;
using input_test::Handle;
using input_test::QuietWindow;

namespace {

// One round of every drawing operation.
void DrawEverything(window& w, const image& picture) {
    w.SetPen(RED, 3);
    w.SetBrush(0.0, 0.5, 1.0);
    w.SetFont(14, FONT_BOLD, FAMILY_ROMAN, nullptr);
    w.DrawPoint(5, 5);
    w.DrawLine(0, 0, 50, 40, STYLE_FRAME);
    for (drawstyle style : {STYLE_FILLED, STYLE_FRAME, STYLE_INVERTED}) {
        w.DrawRectangle(10, 10, 60, 50, style, 0, 0);
        w.DrawRectangle(10, 10, 60, 50, style, 8, 8);
        w.DrawTriangle(5, 5, 60, 10, 30, 50, style);
        const int32_t xs[] = {5, 50, 40, 8}, ys[] = {5, 8, 50, 40};
        w.DrawPolygon(xs, ys, 4, style);
        w.DrawCircle(40, 40, 20, style);
        w.DrawEllipse(5, 5, 70, 40, style);
        w.DrawArc(5, 5, 70, 60, 10.0, 200.0, style, 0);
    }
    w.DrawBezier(0, 0, 20, 60, 40, -20, 60, 40, STYLE_FRAME);
    w.DrawString(10, 10, "closed");
    w.DrawNumber(10, 30, 42);
    w.DrawNumber(10, 50, 2.5);
    int width = 0, height = 0;
    w.GetStringSize(width, height, "closed");
    w.DrawImage(picture, 3, 3, -1, -1);
    w.DrawImage(picture, 3, 3, 30, 20);
    image capture;
    w.StoreImage(capture, 0, 0, 20, 10);
    (void)w.GetColor(4, 4);
    double r = 0, g = 0, b = 0;
    w.GetColorLevels(4, 4, r, g, b);
}

class ClosedWindow : public ::testing::TestWithParam<bool> {};

TEST_P(ClosedWindow, DrawingAfterTheCloseBoxIsSilentAndHarmless) {
    const bool buffered = GetParam();
    image picture(image_test::WriteRgbFile("closed_red_blue.jpg", 2, 1, {255, 0, 0, 0, 0, 255}), IK_JPEG);
    auto w = QuietWindow(120, 90, 20, 20);
    if (buffered) w->SetBuffering(true);
    HWND h = Handle(*w);
    inject::Close(h);
    Drain(*w);
    ASSERT_FALSE(w->IsOpen());

    testing::internal::CaptureStdout();
    for (int round = 0; round < 3; ++round) {
        DrawEverything(*w, picture);
        if (buffered) w->UpdateBuffer();
    }
    if (buffered) w->SetBuffering(false);
    w->SetBuffering(true);
    w->SetBuffering(false);
    w.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(windowRegistry, nullptr);
}

INSTANTIATE_TEST_SUITE_P(BufferedOrNot, ClosedWindow, ::testing::Bool());

// Records queued before the close box was used are never handed out: the
// first wait begun on the closed window returns nothing at once, as the
// polls do, so the code after it runs; a second wait, which nothing could
// ever end, ends the program (status 0) with a line saying why.
TEST(ClosedWindowInput, TheFirstWaitReturnsNothingAndTheSecondEndsTheProgram) {
    auto w = QuietWindow();
    HWND h = Handle(*w);
    inject::Tap(h, 'A');
    inject::Click(h, 0, 12, 34);
    inject::Tap(h, VK_LEFT);
    inject::Click(h, 1, 5, 6);
    Drain(*w);  // the records are queued now
    inject::Close(h);
    Drain(*w);
    ASSERT_FALSE(w->IsOpen());

    char code = 'x';
    EXPECT_EQ(w->AwaitKey(code), KK_NONE);
    EXPECT_EQ(code, 0);
    int32_t x = 0, y = 0;
    EXPECT_EQ(w->PollKey(code), KK_NONE);
    EXPECT_EQ(w->PollClick(x, y), CK_NONE);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_EXIT(w->AwaitClick(x, y), testing::ExitedWithCode(0),
                "graphics: AwaitClick waits on a window its user has closed, where no click can come, so the "
                "program ends \\(status 0\\); end a loop of waits when AwaitClick gives CK_NONE or IsOpen\\(\\) is "
                "false");
}

}  // namespace

// Drawing sizes no platform window can hold are refused at construction
// with a report, and nothing is allocated for them: no escaped exception,
// no overflow (the sanitizer build watches); the object stays closed, its
// drawing calls report their failures. Negative sizes hold no rectangle
// to capture.
TEST(WindowSizeLimits, SizesNoPlatformWindowCanHoldAreRefused) {
    const int32_t sizes[][2] = {{65536, 65536}, {INT32_MAX, 100}, {100, INT32_MAX}, {20000, 20000},
                                {16385, 10},    {-1, 100},        {100, -5},        {INT32_MIN, INT32_MIN}};
    for (const auto& size : sizes) {
        testing::internal::CaptureStdout();
        {
            window w(size[0], size[1], 0, 0);
            EXPECT_FALSE(w.IsOpen());
            EXPECT_EQ(w.QueryWidth(), size[0]);
            w.SetBuffering(true);
            w.DrawRectangle(0, 0, 50, 50, STYLE_FILLED, 0, 0);
            w.UpdateBuffer();
            w.SetBuffering(false);
            if (size[0] < 0 || size[1] < 0) {
                image capture;
                w.StoreImage(capture, 0, 0, 1, 1);
                EXPECT_EQ(capture.Pixels(), nullptr);
            }
            char code = 'x';
            EXPECT_EQ(w.AwaitKey(code), KK_NONE);
        }
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed.find("Fatal Error: Window size is outside what the platform can show in window class "
                               "constructor!\n"),
                  0u)
            << size[0] << " x " << size[1] << ": " << printed;
        EXPECT_EQ(printed.find("Click mouse"), std::string::npos) << printed;
        EXPECT_EQ(windowRegistry, nullptr);
    }
}
