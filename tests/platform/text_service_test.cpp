// The text service: which faces logical fonts resolve to and at what size,
// text drawn on memory device contexts (placement, colour blending, the
// current position), measuring as drawn, the face and glyph caches, and
// wild input.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "gdi_internal.h"
#include "platform_faults.h"
#include "text.h"

namespace {

LOGFONTA Logical(int height, BYTE family, const char* face = "", LONG weight = FW_NORMAL, BYTE italic = 0) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = family;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

TEST(TextFontsTest, FaceNamesAndFamiliesResolveToInstalledFaces) {
    struct Case {
        LOGFONTA lf;
        const char* family;
    };
    const Case cases[] = {
        {Logical(20, FF_DONTCARE, "Arial"), "Liberation Sans"},
        {Logical(20, FF_SWISS), "Liberation Sans"},
        {Logical(20, FF_DONTCARE), "Liberation Sans"},
        {Logical(20, FF_ROMAN), "Liberation Serif"},
        {Logical(20, FF_MODERN), "Liberation Mono"},
        {Logical(20, FF_ROMAN, "No Such Face At All"), "Liberation Serif"},
        {Logical(20, FF_SWISS, "Liberation Mono"), "Liberation Mono"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lf.lfFaceName) + " family " + std::to_string(c.lf.lfPitchAndFamily));
        platform::FontInfo info;
        ASSERT_TRUE(platform::DescribeFont(c.lf, info));
        EXPECT_EQ(c.family, info.family);
    }
    platform::FontInfo bold, italic, both;
    ASSERT_TRUE(platform::DescribeFont(Logical(20, FF_SWISS, "", FW_BOLD), bold));
    ASSERT_TRUE(platform::DescribeFont(Logical(20, FF_SWISS, "", FW_NORMAL, 1), italic));
    ASSERT_TRUE(platform::DescribeFont(Logical(20, FF_ROMAN, "", FW_BOLD, 1), both));
    EXPECT_TRUE(bold.bold);
    EXPECT_FALSE(bold.italic);
    EXPECT_TRUE(italic.italic);
    EXPECT_FALSE(italic.bold);
    EXPECT_TRUE(both.bold && both.italic);
    EXPECT_NE(bold.file, italic.file);
}

TEST(TextFontsTest, HeightsAreCellHeightsEmHeightsOrTheDefault) {
    platform::FontInfo info;
    ASSERT_TRUE(platform::DescribeFont(Logical(20, FF_SWISS), info));
    EXPECT_EQ(20, info.ascent + info.descent);
    EXPECT_EQ(18, info.ppem);
    ASSERT_TRUE(platform::DescribeFont(Logical(-20, FF_SWISS), info));
    EXPECT_EQ(20, info.ppem);
    EXPECT_EQ(22, info.ascent + info.descent);
    ASSERT_TRUE(platform::DescribeFont(Logical(0, FF_SWISS), info));
    EXPECT_EQ(16, info.ascent + info.descent);
    ASSERT_TRUE(platform::DescribeFont(Logical(50, FF_SWISS), info));
    EXPECT_EQ(51, info.ascent + info.descent);  // the nearest whole em overshoots by one
    ASSERT_TRUE(platform::DescribeFont(Logical(10, FF_SWISS), info));
    EXPECT_EQ(10, info.ascent + info.descent);
    // The em is the largest whose cell stays under half a pixel past the
    // height: 14 gets the em of 13 (12, a 14-pixel cell), not the nearest
    // (13, a 15-pixel cell), and an em exactly half a pixel over is refused.
    ASSERT_TRUE(platform::DescribeFont(Logical(14, FF_SWISS), info));
    EXPECT_EQ(12, info.ppem);
    EXPECT_EQ(14, info.ascent + info.descent);
    ASSERT_TRUE(platform::DescribeFont(Logical(71, FF_SWISS), info));
    EXPECT_EQ(63, info.ppem);
    // Ascent and descent are rounded once from font units: Liberation
    // Mono's 1705/2048 of a 3-pixel em is 2.497, an ascent of 2.
    ASSERT_TRUE(platform::DescribeFont(Logical(4, FF_MODERN), info));
    EXPECT_EQ(3, info.ascent + info.descent);
    // Absurd heights are drawn at a size that can still be rendered.
    ASSERT_TRUE(platform::DescribeFont(Logical(INT_MAX, FF_SWISS), info));
    EXPECT_LE(info.ppem, 2048);
    ASSERT_TRUE(platform::DescribeFont(Logical(INT_MIN + 1, FF_SWISS), info));
    EXPECT_LE(info.ppem, 2048);
}

