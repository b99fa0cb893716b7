// Bitmaps and transfers: compatible bitmaps, block copies with clipping and
// overlap, stretching as GDI maps pixels, DIBs drawn and read back in both
// row orders, and the values these calls return.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <vector>

#include "gdi_internal.h"
#include "platform_faults.h"

namespace {

struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ displaced;
    Canvas(int w, int h, uint32_t fill = 0xFFFFFF) : dc(CreateCompatibleDC(nullptr)) {
        HDC screen = GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        displaced = SelectObject(dc, bitmap);
        Pixels().assign(static_cast<size_t>(w) * h, fill);
    }
    ~Canvas() {
        SelectObject(dc, displaced);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    std::vector<uint32_t>& Pixels() { return platform::LookupBitmap(bitmap)->surface.pixels; }
    uint32_t& At(int x, int y) { return Pixels()[static_cast<size_t>(y * platform::LookupBitmap(bitmap)->surface.width + x)]; }
};

BITMAPINFO Header(int w, int h, int bits = 32) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bits);
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// Pixel of column x, row y (top first): distinct everywhere.
uint32_t Pattern(int x, int y) { return static_cast<uint32_t>((x + 1) * 0x10 + (y + 1) * 0x1000); }

TEST(Bitmaps, CompatibleBitmapsAreBlackAndEmptySizesGiveTheStockBitmap) {
    HDC screen = GetDC(nullptr);
    HBITMAP b = CreateCompatibleBitmap(screen, 3, 2);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(GetObjectType(b), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(platform::LookupBitmap(b)->surface.pixels, std::vector<uint32_t>(6, 0));
    HBITMAP d = CreateDiscardableBitmap(screen, 5, 4);
    EXPECT_EQ(platform::LookupBitmap(d)->surface.width, 5);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 0, 7), platform::StockDefaultBitmap());
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 4, 4), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 1 << 20, 1 << 20), nullptr) << "too large to allocate";
    HBITMAP n = CreateCompatibleBitmap(screen, -3, 2);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(platform::LookupBitmap(n)->surface.width, 3);
    DeleteObject(b);
    DeleteObject(d);
    DeleteObject(n);
    ReleaseDC(nullptr, screen);
}

TEST(Bitmaps, GetDIBitsReadsTopDownAndBottomUpAndCountsLines) {
    Canvas c(4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) c.At(x, y) = Pattern(x, y);
    }
    std::vector<uint32_t> top(12, 0xDEADBEEF), bottom(12, 0xDEADBEEF);
    BITMAPINFO td = Header(4, -3), bu = Header(4, 3);
    EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 0, 3, top.data(), &td, DIB_RGB_COLORS), 3);
    EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 0, 3, bottom.data(), &bu, DIB_RGB_COLORS), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(top[static_cast<size_t>(y * 4 + x)], Pattern(x, y));
            EXPECT_EQ(bottom[static_cast<size_t>((2 - y) * 4 + x)], Pattern(x, y));
        }
    }
    std::vector<uint32_t> part(12, 0);
    EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 1, 30, part.data(), &td, DIB_RGB_COLORS), 2) << "lines past the end";
    EXPECT_EQ(part[0], Pattern(0, 1));
    // 24 bits a pixel: rows padded to four bytes.
    BITMAPINFO b24 = Header(4, -3, 24);
    std::vector<uint8_t> rgb(12 * 3, 0);
    EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 0, 3, rgb.data(), &b24, DIB_RGB_COLORS), 3);
    EXPECT_EQ(rgb[12 + 0], static_cast<uint8_t>(Pattern(0, 1)));
    EXPECT_EQ(rgb[12 + 1], static_cast<uint8_t>(Pattern(0, 1) >> 8));
    // No buffer: the header is filled in.
    BITMAPINFO ask = Header(0, 0);
    ask.bmiHeader.biBitCount = 0;
    EXPECT_NE(GetDIBits(c.dc, c.bitmap, 0, 3, nullptr, &ask, DIB_RGB_COLORS), 0);
    EXPECT_EQ(ask.bmiHeader.biWidth, 4);
    EXPECT_EQ(ask.bmiHeader.biHeight, 3);
    BITMAPINFO bad = Header(4, -3, 8);
    EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 0, 3, top.data(), &bad, DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(c.dc, nullptr, 0, 3, top.data(), &td, DIB_RGB_COLORS), 0);
}

