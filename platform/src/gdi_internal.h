// gdi_internal.h - the GDI object table (gdi_objects.cpp) shared by the GDI
// services (gdi_shapes.cpp, bitmap.cpp, text.cpp): device contexts, pens,
// brushes, fonts, bitmaps and regions behind their handles, and the
// accessors those services use.
//
// Handles index the table (handle_table.h): a handle whose object was
// deleted finds nothing, even once its slot holds another object. An object
// keeps its address while it lives, so a DC holds on to what it has
// selected. Everything runs on one thread.
//
// A device context keeps what it draws with ready: selecting a pen or a
// brush, or setting the mix mode, works out once how the next shapes paint
// (DrawingPen, DrawingBrush), so a shape call looks up nothing beyond its
// DC.
#ifndef PLATFORM_GDI_INTERNAL_H
#define PLATFORM_GDI_INTERNAL_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <variant>

#include "device.h"
#include "handle_table.h"
#include "memory_device.h"
#include "raster/paint.h"
#include "raster/raster.h"
#include "surface.h"

namespace platform {

struct GdiObject;      // below
struct SizedFace;      // text.cpp: a font realised as a face at a size

// Widest pen drawn: wider pens draw this wide, which already covers any
// surface a window can have several times over.
constexpr int kWidestPen = 1024;

// How a pen draws a polyline, chosen with the pen and the mix mode.
enum class LineStrategy : uint8_t {
    None,        // the null pen draws nothing
    Segments,    // thin, where painting twice matters: segment by segment, a
                 // pixel that several segments cross painted once for each
    Gathered,    // wide, where painting twice matters: every pixel once
    AsTheyCome,  // painting twice makes no difference: dots and bands painted
                 // as they come, long polylines piece by piece
};

// A DC's pen as the shapes draw with it.
struct DrawingPen {
    bool drawn = false;        // any pen but the null pen
    bool insideFrame = false;  // a wide pen keeps within a figure's box
    int width = 1;             // pixels across as drawn: 1 .. kWidestPen
    raster::Painter paint;     // the pen's colour in the DC's mix mode
    LineStrategy lines = LineStrategy::None;
};

// A DC's brush as the shapes fill with it.
struct DrawingBrush {
    bool hollow = true;
    uint32_t pixel = 0;     // the brush's colour (0x00RRGGBB), the pattern of transfers
    raster::Painter paint;  // the brush's colour in the DC's mix mode
};

struct Pen {
    Pen() = default;
    Pen(int s, int w, COLORREF c) : style(s), width(w), color(c) {}

    int style = PS_SOLID;  // PS_SOLID, PS_NULL or PS_INSIDEFRAME
    int width = 0;         // 0 and 1 both draw one pixel wide
    COLORREF color = 0;
    // What the pen was last made ready as, and for which mix mode (0: none
    // yet): selected again in that mode, it is ready at once.
    DrawingPen drawing;
    int drawingMode = 0;
};

struct Brush {
    Brush() = default;
    Brush(bool h, COLORREF c) : hollow(h), color(c) {}

    bool hollow = false;  // the null brush paints nothing
    COLORREF color = 0;
    DrawingBrush drawing;  // as for pens
    int drawingMode = 0;
};

struct Font {
    LOGFONTA logFont{};
    uint64_t serial = 0;  // unique per font object, a key for glyph caches
};

struct Bitmap {
    Bitmap() = default;
    Bitmap(Surface pixels, HDC in) : surface(std::move(pixels)), selectedInto(in) {}

    Surface surface;
    HDC selectedInto = nullptr;  // the memory DC holding it, if any
};

struct Region {
    raster::Spans spans;  // sorted by row, then x; no overlaps
};

struct DeviceContext {
    DeviceContext() {}  // every field as given below, the rest of its room left alone

    // What it draws on (device.h): `device` is never null for a live DC,
    // and is `memoryDevice` for a memory DC (which the DC holds in place:
    // DCs never move) or the `owned` device of a window, screen or printer
    // DC.
    Device* device = nullptr;
    std::shared_ptr<Device> owned;
    MemoryDevice memoryDevice;
    bool memory = false;  // memory DC: takes bitmaps, draws on the one selected
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

