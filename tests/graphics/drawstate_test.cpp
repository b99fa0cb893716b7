// Pens, brushes and fonts of a window: previous colours, the whole-number
// and fraction forms, pen widths and what the font settings change in the
// text drawn.
#include <gtest/gtest.h>

#include <limits>

#include "drawing_test_support.h"
#include "graphics.h"
#include "window_test_access.h"

#ifndef _WIN32
#include "platform_faults.h"
#endif

namespace {

using drawing_test::Count;
using drawing_test::DrawingTest;
using drawing_test::OutputCatcher;

class DrawStateTest : public DrawingTest {};

TEST(DrawStateFreshWindowTest, FirstSettersReturnWhiteThenEachTheColourBefore) {
    window w(60, 40, 10, 10);
    w.SetWaitOnClose(false);
    EXPECT_COLOR(WHITE, w.SetPen(RED, 2));
    EXPECT_COLOR(RED, w.SetPen(uint8_t{1}, uint8_t{2}, uint8_t{3}, 1));
    EXPECT_COLOR(color(1, 2, 3), w.SetPen(0.0, 1.0, 0.0, 1));
    EXPECT_COLOR(GREEN, w.SetPen(BLACK, 0));
    EXPECT_COLOR(WHITE, w.SetBrush(BLUE));
    EXPECT_COLOR(BLUE, w.SetBrush(uint8_t{9}, uint8_t{8}, uint8_t{7}));
    EXPECT_COLOR(color(9, 8, 7), w.SetBrush(BLACK));
}

TEST_F(DrawStateTest, FractionFormsTruncateAndKeepTheLowEightBits) {
    w->SetBrush(1.0, 0.5, 0.0);
    EXPECT_COLOR(color(255, 127, 0), w->SetBrush(2.0, 2.0, 2.0));
    EXPECT_COLOR(color(254, 254, 254), w->SetBrush(-0.5, 0.999, 0.0039));
    EXPECT_COLOR(color(129, 254, 0), w->SetBrush(WHITE));
    w->SetPen(-0.5, 2.0, 0.5, 1);
    EXPECT_COLOR(color(129, 254, 127), w->SetPen(WHITE, 1));
}

TEST_F(DrawStateTest, FractionsPastEveryWholeNumberStopAtItsEndsAndNaNIsZero) {
    // Products beyond the 32-bit range are cut to its ends (whose low eight
    // bits are 255 and 0); the sanitizer build fails on any undefined cast.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    w->SetBrush(nan, 1e300, -inf);
    EXPECT_COLOR(color(0, 255, 0), w->SetBrush(WHITE));
    w->SetPen(inf, -1e300, nan, 1);
    EXPECT_COLOR(color(255, 0, 0), w->SetPen(WHITE, 1));
}

TEST_F(DrawStateTest, BrushAndPenColoursAreWhatIsDrawn) {
    w->SetPen(color(10, 20, 30), 3);
    w->SetBrush(1.0, 0.5, 0.0);
    w->DrawRectangle(10, 10, 50, 40, STYLE_FILLED, 0, 0);
    // A pen 3 wide lies inside the box; its corners are rounded off.
    EXPECT_COLOR(color(10, 20, 30), At(10, 25));
    EXPECT_COLOR(color(10, 20, 30), At(12, 25));
    EXPECT_COLOR(color(255, 127, 0), At(13, 25));
    EXPECT_COLOR(color(255, 127, 0), At(30, 25));
    EXPECT_COLOR(color(10, 20, 30), At(30, 39));
    EXPECT_COLOR(color(10, 20, 30), At(49, 25));
    EXPECT_COLOR(WHITE, At(50, 25));
    EXPECT_COLOR(WHITE, At(30, 40));
}

TEST_F(DrawStateTest, PenWidthZeroDrawsOnePixelWideOutlines) {
    w->SetPen(BLACK, 0);
    EXPECT_EQ(0, WindowTestAccess::PenWidth(*w));
    w->DrawRectangle(10, 10, 40, 40, STYLE_FRAME, 0, 0);
    EXPECT_COLOR(BLACK, At(10, 20));
    EXPECT_COLOR(WHITE, At(11, 20));
    EXPECT_COLOR(BLACK, At(39, 20));
    EXPECT_COLOR(WHITE, At(38, 20));
    w->SetPen(BLACK, 5);
    w->DrawRectangle(50, 10, 90, 40, STYLE_FRAME, 0, 0);
    EXPECT_COLOR(BLACK, At(54, 20));
    EXPECT_COLOR(WHITE, At(55, 20));
    EXPECT_COLOR(WHITE, At(49, 20));
}

// The pen selected in a device context, read by selecting another and
// putting it straight back.
HGDIOBJ SelectedPen(HDC dc) {
    HGDIOBJ pen = SelectObject(dc, GetStockObject(WHITE_PEN));
    SelectObject(dc, pen);
    return pen;
}

TEST_F(DrawStateTest, SelectStyleSelectsByStyleAndRefusesInvalidOnes) {
    HDC dc = WindowTestAccess::ActiveDC(*w);
    HGDIOBJ outside = SelectedPen(dc);
    WindowTestAccess::SelectStyle(*w, STYLE_FRAME);
    EXPECT_EQ(static_cast<HGDIOBJ>(WindowTestAccess::Pen(*w)), SelectedPen(dc));
    EXPECT_EQ(R2_COPYPEN, GetROP2(dc));
    WindowTestAccess::RestoreStyle(*w);
    EXPECT_EQ(outside, SelectedPen(dc));
    WindowTestAccess::SelectStyle(*w, STYLE_INVERTED);
    EXPECT_EQ(GetStockObject(BLACK_PEN), SelectedPen(dc));
    EXPECT_EQ(R2_NOT, GetROP2(dc));
    WindowTestAccess::RestoreStyle(*w);
    // The mix mode is not put back.
    EXPECT_EQ(R2_NOT, GetROP2(dc));
    for (int bad : {0, 4}) {
        OutputCatcher out;
        WindowTestAccess::SelectStyle(*w, static_cast<drawstyle>(bad));
        EXPECT_EQ("Fatal Error: You have tried to use an invalid or unimplemented drawstyle!\n", out.Take());
        EXPECT_EQ(outside, SelectedPen(dc));
        EXPECT_EQ(R2_NOT, GetROP2(dc));
        // The pen displaced by the last valid selection is still the one put back.
        WindowTestAccess::RestoreStyle(*w);
        EXPECT_EQ(outside, SelectedPen(dc));
    }
}

TEST_F(DrawStateTest, BoldIsWiderThanRegularAndStyleZeroIsRegular) {
    int regularW = 0, regularH = 0, boldW = 0, boldH = 0, againW = 0, againH = 0;
    w->SetFont(20, 0, FAMILY_SWISS, nullptr);
    w->GetStringSize(regularW, regularH, "Bold and regular");
    w->SetFont(20, FONT_BOLD, FAMILY_SWISS, nullptr);
    w->GetStringSize(boldW, boldH, "Bold and regular");
    w->SetFont(20, 0, FAMILY_SWISS, nullptr);
    w->GetStringSize(againW, againH, "Bold and regular");
    EXPECT_GT(boldW, regularW);
    EXPECT_EQ(regularW, againW);
    EXPECT_EQ(20, regularH);
}

TEST_F(DrawStateTest, ItalicAndUnderlineChangeTheInk) {
    // The same letter drawn plain, italic and underlined at one place.
    auto ink = [&](uint16_t style) {
        w->SetPen(WHITE, 1);
        w->SetBrush(WHITE);
        w->DrawRectangle(0, 0, kW, kH, STYLE_FILLED, 0, 0);
        w->SetPen(BLACK, 1);
        w->SetFont(30, style, FAMILY_SWISS, nullptr);
        w->DrawString(10, 10, "l");
        int lowest = -1, rightmostTop = -1;
        for (int y = 10; y < 45; ++y)
            for (int x = 5; x < 40; ++x)
                if (!drawing_test::Same(At(x, y), WHITE)) {
                    lowest = y;
                    if (y < 20) rightmostTop = std::max(rightmostTop, x);
                }
        return std::make_pair(lowest, rightmostTop);
    };
    auto plain = ink(0);
    auto italic = ink(FONT_ITALIC);
    auto underlined = ink(FONT_UNDERLINE);
    ASSERT_GT(plain.first, 0);
    EXPECT_GT(italic.second, plain.second);  // the slant moves the top right
    EXPECT_GT(underlined.first, plain.first);  // the underline lies below the letter
}

TEST_F(DrawStateTest, FamilyCodesPickFamilies) {
    auto width = [&](int family) {
        int wd = 0, ht = 0;
        w->SetFont(20, 0, family, nullptr);
        w->GetStringSize(wd, ht, "Mill iiii WWWW");
        return wd;
    };
    int any = width(FAMILY_ANY);
    EXPECT_EQ(any, width(5));
    EXPECT_EQ(any, width(-1));
    EXPECT_NE(width(FAMILY_ROMAN), width(FAMILY_SWISS));
    EXPECT_NE(width(FAMILY_MODERN), width(FAMILY_SWISS));
    // A monospaced face gives i and W one width.
    int iw = 0, ww = 0, h = 0;
    w->SetFont(20, 0, FAMILY_MODERN, nullptr);
    w->GetStringSize(iw, h, "iiii");
    w->GetStringSize(ww, h, "WWWW");
    EXPECT_EQ(iw, ww);
}

TEST_F(DrawStateTest, FaceNamesAreUsedAndOverlongOnesAreCut) {
    int arialW = 0, h = 0, longW = 0;
    w->SetFont(20, 0, FAMILY_ANY, "Arial");
    w->GetStringSize(arialW, h, "Face name");
    EXPECT_GT(arialW, 0);
    // 40 characters: more than the 31 the record holds.
    w->SetFont(20, 0, FAMILY_SWISS, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn");
    w->GetStringSize(longW, h, "Face name");
    EXPECT_GT(longW, 0);
    EXPECT_EQ(20, h);
}

#ifndef _WIN32
// Failures are injected into the Linux platform layer only.
TEST_F(DrawStateTest, FailedDeletionsAreReportedAndTheNewObjectIsMadeAllTheSame) {
    OutputCatcher out;
    platform_faults::FailNext("DeleteObject");
    w->SetPen(RED, 1);
    platform_faults::FailNext("DeleteObject");
    w->SetBrush(BLUE);
    platform_faults::FailNext("DeleteObject");
    w->SetFont(20, 0, FAMILY_SWISS, nullptr);
    std::string text = out.Take();
    platform_faults::ClearAll();
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to delete penObject in SetPen!\n"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to delete brshObject in SetBrush!\n"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to delete fontObject in SetFont!\n"));
    w->DrawRectangle(10, 10, 30, 30, STYLE_FILLED, 0, 0);
    EXPECT_COLOR(RED, At(10, 10));
    EXPECT_COLOR(BLUE, At(20, 20));
    int wd = 0, ht = 0;
    w->GetStringSize(wd, ht, "x");
    EXPECT_EQ(20, ht);
}
#endif

}  // namespace
