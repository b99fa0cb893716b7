// gdi_objects.cpp - the GDI object table: stock objects, pens, brushes,
// fonts and bitmaps behind their handles, selection and deletion, device
// contexts for windows, the screen and memory, and their drawing modes.
// Selecting a pen or a brush, or setting the mix mode, makes the DC ready
// to draw with it (RealisePen, RealiseBrush). Shapes are drawn in gdi_shapes.cpp; pixels are
// written by the raster engine.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

#include "fault_points.h"
#include "gdi_internal.h"
#include "gdi_service.h"
#include "handle_table.h"
#include "printer_dc.h"
#include "surface_limits.h"
#include "window_service.h"

using platform_faults::Call;
using platform_faults::ShouldFail;

namespace platform {
namespace {

// Stock objects: the Win32 indices 0..17, and the default bitmap of memory
// DCs after them.
constexpr int kStockCount = 19;
constexpr int kDefaultBitmap = 18;

LOGFONTA StockLogFont(const char* face, LONG height, LONG weight, BYTE pitchAndFamily) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

// Adds an object of kind T made from `args` in its place, and gives its
// entry; null when the table is full.
template <class T, class... Args>
HGDIOBJ EmplaceEntry(GdiObject*& entry, DWORD type, bool isStock, Args&&... args) {
    static uint64_t fontSerial = 0;
    uintptr_t handle = 0;
    GdiObject* object = entry = gdiObjects.Add(handle);
    if (!object) return nullptr;
    object->type = type;
    object->stock = isStock;
    T& stored = object->data.template emplace<T>(std::forward<Args>(args)...);
    if constexpr (std::is_same_v<T, Font>) stored.serial = ++fontSerial;
    return reinterpret_cast<HGDIOBJ>(handle);
}

// The same, without the entry.
template <class T, class... Args>
HGDIOBJ Emplace(DWORD type, bool isStock, Args&&... args) {
    GdiObject* unused;
    return EmplaceEntry<T>(unused, type, isStock, std::forward<Args>(args)...);
}

template <class T>
HGDIOBJ Insert(DWORD type, T value, bool isStock = false) {
    return Emplace<T>(type, isStock, std::move(value));
}

// The pixels of the last small bitmap deleted, kept for the next one made:
// a program that makes a bitmap of a pixel or two and deletes it again for
// every call (a read-back) allocates nothing for it.
constexpr size_t kSparePixels = 4096;
std::vector<uint32_t>& SparePixels() {
    static std::vector<uint32_t> spare;
    return spare;
}

void Remove(HGDIOBJ handle, GdiObject& entry) {
    if (auto* bitmap = std::get_if<Bitmap>(&entry.data)) {
        if (bitmap->surface.pixels.capacity() <= kSparePixels) SparePixels().swap(bitmap->surface.pixels);
    }
    gdiObjects.Remove(reinterpret_cast<uintptr_t>(handle));
}

// A surface of width x height black pixels (a size NewBitmap allows).
Surface BlackSurface(int width, int height) {
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint32_t>& spare = SparePixels();
    if (count > spare.capacity()) return Surface(width, height);
    Surface surface;
    surface.width = width;
    surface.height = height;
    surface.pixels.swap(spare);
    surface.pixels.assign(count, 0);
    return surface;
}

// The stock objects, made on first use.
struct StockObjects {
    HGDIOBJ handles[kStockCount] = {};
    StockObjects() {
        auto brush = [&](int index, bool hollow, COLORREF c) {
            handles[index] = Insert(OBJ_BRUSH, Brush{hollow, c}, true);
        };
        auto pen = [&](int index, int style, COLORREF c) { handles[index] = Insert(OBJ_PEN, Pen{style, 0, c}, true); };
        auto font = [&](int index, const LOGFONTA& lf) { handles[index] = Insert(OBJ_FONT, Font{lf, 0}, true); };
        brush(WHITE_BRUSH, false, RGB(255, 255, 255));
        brush(LTGRAY_BRUSH, false, RGB(192, 192, 192));
        brush(GRAY_BRUSH, false, RGB(128, 128, 128));
        brush(DKGRAY_BRUSH, false, RGB(64, 64, 64));
        brush(BLACK_BRUSH, false, RGB(0, 0, 0));
        brush(NULL_BRUSH, true, 0);
        pen(WHITE_PEN, PS_SOLID, RGB(255, 255, 255));
        pen(BLACK_PEN, PS_SOLID, RGB(0, 0, 0));
        pen(NULL_PEN, PS_NULL, 0);
        font(OEM_FIXED_FONT, StockLogFont("Terminal", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN));
        font(ANSI_FIXED_FONT, StockLogFont("Courier", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN));
        font(ANSI_VAR_FONT, StockLogFont("MS Sans Serif", 12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS));
        font(SYSTEM_FONT, StockLogFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS));
        font(DEVICE_DEFAULT_FONT, StockLogFont("System", 16, FW_NORMAL, VARIABLE_PITCH | FF_SWISS));
        font(SYSTEM_FIXED_FONT, StockLogFont("Fixedsys", 15, FW_NORMAL, FIXED_PITCH | FF_MODERN));
        font(DEFAULT_GUI_FONT, StockLogFont("MS Shell Dlg", -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS));
        handles[kDefaultBitmap] = Insert(OBJ_BITMAP, Bitmap{Surface(1, 1), nullptr}, true);
    }
};

HGDIOBJ Stock(int index) {
    static const StockObjects stock;
    return stock.handles[index];
}

// One DC lets go of the selected object `entry` (of `handle`); a pending
// deletion completes.
void Unselect(GdiObject* entry, HGDIOBJ handle) {
    if (!entry) return;
    if (entry->selections > 0) --entry->selections;
    if (auto* bitmap = std::get_if<Bitmap>(&entry->data)) {
        if (!entry->stock) bitmap->selectedInto = nullptr;
    }
    if (entry->deletePending && entry->selections == 0) Remove(handle, *entry);
}

// ---------------------------------------------------------------- realising

// The width's magnitude; INT_MIN, whose magnitude no int holds, counts as
// INT_MAX. 0 and 1 both draw one pixel wide, and no pen is drawn wider than
// kWidestPen.
int DrawnWidth(const Pen& pen) {
    int magnitude = pen.width == INT_MIN ? INT_MAX : std::abs(pen.width);
    return std::clamp(magnitude, 1, kWidestPen);
}

// What `pen` draws like in mix mode `rop2`: its painter, and the way it
// draws lines.
DrawingPen DrawingPenOf(const Pen& pen, int rop2) {
    DrawingPen p;
    p.drawn = pen.style != PS_NULL;
    p.insideFrame = pen.style == PS_INSIDEFRAME;
    p.width = DrawnWidth(pen);
    p.paint = raster::Painter(rop2, PixelFromColorref(pen.color));
    if (!p.drawn) {
        p.lines = LineStrategy::None;
    } else if (p.paint.Idempotent()) {
        p.lines = LineStrategy::AsTheyCome;
    } else {
        p.lines = p.width <= 1 ? LineStrategy::Segments : LineStrategy::Gathered;
    }
    return p;
}

// Makes the DC's pen ready to draw in its mix mode. The pen keeps what it
// was made into last, so a pen selected again in the same mode (the stock
// pens, the one a drawing call puts back) is ready at once.
void RealisePen(DeviceContext& dc) {
    if (!dc.penObject) {
        dc.drawingPen = DrawingPenOf(Pen{PS_NULL, 0, 0}, dc.rop2);
        return;
    }
    Pen& pen = *dc.penObject;
    if (pen.drawingMode != dc.rop2) {
        pen.drawing = DrawingPenOf(pen, dc.rop2);
        pen.drawingMode = dc.rop2;
    }
    dc.drawingPen = pen.drawing;
}

// Makes the DC's brush ready to fill in its mix mode, as RealisePen does.
void RealiseBrush(DeviceContext& dc) {
    Brush none{true, 0};
    Brush& brush = dc.brushObject ? *dc.brushObject : none;
    if (brush.drawingMode != dc.rop2) {
        brush.drawing.hollow = brush.hollow;
        brush.drawing.pixel = PixelFromColorref(brush.color);
        brush.drawing.paint = raster::Painter(dc.rop2, brush.drawing.pixel);
        brush.drawingMode = dc.rop2;
    }
    dc.drawingBrush = brush.drawing;
}

// `object` is now selected in `dc`: the DC draws with it from here on.
void Selected(DeviceContext& dc, GdiObject& object) {
    ++object.selections;
    if (auto* pen = std::get_if<Pen>(&object.data)) {
        dc.penEntry = &object;
        dc.penObject = pen;
        RealisePen(dc);
    } else if (auto* brush = std::get_if<Brush>(&object.data)) {
        dc.brushEntry = &object;
        dc.brushObject = brush;
        RealiseBrush(dc);
    } else if (auto* font = std::get_if<Font>(&object.data)) {
        dc.fontEntry = &object;
        dc.fontObject = font;
        dc.face = nullptr;
    } else if (auto* bitmap = std::get_if<Bitmap>(&object.data)) {
        dc.bitmapEntry = &object;
        dc.bitmapObject = bitmap;
    }
}

HDC NewDC(HWND hwnd, bool memory) {
    HGDIOBJ pen = Stock(BLACK_PEN), brush = Stock(WHITE_BRUSH), font = Stock(SYSTEM_FONT);
    HGDIOBJ bitmap = memory ? Stock(kDefaultBitmap) : nullptr;
    GdiObject* object = nullptr;
    HGDIOBJ handle = EmplaceEntry<DeviceContext>(object, memory ? OBJ_MEMDC : OBJ_DC, false);
    if (!object) return nullptr;
    DeviceContext& dc = std::get<DeviceContext>(object->data);
    dc.hwnd = hwnd;
    dc.memory = memory;
    dc.pen = static_cast<HPEN>(pen);
    dc.brush = static_cast<HBRUSH>(brush);
    dc.font = static_cast<HFONT>(font);
    dc.bitmap = static_cast<HBITMAP>(bitmap);
    for (HGDIOBJ held : {pen, brush, font, bitmap}) {
        if (GdiObject* selected = held ? LookupObject(held) : nullptr) Selected(dc, *selected);
    }
    return static_cast<HDC>(handle);
}

void DestroyDC(HDC handle, GdiObject& object) {
    DeviceContext* dc = std::get_if<DeviceContext>(&object.data);
    std::pair<GdiObject*, HGDIOBJ> held[] = {
        {dc->penEntry, dc->pen}, {dc->brushEntry, dc->brush}, {dc->fontEntry, dc->font}, {dc->bitmapEntry, dc->bitmap}};
    Remove(handle, object);
    for (auto [entry, h] : held) Unselect(entry, h);
}

}  // namespace

