// The library-wide fatal error report.
#include <iostream>

#include "graphics.h"

void FatalError(const char* message) { std::cout << message << '\n' << std::flush; }
