// bitmap.cpp - bitmaps and transfers: compatible bitmaps, block transfers
// between device contexts (plain and stretched, any ternary raster
// operation), and device-independent bitmaps drawn onto a DC or read back
// from a bitmap (32 and 24 bits a pixel, top-down and bottom-up).
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gdi_internal.h"
#include "platform_faults.h"
#include "printer_dc.h"
#include "surface.h"
#include "window_service.h"

namespace platform {
namespace {

// A source of pixels for a transfer: rows top first, a row may be missing
// (pixels that are not there leave the destination as it is). A surface's
// pixels have their top byte clear already; a caller's bitmap may not.
struct Source {
    int width = 0;
    int height = 0;
    bool clean = false;  // every pixel's top byte is 0
    std::vector<const uint32_t*> rows;
    const uint32_t* Row(int64_t y) const {
        return (y >= 0 && y < height) ? rows[static_cast<size_t>(y)] : nullptr;
    }
};

Source SourceOf(const Surface& surface) {
    Source s;
    s.width = surface.width;
    s.height = surface.height;
    s.clean = true;
    s.rows.resize(static_cast<size_t>(s.height));
    for (int y = 0; y < s.height; ++y) s.rows[static_cast<size_t>(y)] = surface.Row(y);
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

// Copies n pixels, 64 bytes at a time where the processor has vector
// instructions.
void CopyRow(uint32_t* out, const uint32_t* in, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    for (; n - i >= 16; i += 16) {
        __m128i p0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i p1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
        __m128i p2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        __m128i p3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 12));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), p0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), p1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), p2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 12), p3);
    }
#endif
    if (i < n) std::memcpy(out + i, in + i, (n - i) * sizeof(uint32_t));
}

// Copies n pixels with their top byte cleared, four at a time where the
// processor has vector instructions.
void CopyRowClearingTop(uint32_t* out, const uint32_t* in, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(0xFFFFFF);
    for (; n - i >= 4; i += 4) {
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_and_si128(p, mask));
    }
#endif
    for (; i < n; ++i) out[i] = in[i] & 0xFFFFFFu;
}

// Copies n pixels from `in` to `out` where they differ, writing each changed
// pixel to `shown` as well for the first `shownCount` of them (the part of
// the row the screen has, which shows `out` as it was). Both are read and
// written in one pass, 64 bytes at a time where the processor has vector
// instructions, and a stretch left as it was is written nowhere.
void CopyChanged(uint32_t* out, uint32_t* shown, size_t shownCount, const uint32_t* in, size_t n) {
    size_t i = 0;
    // Writes pixels [i, i + k) that differ somewhere.
    auto store = [&](size_t at, size_t k) {
        std::memcpy(out + at, in + at, k * sizeof(uint32_t));
        if (at < shownCount) std::memcpy(shown + at, in + at, std::min(k, shownCount - at) * sizeof(uint32_t));
    };
#if defined(__SSE2__)
    for (; n - i >= 16; i += 16) {
        __m128i p0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i p1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
        __m128i p2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        __m128i p3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 12));
        __m128i q0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
        __m128i q1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i + 4));
        __m128i q2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i + 8));
        __m128i q3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i + 12));
        __m128i same = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi32(p0, q0), _mm_cmpeq_epi32(p1, q1)),
                                     _mm_and_si128(_mm_cmpeq_epi32(p2, q2), _mm_cmpeq_epi32(p3, q3)));
        if (_mm_movemask_epi8(same) == 0xFFFF) continue;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), p0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), p1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), p2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 12), p3);
        if (i + 16 <= shownCount) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + i), p0);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + i + 4), p1);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + i + 8), p2);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + i + 12), p3);
        } else if (i < shownCount) {
            std::memcpy(shown + i, in + i, (shownCount - i) * sizeof(uint32_t));
        }
    }
#endif
    if (i < n && std::memcmp(out + i, in + i, (n - i) * sizeof(uint32_t)) != 0) store(i, n - i);
}