// ---------------------------------------------------------------- table

// No constructor runs for it (handle_table.h): the table is there before
// any program code runs, and stays while it ends.
HandleTable<GdiObject> gdiObjects;

HGDIOBJ AddObject(DWORD type, std::variant<Pen, Brush, Font, Bitmap, Region, DeviceContext> data) {
    return std::visit([type](auto&& value) { return Insert(type, std::move(value)); }, std::move(data));
}

Surface* TargetSurface(DeviceContext& dc) {
    if (dc.memory) return dc.bitmapObject ? &dc.bitmapObject->surface : nullptr;
    return dc.hwnd ? ClientSurface(dc.hwnd) : nullptr;
}

void NoteDrawnOn(DeviceContext& dc) {
    if (!dc.memory && dc.hwnd) NoteDrawn(dc.hwnd);
}

const Font& SelectedFont(const DeviceContext& dc) {
    return dc.fontObject ? *dc.fontObject : *LookupFont(static_cast<HFONT>(Stock(SYSTEM_FONT)));
}

HBITMAP NewBitmap(int width, int height) {
    // Refuse what could not be allocated sensibly.
    if (width <= 0 || height <= 0) return nullptr;
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kiva::kMaxSurfacePixels) return nullptr;
    return static_cast<HBITMAP>(Insert(OBJ_BITMAP, Bitmap{BlackSurface(width, height), nullptr}));
}

