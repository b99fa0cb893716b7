// Pixel read-back: colours and levels, and its fatal error reports.
#include <gtest/gtest.h>

#include "drawing_test_support.h"
#include "graphics.h"

#ifndef _WIN32
#include "platform_faults.h"
#endif

namespace {

using drawing_test::Count;
using drawing_test::DrawingTest;
using drawing_test::OutputCatcher;

class PixelTest : public DrawingTest {};

TEST_F(PixelTest, ClearedBufferReadsWhiteAndFullLevels) {
    EXPECT_COLOR(WHITE, w->GetColor(5, 5));
    EXPECT_EQ(1.0, w->GetRedLevel(50, 40));
    EXPECT_EQ(1.0, w->GetGreenLevel(0, 0));
    EXPECT_EQ(1.0, w->GetBlueLevel(kW - 2, kH - 2));
}

TEST_F(PixelTest, LevelsAreTheComponentsOver255) {
    w->SetPen(BLACK, 0);
    w->SetBrush(uint8_t{0}, uint8_t{0}, uint8_t{255});
    w->DrawRectangle(10, 10, 40, 40, STYLE_FILLED, 0, 0);
    double r = -1, g = -1, b = -1;
    w->GetColorLevels(20, 20, r, g, b);
    EXPECT_EQ(0.0, r);
    EXPECT_EQ(0.0, g);
    EXPECT_EQ(1.0, b);
    w->SetBrush(uint8_t{128}, uint8_t{1}, uint8_t{254});
    w->DrawRectangle(50, 10, 80, 40, STYLE_FILLED, 0, 0);
    EXPECT_COLOR(color(128, 1, 254), w->GetColor(60, 20));
    EXPECT_EQ(128 / 255.0, w->GetRedLevel(60, 20));
    EXPECT_NE(0.5, w->GetRedLevel(60, 20));
    EXPECT_EQ(1 / 255.0, w->GetGreenLevel(60, 20));
    EXPECT_EQ(254 / 255.0, w->GetBlueLevel(60, 20));
    w->GetColorLevels(60, 20, r, g, b);
    EXPECT_EQ(128 / 255.0, r);
}

TEST_F(PixelTest, ReadsTheBufferBeforeItIsShown) {
    w->SetPen(GREEN, 1);
    w->DrawPoint(7, 9);
    EXPECT_COLOR(GREEN, w->GetColor(7, 9));
    EXPECT_COLOR(WHITE, w->GetColor(8, 9));
}

TEST_F(PixelTest, PointsOutsideTheSurfaceAreHandedOnAndReadBlackOrWhite) {
    // Nothing is read from outside; the call neither crashes nor throws.
    for (int x : {-1, kW, 1 << 30, -(1 << 30)}) {
        OutputCatcher out;
        color c = w->GetColor(x, 10);
        out.Take();
        EXPECT_EQ(c.red, c.green);
    }
}

#ifndef _WIN32
// Failures are injected into the Linux platform layer only.
TEST_F(PixelTest, FailedStepsAreReportedAndAFailedReadGivesBlack) {
    struct Case {
        const char* function;
        const char* message;
        bool black;
    };
    const Case cases[] = {
        {"BitBlt", "Fatal Error: Failed to BltBit in GetColor!\n", false},
        {"GetDIBits", "Fatal Error: Failed to GetDIBits in GetColor!\n", true},
        {"DeleteObject", "Fatal Error: Failed to delete bmapTempBuffer in GetColor!\n", false},
        {"DeleteDC", "Fatal Error: Failed to delete dcTempBuffer in GetColor!\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        OutputCatcher out;
        platform_faults::FailNext(c.function);
        color read = w->GetColor(5, 5);
        std::string text = out.Take();
        platform_faults::ClearAll();
        EXPECT_EQ(1, Count(text, c.message));
        EXPECT_EQ(1, Count(text, "Fatal Error: "));
        if (c.black) {
            EXPECT_COLOR(BLACK, read);
        }
    }
    EXPECT_COLOR(WHITE, w->GetColor(5, 5));
}
#endif

}  // namespace
