// gdi_objects.cpp - the GDI object table: stock objects, pens, brushes,
// fonts and bitmaps behind their handles, selection and deletion, device
// contexts for windows, the screen and memory, and their drawing modes.
// Shapes are drawn in gdi_shapes.cpp; pixels are written by the raster engine.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "gdi_internal.h"
#include "gdi_service.h"
#include "platform_faults.h"
#include "window_service.h"

namespace platform {
namespace {

// Stock objects: the Win32 indices 0..17, and the default bitmap of memory
// DCs after them.
constexpr int kStockCount = 19;
constexpr int kDefaultBitmap = 18;

struct Table {
    std::unordered_map<uintptr_t, GdiObject> objects;
    uintptr_t next = 0x10000;
    HGDIOBJ stock[kStockCount] = {};
    uint64_t fontSerial = 0;
};

LOGFONTA StockLogFont(const char* face, LONG height, LONG weight, BYTE pitchAndFamily) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

HGDIOBJ Insert(Table& t, DWORD type, std::variant<Pen, Brush, Font, Bitmap, Region, DeviceContext> data,
               bool stock) {
    uintptr_t value = t.next;
    t.next += 4;
    GdiObject object;
    object.type = type;
    object.stock = stock;
    object.data = std::move(data);
    if (auto* font = std::get_if<Font>(&object.data)) font->serial = ++t.fontSerial;
    t.objects.emplace(value, std::move(object));
    return reinterpret_cast<HGDIOBJ>(value);
}

Table& TheTable() {
    static Table table;
    static bool stocked = false;
    if (!stocked) {
        stocked = true;
        auto brush = [&](int index, bool hollow, COLORREF c) {
            table.stock[index] = Insert(table, OBJ_BRUSH, Brush{hollow, c}, true);
        };
        auto pen = [&](int index, int style, COLORREF c) {
            table.stock[index] = Insert(table, OBJ_PEN, Pen{style, 0, c}, true);
        };
        auto font = [&](int index, const LOGFONTA& lf) {
            table.stock[index] = Insert(table, OBJ_FONT, Font{lf, 0}, true);
        };
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
        table.stock[kDefaultBitmap] = Insert(table, OBJ_BITMAP, Bitmap{Surface(1, 1), nullptr}, true);
    }
    return table;
}

template <typename T>
T* LookupAs(HGDIOBJ handle) {
    GdiObject* object = LookupObject(handle);
    return object ? std::get_if<T>(&object->data) : nullptr;
}

// One DC lets go of a selected object; a pending deletion completes.
void Unselect(HGDIOBJ handle) {
    Table& t = TheTable();
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == t.objects.end()) return;
    GdiObject& object = it->second;
    if (object.selections > 0) --object.selections;
    if (auto* bitmap = std::get_if<Bitmap>(&object.data)) {
        if (!object.stock) bitmap->selectedInto = nullptr;
    }
    if (object.deletePending && object.selections == 0) t.objects.erase(it);
}

void Select(HGDIOBJ handle) {
    if (GdiObject* object = LookupObject(handle)) ++object->selections;
}

HDC NewDC(HWND hwnd, bool memory) {
    Table& t = TheTable();
    DeviceContext dc;
    dc.hwnd = hwnd;
    dc.memory = memory;
    dc.pen = static_cast<HPEN>(t.stock[BLACK_PEN]);
    dc.brush = static_cast<HBRUSH>(t.stock[WHITE_BRUSH]);
    dc.font = static_cast<HFONT>(t.stock[SYSTEM_FONT]);
    Select(dc.pen);
    Select(dc.brush);
    Select(dc.font);
    if (memory) {
        dc.bitmap = static_cast<HBITMAP>(t.stock[kDefaultBitmap]);
        Select(dc.bitmap);
    }
    return static_cast<HDC>(Insert(t, memory ? OBJ_MEMDC : OBJ_DC, std::move(dc), false));
}

void DestroyDC(HDC handle) {
    DeviceContext* dc = LookupDC(handle);
    if (!dc) return;
    HGDIOBJ held[] = {dc->pen, dc->brush, dc->font, dc->bitmap};
    TheTable().objects.erase(reinterpret_cast<uintptr_t>(handle));
    for (HGDIOBJ h : held) {
        if (h) Unselect(h);
    }
}

}  // namespace

// ---------------------------------------------------------------- table

