// bitmap.cpp - bitmaps and transfers: compatible bitmaps, block transfers
// between device contexts (plain and stretched, any ternary raster
// operation), and device-independent bitmaps drawn onto a DC or read back
// from a bitmap (32 and 24 bits a pixel, top-down and bottom-up).
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fault_points.h"
#include "gdi_internal.h"
#include "printer_dc.h"
#include "raster/pixel_rows.h"
#include "surface.h"

using platform_faults::Call;
using platform_faults::ShouldFail;

namespace platform {
namespace {

// A source of pixels for a transfer: rows top first, `stride` pixels apart
// in memory (negative for rows stored bottom up). Only rows [rowsFrom,
// rowsTo) are there; pixels that are not there leave the destination as
// it is. A surface's pixels have their top byte clear already; a caller's
// bitmap may not.
struct Source {
    int width = 0;
    int height = 0;
    bool clean = false;                 // every pixel's top byte is 0
    const uint32_t* present = nullptr;  // row rowsFrom
    ptrdiff_t stride = 0;
    int64_t rowsFrom = 0, rowsTo = 0;
    const uint32_t* Row(int64_t y) const {
        return (y >= rowsFrom && y < rowsTo) ? present + (y - rowsFrom) * stride : nullptr;
    }
};

Source SourceOf(const Surface& surface) {
    Source s;
    s.width = surface.width;
    s.height = surface.height;
    s.clean = true;
    s.present = surface.pixels.data();
    s.stride = surface.width;
    s.rowsTo = surface.height;
    return s;
}

// Does the ternary raster operation read the source or the destination?
bool UsesSource(DWORD rop) {
    unsigned code = (rop >> 16) & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

// Combines pattern P, source S and destination D by the ternary operation:
// bit (4P + 2S + D) of the operation code gives each result bit.
uint32_t Ternary(unsigned code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t r = 0;
    for (unsigned idx = 0; idx < 8; ++idx) {
        if (!(code & (1u << idx))) continue;
        uint32_t term = ((idx & 4) ? p : ~p) & ((idx & 2) ? s : ~s) & ((idx & 1) ? d : ~d);
        r |= term;
    }
    return r & 0xFFFFFFu;
}

// A length along one axis made positive: a negative one counts back from
// `start`, which moves to the lowest coordinate covered.
void MakePositive(int64_t& start, int64_t& length) {
    if (length < 0) {
        start += length + 1;
        length = -length;
    }
}

// For one axis of a stretch: for each destination pixel lo..hi-1 of the
// 0..dstLen-1 of the whole stretch, the source pixels [first, last] it is
// made of, mirrored when the signs differ. Growing repeats source pixels,
// stepping through the source with an error term as GDI does; shrinking
// either picks one source pixel per destination pixel or, when `gather` is
// set, hands every source pixel to one destination pixel, to be combined
// there. Only the pixels asked for (those on the surface) are mapped, so a
// stretch billions of pixels long costs no more than the surface.
struct AxisMap {
    int64_t lo = 0;
    std::vector<int64_t> first, last;
    int64_t First(int64_t i) const { return first[static_cast<size_t>(i - lo)]; }
    int64_t Last(int64_t i) const { return last[static_cast<size_t>(i - lo)]; }
};

AxisMap MapAxis(int64_t dstLen, int64_t srcLen, bool mirror, bool gather, int64_t lo, int64_t hi,
                bool centredPick = false) {
    AxisMap map;
    map.lo = lo;
    map.first.assign(static_cast<size_t>(hi - lo), -1);
    map.last.assign(static_cast<size_t>(hi - lo), -2);
    if (srcLen <= dstLen || !gather) {
        int64_t bias = srcLen <= dstLen ? (srcLen - 1) / 2
                       : centredPick  ? dstLen / 2
                                      : (srcLen - 1) - (dstLen - 1) / 2;
        for (int64_t i = lo; i < hi; ++i) {
            int64_t src = (i * srcLen + bias) / dstLen;
            map.first[static_cast<size_t>(i - lo)] = map.last[static_cast<size_t>(i - lo)] = src;
        }
    } else {
        for (int64_t j = 0; j < srcLen; ++j) {
            int64_t d = (j * dstLen + (dstLen - 1) / 2) / srcLen;
            if (d < lo || d >= hi) continue;
            size_t at = static_cast<size_t>(d - lo);
            if (map.first[at] < 0) map.first[at] = j;
            map.last[at] = j;
        }
    }
    if (mirror) {
        for (size_t i = 0; i < map.first.size(); ++i) {
            if (map.first[i] < 0) continue;
            int64_t a = srcLen - 1 - map.last[i], b = srcLen - 1 - map.first[i];
            map.first[i] = a;
            map.last[i] = b;
        }
    }
    return map;
}

// The rectangles of a transfer put right: sizes made positive (the
// mirroring noted), and the destination pixels on the surface, [i0, i1) x
// [j0, j1) counted from (x, y).
struct Placed {
    int64_t x, y, w, h, sx, sy, sw, sh;
    bool mirrorX, mirrorY;
    int64_t i0, i1, j0, j1;
    bool Unscaled() const { return sw == w && sh == h && !mirrorX && !mirrorY; }
};

// False when the transfer draws nothing on the surface.
bool Place(const Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy, int64_t sw,
           int64_t sh, bool useSource, Placed& p) {
    if (w == 0 || h == 0) return false;
    p.mirrorX = (w < 0) != (sw < 0);
    p.mirrorY = (h < 0) != (sh < 0);
    MakePositive(x, w);
    MakePositive(y, h);
    MakePositive(sx, sw);
    MakePositive(sy, sh);
    if (useSource && (sw == 0 || sh == 0)) return false;
    p.x = x, p.y = y, p.w = w, p.h = h, p.sx = sx, p.sy = sy, p.sw = sw, p.sh = sh;
    // Only the destination pixels on the surface are worked out.
    p.i0 = std::max<int64_t>(0, -x), p.i1 = std::min<int64_t>(w, dst.width - x);
    p.j0 = std::max<int64_t>(0, -y), p.j1 = std::min<int64_t>(h, dst.height - y);
    return p.i0 < p.i1 && p.j0 < p.j1;
}

// Device-independent bitmaps pick the rows of a stretch their own way.
enum class DibRows { none, bottomUp, topDown };

// The source rows of each destination row of a stretch. Rows picked (not
// gathered) from a device-independent bitmap: a bottom-up one being grown is
// stepped through from its bottom row up; one being shrunk, stored either
// way, takes each destination row's pick centred in its share of the
// source, top down.
AxisMap RowMap(const Placed& p, bool combine, DibRows dibRows) {
    bool pickRows = dibRows != DibRows::none && !combine;
    if (!pickRows || dibRows != DibRows::bottomUp || p.sh > p.h)
        return MapAxis(p.h, p.sh, p.mirrorY, combine, p.j0, p.j1, pickRows && p.sh > p.h);
    // Row j takes what row h - 1 - j takes counted from the top, turned over.
    AxisMap up = MapAxis(p.h, p.sh, p.mirrorY, combine, p.h - p.j1, p.h - p.j0);
    AxisMap my;
    my.lo = p.j0;
    my.first.assign(static_cast<size_t>(p.j1 - p.j0), -1);
    my.last.assign(static_cast<size_t>(p.j1 - p.j0), -2);
    for (int64_t j = p.j0; j < p.j1; ++j) {
        int64_t k = p.h - 1 - j;
        size_t at = static_cast<size_t>(j - p.j0);
        my.first[at] = up.Last(k) < 0 ? -1 : p.sh - 1 - up.Last(k);
        my.last[at] = up.First(k) < 0 ? -2 : p.sh - 1 - up.First(k);
    }
    return my;
}

// A plain copy of pixels [a, b) of one row from a surface onto a window's
// surface, row `row`, column x + a on: when the screen shows the
// destination as it is, only the pixels the copy changes are written, to
// both at once; otherwise the row is copied and then, still in the cache,
// shown.
void CopyRowOnScreen(uint32_t* out, const uint32_t* in, int64_t a, int64_t b, int64_t x, int64_t row,
                     const ScreenRows& screen) {
    int64_t end = std::min<int64_t>(x + b, screen.width);
    bool onScreen = row < screen.height && x + a < end;
    uint32_t* shown = onScreen ? screen.pixels + static_cast<size_t>(row) * screen.pitch + (x + a) : nullptr;
    if (screen.current) {
        // A row left as it was is passed over at the C library's comparing
        // speed.
        if (std::memcmp(out + a, in + a, static_cast<size_t>(b - a) * sizeof(uint32_t)) == 0) return;
        pixel_rows::CopyChanged(out + a, shown, onScreen ? static_cast<size_t>(end - (x + a)) : 0, in + a,
                                static_cast<size_t>(b - a));
        return;
    }
    pixel_rows::CopyRow(out + a, in + a, static_cast<size_t>(b - a));
    if (onScreen) pixel_rows::CopyRow(shown, out + a, static_cast<size_t>(end - (x + a)));
}

// Unscaled: row by row over the pixels both rectangles have. A plain copy
// from a surface onto a window also writes the rows the screen shows when
// `screen` lends them; the result says whether it did.
bool CopyUnscaled(Surface& dst, const Placed& p, const Source& src, unsigned code, uint32_t pattern,
                  const ScreenRows* screen) {
    int64_t a = std::max<int64_t>(p.i0, -p.sx), b = std::min<int64_t>(p.i1, src.width - p.sx);
    for (int64_t j = p.j0; j < p.j1 && a < b; ++j) {
        const uint32_t* in = src.Row(p.sy + j);
        if (!in) continue;
        in += p.sx;
        uint32_t* out = dst.Row(static_cast<int32_t>(p.y + j)) + p.x;
        if (code == 0xCC && src.clean) {
            if (screen) {
                CopyRowOnScreen(out, in, a, b, p.x, p.y + j, *screen);
            } else {
                pixel_rows::CopyRow(out + a, in + a, static_cast<size_t>(b - a));
            }
        } else if (code == 0xCC) {
            pixel_rows::CopyRowClearingTop(out + a, in + a, static_cast<size_t>(b - a));
        } else {
            for (int64_t i = a; i < b; ++i) out[i] = Ternary(code, pattern, in[i] & 0xFFFFFFu, out[i] & 0xFFFFFFu);
        }
    }
    return screen != nullptr && code == 0xCC && src.clean;
}

// Stretched, or without a source: each destination pixel from the source
// pixels the maps give it (mx for columns, my for rows), combined by the
// stretching mode, then by the ternary operation with what is there.
void Stretch(Surface& dst, const Placed& p, const Source& src, bool useSource, unsigned code, uint32_t pattern,
             int mode, const AxisMap& mx, const AxisMap& my) {
    const bool combine = mode == BLACKONWHITE || mode == WHITEONBLACK;
    const uint32_t gather0 = mode == WHITEONBLACK ? 0u : 0xFFFFFFu;  // OR from black, else AND from white
    for (int64_t j = p.j0; j < p.j1; ++j) {
        uint32_t* out = dst.Row(static_cast<int32_t>(p.y + j));
        for (int64_t i = p.i0; i < p.i1; ++i) {
            uint32_t s = 0;
            if (useSource) {
                bool found = false;
                uint32_t acc = gather0;
                for (int64_t v = my.First(j); v <= my.Last(j); ++v) {
                    const uint32_t* row = src.Row(p.sy + v);
                    if (!row) continue;
                    for (int64_t u = mx.First(i); u <= mx.Last(i); ++u) {
                        int64_t px = p.sx + u;
                        if (px < 0 || px >= src.width) continue;
                        uint32_t pixel = row[px] & 0xFFFFFFu;
                        acc = !combine ? pixel : mode == WHITEONBLACK ? (acc | pixel) : (acc & pixel);
                        found = true;
                    }
                }
                if (!found) continue;
                s = acc;
            }
            uint32_t& d = out[p.x + i];
            d = code == 0xCC ? s : Ternary(code, pattern, s, d & 0xFFFFFFu);
        }
    }
}

// One destination rectangle [x, x + w) x [y, y + h) filled from source
// rectangle (sx, sy, sw, sh); negative sizes mirror. The stretching mode
// says how shrinking combines source pixels: BLACKONWHITE ANDs them (black
// wins), WHITEONBLACK ORs them, the others take one. Device-independent
// bitmaps pick their rows their own way (DibRows). A plain copy from a
// surface onto a window also writes the rows the screen shows when `screen`
// lends them; the result says whether it did.
bool Transfer(Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, const Source& src, int64_t sx, int64_t sy,
              int64_t sw, int64_t sh, DWORD rop, uint32_t pattern, int mode, DibRows dibRows = DibRows::none,
              const ScreenRows* screen = nullptr) {
    const bool useSource = UsesSource(rop);
    Placed p;
    if (!Place(dst, x, y, w, h, sx, sy, sw, sh, useSource, p)) return false;
    const unsigned code = (rop >> 16) & 0xFF;
    if (useSource && p.Unscaled()) return CopyUnscaled(dst, p, src, code, pattern, screen);
    AxisMap mx, my;
    if (useSource) {
        const bool combine = mode == BLACKONWHITE || mode == WHITEONBLACK;
        mx = MapAxis(p.w, p.sw, p.mirrorX, combine, p.i0, p.i1);
        my = RowMap(p, combine, dibRows);
    }
    Stretch(dst, p, src, useSource, code, pattern, mode, mx, my);
    return false;
}

// After a transfer onto a window: the rectangle drawn is shown at once, as
// on Windows, where what is drawn on a window is on the screen.
// The part of a window a transfer drew on: [x0, x1) x [y0, y1).
struct Drawn {
    int x0, y0, x1, y1;
};
Drawn DrawnPart(int64_t x, int64_t y, int64_t w, int64_t h) {
    MakePositive(x, w);
    MakePositive(y, h);
    auto clamp = [](int64_t v) { return static_cast<int>(std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX)); };
    return Drawn{clamp(x), clamp(y), clamp(x + w), clamp(y + h)};
}

void NoteTransfer(DeviceContext& dc, int64_t x, int64_t y, int64_t w, int64_t h) {
    Drawn d = DrawnPart(x, y, w, h);
    dc.device->Transferred(d.x0, d.y0, d.x1, d.y1);
}

// A device-independent bitmap handed in by the caller, seen as rows top first.
struct Dib {
    int width = 0;
    int height = 0;
    bool bottomUp = false;
    int bits = 0;
    size_t stride = 0;
};

inline bool ReadHeader(const BITMAPINFO* info, Dib& dib) {
    if (!info) return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB || h.biPlanes != 1) return false;
    if (h.biBitCount != 32 && h.biBitCount != 24) return false;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return false;
    dib.width = h.biWidth;
    dib.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    dib.bottomUp = h.biHeight > 0;
    dib.bits = h.biBitCount;
    dib.stride = (static_cast<size_t>(dib.width) * dib.bits / 8 + 3) & ~static_cast<size_t>(3);
    return true;
}

// Source rows of a DIB whose memory holds scan lines [startScan, startScan +
// lines): scan lines count from the bottom in a bottom-up DIB. 24-bit rows
// are widened into `store`.
Source SourceOfDib(const Dib& dib, const void* bits, UINT startScan, UINT lines, std::vector<uint32_t>& store) {
    Source s;
    s.width = dib.width;
    s.height = dib.height;
    // Rows r (top first) whose scan line is there: scan r of a top-down DIB,
    // scan height - 1 - r of a bottom-up one.
    const int64_t height = dib.height, first = startScan, end = int64_t{startScan} + lines;
    s.rowsFrom = std::max<int64_t>(0, dib.bottomUp ? height - end : first);
    s.rowsTo = std::min<int64_t>(height, dib.bottomUp ? height - first : end);
    if (s.rowsFrom >= s.rowsTo) {
        s.rowsFrom = s.rowsTo = 0;
        return s;
    }
    auto scanOf = [&](int64_t r) { return dib.bottomUp ? height - 1 - r : r; };
    const auto* base = static_cast<const uint8_t*>(bits);
    auto memory = [&](int64_t r) { return base + static_cast<size_t>(scanOf(r) - first) * dib.stride; };
    if (dib.bits == 32) {
        s.present = reinterpret_cast<const uint32_t*>(memory(s.rowsFrom));
        s.stride = static_cast<ptrdiff_t>(dib.stride / 4) * (dib.bottomUp ? -1 : 1);
        return s;
    }
    store.assign(static_cast<size_t>(dib.width) * static_cast<size_t>(s.rowsTo - s.rowsFrom), 0);
    for (int64_t r = s.rowsFrom; r < s.rowsTo; ++r) {
        const uint8_t* row = memory(r);
        uint32_t* wide = store.data() + static_cast<size_t>(r - s.rowsFrom) * dib.width;
        for (int x = 0; x < dib.width; ++x) {
            wide[x] = row[3 * x] | (row[3 * x + 1] << 8) | (static_cast<uint32_t>(row[3 * x + 2]) << 16);
        }
    }
    s.present = store.data();
    s.stride = dib.width;
    return s;
}

uint32_t BrushPixel(const DeviceContext& dc) { return dc.drawingBrush.pixel; }

}  // namespace
}  // namespace platform

