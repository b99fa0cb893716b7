// Fuzz target: any bytes as an input script (GRAPHICS_INPUT). A script the
// parser refuses names the line at fault and yields no messages. A script it
// accepts comes back the same through the recording format: each message
// written as a line (what GRAPHICS_RECORD writes) and those lines parsed
// again give the same messages at the same placements.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "input_script.h"

using fuzz::Require;
using graphics_script::Event;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<Event> events;
    std::string error;
    if (!graphics_script::Parse(text, events, error)) {
        Require(events.empty(), "a refused script yields no messages");
        Require(error.compare(0, 5, "line ") == 0, "a refusal names its line");
        return 0;
    }
    Require(error.empty(), "an accepted script has no error");

    std::string recorded;
    for (const Event& e : events) {
        std::string line = graphics_script::Format(e.anchor, e.count, e.steps, e.message, e.wParam, e.lParam);
        Require(!line.empty(), "every message a script gives has a line of its own");
        recorded += line + "\n";
    }
    std::vector<Event> again;
    Require(graphics_script::Parse(recorded, again, error), "a recording parses");
    Require(again.size() == events.size(), "a recording gives as many messages as the script");
    for (size_t i = 0; i < events.size(); ++i) {
        const Event& a = events[i];
        const Event& b = again[i];
        Require(a.anchor == b.anchor && a.count == b.count && a.steps == b.steps, "the same placement");
        Require(a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam, "the same message");
        Require(b.line == static_cast<int>(i) + 1, "one line a message in a recording");
    }
    return 0;
}