HGDIOBJ AddObject(DWORD type, std::variant<Pen, Brush, Font, Bitmap, Region, DeviceContext> data) {
    return Insert(TheTable(), type, std::move(data), false);
}

GdiObject* LookupObject(HGDIOBJ handle) {
    if (!handle) return nullptr;
    Table& t = TheTable();
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == t.objects.end() ? nullptr : &it->second;
}

DeviceContext* LookupDC(HDC dc) { return LookupAs<DeviceContext>(dc); }
Pen* LookupPen(HPEN pen) { return LookupAs<Pen>(pen); }
Brush* LookupBrush(HBRUSH brush) { return LookupAs<Brush>(brush); }
Font* LookupFont(HFONT font) { return LookupAs<Font>(font); }
Bitmap* LookupBitmap(HBITMAP bitmap) { return LookupAs<Bitmap>(bitmap); }
Region* LookupRegion(HRGN region) { return LookupAs<Region>(region); }

Surface* TargetSurface(DeviceContext& dc) {
    if (dc.memory) {
        Bitmap* bitmap = LookupBitmap(dc.bitmap);
        return bitmap ? &bitmap->surface : nullptr;
    }
    return dc.hwnd ? ClientSurface(dc.hwnd) : nullptr;
}

void NoteDrawnOn(DeviceContext& dc) {
    if (!dc.memory && dc.hwnd) NoteDrawn(dc.hwnd);
}

const Pen& SelectedPen(DeviceContext& dc) {
    static const Pen none{PS_NULL, 0, 0};
    const Pen* pen = LookupPen(dc.pen);
    return pen ? *pen : none;
}

const Brush& SelectedBrush(DeviceContext& dc) {
    static const Brush none{true, 0};
    const Brush* brush = LookupBrush(dc.brush);
    return brush ? *brush : none;
}

const Font& SelectedFont(DeviceContext& dc) {
    const Font* font = LookupFont(dc.font);
    return font ? *font : *LookupFont(static_cast<HFONT>(TheTable().stock[SYSTEM_FONT]));
}

HBITMAP NewBitmap(int width, int height) {
    // Refuse what could not be allocated sensibly: 2^28 pixels is 1 GiB.
    if (width <= 0 || height <= 0) return nullptr;
    if (static_cast<int64_t>(width) * height > (int64_t{1} << 28)) return nullptr;
    return static_cast<HBITMAP>(AddObject(OBJ_BITMAP, Bitmap{Surface(width, height), nullptr}));
}

HBITMAP StockDefaultBitmap() { return static_cast<HBITMAP>(TheTable().stock[kDefaultBitmap]); }

// ---------------------------------------------------------------- window DCs

HDC CreateWindowDC(HWND hwnd) {
    if (hwnd && !ClientSurface(hwnd)) return nullptr;
    return NewDC(hwnd, false);
}

int ReleaseWindowDC(HWND hwnd, HDC dc) {
    DeviceContext* context = LookupDC(dc);
    if (!context || context->memory || context->hwnd != hwnd) return 0;
    DestroyDC(dc);
    return 1;
}

}  // namespace platform

using namespace platform;

// ---------------------------------------------------------------- objects

HGDIOBJ GetStockObject(int index) {
    if (platform_faults::ShouldFail("GetStockObject")) return nullptr;
    if (index < 0 || index >= kStockCount - 1) return nullptr;
    return TheTable().stock[index];
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (platform_faults::ShouldFail("CreatePen")) return nullptr;
    // Dashed and other styles draw solid here.
    int kind = style & PS_STYLE_MASK;
    if (kind != PS_NULL && kind != PS_INSIDEFRAME) kind = PS_SOLID;
    return static_cast<HPEN>(AddObject(OBJ_PEN, Pen{kind, width, color & 0xFFFFFFu}));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    if (platform_faults::ShouldFail("CreateSolidBrush")) return nullptr;
    return static_cast<HBRUSH>(AddObject(OBJ_BRUSH, Brush{false, color & 0xFFFFFFu}));
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
    if (platform_faults::ShouldFail("CreateFontIndirectA")) return nullptr;
    if (!logFont) return nullptr;
    Font font;
    font.logFont = *logFont;
    font.logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(AddObject(OBJ_FONT, font));
}