TEST(Bitmaps, BitBltCopiesClipsAndHandlesOverlap) {
    Canvas src(6, 5), dst(6, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) src.At(x, y) = Pattern(x, y);
    }
    EXPECT_TRUE(BitBlt(dst.dc, 1, 1, 3, 2, src.dc, 2, 1, SRCCOPY));
    EXPECT_EQ(dst.At(1, 1), Pattern(2, 1));
    EXPECT_EQ(dst.At(3, 2), Pattern(4, 2));
    EXPECT_EQ(dst.At(4, 1), 0xFFFFFFu);
    EXPECT_EQ(dst.At(0, 0), 0xFFFFFFu);
    // Source pixels outside the source leave the destination alone.
    EXPECT_TRUE(BitBlt(dst.dc, -2, 3, 10, 10, src.dc, -3, 0, SRCCOPY));
    EXPECT_EQ(dst.At(0, 3), 0xFFFFFFu);
    EXPECT_EQ(dst.At(1, 3), Pattern(0, 0));
    EXPECT_EQ(dst.At(5, 4), Pattern(4, 1));
    // Within one bitmap the copy reads what was there before.
    EXPECT_TRUE(BitBlt(src.dc, 1, 0, 5, 5, src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(src.At(1, 0), Pattern(0, 0));
    EXPECT_EQ(src.At(5, 4), Pattern(4, 4));
    EXPECT_TRUE(BitBlt(dst.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, src.dc, INT_MAX, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY)) << "a source copy needs a source";
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 2, 2, src.dc, 0, 0, SRCCOPY));
    // Operations without a source: black, white, inversion of the destination.
    const DWORD kBlackness = 0x00000042, kWhiteness = 0x00FF0062, kDstInvert = 0x00550009;
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, nullptr, 0, 0, kBlackness));
    EXPECT_EQ(dst.At(0, 0), 0u);
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, nullptr, 0, 0, kDstInvert));
    EXPECT_EQ(dst.At(0, 0), 0xFFFFFFu);
    dst.At(1, 0) = 0x123456;
    EXPECT_TRUE(BitBlt(dst.dc, 1, 0, 1, 1, nullptr, 0, 0, kDstInvert));
    EXPECT_EQ(dst.At(1, 0), 0xEDCBA9u);
    EXPECT_TRUE(BitBlt(dst.dc, 1, 0, 1, 1, nullptr, 0, 0, kWhiteness));
    EXPECT_EQ(dst.At(1, 0), 0xFFFFFFu);
}

TEST(Bitmaps, StretchingRepeatsOrGathersPixelsAsGdiDoes) {
    Canvas src(8, 1), dst(17, 3);
    for (int x = 0; x < 8; ++x) src.At(x, 0) = Pattern(x, 0);
    // 8 -> 17: GDI repeats source pixels 2,2,2,3,2,2,2,2 times.
    EXPECT_TRUE(StretchBlt(dst.dc, 0, 0, 17, 1, src.dc, 0, 0, 8, 1, SRCCOPY));
    const int expected[17] = {0, 0, 1, 1, 2, 2, 3, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7};
    for (int i = 0; i < 17; ++i) EXPECT_EQ(dst.At(i, 0), Pattern(expected[i], 0)) << i;
    // Mirrored when the widths' signs differ.
    EXPECT_TRUE(StretchBlt(dst.dc, 7, 1, -8, 1, src.dc, 0, 0, 8, 1, SRCCOPY));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(dst.At(i, 1), Pattern(7 - i, 0)) << i;
    // Shrinking in the default mode ANDs the gathered pixels: black wins.
    Canvas wide(4, 1), narrow(2, 1);
    wide.At(0, 0) = 0xF0F0F0;
    wide.At(1, 0) = 0x0FFFF0;
    wide.At(2, 0) = 0xFFFFFF;
    wide.At(3, 0) = 0x000000;
    EXPECT_TRUE(StretchBlt(narrow.dc, 0, 0, 2, 1, wide.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(narrow.At(0, 0), 0x00F0F0u);
    EXPECT_EQ(narrow.At(1, 0), 0x000000u);
    // COLORONCOLOR picks one pixel instead.
    EXPECT_EQ(SetStretchBltMode(narrow.dc, COLORONCOLOR), BLACKONWHITE);
    EXPECT_TRUE(StretchBlt(narrow.dc, 0, 0, 2, 1, wide.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(narrow.At(0, 0), 0x0FFFF0u);
    EXPECT_EQ(narrow.At(1, 0), 0x000000u);
    EXPECT_TRUE(StretchBlt(narrow.dc, 0, 0, 0, 5, wide.dc, 0, 0, 4, 1, SRCCOPY)) << "an empty copy succeeds";
}

TEST(Bitmaps, SetDIBitsToDeviceDrawsBothRowOrdersAndCountsLines) {
    std::vector<uint32_t> topDown(4 * 3), bottomUp(4 * 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            topDown[static_cast<size_t>(y * 4 + x)] = Pattern(x, y);
            bottomUp[static_cast<size_t>((2 - y) * 4 + x)] = Pattern(x, y);
        }
    }
    BITMAPINFO td = Header(4, -3), bu = Header(4, 3);
    Canvas a(6, 6), b(6, 6);
    EXPECT_EQ(SetDIBitsToDevice(a.dc, 1, 2, 4, 3, 0, 0, 0, 3, topDown.data(), &td, DIB_RGB_COLORS), 3);
    EXPECT_EQ(SetDIBitsToDevice(b.dc, 1, 2, 4, 3, 0, 0, 0, 3, bottomUp.data(), &bu, DIB_RGB_COLORS), 3);
    EXPECT_EQ(a.Pixels(), b.Pixels());
    EXPECT_EQ(a.At(1, 2), Pattern(0, 0));
    EXPECT_EQ(a.At(4, 4), Pattern(3, 2));
    EXPECT_EQ(a.At(5, 4), 0xFFFFFFu);
    // A part of the picture: in a bottom-up DIB the source origin counts
    // from the bottom row.
    Canvas c(6, 6), d(6, 6);
    EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 2, 2, 1, 1, 0, 3, topDown.data(), &td, DIB_RGB_COLORS), 3);
    EXPECT_EQ(c.At(0, 0), Pattern(1, 1));
    EXPECT_EQ(SetDIBitsToDevice(d.dc, 0, 0, 2, 2, 1, 0, 0, 3, bottomUp.data(), &bu, DIB_RGB_COLORS), 2);
    EXPECT_EQ(d.At(0, 0), Pattern(1, 1));
    EXPECT_EQ(d.At(1, 1), Pattern(2, 2));
    EXPECT_EQ(SetDIBitsToDevice(c.dc, 100, 100, 4, 3, 0, 0, 0, 3, topDown.data(), &td, DIB_RGB_COLORS), 3)
        << "off the surface still counts its lines";
    EXPECT_EQ(SetDIBitsToDevice(nullptr, 0, 0, 4, 3, 0, 0, 0, 3, topDown.data(), &td, DIB_RGB_COLORS), 0);
    EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 4, 3, 0, 0, 0, 3, nullptr, &td, DIB_RGB_COLORS), 0);
    BITMAPINFO zero = Header(0, 3);
    EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 4, 3, 0, 0, 0, 3, topDown.data(), &zero, DIB_RGB_COLORS), 0);
    // A caller's pixels with their top byte set arrive without it, in
    // rows long enough to be copied several pixels at a time.
    std::vector<uint32_t> marked(11);
    for (size_t i = 0; i < marked.size(); ++i) marked[i] = 0xA5000000u | Pattern(static_cast<int>(i), 2);
    BITMAPINFO row = Header(11, -1);
    Canvas e(12, 1);
    EXPECT_EQ(SetDIBitsToDevice(e.dc, 1, 0, 11, 1, 0, 0, 0, 1, marked.data(), &row, DIB_RGB_COLORS), 1);
    for (int x = 0; x < 11; ++x) EXPECT_EQ(e.At(x + 1, 0), Pattern(x, 2)) << "pixel " << x;
    EXPECT_EQ(e.At(0, 0), 0xFFFFFFu);
}

