// Fuzz target: a sequence of library calls on a window of SDL's offscreen
// driver, decoded from the input four bytes at a time: shapes, text and
// read-back with wild arguments, every operation with hostile ones (both
// from wild_calls.h, which the drawing tests run with seeded numbers),
// buffering on and off, frames, keys, pointer moves, buttons and the close
// box fed in as the display's input, polls and queries, titles of any bytes.
// Each input gets a window of its own. Whatever came before, the window
// keeps its size, a closed window hands out no input, and an open one still
// draws a plain box right.
#include <SDL.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "graphics.h"
#include "input_injection.h"
#include "jpeg_writer.h"
#include "unpaced.h"
#include "wild_calls.h"
#include "window_test_access.h"

using fuzz::Require;

namespace {

const int kWidth = 120, kHeight = 90;

// A picture of two pixels for the hostile calls to draw.
image* smallPicture = nullptr;

bool Same(const color& a, const color& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

// Keys the display may send: characters, digits, keys of their own, modifiers.
int AnyKey(fuzz::Bytes& next) {
    static const int keys[] = {
        'A',      'Q',      'Z',        '0',     '7',        VK_ESCAPE,  VK_RETURN,      VK_BACK, VK_TAB,
        VK_SPACE, VK_SHIFT, VK_CONTROL, VK_MENU, VK_CAPITAL, VK_PRIOR,   VK_NEXT,        VK_END,  VK_HOME,
        VK_LEFT,  VK_UP,    VK_RIGHT,   VK_DOWN, VK_F1,      VK_F1 + 11, VK_NUMPAD0 + 5, VK_OEM_1};
    return keys[next() % (sizeof keys / sizeof keys[0])];
}

// Input as the display delivers it, then a message step or a frame.
void Input(window& w, fuzz::Bytes& next) {
    HWND hwnd = WindowTestAccess::Handle(w);
    int position[2] = {static_cast<int>(next() % 200) - 40, static_cast<int>(next() % 160) - 35};
    switch (next() % 6) {
        case 0: inject::KeyDown(hwnd, AnyKey(next)); break;
        case 1: inject::KeyUp(hwnd, AnyKey(next)); break;
        case 2: inject::MouseMove(hwnd, position[0], position[1]); break;
        case 3: inject::ButtonDown(hwnd, static_cast<int>(next() % 2), position[0], position[1]); break;
        case 4: inject::ButtonUp(hwnd, static_cast<int>(next() % 2), position[0], position[1]); break;
        default:
            if (next() % 8 == 0) inject::Close(hwnd);
            break;
    }
    if (next() % 2) {
        w.ProcessOneMessage();
    } else {
        w.UpdateBuffer();
    }
}

// The queues and the pointer, read back.
void Read(window& w, fuzz::Bytes& next) {
    char code = 0;
    int32_t x = 0, y = 0;
    switch (next() % 6) {
        case 0: {
            KeyKind kind = w.PollKey(code);
            Require(kind >= KK_NONE && kind <= KK_ESC, "a key record is of a known kind");
            break;
        }
        case 1: {
            ClickKind kind = w.PollClick(x, y);
            Require(kind >= CK_NONE && kind <= CK_RIGHT, "a click record is of a known kind");
            break;
        }
        case 2: w.QueryPointer(x, y); break;
        case 3: {
            ButtonState state = w.QueryButton(next() % 2 ? MB_LEFT : MB_RIGHT, x, y);
            Require(state == BS_UP || state == BS_DOWN, "a button is up or down");
            break;
        }
        case 4: w.DiscardKeys(); break;
        default: w.DiscardClicks(); break;
    }
}

// The window itself: its title (any bytes), buffering, its size.
void Window(window& w, fuzz::Bytes& next) {
    switch (next() % 3) {
        case 0: {
            std::string title;
            for (uint32_t n = next() % 40; n > 0; --n) title += static_cast<char>(next());
            w.SetTitle(title);
            break;
        }
        case 1: w.SetBuffering(next() % 2 == 0); break;
        default: {
            int32_t width = 0, height = 0;
            w.QuerySize(width, height);
            Require(width == kWidth && height == kHeight && w.QueryWidth() == kWidth && w.QueryHeight() == kHeight,
                    "the window keeps its drawing size");
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    unpaced::Start();
    int file = memfd_create("picture", 0);
    std::string name = "/proc/self/fd/" + std::to_string(file);
    const unsigned char redBlue[] = {255, 0, 0, 0, 0, 255};
    Require(file >= 0 && jpeg_writer::WriteRgb(name, 2, 1, redBlue, 90), "a small picture is written");
    smallPicture = new image(name, IK_JPEG);
    close(file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes next(data, size);
    inject::detail::Modifiers() = 0;
    inject::detail::HeldButtons() = 0;
    {
        window w(kWidth, kHeight, 10, 10);
        w.SetWaitOnClose(false);
        wild_calls::Points points;
        wild_calls::Pictures pictures;
        pictures.small = smallPicture;
        while (!next.Done()) {
            switch (next() % 10) {
                case 0:
                case 1:
                case 2:
                case 3: wild_calls::Shape(w, next, Require, points); break;
                case 4:
                case 5: wild_calls::Hostile(w, next, Require, pictures); break;
                case 6:
                case 7: Input(w, next); break;
                case 8: Read(w, next); break;
                default: Window(w, next); break;
            }
        }
        if (w.IsOpen()) {
            w.SetPen(BLACK, 1);
            w.SetBrush(GREEN);
            w.DrawRectangle(10, 10, 30, 30, STYLE_FILLED, 0, 0);
            Require(Same(w.GetColor(20, 20), GREEN) && Same(w.GetColor(10, 20), BLACK),
                    "after any calls a plain box still comes out right");
        } else {
            char code = 0;
            int32_t x = 0, y = 0;
            Require(w.PollKey(code) == KK_NONE && w.PollClick(x, y) == CK_NONE, "a closed window hands out no input");
        }
        w.SetBuffering(false);
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // input left for a window that is gone
    return 0;
}
