// surface_limits.h - the sizes pixel surfaces are held to, defined once for
// both layers that hold them: the graphics library (on every build; on
// Windows it cannot see the platform layer's headers) and the platform
// layer (its windows and bitmaps).
#ifndef KIVA_SURFACE_LIMITS_H
#define KIVA_SURFACE_LIMITS_H

#include <cstdint>

namespace kiva {

// The longest side of a window's drawing area: what SDL's windows hold,
// and a back buffer that size is already 1 GB. The library refuses longer
// windows; the platform's windows and displays hold no longer sides.
inline constexpr int32_t kMaxWindowSide = 16384;

// The most pixels one bitmap or picture may have: what a 32-bit bitmap can
// address (4 bytes a pixel, under 2^30 bytes), 16384 x 16384. Picture files
// that claim more are refused before anything is allocated for them, and
// so are bitmaps.
inline constexpr uint64_t kMaxSurfacePixels = uint64_t{1} << 28;

}  // namespace kiva

#endif
