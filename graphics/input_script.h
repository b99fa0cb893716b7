// input_script.h - the text format of input scripts (GRAPHICS_INPUT) and
// recordings (GRAPHICS_RECORD): one input message per line, placed at a
// frame or a pause of the program and a number of message steps after it.
//
//   # a comment (whole lines only)
//   frame 12 key 4              the character 4, once 12 frames were shown
//   frame 12 +3 key Left        the Left arrow key, 3 message steps later
//   pause 1 click left 500 300  left press and release at (500, 300),
//                               once the first PauseMs has ended
//   frame 40 move 10 20         pointer moved to (10, 20)
//   frame 41 press right 10 20  right button down; `release` lets go
//   frame 50 char 27            a character given by its code (0 to 255)
//   frame 60 close              the close box (WM_CLOSE, as a user's click
//                               on it gives)
//
// Key names: one printable character stands for itself (`key q`, `key Q`,
// `key #`); Space, Enter, Tab and Backspace are characters too; Esc, Home,
// End, PageUp, PageDown, Left, Right, Up, Down and F1 to F12 are keys
// (names are not case-sensitive). Characters arrive as character messages,
// keys as key-down messages that the message step translates.
#ifndef GRAPHICS_INPUT_SCRIPT_H
#define GRAPHICS_INPUT_SCRIPT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

namespace graphics_script {

// What a placement counts: frames shown (UpdateBuffer calls) or pauses
// ended (PauseMs calls).
enum class Anchor { Frame, Pause };

// One message to post to the window, and when.
struct Event {
    int line = 0;        // line of the script it came from
    Anchor anchor = Anchor::Frame;
    uint64_t count = 0;  // after this many frames or pauses
    uint64_t steps = 0;  // and this many message steps after the last of them
    UINT message = 0;    // WM_CHAR, WM_KEYDOWN, WM_MOUSEMOVE, a button message or WM_CLOSE
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// What a script may hold at most. A script longer than this is not one a
// person or a recording made: it is refused before it can take the
// program's memory or time.
struct Limits {
    size_t lineBytes = 4096;                  // one line, without its line break
    uint64_t fileBytes = uint64_t{64} << 20;  // the whole script (64 MiB)
    size_t events = 4'000'000;                // messages (a click is two)
};

// Reads a script line by line from `read`, which fills a buffer with the
// next bytes and returns how many (0 at the end). On success fills `events`
// in delivery order and returns true; otherwise returns false with `error`
// saying which line is wrong and why ("line 3: unknown key name 'Foo'"),
// a long word shortened. Placements of one anchor must not go backwards.
class Reader {
public:
    virtual ~Reader() = default;
    virtual size_t Read(char* buffer, size_t capacity) = 0;
};
bool Parse(Reader& read, std::vector<Event>& events, std::string& error, const Limits& limits = Limits());

// The same for a whole script in memory.
bool Parse(const std::string& text, std::vector<Event>& events, std::string& error, const Limits& limits = Limits());

// One line of the format for a message the window received at a placement,
// without the line break; empty for messages the format does not carry.
std::string Format(Anchor anchor, uint64_t count, uint64_t steps, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace graphics_script

#endif