// One destination rectangle [x, x + w) x [y, y + h) filled from source
// rectangle (sx, sy, sw, sh); negative sizes mirror. The stretching mode
// says how shrinking combines source pixels: BLACKONWHITE ANDs them (black
// wins), WHITEONBLACK ORs them, the others take one. Device-independent
// bitmaps pick their rows their own way (DibRows). A plain copy from a
// surface onto a window also writes the rows the screen shows when `screen`
// lends them; the result says whether it did.
enum class DibRows { none, bottomUp, topDown };
bool Transfer(Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, const Source& src, int64_t sx, int64_t sy,
              int64_t sw, int64_t sh, DWORD rop, uint32_t pattern, int mode, DibRows dibRows = DibRows::none,
              const ScreenRows* screen = nullptr) {
    if (w == 0 || h == 0) return false;
    bool mirrorX = (w < 0) != (sw < 0), mirrorY = (h < 0) != (sh < 0);
    MakePositive(x, w);
    MakePositive(y, h);
    MakePositive(sx, sw);
    MakePositive(sy, sh);
    bool useSource = UsesSource(rop);
    if (useSource && (sw == 0 || sh == 0)) return false;
    // Only the destination pixels on the surface are worked out.
    int64_t i0 = std::max<int64_t>(0, -x), i1 = std::min<int64_t>(w, dst.width - x);
    int64_t j0 = std::max<int64_t>(0, -y), j1 = std::min<int64_t>(h, dst.height - y);
    if (i0 >= i1 || j0 >= j1) return false;
    unsigned code = (rop >> 16) & 0xFF;
    bool same = (sw == w && sh == h && !mirrorX && !mirrorY);
    AxisMap mx, my;
    bool combine = mode == BLACKONWHITE || mode == WHITEONBLACK;
    if (useSource && !same) {
        mx = MapAxis(w, sw, mirrorX, combine, i0, i1);
        // Rows picked (not gathered) from a device-independent bitmap: a
        // bottom-up one being grown is stepped through from its bottom row
        // up; one being shrunk, stored either way, takes each destination
        // row's pick centred in its share of the source, top down.
        bool pickRows = dibRows != DibRows::none && !combine;
        if (pickRows && dibRows == DibRows::bottomUp && sh <= h) {
            // Row j takes what row h - 1 - j takes counted from the top,
            // turned over.
            AxisMap up = MapAxis(h, sh, mirrorY, combine, h - j1, h - j0);
            my.lo = j0;
            my.first.assign(static_cast<size_t>(j1 - j0), -1);
            my.last.assign(static_cast<size_t>(j1 - j0), -2);
            for (int64_t j = j0; j < j1; ++j) {
                int64_t k = h - 1 - j;
                size_t at = static_cast<size_t>(j - j0);
                my.first[at] = up.Last(k) < 0 ? -1 : sh - 1 - up.Last(k);
                my.last[at] = up.First(k) < 0 ? -2 : sh - 1 - up.First(k);
            }
        } else {
            my = MapAxis(h, sh, mirrorY, combine, j0, j1, pickRows && sh > h);
        }
    }
    if (same && useSource) {
        // Unscaled: row by row over the pixels both rectangles have.
        int64_t a = std::max<int64_t>(i0, -sx), b = std::min<int64_t>(i1, src.width - sx);
        for (int64_t j = j0; j < j1 && a < b; ++j) {
            const uint32_t* in = src.Row(sy + j);
            if (!in) continue;
            in += sx;
            uint32_t* out = dst.Row(static_cast<int32_t>(y + j)) + x;
            if (code == 0xCC && src.clean) {
                // When the screen shows the destination as it is, only the
                // pixels the copy changes are written, to both at once;
                // otherwise the row is copied and then shown.
                int64_t row = y + j, end = screen ? std::min<int64_t>(x + b, screen->width) : 0;
                bool onScreen = screen && row < screen->height && x + a < end;
                if (screen && screen->current) {
                    // A row left as it was is passed over at the C library's
                    // comparing speed.
                    if (std::memcmp(out + a, in + a, static_cast<size_t>(b - a) * sizeof(uint32_t)) == 0) continue;
                    uint32_t* shown = onScreen ? screen->pixels + static_cast<size_t>(row) * screen->pitch + (x + a)
                                               : nullptr;
                    CopyChanged(out + a, shown, onScreen ? static_cast<size_t>(end - (x + a)) : 0, in + a,
                                static_cast<size_t>(b - a));
                    continue;
                }
                CopyRow(out + a, in + a, static_cast<size_t>(b - a));
                // The row just written, still in the cache, onto the screen.
                if (onScreen) {
                    CopyRow(screen->pixels + static_cast<size_t>(row) * screen->pitch + (x + a), out + a,
                            static_cast<size_t>(end - (x + a)));
                }
            } else if (code == 0xCC) {
                CopyRowClearingTop(out + a, in + a, static_cast<size_t>(b - a));
            } else {
                for (int64_t i = a; i < b; ++i) out[i] = Ternary(code, pattern, in[i] & 0xFFFFFFu, out[i] & 0xFFFFFFu);
            }
        }
        return screen != nullptr && code == 0xCC && src.clean;
    }
    uint32_t gather0 = mode == WHITEONBLACK ? 0u : 0xFFFFFFu;  // OR from black, else AND from white
    for (int64_t j = j0; j < j1; ++j) {
        uint32_t* out = dst.Row(static_cast<int32_t>(y + j));
        for (int64_t i = i0; i < i1; ++i) {
            uint32_t s = 0;
            if (useSource) {
                bool found = false;
                if (same) {
                    const uint32_t* row = src.Row(sy + j);
                    int64_t px = sx + i;
                    if (row && px >= 0 && px < src.width) {
                        s = row[px] & 0xFFFFFFu;
                        found = true;
                    }
                } else {
                    int64_t ya = my.First(j), yb = my.Last(j);
                    int64_t xa = mx.First(i), xb = mx.Last(i);
                    uint32_t acc = gather0;
                    for (int64_t v = ya; v <= yb; ++v) {
                        const uint32_t* row = src.Row(sy + v);
                        if (!row) continue;
                        for (int64_t u = xa; u <= xb; ++u) {
                            int64_t px = sx + u;
                            if (px < 0 || px >= src.width) continue;
                            uint32_t p = row[px] & 0xFFFFFFu;
                            acc = !combine ? p : mode == WHITEONBLACK ? (acc | p) : (acc & p);
                            found = true;
                        }
                    }
                    s = acc;
                }
                if (!found) continue;
            }
            uint32_t& d = out[x + i];
            d = code == 0xCC ? s : Ternary(code, pattern, s, d & 0xFFFFFFu);
        }
    }
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
    if (dc.memory || !dc.hwnd) return;
    Drawn d = DrawnPart(x, y, w, h);
    PresentNow(dc.hwnd, d.x0, d.y0, d.x1, d.y1);
}

