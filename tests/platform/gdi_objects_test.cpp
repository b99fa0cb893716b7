// The GDI service's objects and device contexts: stock objects, creation,
// selection, deletion while selected, modes, current position, window and
// screen DCs, failure injection, and shapes drawn on memory DCs.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstring>
#include <vector>

#include "gdi_internal.h"
#include "platform_faults.h"
#include "window_service.h"

namespace {

// A memory DC with a white bitmap of its own selected.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ displaced;
    Canvas(int w, int h) : dc(CreateCompatibleDC(nullptr)), bitmap(platform::NewBitmap(w, h)) {
        displaced = SelectObject(dc, bitmap);
        platform::LookupBitmap(bitmap)->surface.pixels.assign(static_cast<size_t>(w) * h, 0xFFFFFF);
    }
    ~Canvas() {
        SelectObject(dc, displaced);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    const std::vector<uint32_t>& Pixels() { return platform::LookupBitmap(bitmap)->surface.pixels; }
    uint32_t At(int x, int y) { return GetPixel(dc, x, y); }
};

TEST(GdiObjects, StockObjectsHaveTheirKindsAndSurviveDeletion) {
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(9), nullptr);  // no stock object has this index
    EXPECT_EQ(GetStockObject(40), nullptr);
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), GetStockObject(BLACK_BRUSH));
}

TEST(GdiObjects, CreatedObjectsKeepWhatTheyWereMadeFrom) {
    HPEN pen = CreatePen(PS_INSIDEFRAME, 5, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6) | 0x01000000);
    LOGFONTA lf{};
    lf.lfHeight = 17;
    lf.lfWeight = FW_BOLD;
    std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);  // no terminator
    HFONT font = CreateFontIndirectA(&lf);
    ASSERT_NE(pen, nullptr);
    ASSERT_NE(brush, nullptr);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(platform::LookupPen(pen)->style, PS_INSIDEFRAME);
    EXPECT_EQ(platform::LookupPen(pen)->width, 5);
    EXPECT_EQ(platform::LookupPen(pen)->color, RGB(1, 2, 3));
    EXPECT_EQ(platform::LookupBrush(brush)->color, RGB(4, 5, 6)) << "the top byte is not a colour";
    EXPECT_EQ(platform::LookupFont(font)->logFont.lfHeight, 17);
    EXPECT_EQ(platform::LookupFont(font)->logFont.lfFaceName[LF_FACESIZE - 1], '\0');
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    HFONT other = CreateFontIndirectA(&lf);
    EXPECT_NE(platform::LookupFont(font)->serial, platform::LookupFont(other)->serial);
    EXPECT_EQ(platform::LookupPen(static_cast<HPEN>(static_cast<HGDIOBJ>(brush))), nullptr);
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(brush), static_cast<HGDIOBJ>(font),
                      static_cast<HGDIOBJ>(other)}) {
        EXPECT_TRUE(DeleteObject(h));
        EXPECT_EQ(GetObjectType(h), 0u);
        EXPECT_FALSE(DeleteObject(h)) << "a deleted handle stays dead";
    }
}

TEST(GdiObjects, AHandleOfADeletedObjectFindsNothingOnceAnotherObjectTakesItsPlace) {
    HPEN first = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
    ASSERT_TRUE(DeleteObject(first));
    std::vector<HGDIOBJ> later;
    for (int i = 0; i < 3; ++i) later.push_back(CreatePen(PS_SOLID, 1, RGB(2, 2, 2)));
    later.push_back(CreateSolidBrush(RGB(3, 3, 3)));
    for (HGDIOBJ h : later) EXPECT_NE(h, static_cast<HGDIOBJ>(first)) << "every object has a handle of its own";
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(platform::LookupPen(first), nullptr);
    EXPECT_FALSE(DeleteObject(first));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, first), nullptr);
    DeleteDC(dc);
    for (HGDIOBJ h : later) {
        EXPECT_NE(GetObjectType(h), 0u) << "a stale handle leaves the live ones alone";
        EXPECT_TRUE(DeleteObject(h));
    }
    // Handles moved by a few bytes name nothing.
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    for (uintptr_t shift : {1, 2, 4, 8}) {
        EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(reinterpret_cast<uintptr_t>(pen) + shift)), 0u);
    }
    EXPECT_TRUE(DeleteObject(pen));
}

