// The wrapped malloc behind alloc_faults.h.
#ifndef _WIN32

#include "alloc_faults.h"

#include <cstddef>

extern "C" void* __real_malloc(std::size_t bytes);

namespace {
// Only the test thread arms and allocates while armed; no locking needed.
std::size_t armedSize = 0;
bool armed = false;
bool used = false;
}  // namespace

extern "C" void* __wrap_malloc(std::size_t bytes) {
    if (armed && bytes == armedSize) {
        armed = false;
        used = true;
        return nullptr;
    }
    return __real_malloc(bytes);
}

namespace alloc_faults {

void FailNextOfSize(std::size_t bytes) {
    armedSize = bytes;
    used = false;
    armed = true;
}

bool Disarm() {
    armed = false;
    return used;
}

}  // namespace alloc_faults

#endif
