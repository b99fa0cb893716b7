// whole_numbers.h - the library's one conversion of a double to a whole
// number, for coordinates computed from angles, and of a colour fraction to
// a level.
// Private to the library.
#ifndef GRAPHICS_WHOLE_NUMBERS_H
#define GRAPHICS_WHOLE_NUMBERS_H

#include <cstdint>

// A double cut toward zero to a whole number. Values beyond the 32-bit range
// stop at its ends and NaN gives 0, where a plain cast would be undefined.
inline int32_t Truncated(double value) {
    if (!(value > -2147483648.0)) return value != value ? 0 : INT32_MIN;
    if (!(value < 2147483647.0)) return INT32_MAX;
    return static_cast<int32_t>(value);
}

// A colour fraction 0.0 to 1.0 as an 8-bit level: the product with 255.0
// cut toward zero, of which the low eight bits are kept (no clamping: 2.0
// gives 254). Products past the 32-bit range and NaN go through the guarded
// conversion, so no fraction is undefined behaviour.
inline uint8_t LevelOfFraction(double fraction) { return static_cast<uint8_t>(Truncated(fraction * 255.0) & 0xFF); }

#endif
