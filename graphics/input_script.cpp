// Input scripts: parsing the text format into messages with placements,
// and formatting received messages back into it, so that a recording is a
// script.
#include "input_script.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "keys.h"

namespace graphics_script {

namespace {

// Characters with names of their own.
struct NamedCharacter {
    const char* name;
    int code;
};
const NamedCharacter kCharacters[] = {{"Space", ' '}, {"Enter", 13}, {"Tab", 9}, {"Backspace", 8}};

bool SameName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A whole number from `low` to `high`, digits only (and a leading minus).
bool ReadNumber(const std::string& word, long long low, long long high, long long& value) {
    if (word.empty() || word.size() > 18) return false;
    size_t start = word[0] == '-' ? 1 : 0;
    if (start == word.size()) return false;
    for (size_t i = start; i < word.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(word[i]))) return false;
    value = std::strtoll(word.c_str(), nullptr, 10);
    return value >= low && value <= high;
}

// A word of the script in quotes, a long one shortened: a message quotes
// what it refuses without echoing a whole hostile line.
std::string Quoted(const std::string& word) {
    constexpr size_t kShown = 32;
    if (word.size() <= kShown + 8) return "'" + word + "'";
    return "'" + word.substr(0, kShown) + "...' (" + std::to_string(word.size()) + " characters)";
}

class LineParser {
public:
    // Words are separated by spaces and tabs.
    LineParser(int lineNumber, const std::string& text) : line(lineNumber) {
        words.reserve(8);
        auto blank = [](char c) { return c == ' ' || c == '\t'; };
        size_t at = 0;
        while (at < text.size()) {
            while (at < text.size() && blank(text[at])) ++at;
            size_t start = at;
            while (at < text.size() && !blank(text[at])) ++at;
            if (at > start) words.emplace_back(text, start, at - start);
        }
    }

    bool Fail(const std::string& why) {
        error = "line " + std::to_string(line) + ": " + why;
        return false;
    }

    // Parses the line into zero or more events after `last`, the previous
    // placement of the same anchor.
    bool Run(uint64_t lastFrame[2], uint64_t lastPause[2], std::vector<Event>& out) {
        if (words.empty()) return true;
        Event event;
        event.line = line;
        size_t at = 0;
        const std::string& anchorWord = words[at++];
        if (anchorWord == "frame") {
            event.anchor = Anchor::Frame;
        } else if (anchorWord == "pause") {
            event.anchor = Anchor::Pause;
        } else {
            return Fail("expected 'frame' or 'pause' at the start, found " + Quoted(anchorWord));
        }
        long long number = 0;
        if (at >= words.size()) return Fail("missing the " + anchorWord + " number");
        if (!ReadNumber(words[at], 0, 1'000'000'000'000LL, number))
            return Fail("the " + anchorWord + " number must be a whole number from 0, found " + Quoted(words[at]));
        event.count = static_cast<uint64_t>(number);
        ++at;
        if (at < words.size() && words[at][0] == '+') {
            if (!ReadNumber(words[at].substr(1), 0, 1'000'000'000'000LL, number))
                return Fail("message steps are written +N with a whole number N, found " + Quoted(words[at]));
            event.steps = static_cast<uint64_t>(number);
            ++at;
        }
        uint64_t* last = event.anchor == Anchor::Frame ? lastFrame : lastPause;
        if (event.count < last[0] || (event.count == last[0] && event.steps < last[1]))
            return Fail(anchorWord + " " + std::to_string(event.count) + " +" + std::to_string(event.steps) +
                        " comes before the previous " + anchorWord + " line (" + std::to_string(last[0]) + " +" +
                        std::to_string(last[1]) + "): placements must not go backwards");
        last[0] = event.count;
        last[1] = event.steps;

        if (at >= words.size()) return Fail("missing the action (key, char, move, press, release, click or close)");
        const std::string& action = words[at++];
        const size_t arguments = words.size() - at;
        if (action == "close") {
            if (arguments > 0) return Fail("close takes nothing after it; unexpected " + Quoted(words[at]));
            event.message = WM_CLOSE;
            out.push_back(event);
            return true;
        }
        if (action == "key" || action == "char") {
            if (arguments == 0) return Fail("missing the " + std::string(action == "key" ? "key name" : "character code"));
            if (arguments > 1) return Fail("one " + action + " a line; unexpected " + Quoted(words[at + 1]));
            if (!KeyEvent(action, words[at], event)) return false;
            out.push_back(event);
            return true;
        }
        if (action == "move") {
            int32_t x = 0, y = 0;
            if (!Position(at, arguments, x, y)) return false;
            event.message = WM_MOUSEMOVE;
            event.lParam = MAKELPARAM(x, y);
            out.push_back(event);
            return true;
        }
        if (action == "press" || action == "release" || action == "click") {
            if (arguments == 0) return Fail("missing the button (left or right) and the coordinates");
            bool left = words[at] == "left";
            if (!left && words[at] != "right") return Fail("unknown button " + Quoted(words[at]) + " (left or right)");
            int32_t x = 0, y = 0;
            if (!Position(at + 1, arguments - 1, x, y)) return false;
            event.lParam = MAKELPARAM(x, y);
            if (action != "release") {
                event.message = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
                event.wParam = left ? MK_LBUTTON : MK_RBUTTON;
                out.push_back(event);
            }
            if (action != "press") {
                event.message = left ? WM_LBUTTONUP : WM_RBUTTONUP;
                event.wParam = 0;
                out.push_back(event);
            }
            return true;
        }
        return Fail("unknown action " + Quoted(action) + " (key, char, move, press, release, click or close)");
    }

