// Double buffering: the switch and what it resets, and the copy to the
// screen that leaves out the last row and column.
#include <gtest/gtest.h>

#include "drawing_test_support.h"
#include "graphics.h"

#ifndef _WIN32
#include "platform_faults.h"
#endif

namespace {

using drawing_test::Count;
using drawing_test::OutputCatcher;
using drawing_test::Same;

class BufferingTest : public testing::Test {
protected:
    static constexpr int kW = 80;
    static constexpr int kH = 60;
    void SetUp() override {
        w = std::make_unique<window>(kW, kH, 30, 30);
        w->SetWaitOnClose(false);
    }
    void TearDown() override { w.reset(); }
    std::unique_ptr<window> w;
};

TEST_F(BufferingTest, SwitchReturnsThePreviousSettingAndRepeatsChangeNothing) {
    EXPECT_FALSE(w->SetBuffering(false));
    EXPECT_FALSE(w->SetBuffering(true));
    w->SetBrush(RED);
    w->DrawRectangle(0, 0, 20, 20, STYLE_FILLED, 0, 0);
    // On again while on: no new buffer, no clearing, pen and brush kept.
    EXPECT_TRUE(w->SetBuffering(true));
    EXPECT_COLOR(RED, w->GetColor(10, 10));
    EXPECT_COLOR(RED, w->SetBrush(BLUE));
    EXPECT_TRUE(w->SetBuffering(false));
    EXPECT_FALSE(w->SetBuffering(false));
}

TEST_F(BufferingTest, SwitchingOnClearsToWhiteAndSetsPenAndBrushToWhite) {
    w->SetPen(RED, 7);
    w->SetBrush(GREEN);
    w->SetBuffering(true);
    for (int y : {0, 30, kH - 2}) {
        for (int x : {0, 40, kW - 2}) EXPECT_COLOR(WHITE, w->GetColor(x, y));
    }
    EXPECT_COLOR(WHITE, w->SetPen(BLACK, 1));
    EXPECT_COLOR(WHITE, w->SetBrush(BLACK));
}

TEST_F(BufferingTest, PenIsOnePixelWideAfterSwitchingOn) {
    w->SetPen(RED, 9);
    w->SetBuffering(true);
    w->SetBrush(BLUE);
    // Still the white pen of width 1: the border is one white pixel.
    w->DrawRectangle(10, 10, 40, 40, STYLE_FILLED, 0, 0);
    EXPECT_COLOR(WHITE, w->GetColor(10, 20));
    EXPECT_COLOR(BLUE, w->GetColor(11, 20));
}

TEST_F(BufferingTest, TextIsWhiteAfterSwitchingOnUntilTheNextPen) {
    w->SetPen(RED, 1);
    w->SetBuffering(true);
    w->SetBrush(BLACK);
    w->DrawRectangle(0, 0, kW, kH, STYLE_FILLED, 0, 0);
    w->SetFont(30, FONT_BOLD, FAMILY_SWISS, nullptr);
    w->DrawString(5, 5, "H");
    bool white = false, red = false;
    for (int y = 5; y < 35; ++y)
        for (int x = 5; x < 30; ++x) {
            color c = w->GetColor(x, y);
            white = white || Same(c, WHITE);
            red = red || c.red > c.green + 50;
        }
    EXPECT_TRUE(white);
    EXPECT_FALSE(red);
}

TEST_F(BufferingTest, DrawingIsSeenOnlyAfterUpdateAndTheLastRowAndColumnStay) {
    w->SetPen(BLACK, 0);
    w->SetBrush(BLACK);
    w->DrawRectangle(0, 0, kW, kH, STYLE_FILLED, 0, 0);  // the screen, black
    w->SetBuffering(true);
    w->SetBrush(RED);
    w->DrawRectangle(0, 0, kW, kH, STYLE_FILLED, 0, 0);  // the buffer, white pen, red inside
    w->UpdateBuffer();
    w->SetBuffering(false);  // reads come from the screen again
    EXPECT_COLOR(WHITE, w->GetColor(0, 0));
    EXPECT_COLOR(RED, w->GetColor(kW / 2, kH / 2));
#ifndef _WIN32
    // Under Wine the client area of a window comes out a few pixels short of
    // its drawing size, so the screen's last rows and columns cannot be read
    // back there; our platform gives the full size.
    EXPECT_COLOR(RED, w->GetColor(kW - 3, kH - 3));
    EXPECT_COLOR(RED, w->GetColor(kW - 2, kH - 2));
    EXPECT_COLOR(BLACK, w->GetColor(kW - 1, kH / 2));
    EXPECT_COLOR(BLACK, w->GetColor(kW / 2, kH - 1));
    EXPECT_COLOR(BLACK, w->GetColor(kW - 1, kH - 1));
#endif
}

TEST_F(BufferingTest, UpdateWithBufferingOffDoesNothing) {
    w->SetPen(BLACK, 0);
    w->SetBrush(GREEN);
    w->DrawRectangle(0, 0, kW, kH, STYLE_FILLED, 0, 0);
    OutputCatcher out;
    w->UpdateBuffer();
    EXPECT_EQ("", out.Take());
    EXPECT_COLOR(GREEN, w->GetColor(40, 30));
}

TEST_F(BufferingTest, DrawingAfterSwitchingOffGoesToTheScreen) {
    w->SetBuffering(true);
    w->SetBuffering(false);
    w->SetPen(BLACK, 0);
    w->SetBrush(BLUE);
    w->DrawRectangle(10, 10, 30, 30, STYLE_FILLED, 0, 0);
    EXPECT_COLOR(BLUE, w->GetColor(20, 20));
}

#ifndef _WIN32
// Failures are injected into the Linux platform layer only.
TEST_F(BufferingTest, FailedDeletionsAndCopyAreReportedAndTheStateStillChanges) {
    w->SetBuffering(true);
    OutputCatcher out;
    platform_faults::FailNext("BitBlt");
    w->UpdateBuffer();
    platform_faults::FailNext("DeleteDC");
    platform_faults::FailNext("DeleteObject");
    EXPECT_TRUE(w->SetBuffering(false));
    std::string text = out.Take();
    platform_faults::ClearAll();
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to BitBlt in UpdateBuffer!\n"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to delete dcActive in SetBuffering!\n"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to delete bmapBuffer in SetBuffering!\n"));
    EXPECT_FALSE(w->SetBuffering(false));
    // Drawing goes to the screen again.
    w->SetPen(BLACK, 0);
    w->SetBrush(BLUE);
    w->DrawRectangle(10, 10, 30, 30, STYLE_FILLED, 0, 0);
    EXPECT_COLOR(BLUE, w->GetColor(20, 20));
}

TEST_F(BufferingTest, MissingBufferIsNotReportedBySwitchButByTheDrawingThatFails) {
    OutputCatcher out;
    platform_faults::FailNext("CreateCompatibleDC");
    EXPECT_FALSE(w->SetBuffering(true));
    std::string text = out.Take();
    platform_faults::ClearAll();
    EXPECT_EQ(0, Count(text, "SetBuffering"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to draw filled style in DrawRectangle!\n"));
    EXPECT_TRUE(w->SetBuffering(false));
}
#endif

}  // namespace