TEST(Bitmaps, StretchDIBitsTakesTheSourceYFromTheBottomRow) {
    std::vector<uint32_t> img(4 * 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) img[static_cast<size_t>(y * 4 + x)] = Pattern(x, y);
    }
    BITMAPINFO td = Header(4, -4);
    Canvas c(8, 8);
    // Source rows 1 and 2 from the bottom of a 4-row picture: rows 1..2 from the top.
    EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 2, 2, 0, 1, 2, 2, img.data(), &td, DIB_RGB_COLORS, SRCCOPY), 4);
    EXPECT_EQ(c.At(0, 0), Pattern(0, 1));
    EXPECT_EQ(c.At(1, 1), Pattern(1, 2));
    // Twice the size: every pixel doubled.
    EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 8, 8, 0, 0, 4, 4, img.data(), &td, DIB_RGB_COLORS, SRCCOPY), 4);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) EXPECT_EQ(c.At(x, y), Pattern(x / 2, y / 2)) << x << "," << y;
    }
    EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 8, 8, 0, 0, 4, 4, img.data(), nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
}

#ifndef _WIN32  // failure injection exists only in our platform layer
TEST(Bitmaps, InjectedFailuresReturnWhatTheLibraryTestsFor) {
    Canvas c(2, 2);
    std::vector<uint32_t> px(4, 0);
    BITMAPINFO td = Header(2, -2);
    platform_faults::FailNext("StretchDIBits");
    EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 2, 2, 0, 0, 2, 2, px.data(), &td, DIB_RGB_COLORS, SRCCOPY), -1);
    platform_faults::FailNext("SetDIBitsToDevice");
    EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 2, 2, 0, 0, 0, 2, px.data(), &td, DIB_RGB_COLORS), 0);
    platform_faults::FailNext("GetDIBits");
    EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 0, 2, px.data(), &td, DIB_RGB_COLORS), 0);
    platform_faults::FailNext("BitBlt");
    EXPECT_FALSE(BitBlt(c.dc, 0, 0, 2, 2, c.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(c.At(0, 0), 0xFFFFFFu) << "nothing drawn by the failed calls";
    platform_faults::FailNext("CreateCompatibleBitmap");
    EXPECT_EQ(CreateCompatibleBitmap(c.dc, 2, 2), nullptr);
    platform_faults::ClearAll();
}
#endif

}  // namespace
