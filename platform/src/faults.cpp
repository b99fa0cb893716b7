// Failure injection: a table of armed function names and how many of their
// next calls fail. Only tests arm it; every platform call that can fail asks.
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

void ClearAll() { Armed().clear(); }

bool ShouldFail(const char* function) {
    auto& armed = Armed();
    if (armed.empty()) return false;
    auto it = armed.find(function);
    if (it == armed.end()) return false;
    if (--it->second <= 0) armed.erase(it);
    return true;
}

}  // namespace platform_faults
