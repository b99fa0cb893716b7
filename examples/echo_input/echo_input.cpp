// echo_input - opens a window and prints every key record and click record
// it receives, one line each ("key KK_CHAR 97", "click CK_LEFT 10 20"):
// a way to see which KeyKind and code each key gives.
//
// Escape ends the loop; the last window then waits for a click ("Click mouse
// in the graphics window to finish execution.").
#include <cstdio>

#include "graphics.h"

namespace {

const char* KeyKindName(KeyKind kind) {
    switch (kind) {
        case KK_CHAR: return "KK_CHAR";
        case KK_NAV: return "KK_NAV";
        case KK_FKEY: return "KK_FKEY";
        case KK_ESC: return "KK_ESC";
        default: return "KK_NONE";
    }
}

const char* ClickKindName(ClickKind kind) {
    switch (kind) {
        case CK_LEFT: return "CK_LEFT";
        case CK_RIGHT: return "CK_RIGHT";
        default: return "CK_NONE";
    }
}

}  // namespace

int main() {
    window w(400, 300, 100, 100);
    w.SetTitle("Echo input");
    w.SetPen(BLACK, 1);
    w.DrawString(10, 10, "Type keys and click here; Escape ends.");
    std::printf("ready\n");
    std::fflush(stdout);

    bool done = false;
    while (!done && w.IsOpen()) {
        // A batch of message steps, then a short rest: the loop waits for
        // either kind of input without keeping the processor busy.
        for (int step = 0; step < 32 && !done; ++step) {
            char code = 0;
            KeyKind key = w.PollKey(code);
            if (key != KK_NONE) {
                std::printf("key %s %d\n", KeyKindName(key), static_cast<unsigned char>(code));
                done = key == KK_ESC;
            }
            int32_t x = 0;
            int32_t y = 0;
            ClickKind click = w.PollClick(x, y);
            if (click != CK_NONE) std::printf("click %s %d %d\n", ClickKindName(click), x, y);
            std::fflush(stdout);
        }
        if (!done) PauseMs(10);
    }
    return 0;
}
