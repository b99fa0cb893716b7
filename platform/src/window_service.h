// window_service.h - what the window service (window.cpp) offers the other
// platform services: the pixel surface of a window's client area and its
// presentation on the screen.
#ifndef PLATFORM_WINDOW_SERVICE_H
#define PLATFORM_WINDOW_SERVICE_H

#include <windows.h>

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

// Shows every window with drawing not yet on the screen (before a pause).
void PresentDirtyWindows();

// The display backend's id of a live window, 0 for none.
uint32_t DisplayWindowId(HWND hwnd);

}  // namespace platform

#endif