// A memory device context drawing on a 32-bit bitmap, with a font.
class TextDrawTest : public testing::Test {
protected:
    static constexpr int kW = 200;
    static constexpr int kH = 60;

    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(nullptr, dc);
        bitmap = platform::NewBitmap(kW, kH);
        ASSERT_NE(nullptr, bitmap);
        oldBitmap = SelectObject(dc, bitmap);
        UseFont(Logical(20, FF_SWISS));
        SetBkMode(dc, TRANSPARENT);
    }
    void TearDown() override {
        SelectObject(dc, oldBitmap);
        SelectObject(dc, oldFont);
        DeleteObject(bitmap);
        if (font != nullptr) DeleteObject(font);
        DeleteDC(dc);
        platform_faults::ClearAll();
    }

    void UseFont(const LOGFONTA& lf) {
        HFONT next = CreateFontIndirectA(&lf);
        ASSERT_NE(nullptr, next);
        HGDIOBJ displaced = SelectObject(dc, next);
        if (font == nullptr) oldFont = displaced;
        else DeleteObject(font);
        font = next;
    }

    void Fill(uint32_t pixel) {
        platform::Surface& s = platform::LookupBitmap(bitmap)->surface;
        std::fill(s.pixels.begin(), s.pixels.end(), pixel);
    }
    uint32_t Pixel(int x, int y) { return platform::LookupBitmap(bitmap)->surface.Row(y)[x]; }

    struct Box {
        int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    };
    Box Ink(uint32_t ground) {
        Box b;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (Pixel(x, y) != ground) {
                    b.left = std::min(b.left, x);
                    b.right = std::max(b.right, x);
                    b.top = std::min(b.top, y);
                    b.bottom = std::max(b.bottom, y);
                }
        return b;
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    HGDIOBJ oldFont = nullptr;
};

TEST_F(TextDrawTest, InkLiesInTheCellThatTheExtentDescribes) {
    const char* text = "Hag 1234 Wy";
    SIZE size = {};
    ASSERT_EQ(1, GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size));
    EXPECT_EQ(20, size.cy);
    EXPECT_GT(size.cx, 80);
    SetTextColor(dc, RGB(255, 255, 255));
    ASSERT_EQ(1, TextOutA(dc, 12, 7, text, static_cast<int>(std::strlen(text))));
    Box ink = Ink(0);
    EXPECT_GE(ink.left, 12);
    EXPECT_LE(ink.left, 14);
    EXPECT_GE(ink.top, 7);
    EXPECT_LT(ink.bottom, 7 + size.cy);
    EXPECT_GE(ink.bottom, 7 + size.cy - 5);  // the descenders of g and y reach down
    EXPECT_LT(ink.right, 12 + size.cx);
    EXPECT_GE(ink.right, 12 + size.cx - 3);
}

TEST_F(TextDrawTest, TwoLevelSizesMeasureWithTheGreyHintedAdvances) {
    // At 10 pixels the face asks for two-level glyphs; text is measured
    // with the advances of its grey-level hinting all the same (the
    // Windows build's M, T, X and Y are 8, 6, 6 and 6 pixels there; the
    // two-level hinting gives 7, 5, 5 and 7).
    UseFont(Logical(10, FF_SWISS));
    SIZE size = {};
    ASSERT_EQ(1, GetTextExtentPoint32A(dc, "MTXY", 4, &size));
    EXPECT_EQ(26, size.cx);
}

TEST_F(TextDrawTest, UpdatingTheCurrentPositionMovesItByTheExtent) {
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 10, 5, nullptr);
    SIZE first = {}, second = {};
    GetTextExtentPoint32A(dc, "SCORE", 5, &first);
    GetTextExtentPoint32A(dc, " 42", 3, &second);
    // The position, not the arguments, says where the text goes.
    TextOutA(dc, 150, 40, "SCORE", 5);
    TextOutA(dc, 150, 40, " 42", 3);
    POINT at = {};
    MoveToEx(dc, 0, 0, &at);
    EXPECT_EQ(10 + first.cx + second.cx, at.x);
    EXPECT_EQ(5, at.y);
    Box ink = Ink(0);
    EXPECT_LT(ink.right, 10 + first.cx + second.cx);
    EXPECT_LT(ink.bottom, 5 + 20);
    // Drawn in two pieces or in one, the text is the same.
    std::vector<uint32_t> pieces = platform::LookupBitmap(bitmap)->surface.pixels;
    Fill(0);
    SetTextAlign(dc, TA_NOUPDATECP);
    TextOutA(dc, 10, 5, "SCORE 42", 8);
    EXPECT_EQ(pieces, platform::LookupBitmap(bitmap)->surface.pixels);
}

