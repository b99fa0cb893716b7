// print_picture - draws a picture in a 1000 x 720 window with double
// buffering and prints it when P is pressed (through the print dialog, or
// where GRAPHICS_PRINT_FILE or GRAPHICS_PRINTER say). Print needs double
// buffering: it prints the back buffer.
//
// Q or Escape ends it at once (SetWaitOnClose(false): no last click), and so
// does closing the window. With the argument --print it prints once at the
// start and ends. It says on standard output when it is ready and how long
// each Print took.
#include <cstdio>
#include <cstring>

#include "graphics.h"

namespace {

void DrawPicture(window& w) {
    const int width = w.QueryWidth(), height = w.QueryHeight();
    // Sky, sea and a sun; a sailing boat; a frame and a caption.
    w.SetPen(SKY_BLUE, 1);
    w.SetBrush(SKY_BLUE);
    w.DrawRectangle(0, 0, width, height * 6 / 10, STYLE_FILLED, 0, 0);
    w.SetPen(NAVY, 1);
    w.SetBrush(NAVY);
    w.DrawRectangle(0, height * 6 / 10, width, height, STYLE_FILLED, 0, 0);
    w.SetPen(ORANGE, 4);
    w.SetBrush(YELLOW);
    w.DrawCircle(width * 8 / 10, height * 2 / 10, 70, STYLE_FILLED);
    w.SetPen(BROWN, 2);
    w.SetBrush(BROWN);
    w.DrawRectangle(300, 450, 620, 500, STYLE_FILLED, 20, 20);
    w.SetBrush(WHITE);
    w.DrawTriangle(460, 150, 460, 440, 330, 440, STYLE_FILLED);
    w.SetBrush(RED);
    w.DrawTriangle(470, 200, 470, 440, 600, 440, STYLE_FILLED);
    w.SetPen(BLACK, 6);
    w.DrawRectangle(10, 10, width - 10, height - 10, STYLE_FRAME, 0, 0);
    w.SetPen(WHITE, 1);
    w.SetFont(28, FONT_BOLD, FAMILY_SWISS, nullptr);
    w.DrawString(40, height - 80, "Press P to print, Q to quit");
}

void PrintTimed(window& w) {
    uint32_t start = ClockMs();
    w.Print();
    std::printf("Print returned after %u ms\n", static_cast<unsigned>(ClockMs() - start));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    bool printOnce = argc > 1 && std::strcmp(argv[1], "--print") == 0;
    window w(1000, 720, 50, 50);
    w.SetTitle("Print picture");
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    DrawPicture(w);
    w.UpdateBuffer();
    std::printf("ready\n");
    std::fflush(stdout);
    if (printOnce) {
        PrintTimed(w);
    } else {
        while (w.IsOpen()) {
            char code = 0;
            KeyKind key = w.PollKey(code);
            if (key == KK_ESC || (key == KK_CHAR && (code == 'q' || code == 'Q'))) break;
            if (key == KK_CHAR && (code == 'p' || code == 'P')) PrintTimed(w);
            w.UpdateBuffer();  // one frame at the library's frame rate
        }
    }
    w.SetBuffering(false);
    return 0;
}