    std::string error;

private:
    bool KeyEvent(const std::string& action, const std::string& word, Event& event) {
        event.message = WM_CHAR;
        event.lParam = 1;
        if (action == "char") {
            long long code = 0;
            if (!ReadNumber(word, 0, 255, code)) return Fail("a character code is a whole number from 0 to 255, found " + Quoted(word));
            event.wParam = static_cast<WPARAM>(code);
            return true;
        }
        if (word.size() == 1 && word[0] > ' ' && word[0] < 127) {
            event.wParam = static_cast<unsigned char>(word[0]);
            return true;
        }
        for (const NamedCharacter& c : kCharacters) {
            if (SameName(word, c.name)) {
                event.wParam = static_cast<WPARAM>(c.code);
                return true;
            }
        }
        // Keys that arrive as key-down messages (the message step translates
        // Esc into its character as well).
        for (const graphics_keys::Key& k : graphics_keys::kKeys) {
            if (SameName(word, k.name) || (SameName(word, "Escape") && k.virtualKey == VK_ESCAPE)) {
                event.message = WM_KEYDOWN;
                event.wParam = k.virtualKey;
                return true;
            }
        }
        return Fail("unknown key name " + Quoted(word) +
                    " (one character, Space, Enter, Tab, Backspace, Esc, Home, End, PageUp, PageDown, "
                    "Left, Right, Up, Down or F1 to F12)");
    }

    // Two coordinates, 0 to 65535, at words[at] and words[at + 1].
    bool Position(size_t at, size_t arguments, int32_t& x, int32_t& y) {
        if (arguments < 2) return Fail("missing coordinates: x and y are needed");
        if (arguments > 2) return Fail("unexpected " + Quoted(words[at + 2]) + " after the coordinates");
        long long value = 0;
        if (!ReadNumber(words[at], 0, 65535, value)) return Fail("x must be a whole number from 0 to 65535, found " + Quoted(words[at]));
        x = static_cast<int32_t>(value);
        if (!ReadNumber(words[at + 1], 0, 65535, value)) return Fail("y must be a whole number from 0 to 65535, found " + Quoted(words[at + 1]));
        y = static_cast<int32_t>(value);
        return true;
    }

    int line;
    std::vector<std::string> words;
};

}  // namespace

namespace {

// The first byte of `line` that no script line holds (a control character
// or a byte outside ASCII; a carriage return when `returnAllowed` is
// false), or -1. A script is plain text.
int NonTextByte(const std::string& line, bool returnAllowed) {
    for (char c : line) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u < ' ' && u != '\t' && !(returnAllowed && u == '\r')) || u >= 127) return u;
    }
    return -1;
}

std::string NotText(int byte) {
    return "not a text line (byte " + std::to_string(byte) + "); an input script is plain text";
}

// The text of one line checked and parsed; `lineNumber` counts from 1.
bool ParseLine(int lineNumber, std::string& line, uint64_t lastFrame[2], uint64_t lastPause[2],
               std::vector<Event>& events, std::string& error) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    int byte = NonTextByte(line, false);
    if (byte >= 0) {
        error = "line " + std::to_string(lineNumber) + ": " + NotText(byte);
        return false;
    }
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') return true;
    LineParser parser(lineNumber, line);
    if (!parser.Run(lastFrame, lastPause, events)) {
        error = parser.error;
        return false;
    }
    return true;
}

