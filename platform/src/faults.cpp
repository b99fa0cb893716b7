// Failure injection: how many of each platform call's next calls fail
// (fault_points.h), armed by tests through the calls' Win32 names. Also the
// record of message boxes that tests read instead of seeing them (the test
// printer lives with the printing service, print.cpp, which also clears
// everything a test armed: ClearAll), and what the leak checker of sanitizer
// builds is told of the libraries below us. Every service asks this file,
// and it asks none of them.
#include "platform_faults.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fault_points.h"

namespace platform_faults {

int armed[kCallCount] = {};

namespace {

const char* const kCallNames[kCallCount] = {
#define PLATFORM_FAULT_NAME(name) #name,
    PLATFORM_FAULT_POINTS(PLATFORM_FAULT_NAME)
#undef PLATFORM_FAULT_NAME
};

}  // namespace

void FailNext(const char* function, int count) {
    for (size_t i = 0; i < kCallCount; ++i) {
        if (function != nullptr && std::strcmp(kCallNames[i], function) == 0) {
            armed[i] = count > 0 ? count : 0;
            return;
        }
    }
    // A test that arms a call nothing checks would test nothing.
    std::fprintf(stderr, "platform_faults: no platform call named %s can be made to fail\n",
                 function != nullptr ? function : "(null)");
    std::abort();
}

struct BoxRecord {
    bool on = false;
    std::vector<ShownBox> boxes;
};
BoxRecord& Boxes() {
    static BoxRecord record;
    return record;
}

void ClearFailuresAndBoxes() {
    for (int& left : armed) left = 0;
    Boxes() = BoxRecord();
}

void RecordMessageBoxes() { Boxes().on = true; }

std::vector<ShownBox> TakeMessageBoxes() {
    std::vector<ShownBox> taken;
    taken.swap(Boxes().boxes);
    return taken;
}

bool RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (!Boxes().on) return false;
    Boxes().boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return true;
}

}  // namespace platform_faults

// Leaks of the libraries below the platform, once per process, that the
// leak checker of sanitizer builds (GCC's and clang's AddressSanitizer) is
// told to pass over: fontconfig loses a few bytes while it parses its
// configuration files (text.cpp), and libdbus, which SDL starts on a
// display (display_sdl.cpp), about a kilobyte. Here because every program
// that reaches either links this file: each service that can fail asks
// ShouldFail.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLATFORM_LEAK_CHECKED
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(PLATFORM_LEAK_CHECKED)
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}
// The suppressions are used quietly: a program's standard error holds only
// what the program (or a real leak) wrote there.
extern "C" __attribute__((used)) const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
