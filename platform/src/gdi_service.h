// gdi_service.h - what the device-context service (gdi_objects.cpp) offers the
// window service: device contexts that draw on a window's client area.
#ifndef PLATFORM_GDI_SERVICE_H
#define PLATFORM_GDI_SERVICE_H

#include <windows.h>

namespace platform {

// A new device context drawing on the client area of `hwnd` (GetDC).
HDC CreateWindowDC(HWND hwnd);

// Releases a device context made by CreateWindowDC (ReleaseDC): 1 when `dc`
// was a live window DC of `hwnd`, else 0.
int ReleaseWindowDC(HWND hwnd, HDC dc);

}  // namespace platform

#endif