class TextReader : public Reader {
public:
    explicit TextReader(const std::string& source) : text(source) {}
    size_t Read(char* buffer, size_t capacity) override {
        size_t n = text.size() - at < capacity ? text.size() - at : capacity;
        std::memcpy(buffer, text.data() + at, n);
        at += n;
        return n;
    }

private:
    const std::string& text;
    size_t at = 0;
};

}  // namespace

bool Parse(Reader& read, std::vector<Event>& events, std::string& error, const Limits& limits) {
    events.clear();
    uint64_t lastFrame[2] = {0, 0};
    uint64_t lastPause[2] = {0, 0};
    auto fail = [&](int lineNumber, const std::string& why) {
        error = "line " + std::to_string(lineNumber) + ": " + why;
        events.clear();
        return false;
    };
    std::vector<char> buffer(64 * 1024);
    std::string line;
    int lineNumber = 1;   // of the line being gathered
    uint64_t before = 0;  // bytes read before the buffer's
    bool more = true;
    while (more) {
        size_t got = read.Read(buffer.data(), buffer.size());
        more = got > 0;
        const char* at = buffer.data();
        const char* end = at + got;
        while (at < end || (!more && !line.empty())) {
            const char* lineEnd = at < end ? static_cast<const char*>(std::memchr(at, '\n', end - at)) : nullptr;
            line.append(at, lineEnd != nullptr ? lineEnd : end);
            at = lineEnd != nullptr ? lineEnd + 1 : end;
            // Refused as soon as seen: a line too long (a carriage return
            // ending it does not count), a script too long.
            if (line.size() > limits.lineBytes + (!line.empty() && line.back() == '\r' ? 1 : 0)) {
                int byte = NonTextByte(line, true);  // a file that is no text at all is told as such
                if (byte >= 0) return fail(lineNumber, NotText(byte));
                return fail(lineNumber, "longer than " + std::to_string(limits.lineBytes) +
                                            " characters, the most a script line may hold");
            }
            if (before + static_cast<uint64_t>(at - buffer.data()) > limits.fileBytes)
                return fail(lineNumber, "the script goes on past " + std::to_string(limits.fileBytes) +
                                            " bytes, the most an input script may hold");
            if (lineEnd == nullptr && more) break;  // the line goes on in the next bytes
            if (!ParseLine(lineNumber, line, lastFrame, lastPause, events, error)) {
                events.clear();
                return false;
            }
            if (events.size() > limits.events)
                return fail(lineNumber, "more than " + std::to_string(limits.events) +
                                            " messages, the most an input script may hold");
            line.clear();
            ++lineNumber;
        }
        before += got;
    }
    return true;
}

bool Parse(const std::string& text, std::vector<Event>& events, std::string& error, const Limits& limits) {
    TextReader reader(text);
    return Parse(reader, events, error, limits);
}

std::string Format(Anchor anchor, uint64_t count, uint64_t steps, UINT message, WPARAM wParam, LPARAM lParam) {
    std::string placement = (anchor == Anchor::Frame ? "frame " : "pause ") + std::to_string(count);
    if (steps > 0) placement += " +" + std::to_string(steps);
    const std::string position = std::to_string(LOWORD(lParam)) + " " + std::to_string(HIWORD(lParam));
    switch (message) {
    case WM_CHAR: {
        unsigned code = static_cast<unsigned>(wParam & 0xFF);
        if (code > ' ' && code < 127) return placement + " key " + std::string(1, static_cast<char>(code));
        for (const NamedCharacter& c : kCharacters)
            if (static_cast<unsigned>(c.code) == code) return placement + " key " + c.name;
        return placement + " char " + std::to_string(code);
    }
    case WM_KEYDOWN:
        if (const graphics_keys::Key* key = graphics_keys::KeyOf(wParam)) return placement + " key " + key->name;
        return std::string();  // keys without a record of their own
    case WM_MOUSEMOVE: return placement + " move " + position;
    case WM_LBUTTONDOWN: return placement + " press left " + position;
    case WM_LBUTTONUP: return placement + " release left " + position;
    case WM_RBUTTONDOWN: return placement + " press right " + position;
    case WM_RBUTTONUP: return placement + " release right " + position;
    case WM_CLOSE: return placement + " close";
    default: return std::string();
    }
}

}  // namespace graphics_script
