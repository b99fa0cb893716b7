// graphics_internal.h - the graphics library's machinery, shared by its own
// files and by its tests, never by programs: the platform's full Win32
// header, the input records and their lists, the window registry, the
// window procedure, the picture decoders, the helpers several files use, and
// GraphicsInternals, the library's one way into the private parts of
// `window` and `image` from outside their member functions.
#ifndef GRAPHICS_GRAPHICS_INTERNAL_H
#define GRAPHICS_GRAPHICS_INTERNAL_H

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <type_traits>

#include "graphics.h"
#include "surface_limits.h"

// ---------------------------------------------------------------- input records

struct KeyRecord {
    KeyKind kind = KK_NONE;
    char code = 0;
    KeyRecord* next = nullptr;
};

struct ClickRecord {
    ClickKind kind = CK_NONE;
    int32_t x = -1;
    int32_t y = -1;
    ClickRecord* next = nullptr;
};

template <class Record>
InputQueue<Record>::~InputQueue() {
    Clear();
}

template <class Record>
void InputQueue<Record>::Append(Record* record) {
    if (record == nullptr) return;
    record->next = nullptr;
    if (last != nullptr) {
        last->next = record;
    } else {
        first = record;
    }
    last = record;
}

template <class Record>
Record* InputQueue<Record>::TakeFirst() {
    Record* record = first;
    if (record == nullptr) return nullptr;
    first = record->next;
    if (first == nullptr) last = nullptr;
    record->next = nullptr;
    return record;
}

template <class Record>
void InputQueue<Record>::Clear() {
    while (Record* record = TakeFirst()) delete record;
}

// ---------------------------------------------------------------- registry

struct RegistryEntry {
    RegistryEntry* next = nullptr;
    HWND handle = nullptr;
    window* owner = nullptr;
};

// Maps platform window handles to their `window` objects, so that the window
// procedure can find the queues of the window a message is addressed to.
class WindowRegistry {
public:
    WindowRegistry() = default;
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;
    ~WindowRegistry();  // frees the entries, never the windows

    void Register(HWND handle, window* owner);
    void Unregister(HWND handle);
    window* Find(HWND handle) const;
    uint16_t Count() const { return windowCount; }

    void NoteButton(HWND handle, MouseButton button, ButtonState state, int32_t x, int32_t y);
    void NoteMotion(HWND handle, int32_t x, int32_t y);
    void PushClick(HWND handle, ClickKind kind, int32_t x, int32_t y);
    void PushKey(HWND handle, KeyKind kind, char code);

    bool waitOnLastClose = true;

private:
    RegistryEntry* firstEntry = nullptr;
    uint16_t windowCount = 0;
};

// The one shared registry; null while no window exists.
extern WindowRegistry* windowRegistry;

LRESULT CALLBACK GraphicsWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Whether the platform window of `w` exists: what IsOpen tells a program,
// asked by the library itself without counting as the program's question.
bool PlatformWindowExists(const window& w);

// ---------------------------------------------------------------- pictures

// Decodes a JPEG file into packed rows of samples (C heap, caller frees).
// 0 on success, -1 when the file cannot be opened (a folder counts as one
// that cannot), -2 when the rows buffer cannot be allocated. Corrupt files,
// and files that claim more than kiva::kMaxSurfacePixels pixels, get a message
// naming the file on standard error (libjpeg's standard error manager
// writes it), then, with everything the decoder held released,
// EndForRefusedPicture.
extern "C" int DecodeJpegFile(const char* fileName, uint16_t* width, uint16_t* height, unsigned char** rows);

// Decodes a PNG file with libpng into the library's pixels (blue, green,
// red, 0, top row first; C heap, caller frees), any transparency composited
// on white. Returns as DecodeJpegFile; a damaged file, and one that claims
// more than kiva::kMaxSurfacePixels pixels or a side longer than 65535,
// gets one line on standard error naming the file and the reason, then,
// with everything the decoder held released, EndForRefusedPicture.
int DecodePngFile(const char* fileName, uint16_t* width, uint16_t* height, unsigned char** pixels);

// Opens a picture file for reading; null when it cannot be opened or is a
// folder.
FILE* OpenPictureFile(const char* fileName);