// The two DCs found last are remembered: a deleted one is refused from then
// on, whether it was found last or the one before, also once a new DC takes
// its place in the table, and the other DC still works.
TEST(GdiObjects, ADeletedDcIsRefusedWhicheverOfTheDcsFoundLastItWas) {
    for (bool goneFoundLast : {true, false}) {
        HDC gone = CreateCompatibleDC(nullptr), kept = CreateCompatibleDC(nullptr);
        for (HDC dc : goneFoundLast ? std::vector<HDC>{kept, gone} : std::vector<HDC>{gone, kept})
            EXPECT_EQ(SetROP2(dc, R2_NOT), R2_COPYPEN);
        ASSERT_TRUE(DeleteDC(gone));
        EXPECT_EQ(SetROP2(gone, R2_WHITE), 0) << "found last: " << goneFoundLast;
        EXPECT_EQ(platform::LookupDC(gone), nullptr);
        HDC successor = CreateCompatibleDC(nullptr);
        EXPECT_EQ(SetROP2(successor, R2_WHITE), R2_COPYPEN);
        EXPECT_EQ(SetROP2(gone, R2_WHITE), 0) << "after a new DC, found last: " << goneFoundLast;
        EXPECT_EQ(SetROP2(kept, R2_BLACK), R2_NOT) << "the other DC keeps its mode";
        EXPECT_EQ(GetROP2(successor), R2_WHITE);
        EXPECT_TRUE(DeleteDC(successor));
        EXPECT_TRUE(DeleteDC(kept));
    }
}

TEST(GdiObjects, NewMemoryDcHoldsTheDefaultsAndSelectionGivesBackTheDisplaced) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT)), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_PEN)), pen);
    HBITMAP bitmap = platform::NewBitmap(3, 2);
    HGDIOBJ first = SelectObject(dc, bitmap);
    EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(platform::LookupBitmap(static_cast<HBITMAP>(first))->surface.width, 1);
    EXPECT_EQ(SelectObject(dc, first), bitmap);
    EXPECT_EQ(SelectObject(nullptr, pen), nullptr);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    HRGN region = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(SelectObject(dc, region), nullptr);
    DeleteObject(region);
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(dc) + 1), nullptr) << "an unknown reference DC";
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(bitmap);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiObjects, BitmapsGoOnlyIntoOneMemoryDc) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetObjectType(screen), static_cast<DWORD>(OBJ_DC));
    HBITMAP bitmap = platform::NewBitmap(4, 4);
    EXPECT_EQ(SelectObject(screen, bitmap), nullptr);
    HGDIOBJ old = SelectObject(a, bitmap);
    EXPECT_NE(old, nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr) << "already in another DC";
    SelectObject(a, old);
    EXPECT_NE(SelectObject(b, bitmap), nullptr) << "free again once deselected";
    DeleteDC(b);  // deleting the DC lets go of the bitmap
    EXPECT_NE(SelectObject(a, bitmap), nullptr);
    DeleteDC(a);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(ReleaseDC(reinterpret_cast<HWND>(8), screen), 0) << "not this window's DC";
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
}

TEST(GdiObjects, DeletingASelectedObjectWaitsUntilItIsDeselected) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(9, 9, 9));
    HBITMAP bitmap = platform::NewBitmap(2, 2);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN)) << "still in use";
    EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(SelectObject(dc, oldPen), pen);
    EXPECT_EQ(GetObjectType(pen), 0u);
    DeleteDC(dc);
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "gone with the DC that held it";
    (void)oldBitmap;
}