// A device-independent bitmap handed in by the caller, seen as rows top first.
struct Dib {
    int width = 0;
    int height = 0;
    bool bottomUp = false;
    int bits = 0;
    size_t stride = 0;
};

bool ReadHeader(const BITMAPINFO* info, Dib& dib) {
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
    s.rows.assign(static_cast<size_t>(dib.height), nullptr);
    const auto* base = static_cast<const uint8_t*>(bits);
    if (dib.bits == 24) store.assign(static_cast<size_t>(dib.width) * dib.height, 0);
    for (int r = 0; r < dib.height; ++r) {
        int64_t scan = dib.bottomUp ? dib.height - 1 - r : r;
        if (scan < startScan || scan >= static_cast<int64_t>(startScan) + lines) continue;
        const uint8_t* row = base + static_cast<size_t>(scan - startScan) * dib.stride;
        if (dib.bits == 32) {
            s.rows[static_cast<size_t>(r)] = reinterpret_cast<const uint32_t*>(row);
        } else {
            uint32_t* wide = store.data() + static_cast<size_t>(r) * dib.width;
            for (int x = 0; x < dib.width; ++x) {
                wide[x] = row[3 * x] | (row[3 * x + 1] << 8) | (static_cast<uint32_t>(row[3 * x + 2]) << 16);
            }
            s.rows[static_cast<size_t>(r)] = wide;
        }
    }
    return s;
}

