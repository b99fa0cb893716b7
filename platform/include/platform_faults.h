// platform_faults.h - failure injection for tests of code built on the
// platform layer. Arming a function name makes its next calls fail exactly
// as the Win32 call reports failure (0, null, -1 or GDI_ERROR as it would).
#ifndef PLATFORM_FAULTS_H
#define PLATFORM_FAULTS_H

namespace platform_faults {

// The next `count` calls of `function` (its Win32 name, e.g. "DeleteObject")
// fail. Arming again replaces the count.
void FailNext(const char* function, int count = 1);

// Disarms every function.
void ClearAll();

// Used by the platform's own functions: true (and one armed failure used up)
// when `function` is armed.
bool ShouldFail(const char* function);

}  // namespace platform_faults

#endif