TEST(GdiObjects, ModesRefuseValuesOutsideTheirRange) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    EXPECT_EQ(SetROP2(dc, R2_NOT), R2_COPYPEN);
    EXPECT_EQ(SetROP2(dc, 0), 0);
    EXPECT_EQ(SetROP2(dc, R2_LAST + 1), 0);
    EXPECT_EQ(GetROP2(dc), R2_NOT);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, 3), 0);
    EXPECT_EQ(SetPolyFillMode(dc, WINDING), ALTERNATE);
    EXPECT_EQ(SetPolyFillMode(dc, 0), 0);
    EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(SetStretchBltMode(dc, HALFTONE + 1), 0);
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(dc, 0), RGB(1, 2, 3));
    EXPECT_EQ(SetTextAlign(dc, TA_UPDATECP), static_cast<UINT>(TA_LEFT | TA_TOP));
    EXPECT_EQ(platform::LookupDC(dc)->textAlign, static_cast<UINT>(TA_UPDATECP));
    EXPECT_EQ(SetTextAlign(nullptr, 0), GDI_ERROR);
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(SetROP2(nullptr, R2_NOT), 0);
    int caps = GetDeviceCaps(dc, RASTERCAPS);
    EXPECT_TRUE((caps & RC_BITBLT) && (caps & RC_BITMAP64) && (caps & RC_STRETCHBLT));
    EXPECT_EQ(GetDeviceCaps(nullptr, RASTERCAPS), 0);
    DeleteDC(dc);
}

TEST(GdiObjects, CurrentPositionMovesWithMoveToAndLineTo) {
    Canvas c(10, 10);
    POINT old{-1, -1};
    EXPECT_TRUE(MoveToEx(c.dc, 2, 3, &old));
    EXPECT_EQ(old.x, 0);
    EXPECT_EQ(old.y, 0);
    EXPECT_TRUE(LineTo(c.dc, 6, 3));
    EXPECT_TRUE(MoveToEx(c.dc, 0, 0, &old));
    EXPECT_EQ(old.x, 6);
    EXPECT_EQ(old.y, 3);
    EXPECT_EQ(c.At(2, 3), RGB(0, 0, 0));
    EXPECT_EQ(c.At(5, 3), RGB(0, 0, 0));
    EXPECT_EQ(c.At(6, 3), RGB(255, 255, 255)) << "the last pixel is left out";
    EXPECT_FALSE(MoveToEx(nullptr, 1, 1, nullptr));
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
}

#ifndef _WIN32  // failure injection exists only in our platform layer
TEST(GdiObjects, InjectedFailuresReportAsWin32AndChangeNothing) {
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    platform_faults::FailNext("DeleteObject");
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_TRUE(DeleteObject(pen));
    Canvas c(4, 4);
    platform_faults::FailNext("Rectangle");
    EXPECT_FALSE(Rectangle(c.dc, 0, 0, 4, 4));
    EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255));
    platform_faults::FailNext("CreatePen");
    EXPECT_EQ(CreatePen(PS_SOLID, 1, 0), nullptr);
    platform_faults::FailNext("SetTextAlign");
    EXPECT_EQ(SetTextAlign(c.dc, 0), GDI_ERROR);
    platform_faults::FailNext("InvertRgn");
    HRGN r = CreateRectRgn(0, 0, 2, 2);
    EXPECT_FALSE(InvertRgn(c.dc, r));
    EXPECT_TRUE(InvertRgn(c.dc, r));
    EXPECT_EQ(c.At(1, 1), RGB(0, 0, 0));
    DeleteObject(r);
    platform_faults::ClearAll();
}

TEST(GdiObjectsDeathTest, ArmingANameNoPlatformCallChecksEndsTheTest) {
    EXPECT_DEATH(platform_faults::FailNext("DeleteObjekt"), "no platform call named DeleteObjekt");
}
#endif

// ------------------------------------------------------------ shapes

