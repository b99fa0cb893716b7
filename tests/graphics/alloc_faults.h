// alloc_faults.h - makes the C heap refuse one allocation, for tests of the
// library's allocation failure paths. Linux builds only: the test program
// is linked with malloc wrapped (-Wl,--wrap=malloc), so every malloc call
// of the program's own code (the library included) passes through here.
#ifndef TESTS_GRAPHICS_ALLOC_FAULTS_H
#define TESTS_GRAPHICS_ALLOC_FAULTS_H

#include <cstddef>

namespace alloc_faults {

// The next malloc of exactly `bytes` bytes returns null; the one after it
// is served again. Sizes single out the allocation meant, since other code
// may allocate in between.
void FailNextOfSize(std::size_t bytes);

// Disarms; true when an armed failure was used up since it was armed.
bool Disarm();

}  // namespace alloc_faults

#endif
