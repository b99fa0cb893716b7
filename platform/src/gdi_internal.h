// gdi_internal.h - the GDI object table (gdi_objects.cpp) shared by the GDI
// services (gdi_shapes.cpp, bitmap.cpp, text.cpp): device contexts, pens,
// brushes, fonts, bitmaps and regions behind their handles, and the
// accessors those services use.
//
// Handles are never reused while the process runs, so a stale handle finds
// nothing instead of someone else's object. Everything runs on one thread.
#ifndef PLATFORM_GDI_INTERNAL_H
#define PLATFORM_GDI_INTERNAL_H

#include <windows.h>

#include <cstdint>
#include <variant>

#include "raster.h"
#include "surface.h"

namespace platform {

struct Pen {
    int style = PS_SOLID;  // PS_SOLID, PS_NULL or PS_INSIDEFRAME
    int width = 0;         // 0 and 1 both draw one pixel wide
    COLORREF color = 0;
};

struct Brush {
    bool hollow = false;  // the null brush paints nothing
    COLORREF color = 0;
};

struct Font {
    LOGFONTA logFont{};
    uint64_t serial = 0;  // unique per font object, a key for glyph caches
};

struct Bitmap {
    Surface surface;
    HDC selectedInto = nullptr;  // the memory DC holding it, if any
};

struct Region {
    raster::Spans spans;  // sorted by row, then x; no overlaps
};

struct DeviceContext {
    HWND hwnd = nullptr;     // window DC: the window whose client area it draws on
    bool memory = false;     // memory DC: draws on its selected bitmap
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;  // memory DCs only
    POINT position{0, 0};      // current position (MoveToEx, LineTo, TA_UPDATECP text)
    int rop2 = R2_COPYPEN;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
};

// One entry of the table.
struct GdiObject {
    DWORD type = 0;         // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION, OBJ_DC, OBJ_MEMDC
    bool stock = false;     // stock objects live forever; deleting them does nothing
    int selections = 0;     // how many DCs hold it selected
    bool deletePending = false;  // deleted while selected: goes when the last DC lets go
    std::variant<Pen, Brush, Font, Bitmap, Region, DeviceContext> data;
};

// ---------------------------------------------------------------- table
// Adds an object and returns its new handle.
HGDIOBJ AddObject(DWORD type, std::variant<Pen, Brush, Font, Bitmap, Region, DeviceContext> data);
// The live object behind a handle, or null.
GdiObject* LookupObject(HGDIOBJ handle);

// Typed lookups: null when the handle is not a live object of that kind.
DeviceContext* LookupDC(HDC dc);  // window, screen and memory DCs
Pen* LookupPen(HPEN pen);
Brush* LookupBrush(HBRUSH brush);
Font* LookupFont(HFONT font);
Bitmap* LookupBitmap(HBITMAP bitmap);
Region* LookupRegion(HRGN region);

// ---------------------------------------------------------------- drawing targets
// The surface a DC draws on: the window's client area for a window DC, the
// selected bitmap for a memory DC; null for a screen DC or a destroyed window.
Surface* TargetSurface(DeviceContext& dc);
// Tells the window service that something was drawn through `dc` (window
// DCs only; memory DCs need nothing).
void NoteDrawnOn(DeviceContext& dc);
// The objects selected in a DC (never null for a live DC).
const Pen& SelectedPen(DeviceContext& dc);
const Brush& SelectedBrush(DeviceContext& dc);
const Font& SelectedFont(DeviceContext& dc);

// ---------------------------------------------------------------- bitmaps
// A new bitmap of width x height 32-bit pixels, all black; null when the size
// is not positive or too large.
HBITMAP NewBitmap(int width, int height);
// The 1x1 bitmap a new memory DC starts with (a stock object).
HBITMAP StockDefaultBitmap();

}  // namespace platform

#endif