TEST(GdiShapes, RectangleHasItsOutlineInThePenAndInteriorInTheBrush) {
    Canvas c(10, 10);
    HPEN pen = CreatePen(PS_INSIDEFRAME, 1, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(c.dc, pen);
    SelectObject(c.dc, brush);
    EXPECT_TRUE(Rectangle(c.dc, 6, 5, 1, 1));  // given backwards
    EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(c.At(5, 4), RGB(255, 0, 0));
    EXPECT_EQ(c.At(3, 2), RGB(0, 0, 255));
    EXPECT_EQ(c.At(6, 4), RGB(255, 255, 255));
    EXPECT_EQ(c.At(5, 5), RGB(255, 255, 255));
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    EXPECT_TRUE(Rectangle(c.dc, 7, 7, 9, 9));
    EXPECT_EQ(c.At(7, 7), RGB(0, 0, 255));
    EXPECT_EQ(c.At(8, 8), RGB(255, 255, 255)) << "without a pen one pixel short";
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(GdiShapes, EmptyAndSinglePixelBoxesAndPensWiderThanTheirBox) {
    Canvas c(30, 30);
    HPEN thin = CreatePen(PS_INSIDEFRAME, 1, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(c.dc, thin);
    SelectObject(c.dc, brush);
    EXPECT_TRUE(Rectangle(c.dc, 2, 2, 2, 9));
    EXPECT_TRUE(Ellipse(c.dc, 4, 4, 9, 4));
    EXPECT_TRUE(Rectangle(c.dc, 10, 10, 11, 11));
    EXPECT_TRUE(Ellipse(c.dc, 12, 12, 13, 13));
    for (uint32_t p : c.Pixels()) EXPECT_EQ(p, 0xFFFFFFu) << "empty and one-pixel boxes draw nothing";
    // A pen wider than its box still draws its dot around the box.
    HPEN wide = CreatePen(PS_INSIDEFRAME, 3, RGB(255, 0, 0));
    SelectObject(c.dc, wide);
    EXPECT_TRUE(Rectangle(c.dc, 20, 20, 21, 21));
    EXPECT_EQ(c.At(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(c.At(19, 20), RGB(255, 0, 0));
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(thin);
    DeleteObject(wide);
    DeleteObject(brush);
}

TEST(GdiShapes, InsideFramePensKeepWideOutlinesInsideTheBox) {
    Canvas c(40, 40);
    HPEN pen = CreatePen(PS_INSIDEFRAME, 6, RGB(0, 0, 0));
    SelectObject(c.dc, pen);
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(Ellipse(c.dc, 5, 5, 35, 30));
    EXPECT_TRUE(RoundRect(c.dc, 10, 10, 30, 25, 8, 8));
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (x < 5 || x >= 35 || y < 5 || y >= 30) {
                EXPECT_EQ(c.At(x, y), RGB(255, 255, 255)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(c.At(5, 17), RGB(0, 0, 0));
    EXPECT_EQ(c.At(10, 17), RGB(0, 0, 0));
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

// Inside-frame pens at least as wide as an arc's box, as the Windows build
// draws them (found from its pictures).
TEST(GdiShapes, InsideFrameArcsAndPiesWiderThanTheirBox) {
    Canvas c(96, 72);
    auto blank = [&] {
        for (uint32_t p : c.Pixels()) {
            if (p != 0xFFFFFFu) return false;
        }
        return true;
    };
    SelectObject(c.dc, GetStockObject(GRAY_BRUSH));
    // Wider than the box across: nothing at all, not even the pie's inside.
    HPEN pen = CreatePen(PS_INSIDEFRAME, 13, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(c.dc, pen);
    EXPECT_TRUE(Arc(c.dc, 42, 16, 54, 56, 154, 36, 154, 36));
    EXPECT_TRUE(Pie(c.dc, 42, 16, 54, 56, 154, 16, -58, 16));
    EXPECT_TRUE(blank());
    // Taller than a wide box: the pen's path turns upside down and is still
    // traced, reaching out above and below the box.
    EXPECT_TRUE(Arc(c.dc, 28, 30, 68, 42, 168, 36, 168, 36));
    EXPECT_EQ(c.At(48, 28), RGB(0, 0, 0));
    EXPECT_EQ(c.At(48, 43), RGB(0, 0, 0));
    EXPECT_EQ(c.At(48, 44), RGB(255, 255, 255));
    EXPECT_EQ(c.At(27, 36), RGB(255, 255, 255));
    // Upside down and then taller than wide: nothing.
    Canvas d(96, 72);
    HPEN wider = CreatePen(PS_INSIDEFRAME, 28, RGB(0, 0, 0));
    SelectObject(d.dc, wider);
    EXPECT_TRUE(Arc(d.dc, 28, 30, 68, 42, 168, 36, 168, 36));
    for (uint32_t p : d.Pixels()) EXPECT_EQ(p, 0xFFFFFFu);
    SelectObject(d.dc, GetStockObject(BLACK_PEN));
    SelectObject(c.dc, old);
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(wider);
}

TEST(GdiShapes, EveryFigureInvertedTwiceGivesBackThePicture) {
    Canvas c(60, 60);
    auto& px = platform::LookupBitmap(c.bitmap)->surface.pixels;
    for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    std::vector<uint32_t> before = px;
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    SetROP2(c.dc, R2_NOT);
    POINT star[5] = {{30, 0}, {48, 54}, {2, 20}, {58, 20}, {12, 54}};
    POINT curve[4] = {{0, 0}, {60, 10}, {0, 50}, {60, 60}};
    for (int pass = 0; pass < 2; ++pass) {
        Rectangle(c.dc, 3, 3, 40, 30);
        Ellipse(c.dc, 10, 5, 55, 50);
        RoundRect(c.dc, -5, 20, 30, 70, 15, 10);
        Polygon(c.dc, star, 5);
        Pie(c.dc, 5, 5, 50, 55, 50, 30, 5, 5);
        Arc(c.dc, 0, 0, 60, 60, 0, 30, 60, 30);
        PolyBezier(c.dc, curve, 4);
        MoveToEx(c.dc, 0, 59, nullptr);
        LineTo(c.dc, 59, 0);
    }
    EXPECT_EQ(px, before);
    std::vector<HRGN> regions = {CreateRectRgn(5, 5, 50, 40), CreateEllipticRgn(0, 0, 61, 61),
                                 CreateRoundRectRgn(10, 10, 50, 58, 20, 20), CreatePolygonRgn(star, 5, WINDING),
                                 CreatePolygonRgn(star, 5, ALTERNATE)};
    for (HRGN r : regions) {
        EXPECT_TRUE(InvertRgn(c.dc, r));
        EXPECT_NE(px, before);
        EXPECT_TRUE(InvertRgn(c.dc, r));
        EXPECT_EQ(px, before);
        EXPECT_TRUE(DeleteObject(r));
    }
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
}

TEST(GdiShapes, WildCoordinatesAndCountsNeverWriteOutsideTheSurface) {
    // The bitmap's surface is checked whole afterwards; AddressSanitizer
    // watches every write on the way.
    Canvas c(16, 16);
    HPEN pen = CreatePen(PS_INSIDEFRAME, 9, RGB(0, 0, 0));
    SelectObject(c.dc, pen);
    const int v[] = {INT_MIN, -100000, -1, 0, 7, 15, 16, 100000, INT_MAX};
    for (int a : v) {
        for (int b : v) {
            EXPECT_TRUE(Rectangle(c.dc, a, b, b, a));
            EXPECT_TRUE(Ellipse(c.dc, a, a, b, b));
            EXPECT_TRUE(RoundRect(c.dc, a, b, b, a, a, b));
            EXPECT_TRUE(Pie(c.dc, a, a, b, b, a, b, b, a));
            EXPECT_TRUE(Arc(c.dc, b, a, a, b, 0, 0, a, b));
            POINT tri[3] = {{a, b}, {b, a}, {a, a}};
            EXPECT_TRUE(Polygon(c.dc, tri, 3));
            MoveToEx(c.dc, a, b, nullptr);
            EXPECT_TRUE(LineTo(c.dc, b, a));
            POINT curve[4] = {{a, a}, {b, a}, {a, b}, {b, b}};
            EXPECT_TRUE(PolyBezier(c.dc, curve, 4));
            HRGN r = CreatePolygonRgn(tri, 3, WINDING);
            EXPECT_TRUE(InvertRgn(c.dc, r));
            DeleteObject(r);
        }
    }
    POINT two[2] = {{0, 0}, {5, 5}};
    EXPECT_FALSE(Polygon(c.dc, two, 1)) << "a polygon needs two points";
    EXPECT_FALSE(Polygon(c.dc, two, -5));
    EXPECT_TRUE(Polygon(c.dc, two, 2));
    EXPECT_FALSE(PolyBezier(c.dc, two, 2));
    EXPECT_EQ(CreatePolygonRgn(two, 2, 7), nullptr);
    EXPECT_EQ(SetPixel(c.dc, 16, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc, -1, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc, 15, 15, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(c.dc, 15, 15), RGB(1, 2, 3));
    EXPECT_EQ(c.Pixels().size(), 256u);
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiShapes, ScreenDcsAcceptDrawingThatGoesNowhere) {
    HDC screen = GetDC(nullptr);
    EXPECT_TRUE(Rectangle(screen, 0, 0, 10, 10));
    EXPECT_TRUE(Ellipse(screen, 0, 0, 10, 10));
    EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);
    EXPECT_EQ(platform::TargetSurface(*platform::LookupDC(screen)), nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

}  // namespace

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A window whose client area the window service keeps as a surface.
HWND MakeWindow(int w, int h) {
    WNDCLASSA record{};
    record.lpfnWndProc = PlainProc;
    record.hInstance = GetModuleHandleA(nullptr);
    record.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    record.lpszClassName = "gdi objects test";
    RegisterClassA(&record);
    return CreateWindowExA(0, "gdi objects test", "gdi", WS_VISIBLE | WS_CAPTION, 10, 10,
                           w + GetSystemMetrics(SM_CXEDGE), h + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE),
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(GdiWindowDcs, DrawAndCopyOntoTheWindowsClientArea) {
    HWND hwnd = MakeWindow(64, 48);
    ASSERT_NE(hwnd, nullptr);
    platform::Surface* client = platform::ClientSurface(hwnd);
    ASSERT_NE(client, nullptr);
    HDC dc = GetDC(hwnd);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
    EXPECT_EQ(platform::TargetSurface(*platform::LookupDC(dc)), client);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(Rectangle(dc, 2, 2, 6, 6));
    EXPECT_EQ(client->Row(3)[3], 0u);
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0, 0, 0));
    // A frame from a back buffer: all but the last row and column.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP buffer = CreateCompatibleBitmap(dc, client->width, client->height);
    HGDIOBJ old = SelectObject(memory, buffer);
    platform::LookupBitmap(buffer)->surface.pixels.assign(client->pixels.size(), 0x00FF00);
    EXPECT_TRUE(BitBlt(dc, 0, 0, client->width - 1, client->height - 1, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(client->Row(0)[0], 0x00FF00u);
    EXPECT_EQ(client->Row(client->height - 2)[client->width - 2], 0x00FF00u);
    EXPECT_NE(client->Row(client->height - 1)[client->width - 1], 0x00FF00u);
    SelectObject(memory, old);
    DeleteObject(buffer);
    DeleteDC(memory);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
    EXPECT_EQ(GetObjectType(dc), 0u);
    DestroyWindow(hwnd);
    EXPECT_EQ(GetDC(hwnd), nullptr) << "no DC for a destroyed window";
}

}  // namespace

namespace {

TEST(GdiShapes, ThinEllipseOutlineChangesTheInnerPixelsOfAnOddMiddleRowTwice) {
    Canvas c(60, 20);
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    SetROP2(c.dc, R2_NOT);
    Ellipse(c.dc, 10, 10, 43, 13);  // three rows: the middle one, y = 11, is shared by both halves
    EXPECT_EQ(c.At(10, 11), 0u);          // its end pixels are changed once
    EXPECT_EQ(c.At(42, 11), 0u);
    EXPECT_EQ(c.At(11, 11), 0xFFFFFFu);   // the pixels beside them twice
    EXPECT_EQ(c.At(41, 11), 0xFFFFFFu);
    EXPECT_EQ(c.At(26, 10), 0u);          // the top and bottom rows once
    Ellipse(c.dc, 10, 0, 43, 4);          // four rows: no row is shared
    EXPECT_EQ(c.At(11, 1), 0u);
}

TEST(GdiShapes, NarrowEvenCornersKeepTheStraightPartOnTheRowTheirTraceEndsOn) {
    Canvas c(96, 72);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    // A 4 x 7 corner: the quarter's last step lands on the top and bottom
    // rows without a pixel of its own there; the straight part stays.
    RoundRect(c.dc, 48, 36, 53, 43, 4, 7);
    for (int y : {36, 42}) {
        EXPECT_EQ(c.At(50, y), 0u) << y;
        EXPECT_EQ(c.At(49, y), 0xFFFFFFu) << y;
        EXPECT_EQ(c.At(51, y), 0xFFFFFFu) << y;
    }
    EXPECT_EQ(c.At(49, 37), 0u);
    EXPECT_EQ(c.At(48, 37), 0xFFFFFFu);
    // A 4 x 20 corner: the trace ends by a step along its last row, and
    // the row past it stays empty.
    RoundRect(c.dc, 10, 10, 15, 30, 4, 21);
    EXPECT_EQ(c.At(12, 10), 0xFFFFFFu);
    EXPECT_EQ(c.At(12, 29), 0xFFFFFFu);
    EXPECT_EQ(c.At(11, 11), 0u);
}

TEST(GdiShapes, RegionsWithCornersTwoPixelsWideKeepOnlyTheCornerRowsTheTraceReaches) {
    Canvas c(96, 72);
    // Corners 2 x 10: the region's top and bottom four rows stay empty,
    // the straight part between them spans the box; drawn, the same
    // figure is square.
    HRGN round = CreateRoundRectRgn(40, 0, 60, 70, 2, 10);
    InvertRgn(c.dc, round);
    for (int x : {40, 50, 58}) {
        EXPECT_EQ(c.At(x, 3), 0xFFFFFFu) << x;
        EXPECT_EQ(c.At(x, 4), 0u) << x;
        EXPECT_EQ(c.At(x, 64), 0u) << x;
        EXPECT_EQ(c.At(x, 65), 0xFFFFFFu) << x;
    }
    // An elliptic region two pixels wide and five high: its middle row only.
    HRGN narrow = CreateEllipticRgn(10, 10, 13, 16);
    InvertRgn(c.dc, narrow);
    for (int y = 10; y < 15; ++y) EXPECT_EQ(c.At(10, y), y == 12 ? 0u : 0xFFFFFFu) << y;
    EXPECT_EQ(c.At(11, 12), 0u);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    RoundRect(c.dc, 70, 0, 90, 71, 2, 10);
    EXPECT_EQ(c.At(70, 0), 0u);
    DeleteObject(round);
    DeleteObject(narrow);
}

TEST(GdiShapes, RoundRegionsOfABoxWithoutWidthOrHeightCoverTheRowOrColumnBeforeIt) {
    Canvas c(20, 20);
    HRGN corner = CreateEllipticRgn(8, 8, 8, 8);
    HRGN column = CreateRoundRectRgn(5, 2, 5, 6, 9, 9);
    InvertRgn(c.dc, corner);
    InvertRgn(c.dc, column);
    EXPECT_EQ(c.At(7, 7), 0u);
    for (int y = 2; y < 5; ++y) EXPECT_EQ(c.At(4, y), 0u) << y;
    EXPECT_EQ(c.At(4, 5), 0xFFFFFFu);
    EXPECT_EQ(c.At(5, 2), 0xFFFFFFu);
    DeleteObject(corner);
    DeleteObject(column);
}

}  // namespace
