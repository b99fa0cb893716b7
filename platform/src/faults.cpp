// Failure injection: a table of armed function names and how many of their
// next calls fail. Only tests arm it; every platform call that can fail asks.
// Also the record of message boxes that tests read instead of seeing them
// (the test printer lives with the printing service, print.cpp), and what
// the leak checker of sanitizer builds is told of the libraries below us.
#include "platform_faults.h"

#include <map>
#include <string>

namespace platform_faults {
namespace {
std::map<std::string, int>& Armed() {
    static std::map<std::string, int> armed;
    return armed;
}
}  // namespace

void FailNext(const char* function, int count) {
    if (count <= 0) {
        Armed().erase(function);
    } else {
        Armed()[function] = count;
    }
}

struct BoxRecord {
    bool on = false;
    std::vector<ShownBox> boxes;
};
BoxRecord& Boxes() {
    static BoxRecord record;
    return record;
}

void ClearTestPrinter();  // print.cpp

void ClearAll() {
    Armed().clear();
    Boxes() = BoxRecord();
    ClearTestPrinter();
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

bool ShouldFail(const char* function) {
    auto& armed = Armed();
    if (armed.empty()) return false;
    auto it = armed.find(function);
    if (it == armed.end()) return false;
    if (--it->second <= 0) armed.erase(it);
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
#endif
