// gdi_objects.cpp - the GDI object table: stock objects, pens, brushes,
// fonts and bitmaps behind their handles, selection and deletion, device
// contexts and their drawing modes. A DC draws on a device (device.h): a
// memory DC on the bitmap selected in it, any other DC on the device it was
// made for (CreateDeviceDC). Selecting a pen or a brush, or setting the mix
// mode, makes the DC ready to draw with it (RealisePen, RealiseBrush).
// Shapes are drawn in gdi_shapes.cpp; pixels are written by the raster
// engine.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "fault_points.h"
#include "gdi_internal.h"
#include "gdi_service.h"
#include "handle_table.h"
#include "surface_limits.h"

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
    GdiObject* object = entry =
        gdiObjects.Add(handle, type, isStock, std::in_place_type<T>, std::forward<Args>(args)...);
    if (!object) return nullptr;
    if constexpr (std::is_same_v<T, Font>) std::get<Font>(object->data).serial = ++fontSerial;
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
inline std::vector<uint32_t>& SparePixels() {
    static std::vector<uint32_t> spare;
    return spare;
}

// Deletes the live object `entry` of `handle`.
void Remove(HGDIOBJ handle, GdiObject& entry) {
    if (auto* bitmap = std::get_if<Bitmap>(&entry.data)) {
        if (bitmap->surface.pixels.capacity() <= kSparePixels) SparePixels().swap(bitmap->surface.pixels);
    } else if (std::holds_alternative<DeviceContext>(entry.data)) {
        for (FoundDC& found : foundDCs) {
            if (handle == found.handle) found = FoundDC{};
        }
    }
    gdiObjects.RemoveLive(reinterpret_cast<uintptr_t>(handle));
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
    // What every new DC selects, at hand (stock entries never move).
    GdiObject* defaultPen = nullptr;
    GdiObject* defaultBrush = nullptr;
    GdiObject* defaultFont = nullptr;
    GdiObject* defaultBitmap = nullptr;
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
        defaultPen = LookupObject(handles[BLACK_PEN]);
        defaultBrush = LookupObject(handles[WHITE_BRUSH]);
        defaultFont = LookupObject(handles[SYSTEM_FONT]);
        defaultBitmap = LookupObject(handles[kDefaultBitmap]);
    }
};

inline const StockObjects& TheStock() {
    static const StockObjects stock;
    return stock;
}

HGDIOBJ Stock(int index) { return TheStock().handles[index]; }

// One DC lets go of the selected pen, brush or font `entry` (of `handle`);
// a pending deletion completes.
void LetGo(GdiObject* entry, HGDIOBJ handle) {
    if (!entry) return;
    if (entry->selections > 0) --entry->selections;
    if (entry->deletePending && entry->selections == 0) Remove(handle, *entry);
}

// The same for an object of any kind: a bitmap is free for another DC.
void Unselect(GdiObject* entry, HGDIOBJ handle) {
    if (!entry) return;
    if (auto* bitmap = std::get_if<Bitmap>(&entry->data)) {
        if (!entry->stock) bitmap->selectedInto = nullptr;
    }
    LetGo(entry, handle);
}

// ---------------------------------------------------------------- realising

// The width's magnitude; INT_MIN, whose magnitude no int holds, counts as
// INT_MAX. 0 and 1 both draw one pixel wide, and no pen is drawn wider than
// kWidestPen.
int DrawnWidth(const Pen& pen) {
    int magnitude = pen.width == INT_MIN ? INT_MAX : std::abs(pen.width);
    return std::clamp(magnitude, 1, kWidestPen);
}

// Makes the DC's pen ready to draw in its mix mode: its painter, and the
// way it draws lines. The pen keeps what it was made into last, so a pen
// selected again in the same mode (the stock pens, the one a drawing call
// puts back) is ready at once. (What is made is worked out once and stored
// field by field in both places: a whole copy read back at once from fields
// just stored one by one would wait for the stores.)
void RealisePen(DeviceContext& dc) {
    Pen* pen = dc.penObject;
    if (pen && pen->drawingMode == dc.rop2) {
        dc.drawingPen = pen->drawing;
        return;
    }
    const int style = pen ? pen->style : PS_NULL;
    const bool drawn = style != PS_NULL;
    const int width = pen ? DrawnWidth(*pen) : 1;
    const uint32_t pixel = pen ? PixelFromColorref(pen->color) : 0;
    const raster::Painter paint(dc.rop2, pixel);
    LineStrategy lines = LineStrategy::None;
    if (drawn) {
        if (paint.Idempotent()) {
            lines = LineStrategy::AsTheyCome;
        } else {
            lines = width <= 1 ? LineStrategy::Segments : LineStrategy::Gathered;
        }
    }
    auto store = [&](DrawingPen& out) {
        out.drawn = drawn;
        out.insideFrame = style == PS_INSIDEFRAME;
        out.width = width;
        out.paint = paint;
        out.lines = lines;
    };
    store(dc.drawingPen);
    if (pen) {
        store(pen->drawing);
        pen->drawingMode = dc.rop2;
    }
}