uint32_t BrushPixel(DeviceContext& dc) { return PixelFromColorref(SelectedBrush(dc).color); }

}  // namespace
}  // namespace platform

using namespace platform;

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (platform_faults::ShouldFail("CreateCompatibleBitmap")) return nullptr;
    if (!LookupDC(dc)) return nullptr;
    // Negative sizes count as positive; an empty size gives the stock 1x1
    // bitmap, as GDI does.
    width = width == INT32_MIN ? INT32_MAX : std::abs(width);
    height = height == INT32_MIN ? INT32_MAX : std::abs(height);
    if (width == 0 || height == 0) return StockDefaultBitmap();
    return NewBitmap(width, height);
}

HBITMAP CreateDiscardableBitmap(HDC dc, int width, int height) {
    if (platform_faults::ShouldFail("CreateDiscardableBitmap")) return nullptr;
    return CreateCompatibleBitmap(dc, width, height);
}

namespace {

// The copy that BitBlt and StretchBlt share: source rectangle onto the
// destination rectangle, stretched when their sizes differ.
BOOL BlockTransfer(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                   int srcWidth, int srcHeight, DWORD rop) {
    DeviceContext* to = LookupDC(dest);
    if (!to) return FALSE;
    DeviceContext* from = LookupDC(src);
    if (UsesSource(rop) && !from) return FALSE;
    if (to->printer) {
        // Onto paper: the picture is kept whole and placed on the page.
        return PlaceOnPage(*to->printer, x, y, width, height, from ? TargetSurface(*from) : nullptr, xSrc, ySrc,
                           srcWidth, srcHeight, rop);
    }
    Surface* target = TargetSurface(*to);
    if (!target) return TRUE;
    Source source;
    Surface copy;
    if (from) {
        if (Surface* surface = TargetSurface(*from)) {
            // Copying within one surface reads from a snapshot.
            if (surface == target) {
                copy = *surface;
                source = SourceOf(copy);
            } else {
                source = SourceOf(*surface);
            }
        }
    }
    // A copy of a surface onto a shown window writes the screen's rows too.
    ScreenRows screen;
    if (!to->memory && to->hwnd && source.clean) screen = LendScreen(to->hwnd);
    bool shown = Transfer(*target, x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, rop,
                          BrushPixel(*to), to->stretchMode, DibRows::none, screen.pixels ? &screen : nullptr);
    if (screen.pixels) {
        Drawn d = shown ? DrawnPart(x, y, width, height) : Drawn{0, 0, 0, 0};
        ScreenWritten(to->hwnd, d.x0, d.y0, d.x1, d.y1);
        if (shown) return TRUE;
    }
    NoteTransfer(*to, x, y, width, height);
    return TRUE;
}

}  // namespace

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop) {
    if (platform_faults::ShouldFail("StretchBlt")) return FALSE;
    return BlockTransfer(dest, x, y, width, height, src, xSrc, ySrc, srcWidth, srcHeight, rop);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    if (platform_faults::ShouldFail("BitBlt")) return FALSE;
    return BlockTransfer(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop);
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
    if (platform_faults::ShouldFail("GetDIBits")) return 0;
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
    if (platform_faults::ShouldFail("SetDIBitsToDevice")) return 0;
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
    if (platform_faults::ShouldFail("StretchDIBits")) return -1;
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
