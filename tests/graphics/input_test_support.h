// input_test_support.h - what the window and input tests share: a window
// that does not wait for a click when it goes, and polls that give pending
// input a bounded number of message steps to arrive.
#ifndef KIVA_INPUT_TEST_SUPPORT_H
#define KIVA_INPUT_TEST_SUPPORT_H

#include <memory>

#include "graphics_internal.h"
#include "input_injection.h"
#include "window_test_access.h"

namespace input_test {

// A small window whose destruction neither asks nor waits for a click.
inline std::unique_ptr<window> QuietWindow(int width = 160, int height = 120, int x = 40, int y = 40) {
    auto w = std::make_unique<window>(width, height, x, y);
    w->SetWaitOnClose(false);
    return w;
}

inline HWND Handle(const window& w) { return WindowTestAccess::Handle(w); }

// Polls until a key record comes or `steps` polls found none.
inline KeyKind NextKey(window& w, char& code, int steps = 40) {
    KeyKind kind = KK_NONE;
    for (int i = 0; i < steps && kind == KK_NONE; ++i) kind = w.PollKey(code);
    return kind;
}

inline ClickKind NextClick(window& w, int32_t& x, int32_t& y, int steps = 40) {
    ClickKind kind = CK_NONE;
    for (int i = 0; i < steps && kind == CK_NONE; ++i) kind = w.PollClick(x, y);
    return kind;
}

// Handles every pending message of the window (at most `steps`).
inline void Drain(window& w, int steps = 40) {
    int32_t x, y;
    for (int i = 0; i < steps; ++i) w.QueryPointer(x, y);
}

}  // namespace input_test

#endif