HBITMAP StockDefaultBitmap() { return static_cast<HBITMAP>(Stock(kDefaultBitmap)); }

// ---------------------------------------------------------------- window DCs

HDC CreateWindowDC(HWND hwnd) {
    if (hwnd && !ClientSurface(hwnd)) return nullptr;
    return NewDC(hwnd, false);
}

// A printer DC draws on no surface; its transfers go to the printer's page.
HDC CreatePrinterDC(std::shared_ptr<PrinterDevice> device) {
    HDC dc = NewDC(nullptr, false);
    if (DeviceContext* context = LookupDC(dc)) context->printer = std::move(device);
    return dc;
}

PrinterDevice* LookupPrinter(HDC dc) {
    DeviceContext* context = LookupDC(dc);
    return context ? context->printer.get() : nullptr;
}

int ReleaseWindowDC(HWND hwnd, HDC dc) {
    GdiObject* object = LookupObject(dc);
    DeviceContext* context = object ? std::get_if<DeviceContext>(&object->data) : nullptr;
    if (!context || context->memory || context->hwnd != hwnd) return 0;
    DestroyDC(dc, *object);
    return 1;
}

}  // namespace platform

using namespace platform;

// ---------------------------------------------------------------- objects

HGDIOBJ GetStockObject(int index) {
    if (ShouldFail(Call::GetStockObject)) return nullptr;
    if (index < 0 || index >= kStockCount - 1) return nullptr;
    return Stock(index);
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (ShouldFail(Call::CreatePen)) return nullptr;
    // Dashed and other styles draw solid here.
    int kind = style & PS_STYLE_MASK;
    if (kind != PS_NULL && kind != PS_INSIDEFRAME) kind = PS_SOLID;
    return static_cast<HPEN>(Insert(OBJ_PEN, Pen{kind, width, color & 0xFFFFFFu}));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    if (ShouldFail(Call::CreateSolidBrush)) return nullptr;
    return static_cast<HBRUSH>(Insert(OBJ_BRUSH, Brush{false, color & 0xFFFFFFu}));
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
    if (ShouldFail(Call::CreateFontIndirectA)) return nullptr;
    if (!logFont) return nullptr;
    Font font;
    font.logFont = *logFont;
    font.logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(Insert(OBJ_FONT, font));
}

