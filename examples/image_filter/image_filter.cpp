// image_filter - an image filter done with pixel read-back: the picture is
// drawn on the left, then every one of its pixels is read back (GetColor,
// GetColorLevels), changed, and drawn again on the right with DrawPoint.
//
// Keys choose the filter: g grey, n negative, r red and blue swapped.
// Drawing is double buffered, so the pixels read are the buffer's, whatever
// covers the window on the screen.
//
// Give a JPEG file as the argument; without one it uses sunset.jpg from the
// current folder (the build puts it beside the program).
//
// Escape ends the loop; the last window then waits for a click. Closing the
// window ends it at once.
#include <cstdint>
#include <string>

#include "graphics.h"

namespace {

const int kLeft = 10, kTop = 30;  // where the picture is drawn

// Redraws the picture's copy on the right through the filter `key`.
void Filter(window& w, int width, int height, char key) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (key == 'n') {
                // The negative: each level as a fraction, taken from 1.
                double red, green, blue;
                w.GetColorLevels(kLeft + x, kTop + y, red, green, blue);
                w.SetPen(1.0 - red, 1.0 - green, 1.0 - blue, 1);
            } else {
                color c = w.GetColor(kLeft + x, kTop + y);
                if (key == 'g') {
                    // Grey of the same brightness: the eye sees green best.
                    uint8_t grey = static_cast<uint8_t>((30 * c.red + 59 * c.green + 11 * c.blue) / 100);
                    w.SetPen(grey, grey, grey, 1);
                } else {
                    w.SetPen(c.blue, c.green, c.red, 1);
                }
            }
            w.DrawPoint(kLeft + width + 10 + x, kTop + y);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string fileName = argc > 1 ? argv[1] : "sunset.jpg";
    image photo;  // empty until loaded
    try {
        photo.Load(fileName, IK_JPEG);
    } catch (error) {
        return 1;  // Load has said on standard error why
    }
    const int width = photo.Width(), height = photo.Height();

    window w(2 * width + 30, height + 60, 100, 100);
    w.SetTitle("Image filter: " + fileName);
    w.SetBuffering(true);
    w.SetPen(SLATE_GRAY, 1);
    w.SetBrush(SLATE_GRAY);
    w.DrawRectangle(0, 0, w.QueryWidth(), w.QueryHeight(), STYLE_FILLED);
    w.DrawImage(photo, kLeft, kTop);
    w.SetPen(WHITE, 1);
    w.DrawString(kLeft, 8, "The picture");
    w.DrawString(kLeft + width + 10, 8, "Filtered, pixel by pixel");
    w.DrawString(kLeft, kTop + height + 8, "g grey, n negative, r red and blue swapped; Escape ends");

    char filter = 'g';  // start with grey
    bool done = false;
    while (!done && w.IsOpen()) {
        Filter(w, width, height, filter);
        w.UpdateBuffer();
        // Wait for a key that chooses a filter, or for Escape.
        for (;;) {
            char code = 0;
            KeyKind kind = w.AwaitKey(code);
            if (kind == KK_ESC || kind == KK_NONE) {  // KK_NONE: the window was closed
                done = true;
                break;
            }
            if (kind == KK_CHAR && (code == 'g' || code == 'n' || code == 'r')) {
                filter = code;
                break;
            }
        }
    }
    return 0;
}
