// whole_numbers.h - the library's one conversion of a double to a whole
// number, for coordinates computed from angles and for colour fractions.
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

#endif
