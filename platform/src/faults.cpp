// Failure injection: a table of armed function names and how many of their
// next calls fail. Only tests arm it; every platform call that can fail asks.
// Also the record of message boxes that tests read instead of seeing them.
// (The test printer lives with the printing service, print.cpp.)
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
