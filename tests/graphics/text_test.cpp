// Text of a window: drawing in the pen colour on a transparent background,
// null texts, number formats, sizes, and the fatal error reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "drawing_test_support.h"
#include "graphics.h"
#include "input_injection.h"
#include "window_test_access.h"

#ifndef _WIN32
#include "platform_faults.h"
#endif

namespace {

using drawing_test::Count;
using drawing_test::DrawingTest;
using drawing_test::OutputCatcher;
using drawing_test::Same;

class TextTest : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        w->SetFont(20, 0, FAMILY_SWISS, nullptr);
        w->SetPen(BLACK, 1);
    }

    // The smallest box holding every pixel of [x0, x1) x [y0, y1) that
    // differs from `ground`; empty (left > right) when there is none.
    struct Box {
        int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    };
    Box Ink(int x0, int y0, int x1, int y1, const color& ground) {
        Box b;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (!Same(At(x, y), ground)) {
                    b.left = std::min(b.left, x);
                    b.right = std::max(b.right, x);
                    b.top = std::min(b.top, y);
                    b.bottom = std::max(b.bottom, y);
                }
        return b;
    }
};

TEST_F(TextTest, TextIsDrawnInThePenColourOverWhatLiesBeneath) {
    w->SetBrush(BLUE);
    w->SetPen(BLUE, 1);
    w->DrawRectangle(0, 0, kW, 40, STYLE_FILLED, 0, 0);
    w->SetPen(RED, 1);
    w->SetFont(30, FONT_BOLD, FAMILY_SWISS, nullptr);
    w->DrawString(5, 2, "HIH");
    int red = 0, blue = 0, other = 0;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 60; ++x) {
            color c = At(x, y);
            if (Same(c, RED)) ++red;
            else if (Same(c, BLUE)) ++blue;
            else ++other;
        }
    EXPECT_GT(red, 50);     // solid strokes in the text colour
    EXPECT_GT(blue, 1000);  // the ground between and around the letters stays
    // Blended edge pixels lie between the two colours: no green ever.
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 60; ++x) EXPECT_EQ(0, At(x, y).green);
}

// The first message waiting for the window, left in its queue.
bool FirstWaiting(HWND hwnd, MSG& msg) { return PeekMessageA(&msg, hwnd, 0, 0, PM_NOREMOVE) != 0; }

TEST_F(TextTest, NullTextDrawsNothingReportsNothingAndDoesNotPump) {
    HWND hwnd = WindowTestAccess::Handle(*w);
    inject::Tap(hwnd, 'A');
    MSG before = {}, after = {};
    ASSERT_TRUE(FirstWaiting(hwnd, before));
    OutputCatcher out;
    for (int i = 0; i < 10; ++i) w->DrawString(5, 5, static_cast<const char*>(nullptr));
    EXPECT_EQ("", out.Take());
    // Still the same message first in line: nothing was taken.
    ASSERT_TRUE(FirstWaiting(hwnd, after));
    EXPECT_EQ(before.message, after.message);
    EXPECT_EQ(before.wParam, after.wParam);
    // An empty text is drawn, and that takes one message.
    w->DrawString(5, 5, "");
    MSG next = {};
    bool waiting = FirstWaiting(hwnd, next);
    EXPECT_TRUE(!waiting || next.message != before.message || next.wParam != before.wParam);
    w->DiscardKeys();
    EXPECT_EQ(0, CountNot(0, 0, 40, 30, WHITE));
}

TEST_F(TextTest, TextStartsAtItsTopLeftCorner) {
    w->SetFont(20, 0, FAMILY_SWISS, nullptr);
    w->DrawString(30, 20, "Hx");
    // The buffer's last row and column are not part of the cleared area.
    Box ink = Ink(0, 0, kW - 1, kH - 1, WHITE);
    int width = 0, height = 0;
    w->GetStringSize(width, height, "Hx");
    EXPECT_GE(ink.left, 30);
    EXPECT_LE(ink.left, 33);  // H's left bearing is a pixel or two
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.top, 26);   // the cell's internal leading lies above capitals
    EXPECT_LE(ink.right, 30 + width);
    EXPECT_LT(ink.bottom, 20 + height);
}

TEST_F(TextTest, DrawNumberFormatsIntegersAndDoubles) {
    struct Case {
        bool integer;
        int32_t i;
        double d;
        const char* text;
    };
    const Case cases[] = {
        {true, -42, 0, "-42"},        {true, 0, 0, "0"},
        {false, 0, 3.5, "3.500000"},  {false, 0, -0.25, "-0.250000"},
        {false, 0, 12.25, "12.250000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        // The number and its text, drawn at one place, give the same ink.
        w->SetPen(WHITE, 1);
        w->SetBrush(WHITE);
        w->DrawRectangle(0, 0, kW, kH, STYLE_FILLED, 0, 0);
        w->SetPen(BLACK, 1);
        if (c.integer) w->DrawNumber(2, 2, c.i);
        else w->DrawNumber(2, 2, c.d);
        w->DrawString(2, 40, c.text);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < kW; ++x) ASSERT_PRED2(Same, At(x, 2 + y), At(x, 40 + y)) << x << "," << y;
        int nw = 0, nh = 0, sw = 0, sh = 0;
        if (c.integer) w->GetNumberSize(nw, nh, c.i);
        else w->GetNumberSize(nw, nh, c.d);
        w->GetStringSize(sw, sh, c.text);
        EXPECT_EQ(sw, nw);
        EXPECT_EQ(sh, nh);
    }
}