HGDIOBJ SelectObject(HDC dcHandle, HGDIOBJ handle) {
    if (platform_faults::ShouldFail("SelectObject")) return nullptr;
    DeviceContext* dc = LookupDC(dcHandle);
    GdiObject* object = LookupObject(handle);
    if (!dc || !object) return nullptr;
    HGDIOBJ old = nullptr;
    switch (object->type) {
        case OBJ_PEN:
            old = dc->pen;
            dc->pen = static_cast<HPEN>(handle);
            break;
        case OBJ_BRUSH:
            old = dc->brush;
            dc->brush = static_cast<HBRUSH>(handle);
            break;
        case OBJ_FONT:
            old = dc->font;
            dc->font = static_cast<HFONT>(handle);
            break;
        case OBJ_BITMAP: {
            // Only a memory DC takes a bitmap, and a bitmap lives in one DC at a time.
            auto& bitmap = std::get<Bitmap>(object->data);
            if (!dc->memory) return nullptr;
            if (!object->stock && bitmap.selectedInto && bitmap.selectedInto != dcHandle) return nullptr;
            old = dc->bitmap;
            dc->bitmap = static_cast<HBITMAP>(handle);
            if (old == handle) return old;
            if (!object->stock) bitmap.selectedInto = dcHandle;
            break;
        }
        default:
            return nullptr;  // DCs and regions are not selected here
    }
    if (old == handle) return old;
    Select(handle);
    Unselect(old);
    return old;
}

BOOL DeleteObject(HGDIOBJ handle) {
    if (platform_faults::ShouldFail("DeleteObject")) return FALSE;
    GdiObject* object = LookupObject(handle);
    if (!object || object->type == OBJ_DC || object->type == OBJ_MEMDC) return FALSE;
    if (object->stock) return TRUE;
    // Still selected somewhere: it goes when the last DC lets go of it.
    if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
    }
    TheTable().objects.erase(reinterpret_cast<uintptr_t>(handle));
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle) {
    GdiObject* object = LookupObject(handle);
    return object ? object->type : 0;
}

// ---------------------------------------------------------------- device contexts

HDC CreateCompatibleDC(HDC dc) {
    if (platform_faults::ShouldFail("CreateCompatibleDC")) return nullptr;
    if (dc && !LookupDC(dc)) return nullptr;
    return NewDC(nullptr, true);
}

BOOL DeleteDC(HDC dc) {
    if (platform_faults::ShouldFail("DeleteDC")) return FALSE;
    if (!LookupDC(dc)) return FALSE;
    DestroyDC(dc);
    return TRUE;
}

int SetROP2(HDC dc, int mode) {
    if (platform_faults::ShouldFail("SetROP2")) return 0;
    DeviceContext* context = LookupDC(dc);
    if (!context || mode < R2_BLACK || mode > R2_LAST) return 0;
    int old = context->rop2;
    context->rop2 = mode;
    return old;
}

int GetROP2(HDC dc) {
    DeviceContext* context = LookupDC(dc);
    return context ? context->rop2 : 0;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    if (platform_faults::ShouldFail("SetTextColor")) return CLR_INVALID;
    DeviceContext* context = LookupDC(dc);
    if (!context) return CLR_INVALID;
    COLORREF old = context->textColor;
    context->textColor = color & 0xFFFFFFu;
    return old;
}

int SetBkMode(HDC dc, int mode) {
    if (platform_faults::ShouldFail("SetBkMode")) return 0;
    DeviceContext* context = LookupDC(dc);
    if (!context || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = context->bkMode;
    context->bkMode = mode;
    return old;
}

UINT SetTextAlign(HDC dc, UINT align) {
    if (platform_faults::ShouldFail("SetTextAlign")) return GDI_ERROR;
    DeviceContext* context = LookupDC(dc);
    if (!context) return GDI_ERROR;
    UINT old = context->textAlign;
    context->textAlign = align;
    return old;
}

int SetPolyFillMode(HDC dc, int mode) {
    if (platform_faults::ShouldFail("SetPolyFillMode")) return 0;
    DeviceContext* context = LookupDC(dc);
    if (!context || (mode != ALTERNATE && mode != WINDING)) return 0;
    int old = context->polyFillMode;
    context->polyFillMode = mode;
    return old;
}

int SetStretchBltMode(HDC dc, int mode) {
    if (platform_faults::ShouldFail("SetStretchBltMode")) return 0;
    DeviceContext* context = LookupDC(dc);
    if (!context || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    int old = context->stretchMode;
    context->stretchMode = mode;
    return old;
}

int GetDeviceCaps(HDC dc, int index) {
    if (!LookupDC(dc)) return 0;
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