HGDIOBJ SelectObject(HDC dcHandle, HGDIOBJ handle) {
    if (ShouldFail(Call::SelectObject)) return nullptr;
    DeviceContext* dc = LookupDC(dcHandle);
    GdiObject* object = LookupObject(handle);
    if (!dc || !object) return nullptr;
    HGDIOBJ old = nullptr;
    GdiObject* oldEntry = nullptr;
    switch (object->type) {
        case OBJ_PEN:
            old = dc->pen;
            oldEntry = dc->penEntry;
            dc->pen = static_cast<HPEN>(handle);
            break;
        case OBJ_BRUSH:
            old = dc->brush;
            oldEntry = dc->brushEntry;
            dc->brush = static_cast<HBRUSH>(handle);
            break;
        case OBJ_FONT:
            old = dc->font;
            oldEntry = dc->fontEntry;
            dc->font = static_cast<HFONT>(handle);
            break;
        case OBJ_BITMAP: {
            // Only a memory DC takes a bitmap, and a bitmap lives in one DC at a time.
            auto& bitmap = std::get<Bitmap>(object->data);
            if (!dc->memory) return nullptr;
            if (!object->stock && bitmap.selectedInto && bitmap.selectedInto != dcHandle) return nullptr;
            old = dc->bitmap;
            oldEntry = dc->bitmapEntry;
            dc->bitmap = static_cast<HBITMAP>(handle);
            if (old == handle) return old;
            if (!object->stock) bitmap.selectedInto = dcHandle;
            break;
        }
        default:
            return nullptr;  // DCs and regions are not selected here
    }
    if (old == handle) return old;
    Selected(*dc, *object);
    Unselect(oldEntry, old);
    return old;
}

