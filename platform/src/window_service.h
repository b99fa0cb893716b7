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

// While the thread waits in a pause or in a dialog, the windows stay on the
// screen without the program handling any message: windows shown again
// (uncovered, restored) get their picture back from their surfaces, and the
// input that arrives meanwhile is queued as it comes, in order, for the
// program to read afterwards. KeepWindowsShown does it for what the display
// has sent so far.
void KeepWindowsShown();

// Waits keeping the windows shown, waking only when the display sends
// something, until shortly before `deadlineNs` (CLOCK_MONOTONIC; the
// display's waits count whole milliseconds); at once when no window is on
// a real display. The caller sleeps the rest.
void WaitKeepingWindowsShown(uint64_t deadlineNs);

// The display backend's id of a live window, 0 for none.
uint32_t DisplayWindowId(HWND hwnd);

// True when windows are shown on a real display (not the offscreen
// driver): other services may then open windows of their own, such as the
// print dialog.
bool OnScreen();

// What a dialog of another toolkit, running its own loop on the same
// display, needs of the program's windows.
struct DialogOwner {
    // The owner's X11 window, 0 for none: the dialog is its transient.
    unsigned long x11Window = 0;
    // Readable when the display has sent something for the program's
    // windows; -1 when there is nothing to watch.
    int displayFd = -1;
    // To call then (and once as the dialog opens): KeepWindowsShown.
    void (*keepWindowsShown)() = nullptr;
};
DialogOwner DialogOwnerFor(HWND owner);

}  // namespace platform

#endif
