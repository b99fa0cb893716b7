// gdi_service.h - what the device-context service (gdi_objects.cpp) offers
// the devices (device.h) above it: device contexts drawing on a device.
#ifndef PLATFORM_GDI_SERVICE_H
#define PLATFORM_GDI_SERVICE_H

#include <windows.h>

#include <memory>

#include "device.h"

namespace platform {

// A new device context drawing on `device`, which it keeps while it lives
// (GetDC, the print dialog); null when the object table is full.
HDC CreateDeviceDC(std::shared_ptr<Device> device);

// The device a live DC draws on (a memory DC's is a MemoryDevice); null
// for any other handle.
Device* DeviceOf(HDC dc);

// Deletes a DC made by CreateDeviceDC (ReleaseDC).
void DestroyDeviceDC(HDC dc);

}  // namespace platform

#endif
