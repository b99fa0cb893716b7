// picture - loads a JPEG picture and draws it at its own size and scaled.
// Give a picture file as the argument; without one it shows sunset.jpg
// from the current folder. A file that cannot be opened throws `error`.
#include <cstdio>

#include "graphics.h"

int main(int argc, char** argv) {
    const char* file = argc > 1 ? argv[1] : "sunset.jpg";
    window w(560, 320, 100, 100);
    w.SetTitle("Loading and scaling a picture");
    w.SetBrush(DIM_GRAY);
    w.DrawRectangle(0, 0, 560, 320, STYLE_FILLED);

    try {
        image picture(file, IK_JPEG);
        w.DrawImage(picture, 10, 10);  // its own size
        int width = picture.Width(), height = picture.Height();
        w.DrawImage(picture, 10 + width + 10, 10, width / 2, height / 2);    // half size
        w.DrawImage(picture, 10 + width + 10, 20 + height / 2, width / 4, height / 4);
        w.SetPen(WHITE, 1);
        w.DrawString(10, height + 20, "Natural size, half size, quarter size");
    } catch (error) {
        w.SetPen(WHITE, 1);
        w.DrawString(10, 10, "The picture could not be opened.");
        std::printf("no picture: %s\n", file);
    }
    return 0;
}