TEST_F(TextDrawTest, GreyLevelsBlendAlongTheRampAndTheFaintestIsDropped) {
    UseFont(Logical(50, FF_SWISS));
    const std::set<uint32_t> whiteOnBlack = {0x00, 0x68, 0x7c, 0x8c, 0x9a, 0xa7, 0xb2, 0xbd,
                                             0xc7, 0xd0, 0xd9, 0xe1, 0xe9, 0xf0, 0xf8, 0xff};
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 2, 2, "Sag@", 4);
    std::set<uint32_t> seen;
    for (uint32_t p : platform::LookupBitmap(bitmap)->surface.pixels) {
        EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF);
        seen.insert(p & 0xFF);
    }
    for (uint32_t v : seen) EXPECT_TRUE(whiteOnBlack.count(v)) << std::hex << v;
    EXPECT_GT(seen.size(), 10u);
    EXPECT_EQ(0u, seen.count(0x4d));  // level 1 leaves the ground alone
    // Black on white runs the ramp from the other end.
    Fill(0xFFFFFF);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 2, 2, "Sag@", 4);
    seen.clear();
    for (uint32_t p : platform::LookupBitmap(bitmap)->surface.pixels) seen.insert(p & 0xFF);
    EXPECT_TRUE(seen.count(0x4d));
    EXPECT_EQ(0u, seen.count(0xf8));
    // A colour on a colour: solid strokes take the text colour exactly, and
    // every blend lies between the two.
    Fill(0x1E3CA0);
    SetTextColor(dc, RGB(200, 100, 50));
    TextOutA(dc, 2, 2, "Sag@", 4);
    bool solid = false;
    for (uint32_t p : platform::LookupBitmap(bitmap)->surface.pixels) {
        solid = solid || p == 0xC86432;
        uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        EXPECT_TRUE(r >= 0x1E && r <= 0xC8 && g >= 0x3C && g <= 0x64 && b >= 0x32 && b <= 0xA0) << std::hex << p;
    }
    EXPECT_TRUE(solid);
}

TEST_F(TextDrawTest, OpaqueModeFillsTheCellWithTheBackgroundColour) {
    platform::LookupDC(dc)->bkColor = RGB(0, 0, 255);
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(255, 255, 255));
    SIZE size = {};
    GetTextExtentPoint32A(dc, "ii", 2, &size);
    TextOutA(dc, 20, 10, "ii", 2);
    EXPECT_EQ(0x0000FFu, Pixel(20, 10));
    EXPECT_EQ(0x0000FFu, Pixel(20 + size.cx - 1, 10 + size.cy - 1));
    EXPECT_EQ(0u, Pixel(20 + size.cx, 10));
    EXPECT_EQ(0u, Pixel(20, 10 + size.cy));
}

TEST_F(TextDrawTest, UnderlineRunsUnderTheWholeText) {
    LOGFONTA lf = Logical(20, FF_SWISS);
    lf.lfUnderline = 1;
    UseFont(lf);
    SetTextColor(dc, RGB(255, 255, 255));
    SIZE size = {};
    GetTextExtentPoint32A(dc, "a b", 3, &size);
    TextOutA(dc, 10, 10, "a b", 3);
    // One row below the baseline is lit from the first to the last pixel.
    int lit = -1;
    for (int y = 10; y < 30 && lit < 0; ++y) {
        bool full = true;
        for (int x = 10; x < 10 + size.cx; ++x) full = full && Pixel(x, y) == 0xFFFFFF;
        if (full) lit = y;
    }
    EXPECT_GE(lit, 10 + 16);
    EXPECT_EQ(0u, Pixel(10 + size.cx, lit));
    EXPECT_EQ(0u, Pixel(9, lit));
}

TEST_F(TextDrawTest, DrawingTheSameTextAgainOpensAndRendersNothingNew) {
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 0, 0, "SCORE LEVEL 0123456789", 22);
    platform::TextCacheCounters before = platform::TextCacheCount();
    for (int frame = 0; frame < 50; ++frame) {
        // As the game does each frame: a new font object with the same description.
        UseFont(Logical(20, FF_SWISS));
        TextOutA(dc, 0, 0, "SCORE LEVEL 0123456789", 22);
        SIZE size = {};
        GetTextExtentPoint32A(dc, "9876543210", 10, &size);
    }
    platform::TextCacheCounters after = platform::TextCacheCount();
    EXPECT_EQ(before.facesOpened, after.facesOpened);
    EXPECT_EQ(before.glyphsRendered, after.glyphsRendered);
}