    // The selected objects' entries and the objects themselves (they live
    // while selected), and what they were made into when selected.
    GdiObject* penEntry = nullptr;
    GdiObject* brushEntry = nullptr;
    GdiObject* fontEntry = nullptr;
    GdiObject* bitmapEntry = nullptr;
    Pen* penObject = nullptr;
    Brush* brushObject = nullptr;
    const Font* fontObject = nullptr;
    Bitmap* bitmapObject = nullptr;  // memory DCs only
    DrawingPen drawingPen;
    DrawingBrush drawingBrush;
    SizedFace* face = nullptr;  // the selected font's face, found on first use (text.cpp)
    raster::Spans scratch;      // room a shape call generates its spans in
};

// One entry of the table.
struct GdiObject {
    // Made field by field as below: a new entry does not clear the whole
    // room its largest kind (a DC) takes. The second form makes the object
    // of kind T from `args` in its place.
    GdiObject() {}
    template <class T, class... Args>
    GdiObject(DWORD kind, bool isStock, std::in_place_type_t<T> as, Args&&... args)
        : type(kind), stock(isStock), data(as, std::forward<Args>(args)...) {}

    DWORD type = 0;         // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION, OBJ_DC, OBJ_MEMDC
    bool stock = false;     // stock objects live forever; deleting them does nothing
    int selections = 0;     // how many DCs hold it selected
    bool deletePending = false;  // deleted while selected: goes when the last DC lets go
    std::variant<Pen, Brush, Font, Bitmap, Region, DeviceContext> data;
};

// ---------------------------------------------------------------- table
// The table itself (gdi_objects.cpp); the GDI services find objects in it
// with the lookups below.
extern HandleTable<GdiObject> gdiObjects;

// Adds an object and returns its new handle (null when the table is full).
HGDIOBJ AddObject(DWORD type, std::variant<Pen, Brush, Font, Bitmap, Region, DeviceContext> data);
// The live object behind a handle, or null.
inline GdiObject* LookupObject(HGDIOBJ handle) { return gdiObjects.Find(reinterpret_cast<uintptr_t>(handle)); }

// Typed lookups: null when the handle is not a live object of that kind.
template <typename T>
inline T* LookupAs(HGDIOBJ handle) {
    GdiObject* object = LookupObject(handle);
    return object ? std::get_if<T>(&object->data) : nullptr;
}
// The two DCs found last: a program draws through the same DC call after
// call, and a transfer or a read-back goes between that DC and a memory DC.
// A DC is forgotten here when it is deleted (gdi_objects.cpp), so the handle
// of a deleted DC is never taken for it.
struct FoundDC {
    HDC handle = nullptr;
    DeviceContext* dc = nullptr;
};
// Both are looked at where they are: a transfer going back and forth
// between two DCs moves nothing here.
extern FoundDC foundDCs[2];
// A DC found in neither (gdi_objects.cpp): it takes the first place, and
// the DC that was there the second.
DeviceContext* LookupOtherDC(HDC handle);
// Window, screen, printer and memory DCs.
inline DeviceContext* LookupDC(HDC handle) {
    if (handle == foundDCs[0].handle) return foundDCs[0].dc;  // null for a null handle
    if (handle == foundDCs[1].handle) return foundDCs[1].dc;
    return LookupOtherDC(handle);
}
inline Pen* LookupPen(HPEN pen) { return LookupAs<Pen>(pen); }
inline Brush* LookupBrush(HBRUSH brush) { return LookupAs<Brush>(brush); }
inline Font* LookupFont(HFONT font) { return LookupAs<Font>(font); }
inline Bitmap* LookupBitmap(HBITMAP bitmap) { return LookupAs<Bitmap>(bitmap); }
inline Region* LookupRegion(HRGN region) { return LookupAs<Region>(region); }

// ---------------------------------------------------------------- drawing targets
// The pixels a DC draws on (its device's): null for the screen, a printer
// or a destroyed window.
inline Surface* TargetSurface(DeviceContext& dc) { return dc.device->Pixels(); }
// Tells the DC's device that something was drawn on its pixels.
inline void NoteDrawnOn(DeviceContext& dc) { dc.device->Drawn(); }
// The font selected in a DC (never null for a live DC).
const Font& SelectedFont(const DeviceContext& dc);

// ---------------------------------------------------------------- bitmaps
// A new bitmap of width x height 32-bit pixels, all black; null when the size
// is not positive or too large.
HBITMAP NewBitmap(int width, int height);
// The 1x1 bitmap a new memory DC starts with (a stock object).
HBITMAP StockDefaultBitmap();

}  // namespace platform

#endif
