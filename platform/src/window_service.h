// window_service.h - what the window service (window.cpp) offers the other
// platform services: the pixel surface of a window's client area and its
// presentation on the screen.
#ifndef PLATFORM_WINDOW_SERVICE_H
#define PLATFORM_WINDOW_SERVICE_H

#include <windows.h>

#include "surface.h"

namespace platform {

// The client-area surface of a live window; null for an unknown or
// destroyed window.
Surface* ClientSurface(HWND hwnd);

// Something was drawn on the window's surface: it is shown promptly (at the
// latest at the next message step, pause or wait).
void NoteDrawn(HWND hwnd);

// A whole frame was copied to the window: shows it now, paced to the frame
// rate (GRAPHICS_FPS, default 60; 0 turns pacing off).
void PresentFrame(HWND hwnd);

// Shows every window with drawing not yet on the screen (before a pause).
void PresentDirtyWindows();

// The SDL window id behind a live window, 0 for none: lets tests feed a
// window input through SDL's own event queue.
uint32_t SdlWindowId(HWND hwnd);

// True when windows are shown on a real display (not SDL's offscreen
// driver): other services may then open windows of their own, such as the
// print dialog.
bool OnScreen();

// The X11 window behind a live window on an X display, 0 otherwise: lets a
// dialog of another toolkit be owned by it.
unsigned long X11WindowId(HWND hwnd);

}  // namespace platform

#endif