TEST_F(TextDrawTest, EachFontObjectKeepsItsOwnSizeAmongManyInTurn) {
    // More fonts than are remembered, used in turn, each measured as when
    // it is used alone.
    std::vector<HFONT> fonts;
    std::vector<LONG> alone;
    for (int i = 0; i < 12; ++i) {
        LOGFONTA lf = Logical(12 + 3 * i, FF_SWISS);
        fonts.push_back(CreateFontIndirectA(&lf));
        ASSERT_NE(nullptr, fonts.back());
        SIZE size = {};
        HGDIOBJ before = SelectObject(dc, fonts.back());
        GetTextExtentPoint32A(dc, "Wide", 4, &size);
        SelectObject(dc, before);
        alone.push_back(size.cy);
    }
    EXPECT_LT(alone.front(), alone.back());
    for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < fonts.size(); ++i) {
            size_t k = (i * 5 + round) % fonts.size();
            HGDIOBJ before = SelectObject(dc, fonts[k]);
            SIZE size = {};
            GetTextExtentPoint32A(dc, "Wide", 4, &size);
            EXPECT_EQ(alone[k], size.cy) << "font " << k;
            SelectObject(dc, before);
        }
    }
    for (HFONT f : fonts) DeleteObject(f);
}

TEST_F(TextDrawTest, RefusedAndInjectedFailuresReportFailure) {
    SIZE size = {};
    EXPECT_EQ(0, TextOutA(dc, 0, 0, "x", -1));
    EXPECT_EQ(0, TextOutA(dc, 0, 0, nullptr, 3));
    EXPECT_EQ(0, GetTextExtentPoint32A(dc, "x", 1, nullptr));
    EXPECT_EQ(0, TextOutA(nullptr, 0, 0, "x", 1));
    EXPECT_EQ(1, TextOutA(dc, 0, 0, nullptr, 0));
    platform_faults::FailNext("TextOutA");
    EXPECT_EQ(0, TextOutA(dc, 0, 0, "x", 1));
    EXPECT_EQ(1, TextOutA(dc, 0, 0, "x", 1));
    platform_faults::FailNext("GetTextExtentPoint32A");
    EXPECT_EQ(0, GetTextExtentPoint32A(dc, "x", 1, &size));
    EXPECT_EQ(1, GetTextExtentPoint32A(dc, "x", 1, &size));
    EXPECT_EQ(20, size.cy);
    EXPECT_EQ(1, GetTextExtentPoint32A(dc, "", 0, &size));
    EXPECT_EQ(0, size.cx);
    EXPECT_EQ(0, size.cy);
}

TEST_F(TextDrawTest, WildPositionsAndSizesStayInsideTheSurface) {
    SetTextColor(dc, RGB(255, 255, 255));
    const int positions[] = {INT_MIN, INT_MIN + 1, -100000, -30, 190, 100000, INT_MAX - 1, INT_MAX};
    for (int x : positions)
        for (int y : positions) EXPECT_EQ(1, TextOutA(dc, x, y, "Wide glyphs WWW", 15));
    UseFont(Logical(INT_MAX, FF_SWISS));
    EXPECT_EQ(1, TextOutA(dc, -500, -500, "W", 1));
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, INT_MAX - 5, 0, nullptr);
    EXPECT_EQ(1, TextOutA(dc, 0, 0, "WWWW", 4));
}

}  // namespace

// Text is UTF-8; bytes that are not well-formed UTF-8 stand for themselves
// in Windows-1252. Measuring and drawing read it alike.
TEST_F(TextDrawTest, TextIsUtf8WithWindows1252ForMalformedBytes) {
    auto width = [&](const char* text) {
        SIZE size = {};
        EXPECT_EQ(1, GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size));
        return size.cx;
    };
    auto ink = [&](const char* text) {
        Fill(0);
        SetTextColor(dc, RGB(255, 255, 255));
        EXPECT_EQ(1, TextOutA(dc, 4, 4, text, static_cast<int>(std::strlen(text))));
        return platform::LookupBitmap(bitmap)->surface.pixels;
    };
    // One character each, the same as its Windows-1252 byte.
    EXPECT_EQ(width("Gr\xC3\xB6\xC3\x9F" "e"), width("Gr\xF6\xDF" "e"));
    EXPECT_EQ(width("\xE2\x82\xAC"), width("\x80"));  // the euro sign
    EXPECT_EQ(ink("Gr\xC3\xB6\xC3\x9F" "e"), ink("Gr\xF6\xDF" "e"));
    EXPECT_NE(ink("\xC3\xB6"), ink("\xC3"));
    // Malformed: a lead byte without its continuation, a cut-short sequence
    // at the end, an overlong form and a surrogate are read byte by byte.
    EXPECT_EQ(width("\xC3(x"), width("\xC3") + width("(x"));
    EXPECT_EQ(width("a\xE2\x82"), width("a") + width("\xE2") + width("\x82"));
    EXPECT_EQ(width("\xC0\xAF"), width("\xC0") + width("\xAF"));
    EXPECT_EQ(width("\xED\xA0\x80"), width("\xED") + width("\xA0") + width("\x80"));
    // A character from beyond the first 256 code points (Greek).
    EXPECT_GT(width("\xCE\xA9"), 0);
    EXPECT_NE(ink("\xCE\xA9"), ink("\xCE"));
}