// Makes the DC's brush ready to fill in its mix mode, as RealisePen does.
void RealiseBrush(DeviceContext& dc) {
    Brush* brush = dc.brushObject;
    if (brush && brush->drawingMode == dc.rop2) {
        dc.drawingBrush = brush->drawing;
        return;
    }
    const bool hollow = brush ? brush->hollow : true;
    const uint32_t pixel = brush ? PixelFromColorref(brush->color) : 0;
    const raster::Painter paint(dc.rop2, pixel);
    auto store = [&](DrawingBrush& out) {
        out.hollow = hollow;
        out.pixel = pixel;
        out.paint = paint;
    };
    store(dc.drawingBrush);
    if (brush) {
        store(brush->drawing);
        brush->drawingMode = dc.rop2;
    }
}

// `object` is now selected in `dc`: the DC draws with it from here on. One
// form for each kind: the caller knows the kind already.
void SelectedPen(DeviceContext& dc, GdiObject& object, Pen& pen) {
    ++object.selections;
    dc.penEntry = &object;
    dc.penObject = &pen;
    RealisePen(dc);
}

void SelectedBrush(DeviceContext& dc, GdiObject& object, Brush& brush) {
    ++object.selections;
    dc.brushEntry = &object;
    dc.brushObject = &brush;
    RealiseBrush(dc);
}

void SelectedFont(DeviceContext& dc, GdiObject& object, const Font& font) {
    ++object.selections;
    dc.fontEntry = &object;
    dc.fontObject = &font;
    dc.face = nullptr;
}

void SelectedBitmap(DeviceContext& dc, GdiObject& object, Bitmap& bitmap) {
    ++object.selections;
    dc.bitmapEntry = &object;
    dc.bitmapObject = &bitmap;
    dc.memoryDevice.pixels = &bitmap.surface;
}

// A new DC drawing on `owned`, or for a memory DC on the bitmap selected in it.
HDC NewDC(std::shared_ptr<Device> owned, bool memory) {
    const StockObjects& stock = TheStock();
    GdiObject* object = nullptr;
    HGDIOBJ handle = EmplaceEntry<DeviceContext>(object, memory ? OBJ_MEMDC : OBJ_DC, false);
    if (!object) return nullptr;
    DeviceContext& dc = std::get<DeviceContext>(object->data);
    dc.owned = std::move(owned);
    dc.device = memory ? &dc.memoryDevice : dc.owned.get();
    dc.memory = memory;
    dc.pen = static_cast<HPEN>(stock.handles[BLACK_PEN]);
    dc.brush = static_cast<HBRUSH>(stock.handles[WHITE_BRUSH]);
    dc.font = static_cast<HFONT>(stock.handles[SYSTEM_FONT]);
    SelectedPen(dc, *stock.defaultPen, *std::get_if<Pen>(&stock.defaultPen->data));
    SelectedBrush(dc, *stock.defaultBrush, *std::get_if<Brush>(&stock.defaultBrush->data));
    SelectedFont(dc, *stock.defaultFont, *std::get_if<Font>(&stock.defaultFont->data));
    if (memory) {
        dc.bitmap = static_cast<HBITMAP>(stock.handles[kDefaultBitmap]);
        SelectedBitmap(dc, *stock.defaultBitmap, *std::get_if<Bitmap>(&stock.defaultBitmap->data));
    }
    // A DC is used as soon as it is made, usually beside the one used last
    // (a memory DC made for a transfer or a read-back): it is the other DC
    // at hand.
    foundDCs[1] = FoundDC{static_cast<HDC>(handle), &dc};
    return static_cast<HDC>(handle);
}

// The DC lets go of what it holds, then goes.
void DestroyDC(HDC handle, GdiObject& object) {
    DeviceContext& dc = *std::get_if<DeviceContext>(&object.data);
    LetGo(dc.penEntry, dc.pen);
    LetGo(dc.brushEntry, dc.brush);
    LetGo(dc.fontEntry, dc.font);
    Unselect(dc.bitmapEntry, dc.bitmap);
    Remove(handle, object);
}

}  // namespace