using namespace platform;

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (ShouldFail(Call::CreateCompatibleBitmap)) return nullptr;
    if (!LookupDC(dc)) return nullptr;
    // Negative sizes count as positive; an empty size gives the stock 1x1
    // bitmap, as GDI does.
    width = width == INT32_MIN ? INT32_MAX : std::abs(width);
    height = height == INT32_MIN ? INT32_MAX : std::abs(height);
    if (width == 0 || height == 0) return StockDefaultBitmap();
    return NewBitmap(width, height);
}

HBITMAP CreateDiscardableBitmap(HDC dc, int width, int height) {
    if (ShouldFail(Call::CreateDiscardableBitmap)) return nullptr;
    return CreateCompatibleBitmap(dc, width, height);
}

namespace {

// The copy that BitBlt and StretchBlt share: source rectangle onto the
// destination rectangle, stretched when their sizes differ.
// The copy of one pixel from one surface onto another memory DC's, both
// within their surfaces, as a read-back makes it: the pixel as it is, which
// is what the general transfer gives too. False, having done nothing, for
// any other transfer.
bool CopyOnePixel(const DeviceContext& to, Surface& target, int x, int y, int width, int height,
                  const Surface* surface, int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop) {
    if (rop != SRCCOPY || width != 1 || height != 1 || srcWidth != 1 || srcHeight != 1) return false;
    if (!to.memory || surface == nullptr || surface == &target) return false;
    if (x < 0 || y < 0 || x >= target.width || y >= target.height) return false;
    if (xSrc < 0 || ySrc < 0 || xSrc >= surface->width || ySrc >= surface->height) return false;
    target.Row(y)[x] = surface->Row(ySrc)[xSrc];
    return true;
}

// The general transfer onto `to`'s pixels `target` from `surface` (null
// when the operation reads no source).
__attribute__((noinline)) BOOL TransferOnto(DeviceContext& to, Surface& target, const Surface* surface, int x, int y,
                                            int width, int height, int xSrc, int ySrc, int srcWidth, int srcHeight,
                                            DWORD rop) {
    // Copying within one surface reads from a snapshot.
    Surface copy;
    if (surface != nullptr && surface == &target) {
        copy = *surface;
        surface = &copy;
    }
    const Source source = surface != nullptr ? SourceOf(*surface) : Source();
    // A copy of a surface onto a shown window writes the screen's rows too.
    ScreenRows screen;
    if (source.clean) screen = to.device->LendScreen();
    bool shown = Transfer(target, x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, rop, BrushPixel(to),
                          to.stretchMode, DibRows::none, screen.pixels ? &screen : nullptr);
    if (screen.pixels) {
        Drawn d = shown ? DrawnPart(x, y, width, height) : Drawn{0, 0, 0, 0};
        to.device->ScreenWritten(d.x0, d.y0, d.x1, d.y1);
        if (shown) return TRUE;
    }
    NoteTransfer(to, x, y, width, height);
    return TRUE;
}

BOOL BlockTransfer(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                   int srcWidth, int srcHeight, DWORD rop) {
    DeviceContext* to = LookupDC(dest);
    if (!to) return FALSE;
    DeviceContext* from = LookupDC(src);
    if (UsesSource(rop) && !from) return FALSE;
    if (PrinterDevice* page = to->device->Page()) {
        // Onto paper: the picture is kept whole and placed on the page.
        return PlaceOnPage(*page, x, y, width, height, from ? TargetSurface(*from) : nullptr, xSrc, ySrc, srcWidth,
                           srcHeight, rop);
    }
    Surface* target = TargetSurface(*to);
    if (!target) return TRUE;
    const Surface* surface = from ? TargetSurface(*from) : nullptr;
    if (CopyOnePixel(*to, *target, x, y, width, height, surface, xSrc, ySrc, srcWidth, srcHeight, rop)) {
        to->device->Transferred(x, y, x + 1, y + 1);  // the pixel is on the target
        return TRUE;
    }
    return TransferOnto(*to, *target, surface, x, y, width, height, xSrc, ySrc, srcWidth, srcHeight, rop);
}

}  // namespace

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop) {
    if (ShouldFail(Call::StretchBlt)) return FALSE;
    return BlockTransfer(dest, x, y, width, height, src, xSrc, ySrc, srcWidth, srcHeight, rop);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    if (ShouldFail(Call::BitBlt)) return FALSE;
    return BlockTransfer(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop);
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
    if (ShouldFail(Call::GetDIBits)) return 0;
    Bitmap* bmp = LookupBitmap(bitmap);
    if (!LookupDC(dc) || !bmp || !info || usage != DIB_RGB_COLORS) return 0;
    const Surface& surface = bmp->surface;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (!bits) {
        // Describe the bitmap instead.
        if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
        h.biWidth = surface.width;
        h.biHeight = surface.height;
        h.biPlanes = 1;
        h.biBitCount = 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(surface.width) * 4u * static_cast<DWORD>(surface.height);
        return surface.height;
    }
    Dib dib;
    if (!ReadHeader(info, dib)) return 0;
    // The DIB's rows are the bitmap's rows, top first; scan lines count from
    // the bottom in a bottom-up DIB.
    auto* out = static_cast<uint8_t*>(bits);
    int copied = 0;
    int width = std::min(dib.width, surface.width);
    for (int64_t scan = start; scan < static_cast<int64_t>(start) + lines && scan < dib.height; ++scan) {
        int64_t r = dib.bottomUp ? dib.height - 1 - scan : scan;
        if (r < 0 || r >= surface.height) continue;
        uint8_t* row = out + static_cast<size_t>(scan - start) * dib.stride;
        const uint32_t* px = surface.Row(static_cast<int32_t>(r));
        if (dib.bits == 32) {
            for (int x = 0; x < width; ++x) {
                uint32_t p = px[x] & 0xFFFFFFu;
                std::memcpy(row + 4 * x, &p, 4);
            }
        } else {
            for (int x = 0; x < width; ++x) {
                row[3 * x] = static_cast<uint8_t>(px[x]);
                row[3 * x + 1] = static_cast<uint8_t>(px[x] >> 8);
                row[3 * x + 2] = static_cast<uint8_t>(px[x] >> 16);
            }
        }
        ++copied;
    }
    return copied;
}

