// save_picture - pictures taken from the window: a sunrise is drawn in three
// steps half a second apart, and after each one StoreImage copies the scene
// into an `image`. Drawing is double buffered, so StoreImage copies the
// drawing itself, not whatever covers the window on the screen.
//
// The three captures are kept (copies of an image are whole pictures of
// their own), drawn again small as a film strip, and each one's brightness
// is worked out from its pixels (Pixels: blue, green, red, 0 for each).
//
// SavePng writes the whole drawing as sunrise.png and the brightest capture
// as brightest.png in the current folder, and says so on standard output;
// a file that cannot be written is reported with FatalError.
//
// It ends when the pictures are saved: the last window waits for a click.
#include <cstdio>
#include <string>
#include <vector>

#include "graphics.h"

namespace {

const int kWidth = 480, kHeight = 350, kSceneHeight = 240;

// The scene with the sun `height` pixels above the horizon; the sky grows
// lighter as the sun rises.
void DrawScene(window& w, int height) {
    int light = height * 255 / 200;                                             // 0 to 255 for a height of 0 to 200
    w.SetPen(light * 135 / 255, light * 206 / 255, 60 + light * 175 / 255, 1);  // from dark blue to sky blue
    w.SetBrush(light * 135 / 255, light * 206 / 255, 60 + light * 175 / 255);
    w.DrawRectangle(0, 0, kWidth, kSceneHeight, STYLE_FILLED);
    w.SetPen(ORANGE, 2);
    w.SetBrush(GOLD);
    w.DrawCircle(330, 200 - height, 30, STYLE_FILLED);
    w.SetPen(DARK_GREEN, 1);
    w.SetBrush(FOREST_GREEN);
    w.DrawEllipse(-100, 170, 600, 400, STYLE_FILLED);  // a hill, larger than the window
    w.SetPen(BLACK, 1);
    w.SetBrush(BURLYWOOD);
    w.DrawRectangle(90, 130, 170, 190, STYLE_FILLED);  // a house
    w.SetBrush(FIREBRICK);
    w.DrawTriangle(80, 132, 130, 95, 180, 132, STYLE_FILLED);
    w.SetBrush(SADDLE_BROWN);
    w.DrawRectangle(120, 155, 140, 190, STYLE_FILLED);
}

// The mean of red, green and blue over all pixels: 0 black, 255 white.
int Brightness(const image& picture) {
    const unsigned char* p = picture.Pixels();  // null for an empty picture
    long long sum = 0, count = static_cast<long long>(picture.Width()) * picture.Height();
    for (long long i = 0; i < count; ++i) sum += p[4 * i] + p[4 * i + 1] + p[4 * i + 2];
    return count > 0 ? static_cast<int>(sum / (3 * count)) : 0;
}

void Save(const image& picture, const std::string& fileName) {
    if (picture.SavePng(fileName)) {
        std::printf("saved %s (%d x %d pixels)\n", fileName.c_str(), picture.Width(), picture.Height());
    } else {
        FatalError(("Could not write " + fileName).c_str());
    }
}

}  // namespace

int main() {
    window w(kWidth, kHeight, 100, 100);
    w.SetTitle("Saving pictures");
    w.SetBuffering(true);  // StoreImage then copies the drawing itself

    std::vector<image> film;
    image shot;  // empty (0 x 0) until something is stored in it
    for (int height = 40; height <= 200; height += 80) {
        DrawScene(w, height);
        w.UpdateBuffer();
        w.StoreImage(shot, 0, 0, kWidth, kSceneHeight);  // the scene, pixel for pixel
        film.push_back(shot);                            // a copy: shot is used again
        PauseMs(500);
    }

    // The film strip, a quarter of the size, with each picture's brightness,
    // below the scene (where the hill reached).
    w.SetPen(GAINSBORO, 1);
    w.SetBrush(GAINSBORO);
    w.DrawRectangle(0, kSceneHeight, kWidth, kHeight, STYLE_FILLED);
    image brightest;
    w.SetPen(BLACK, 1);
    for (size_t i = 0; i < film.size(); ++i) {
        const image* frame = &film[i];
        int x = 30 + static_cast<int>(i) * 150;
        w.DrawImage(frame, x, kSceneHeight + 10, frame->Width() / 4, frame->Height() / 4);
        w.DrawString(x, kSceneHeight + 76, frame->Kind() == IK_CAPTURE ? "captured," : "loaded,");
        w.DrawString(x, kSceneHeight + 90, "brightness");
        w.DrawNumber(x + 70, kSceneHeight + 90, Brightness(*frame));
        if (Brightness(*frame) > Brightness(brightest)) brightest = *frame;  // copied
    }

    w.UpdateBuffer();
    image whole;
    w.StoreImage(&whole, 0, 0, kWidth, kHeight);  // the whole drawing as it is now
    Save(whole, "sunrise.png");
    Save(brightest, "brightest.png");
    return 0;
}
