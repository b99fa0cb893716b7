// The library-wide fatal error report.
#include <iostream>

#include "graphics_internal.h"

void FatalError(const char* message) { std::cout << message << '\n' << std::flush; }