// ---------------------------------------------------------------- table

// No constructor runs for it (handle_table.h): the table is there before
// any program code runs, and stays while it ends.
HandleTable<GdiObject> gdiObjects;
FoundDC foundDCs[2];

DeviceContext* LookupOtherDC(HDC handle) {
    DeviceContext* dc = LookupAs<DeviceContext>(handle);
    if (dc) {
        foundDCs[1] = foundDCs[0];
        foundDCs[0] = FoundDC{handle, dc};
    }
    return dc;
}

HGDIOBJ AddObject(DWORD type, std::variant<Pen, Brush, Font, Bitmap, Region, DeviceContext> data) {
    return std::visit([type](auto&& value) { return Insert(type, std::move(value)); }, std::move(data));
}

const Font& SelectedFont(const DeviceContext& dc) {
    return dc.fontObject ? *dc.fontObject : *LookupFont(static_cast<HFONT>(Stock(SYSTEM_FONT)));
}

HBITMAP NewBitmap(int width, int height) {
    // Refuse what could not be allocated sensibly.
    if (width <= 0 || height <= 0) return nullptr;
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kiva::kMaxSurfacePixels) return nullptr;
    return static_cast<HBITMAP>(Emplace<Bitmap>(OBJ_BITMAP, false, BlackSurface(width, height), nullptr));
}

HBITMAP StockDefaultBitmap() { return static_cast<HBITMAP>(Stock(kDefaultBitmap)); }

// ---------------------------------------------------------------- device DCs

HDC CreateDeviceDC(std::shared_ptr<Device> device) {
    if (!device) return nullptr;
    return NewDC(std::move(device), false);
}

Device* DeviceOf(HDC dc) {
    DeviceContext* context = LookupDC(dc);
    return context ? context->device : nullptr;
}

void DestroyDeviceDC(HDC dc) {
    GdiObject* object = LookupObject(dc);
    DeviceContext* context = object ? std::get_if<DeviceContext>(&object->data) : nullptr;
    if (context && !context->memory) DestroyDC(dc, *object);
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
    return static_cast<HPEN>(Emplace<Pen>(OBJ_PEN, false, kind, width, color & 0xFFFFFFu));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    if (ShouldFail(Call::CreateSolidBrush)) return nullptr;
    return static_cast<HBRUSH>(Emplace<Brush>(OBJ_BRUSH, false, false, color & 0xFFFFFFu));
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
    switch (object->type) {
        case OBJ_PEN: {
            old = dc->pen;
            if (old == handle) return old;
            GdiObject* oldEntry = dc->penEntry;
            dc->pen = static_cast<HPEN>(handle);
            SelectedPen(*dc, *object, *std::get_if<Pen>(&object->data));
            LetGo(oldEntry, old);
            return old;
        }
        case OBJ_BRUSH: {
            old = dc->brush;
            if (old == handle) return old;
            GdiObject* oldEntry = dc->brushEntry;
            dc->brush = static_cast<HBRUSH>(handle);
            SelectedBrush(*dc, *object, *std::get_if<Brush>(&object->data));
            LetGo(oldEntry, old);
            return old;
        }
        case OBJ_FONT: {
            old = dc->font;
            if (old == handle) return old;
            GdiObject* oldEntry = dc->fontEntry;
            dc->font = static_cast<HFONT>(handle);
            SelectedFont(*dc, *object, *std::get_if<Font>(&object->data));
            LetGo(oldEntry, old);
            return old;
        }
        case OBJ_BITMAP: {
            // Only a memory DC takes a bitmap, and a bitmap lives in one DC at a time.
            auto& bitmap = std::get<Bitmap>(object->data);
            if (!dc->memory) return nullptr;
            if (!object->stock && bitmap.selectedInto && bitmap.selectedInto != dcHandle) return nullptr;
            old = dc->bitmap;
            if (old == handle) return old;
            GdiObject* oldEntry = dc->bitmapEntry;
            dc->bitmap = static_cast<HBITMAP>(handle);
            if (!object->stock) bitmap.selectedInto = dcHandle;
            SelectedBitmap(*dc, *object, bitmap);
            Unselect(oldEntry, old);
            return old;
        }
        default:
            return nullptr;  // DCs and regions are not selected here
    }
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
    return NewDC(nullptr, true);  // on the default bitmap
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
