// picture - loads a JPEG picture and draws it at its own size and scaled
// to half and a quarter of it.
//
// Give a picture file as the argument; without one it shows sunset.jpg
// from the current folder (the build puts it beside the program). A file
// that cannot be opened throws ERR_NO_FILE, which is caught here: the
// window then says so instead.
//
// It draws one picture and ends: the last window waits for a click.
#include "graphics.h"

int main(int argc, char** argv) {
    const char* file = argc > 1 ? argv[1] : "sunset.jpg";
    window w(390, 230, 100, 100);
    w.SetTitle("Loading and scaling a picture");
    w.SetPen(DIM_GRAY, 1);
    w.SetBrush(DIM_GRAY);
    w.DrawRectangle(0, 0, 390, 230, STYLE_FILLED);
    w.SetPen(WHITE, 1);  // for the captions

    try {
        image picture(file, IK_JPEG);
        int width = picture.Width(), height = picture.Height();
        w.DrawImage(picture, 10, 10);                                              // its own size
        w.DrawImage(picture, 20 + width, 10, width / 2, height / 2);               // half size
        w.DrawImage(picture, 20 + width, 20 + height / 2, width / 4, height / 4);  // a quarter
        w.DrawString(10, height + 20, "Natural size, half size, quarter size");
        w.DrawString(10, height + 40, file);
    } catch (error e) {
        if (e == ERR_NO_FILE) {
            w.DrawString(10, 10, "The picture could not be opened:");
            w.DrawString(10, 30, file);
        } else {  // ERR_ALLOCATION: too little memory for it
            w.DrawString(10, 10, "There was not enough memory for the picture.");
        }
    }
    return 0;
}