BOOL DeleteObject(HGDIOBJ handle) {
    if (ShouldFail(Call::DeleteObject)) return FALSE;
    GdiObject* object = LookupObject(handle);
    if (!object || object->type == OBJ_DC || object->type == OBJ_MEMDC) return FALSE;
    if (object->stock) return TRUE;
    // Still selected somewhere: it goes when the last DC lets go of it.
    if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
    }
    Remove(handle, *object);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle) {
    GdiObject* object = LookupObject(handle);
    return object ? object->type : 0;
}

// ---------------------------------------------------------------- device contexts

HDC CreateCompatibleDC(HDC dc) {
    if (ShouldFail(Call::CreateCompatibleDC)) return nullptr;
    if (dc && !LookupDC(dc)) return nullptr;
    return NewDC(nullptr, true);
}

BOOL DeleteDC(HDC dc) {
    if (ShouldFail(Call::DeleteDC)) return FALSE;
    GdiObject* object = LookupObject(dc);
    if (!object || !std::get_if<DeviceContext>(&object->data)) return FALSE;
    DestroyDC(dc, *object);
    return TRUE;
}

int SetROP2(HDC dc, int mode) {
    if (ShouldFail(Call::SetROP2)) return 0;
    DeviceContext* context = LookupDC(dc);
    if (!context || mode < R2_BLACK || mode > R2_LAST) return 0;
    int old = context->rop2;
    context->rop2 = mode;
    if (mode != old) {
        RealisePen(*context);
        RealiseBrush(*context);
    }
    return old;
}

int GetROP2(HDC dc) {
    DeviceContext* context = LookupDC(dc);
    return context ? context->rop2 : 0;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    if (ShouldFail(Call::SetTextColor)) return CLR_INVALID;
    DeviceContext* context = LookupDC(dc);
    if (!context) return CLR_INVALID;
    COLORREF old = context->textColor;
    context->textColor = color & 0xFFFFFFu;
    return old;
}

int SetBkMode(HDC dc, int mode) {
    if (ShouldFail(Call::SetBkMode)) return 0;
    DeviceContext* context = LookupDC(dc);
    if (!context || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = context->bkMode;
    context->bkMode = mode;
    return old;
}

UINT SetTextAlign(HDC dc, UINT align) {
    if (ShouldFail(Call::SetTextAlign)) return GDI_ERROR;
    DeviceContext* context = LookupDC(dc);
    if (!context) return GDI_ERROR;
    UINT old = context->textAlign;
    context->textAlign = align;
    return old;
}

int SetPolyFillMode(HDC dc, int mode) {
    if (ShouldFail(Call::SetPolyFillMode)) return 0;
    DeviceContext* context = LookupDC(dc);
    if (!context || (mode != ALTERNATE && mode != WINDING)) return 0;
    int old = context->polyFillMode;
    context->polyFillMode = mode;
    return old;
}

int SetStretchBltMode(HDC dc, int mode) {
    if (ShouldFail(Call::SetStretchBltMode)) return 0;
    DeviceContext* context = LookupDC(dc);
    if (!context || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    int old = context->stretchMode;
    context->stretchMode = mode;
    return old;
}

int GetDeviceCaps(HDC dc, int index) {
    if (!LookupDC(dc)) return 0;
    if (PrinterDevice* printer = LookupPrinter(dc)) return PrinterDeviceCaps(*printer, index);
    switch (index) {
        case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
        case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
        case BITSPIXEL: return 32;
        case PLANES: return 1;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case RASTERCAPS:
            return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT |
                   RC_STRETCHBLT | RC_FLOODFILL | RC_STRETCHDIB | RC_OP_DX_OUTPUT;
        default: return 0;
    }
}