TEST_F(TextTest, NumberSizesMatchTheirTexts) {
    int a = 0, b = 0, c = 0, d = 0;
    w->GetNumberSize(a, b, 7);
    w->GetStringSize(c, d, "7");
    EXPECT_EQ(c, a);
    EXPECT_EQ(d, b);
    w->GetNumberSize(a, b, 7.0);
    w->GetStringSize(c, d, std::string("7.000000"));
    EXPECT_EQ(c, a);
    EXPECT_GT(a, 0);
    // Digits share one width, so eight characters are eight times one.
    int one = 0;
    w->GetStringSize(one, d, "0");
    w->GetStringSize(a, b, "00000000");
    EXPECT_EQ(8 * one, a);
}

TEST_F(TextTest, SizesFollowTheFontAndAnEmptyTextHasNone) {
    int w10 = 0, h10 = 0, w50 = 0, h50 = 0, we = 0, he = 0;
    w->SetFont(10, 0, FAMILY_SWISS, nullptr);
    w->GetStringSize(w10, h10, "GAME OVER");
    w->SetFont(50, 0, FAMILY_SWISS, nullptr);
    w->GetStringSize(w50, h50, "GAME OVER");
    w->GetStringSize(we, he, "");
    EXPECT_EQ(10, h10);
    EXPECT_GE(h50, 50);
    EXPECT_LE(h50, 51);
    EXPECT_GT(w50, 4 * w10);
    EXPECT_EQ(0, we);
    EXPECT_EQ(0, he);
    // The string-object forms measure the same.
    int ws = 0, hs = 0;
    w->GetStringSize(ws, hs, std::string("GAME OVER"));
    EXPECT_EQ(w50, ws);
}

TEST_F(TextTest, StringObjectFormDrawsTheSame) {
    w->DrawString(2, 2, std::string("Same"));
    w->DrawString(2, 40, "Same");
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_PRED2(Same, At(x, 2 + y), At(x, 40 + y));
    EXPECT_GT(CountNot(0, 0, 60, 26, WHITE), 20);
}

TEST_F(TextTest, NullTextIsMeasuredAsEmptyInsteadOfRead) {
    int width = -1, height = -1;
    w->GetStringSize(width, height, static_cast<const char*>(nullptr));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
}

#ifndef _WIN32
// Failures are injected into the Linux platform layer only.
TEST_F(TextTest, FailedStepsOfDrawStringAreReportedAndTheOthersStillRun) {
    const char* const failing[] = {"SetBkMode", "SetTextAlign", "MoveToEx"};
    const char* const messages[] = {"Fatal Error: Failed to SetBkMode in DrawString!\n",
                                    "Fatal Error: Failed to SetTextAlign in DrawString!\n",
                                    "Fatal Error: Failed to MoveToEx in DrawString!\n"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(failing[i]);
        w->SetPen(WHITE, 1);
        w->SetBrush(WHITE);
        w->DrawRectangle(0, 0, kW, kH, STYLE_FILLED, 0, 0);
        w->SetPen(BLACK, 1);
        OutputCatcher out;
        platform_faults::FailNext(failing[i]);
        w->DrawString(10, 10, "Hi");
        std::string text = out.Take();
        platform_faults::ClearAll();
        EXPECT_EQ(1, Count(text, messages[i]));
        EXPECT_EQ(1, Count(text, "Fatal Error: "));
        EXPECT_GT(CountNot(0, 0, 60, 40, WHITE), 10);  // the text is drawn all the same
    }
    OutputCatcher out;
    platform_faults::FailNext("TextOutA");
    w->DrawString(10, 10, "Hi");
    platform_faults::FailNext("GetTextExtentPoint32A");
    int width = -1, height = -1;
    w->GetStringSize(width, height, "Hi");
    std::string text = out.Take();
    platform_faults::ClearAll();
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to TextOut in DrawString!\n"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to GetTextExtentPoint32 in GetStringSize!\n"));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
    // The font was put back: the next measurement works.
    w->GetStringSize(width, height, "Hi");
    EXPECT_EQ(20, height);
}
#endif

}  // namespace

#ifdef _WIN32
// On Windows the program's code page says how byte strings are read; every
// program built with the library carries an application manifest that names
// UTF-8 (Windows 10 1903 and later follow it; Wine 8 does not yet, and reads
// the bytes as Windows-1252).
TEST(TextEncoding, ProgramsCarryTheUtf8CodePageManifest) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr) << "no application manifest";
    const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(data, nullptr);
    std::string manifest(data, SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find(">UTF-8</activeCodePage>"), std::string::npos) << manifest;
}
#else
// Text is UTF-8: "ö" written in UTF-8 is one character, as wide as "o" (its
// accent takes no room of its own), not the two characters its two bytes
// would be in a single-byte code page; and what is measured is what is
// drawn.
TEST_F(TextTest, Utf8TextIsMeasuredAndDrawnAsItsCharacters) {
    int oWide = 0, oHigh = 0, umlautWide = 0, umlautHigh = 0;
    w->GetStringSize(oWide, oHigh, "Gro");
    w->GetStringSize(umlautWide, umlautHigh, "Gr\xC3\xB6");
    EXPECT_EQ(umlautWide, oWide);
    EXPECT_EQ(umlautHigh, oHigh);

    int wordWide = 0, wordHigh = 0;
    const char* word = "Gr\xC3\xB6\xC3\x9F" "e";
    w->GetStringSize(wordWide, wordHigh, word);
    w->DrawString(10, 10, word);
    int right = -1;
    for (int y = 10; y < 10 + wordHigh; ++y)
        for (int x = 10; x < kW - 1; ++x)
            if (!Same(At(x, y), WHITE)) right = std::max(right, x);
    EXPECT_GT(right, 10 + wordWide - 5);
    EXPECT_LT(right, 10 + wordWide);
}
#endif
