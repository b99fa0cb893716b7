// device.h - what a device context draws on: a window's client area (or
// the screen, which shows nothing drawn on it), the bitmap selected in a
// memory DC, or a printer's page. A device owns its pixels, tells
// GetDeviceCaps what it is, hears that something was drawn on it, and says
// how a transfer onto it goes. The GDI services ask a DC's device and
// nothing else, so they know no window, bitmap slot or printer by kind.
//
// One kind a file: window_device.cpp (windows and the screen; GetDC,
// ReleaseDC and GetDeviceCaps), memory_device.h, printer_dc.h.
#ifndef PLATFORM_DEVICE_H
#define PLATFORM_DEVICE_H

#include <cstddef>
#include <cstdint>

#include "surface.h"

namespace platform {

struct PrinterDevice;  // printer_dc.h

// The screen's copy of a device's pixels, lent to a transfer onto it so
// that the transfer writes both at once rather than showing its result with
// a second copy: rows of 0x00RRGGBB pixels from `pixels` on, `pitch` pixels
// apart, the `width` x `height` the pixels and the screen share. `pixels` is
// null when nothing is shown or the display keeps its pixels in another
// form; the transfer is then shown afterwards (Transferred). `current` says
// the screen shows the pixels as they are (nothing drawn waits to be
// shown), so that rows the copy leaves as they were need not be written to
// either.
struct ScreenRows {
    uint32_t* pixels = nullptr;
    size_t pitch = 0;
    int width = 0;
    int height = 0;
    bool current = false;
};

class Device {
public:
    virtual ~Device() = default;

    // The pixels drawn on; null for a device that keeps none (the screen, a
    // printer's page, a window destroyed since).
    virtual Surface* Pixels() = 0;
    // GetDeviceCaps, when the device has figures of its own (a printer's
    // page); false when it has the screen's, as windows and bitmaps do.
    virtual bool Caps(int /*index*/, int& /*value*/) const { return false; }
    // Shapes or text changed some of the pixels: they are shown promptly
    // where that means anything.
    virtual void Drawn() {}
    // A transfer changed [x0, x1) x [y0, y1) of the pixels: shown now, as
    // on Windows, where what is copied onto a window is on the screen.
    virtual void Transferred(int /*x0*/, int /*y0*/, int /*x1*/, int /*y1*/) {}
    // The screen's rows for a transfer to write too (none by default), and
    // the end of such a transfer, which wrote [x0, x1) x [y0, y1) of both
    // (nothing, when empty) and is shown with it.
    virtual ScreenRows LendScreen() { return ScreenRows{}; }
    virtual void ScreenWritten(int /*x0*/, int /*y0*/, int /*x1*/, int /*y1*/) {}
    // The printer whose page transfers are placed on; null for devices of
    // pixels.
    virtual PrinterDevice* Page() { return nullptr; }
};

}  // namespace platform

#endif