// Ends the program with exit status 1 for a picture the decoder refused
// (picture_refused.cpp); a program may replace it (see there).
[[noreturn]] void EndForRefusedPicture();

// Fills `header` for 32-bit pixels (blue, green, red, 0), top row first,
// width by height, without compression or colour table.
void DescribeTopDownPixels(BITMAPINFOHEADER& header, int32_t width, int32_t height);

// Such a header from the C heap (the caller frees it); throws ERR_ALLOCATION.
BITMAPINFOHEADER* NewTopDownHeader(int32_t width, int32_t height);

// ---------------------------------------------------------------- platform objects

// Deletes a platform object the library made (a memory device context, or a
// pen, brush, font or bitmap); a refusal gives the fatal error report
// `message`. The handle is null afterwards either way.
template <class Handle>
void DeleteOrReport(Handle& handle, const char* message) {
    BOOL deleted;
    if constexpr (std::is_same_v<Handle, HDC>) {
        deleted = DeleteDC(handle);
    } else {
        deleted = DeleteObject(handle);
    }
    if (deleted != 1) FatalError(message);
    handle = nullptr;
}

// ---------------------------------------------------------------- private parts

struct GraphicsInternals {
    // The window's class record, built in place by the constructor.
    static WNDCLASSA& ClassRecord(window& w) { return *Record(w.classRecord); }
    static const WNDCLASSA& ClassRecord(const window& w) { return *Record(const_cast<unsigned char*>(w.classRecord)); }
    static WNDCLASSA& NewClassRecord(window& w) {
        static_assert(sizeof(WNDCLASSA) <= sizeof(w.classRecord), "the class record fits its room");
        static_assert(alignof(WNDCLASSA) <= alignof(void*), "the class record's room is aligned for it");
        return *new (w.classRecord) WNDCLASSA{};
    }

    static HWND Handle(const window& w) { return w.hwndWindow; }
    static HINSTANCE Instance(const window& w) { return w.instHandle; }
    static HDC ScreenDC(const window& w) { return w.dcScreen; }
    static HDC ActiveDC(const window& w) { return w.dcActive; }
    static HBITMAP Buffer(const window& w) { return w.bmapBuffer; }
    static HPEN Pen(const window& w) { return w.penObject; }
    static HBRUSH Brush(const window& w) { return w.brshObject; }
    static HFONT Font(const window& w) { return w.fontObject; }
    static color PenColor(const window& w) { return w.penColor; }
    static color BrushColor(const window& w) { return w.brshColor; }
    static int32_t PenWidth(const window& w) { return w.penWidth; }
    static bool Buffering(const window& w) { return w.bufferingOn; }
    static ButtonState Left(const window& w) { return w.leftState; }
    static ButtonState Right(const window& w) { return w.rightState; }
    // What the warnings look at (diagnostics.cpp).
    static bool PenChosen(const window& w) { return w.penChosen; }
    static bool BrushChosen(const window& w) { return w.brushChosen; }
    static bool ScreenLost(const window& w) { return w.screenLost; }
    static bool CloseSeen(const window& w) { return w.closeSeen; }
    static void SeeClose(const window& w) { w.closeSeen = true; }

    // The drawing calls' bracket around one shape (drawstate.cpp).
    static void SelectStyle(window& w, drawstyle style) { w.SelectStyle(style); }
    static void RestoreStyle(window& w) { w.RestoreStyle(); }

    // What the window procedure records through the registry.
    static void NoteButton(window& w, MouseButton button, ButtonState state, int32_t x, int32_t y) {
        (button == MB_LEFT ? w.leftState : w.rightState) = state;
        NoteMotion(w, x, y);
    }
    static void NoteMotion(window& w, int32_t x, int32_t y) {
        w.pointerX = x;
        w.pointerY = y;
    }
    static ClickQueue& Clicks(window& w) { return w.clickQueue; }
    static KeyQueue& Keys(window& w) { return w.keyQueue; }

    static unsigned char* Pixels(image& img) { return img.imgPixels; }
    static void SetKind(image& img, int kind) { img.imgKind = static_cast<ImageKind>(kind); }

private:
    static WNDCLASSA* Record(unsigned char* room) { return std::launder(reinterpret_cast<WNDCLASSA*>(room)); }
};

#endif