int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT colorUse) {
    if (ShouldFail(Call::SetDIBitsToDevice)) return 0;
    DeviceContext* to = LookupDC(dc);
    Dib dib;
    if (!to || !bits || colorUse != DIB_RGB_COLORS || !ReadHeader(info, dib)) return 0;
    Surface* target = TargetSurface(*to);
    if (target) {
        std::vector<uint32_t> store;
        Source source = SourceOfDib(dib, bits, startScan, lines, store);
        // In a bottom-up DIB the source origin counts from the bottom row.
        int64_t top = dib.bottomUp ? static_cast<int64_t>(dib.height) - ySrc - static_cast<int64_t>(height) : ySrc;
        Transfer(*target, xDest, yDest, width, height, source, xSrc, top, width, height, SRCCOPY, 0, COLORONCOLOR);
        NoteTransfer(*to, xDest, yDest, width, height);
    }
    // A bottom-up DIB reports the scan lines up to the top of the source
    // rectangle at most.
    if (dib.bottomUp) return static_cast<int>(std::min<int64_t>(lines, static_cast<int64_t>(ySrc) + height));
    return static_cast<int>(lines);
}

int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (ShouldFail(Call::StretchDIBits)) return -1;
    DeviceContext* to = LookupDC(dc);
    Dib dib;
    if (!to || usage != DIB_RGB_COLORS || !ReadHeader(info, dib)) return 0;
    if (!bits && UsesSource(rop)) return 0;
    Surface* target = TargetSurface(*to);
    if (target) {
        std::vector<uint32_t> store;
        Source source;
        if (bits) source = SourceOfDib(dib, bits, 0, static_cast<UINT>(dib.height), store);
        // The source rectangle's y counts from the bottom row, whichever way
        // the DIB is stored.
        int64_t top = static_cast<int64_t>(dib.height) - ySrc - static_cast<int64_t>(srcHeight);
        Transfer(*target, xDest, yDest, destWidth, destHeight, source, xSrc, top, srcWidth, srcHeight, rop,
                 BrushPixel(*to), to->stretchMode, dib.bottomUp ? DibRows::bottomUp : DibRows::topDown);
        NoteTransfer(*to, xDest, yDest, destWidth, destHeight);
    }
    return dib.height;
}
