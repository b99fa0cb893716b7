// memory_device.h - the device of a memory DC: the pixels of the bitmap
// selected in it (gdi_objects.cpp keeps `pixels` to the selected bitmap's),
// which nobody sees until they are copied elsewhere. Its figures are the
// screen's.
#ifndef PLATFORM_MEMORY_DEVICE_H
#define PLATFORM_MEMORY_DEVICE_H

#include "device.h"

namespace platform {

class MemoryDevice final : public Device {
public:
    Surface* Pixels() override { return pixels; }

    Surface* pixels = nullptr;
};

}  // namespace platform

#endif
