// window_service.h - what the window service (window.cpp) offers the other
// platform services: the pixel surface of a window's client area and its
// presentation on the screen.
#ifndef PLATFORM_WINDOW_SERVICE_H
#define PLATFORM_WINDOW_SERVICE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "surface.h"

namespace platform {

// The client-area surface of a live window; null for an unknown or
// destroyed window.
Surface* ClientSurface(HWND hwnd);

// Something was drawn on the window's surface: it is shown promptly (at the
// latest at the next message step, pause or wait).
void NoteDrawn(HWND hwnd);

// Something was copied onto the window's surface in [x0, x1) x [y0, y1):
// shows that part now. Nothing waits here; a program paces its own frames.
void PresentNow(HWND hwnd, int x0, int y0, int x1, int y1);

// The screen's copy of a window's client area, lent to a copy onto the
// window so that it writes both at once rather than showing its result with
// a second copy: rows of 0x00RRGGBB pixels from `pixels` on, `pitch` pixels
// apart, the `width` x `height` the client surface and the screen share.
// `pixels` is null when the window is not shown or the display keeps its
// pixels in another form; PresentNow shows the copy afterwards then.
// `current` says the screen shows the client surface as it is (nothing
// drawn waits to be shown), so that rows the copy leaves as they were need
// not be written to either.
struct ScreenRows {
    uint32_t* pixels = nullptr;
    size_t pitch = 0;
    int width = 0;
    int height = 0;
    bool current = false;
};
ScreenRows LendScreen(HWND hwnd);
// Ends a copy that wrote [x0, x1) x [y0, y1) of the client surface and of
// the lent rows alike (nothing, when empty), and puts it on the screen as
// PresentNow would have.
void ScreenWritten(HWND hwnd, int x0, int y0, int x1, int y1);

// Shows every window with drawing not yet on the screen (before a pause).
void PresentDirtyWindows();

// The display backend's id of a live window, 0 for none.
uint32_t DisplayWindowId(HWND hwnd);

// True when windows are shown on a real display (not the offscreen
// driver): other services may then open windows of their own, such as the
// print dialog.
bool OnScreen();

// The X11 window behind a live window on an X display, 0 otherwise: lets a
// dialog of another toolkit be owned by it.
unsigned long X11WindowId(HWND hwnd);

}  // namespace platform

#endif
