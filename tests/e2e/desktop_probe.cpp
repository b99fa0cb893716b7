// desktop_probe - a window for tests/e2e/desktop.sh to cover, minimise,
// close and lose the display under. It opens a 300 x 200 window titled
// "Desktop probe", draws a fixed picture, says "ready" and then, by its
// argument:
//   pause MS   pauses MS milliseconds, then says "resumed"
//   await      waits for a click, then says "awaited"
//   animate    draws double-buffered frames until the window is closed
// and at the end says "open" or "closed" (IsOpen) and returns 0.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics.h"

namespace {

void Say(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

// Blocks of pure colours and a white diagonal: no two parts alike, so a
// picture that comes back shifted or partly lost differs.
void DrawPicture(window& w, int frame) {
    w.SetPen(RED, 1);
    w.SetBrush(RED);
    w.DrawRectangle(0, 0, 150, 100, STYLE_FILLED);
    w.SetPen(BLUE, 1);
    w.SetBrush(BLUE);
    w.DrawRectangle(150, 0, 300, 100, STYLE_FILLED);
    w.SetPen(GREEN, 1);
    w.SetBrush(GREEN);
    w.DrawRectangle(0, 100, 150, 200, STYLE_FILLED);
    w.SetPen(YELLOW, 1);
    w.SetBrush(YELLOW);
    w.DrawRectangle(150, 100, 300, 200, STYLE_FILLED);
    w.SetPen(WHITE, 3);
    w.DrawLine(0, 0, 299, 199);
    w.SetPen(BLACK, 1);
    w.SetBrush(BLACK);
    const int x = frame % 260;
    w.DrawRectangle(x, 90, x + 40, 110, STYLE_FILLED);
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    window w(300, 200, 100, 100);
    w.SetTitle("Desktop probe");
    w.SetWaitOnClose(false);
    if (std::strcmp(mode, "animate") == 0) {
        w.SetBuffering(true);
        DrawPicture(w, 0);
        w.UpdateBuffer();
        Say("ready");
        for (int frame = 1; w.IsOpen(); ++frame) {
            DrawPicture(w, frame);
            w.UpdateBuffer();
        }
    } else {
        DrawPicture(w, 0);
        Say("ready");
        if (std::strcmp(mode, "pause") == 0 && argc > 2) {
            PauseMs(static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)));
            Say("resumed");
        } else if (std::strcmp(mode, "await") == 0) {
            int32_t x = 0, y = 0;
            w.AwaitClick(x, y);
            Say("awaited");
        }
    }
    Say(w.IsOpen() ? "open" : "closed");
    return 0;
}
