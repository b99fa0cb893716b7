// window_test_access.h - read access to a window's private fields for tests,
// through the library's own door to them (GraphicsInternals in
// graphics_internal.h). Shared by every test file: add accessors there
// rather than defining the struct again.
#ifndef TESTS_SUPPORT_WINDOW_TEST_ACCESS_H
#define TESTS_SUPPORT_WINDOW_TEST_ACCESS_H

#include "graphics_internal.h"

struct WindowTestAccess : GraphicsInternals {};

#endif
