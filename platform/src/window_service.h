// window_service.h - what the window service (window.cpp) offers the other
// platform services: the pixel surface of a window's client area and its
// presentation on the screen (for the window device, window_device.cpp),
// pauses and dialogs that keep the windows shown.
#ifndef PLATFORM_WINDOW_SERVICE_H
#define PLATFORM_WINDOW_SERVICE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "device.h"
#include "surface.h"

namespace platform {

// The client-area surface of a live window; null for an unknown or
// destroyed window.
Surface* ClientSurface(HWND hwnd);

// A window's client area as a device that draws on it call after call keeps
// it: found once, and good for as long as no window is made or destroyed
// (`windowChanges` counts both).
struct ClientArea {
    Surface* surface = nullptr;  // null: no such window, or it is being destroyed
    void* window = nullptr;      // the window, for NoteDrawn; null as above
    uint64_t changes = UINT64_MAX;  // windowChanges when found (never: none yet)
};
extern uint64_t windowChanges;
// Finds the client area of `hwnd`.
void FindClientArea(HWND hwnd, ClientArea& area);
// The area kept, found again when windows were made or destroyed since.
inline const ClientArea& CurrentClientArea(HWND hwnd, ClientArea& area) {
    if (area.changes != windowChanges) FindClientArea(hwnd, area);
    return area;
}
// Something was drawn on the window's surface: it is shown promptly (at the
// latest at the next message step, pause or wait).
void NoteDrawn(const ClientArea& area);

// Something was copied onto the window's surface in [x0, x1) x [y0, y1):
// shows that part now. Nothing waits here; a program paces its own frames.
void PresentNow(HWND hwnd, int x0, int y0, int x1, int y1);

// The screen's copy of a window's client area, lent to a copy onto the
// window (device.h); PresentNow shows the copy afterwards when `pixels` is
// null.
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
