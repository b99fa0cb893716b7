// court_frame - how fast the library draws one frame of the game's court:
// the cleared buffer, the 168 x 84 picture in the back wall, the five faces
// filled and outlined with a 4-pixel pen, the texts at 20 and 50 pixels,
// the six sides of the ball filled and outlined, the paddle's outline and
// the copy to the screen. Prints frames, seconds and frames per second.
//
//     court_frame [frames]        (default 2000)
#include <chrono>
#include <cstdio>

#include "frame_run.h"
#include "graphics.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 720;

struct Quad {
    int32_t x[4];
    int32_t y[4];
};

// The court in perspective: floor, ceiling and side walls as trapezoids
// from the window's corners to the back wall's, and the back wall itself.
const Quad kFaces[5] = {
    {{0, 1000, 584, 415}, {719, 719, 402, 402}},  // floor
    {{0, 1000, 584, 415}, {0, 0, 317, 317}},      // ceiling
    {{0, 415, 415, 0}, {0, 317, 402, 719}},       // left wall
    {{999, 584, 584, 999}, {0, 317, 402, 719}},   // right wall
    {{415, 584, 584, 415}, {317, 317, 402, 402}}, // back wall
};
const color kFaceColours[5] = {color(122, 122, 122), color(174, 174, 174), color(162, 191, 15),
                               color(162, 191, 15), WHITE};

// A small cube turning a little each frame: its six sides as quads.
void BallSides(long frame, Quad sides[6]) {
    int cx = 500 + static_cast<int>(frame % 200) - 100, cy = 360, r = 40;
    int d = static_cast<int>(frame % 20);
    const int32_t fx[4] = {cx - r + d, cx + r, cx + r - d, cx - r};
    const int32_t fy[4] = {cy - r, cy - r + d, cy + r, cy + r - d};
    for (int s = 0; s < 6; ++s) {
        for (int i = 0; i < 4; ++i) {
            sides[s].x[i] = fx[i] + (s % 3) * 6;
            sides[s].y[i] = fy[i] + (s / 3) * 6;
        }
    }
}

void DrawFrame(window& w, const image& picture, long frame) {
    w.SetPen(WHITE, 1);
    w.SetBrush(WHITE);
    w.DrawRectangle(0, 0, kWidth, kHeight, STYLE_FILLED, 0, 0);
    w.DrawImage(picture, 416, 318, -1, -1);
    for (int f = 0; f < 5; ++f) {
        if (f < 4) {
            w.SetPen(BLACK, 4);
            w.SetBrush(kFaceColours[f]);
            w.DrawPolygon(kFaces[f].x, kFaces[f].y, 4, STYLE_FILLED);
        }
        w.SetPen(BLACK, 4);
        w.DrawPolygon(kFaces[f].x, kFaces[f].y, 4, STYLE_FRAME);
    }
    w.SetPen(BLACK, 1);
    w.SetFont(20, FONT_BOLD, FAMILY_ANY, "Arial");
    w.DrawString(5, 5, " 'Q' or 'q' to Exit");
    w.DrawString(5, 30, " SCORE : ");
    w.DrawNumber(100, 30, static_cast<int32_t>(frame * 10));
    w.DrawString(5, 50, " LEVEL : ");
    w.DrawNumber(100, 50, static_cast<int32_t>(frame / 100));
    w.SetFont(50, FONT_BOLD, FAMILY_ANY, "Arial");
    w.DrawString(340, 20, " > 3D K-i-VA < ");
    Quad sides[6];
    BallSides(frame, sides);
    for (const Quad& side : sides) {
        w.SetPen(BLACK, 1);
        w.SetBrush(GREEN);
        w.DrawPolygon(side.x, side.y, 4, STYLE_FILLED);
        w.DrawPolygon(side.x, side.y, 4, STYLE_FRAME);
    }
    const int32_t px[4] = {300, 700, 700, 300};
    const int32_t py[4] = {200, 200, 520, 520};
    w.SetPen(BLUE, 4);
    w.DrawPolygon(px, py, 4, STYLE_FRAME);
    w.UpdateBuffer();
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = frame_run::Start("court_frame", argc, argv, 2000);
    if (frames == 0) return 2;
    window w(kWidth, kHeight, 0, 0);
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    // The picture: a 168 x 84 capture of a few stripes.
    for (int i = 0; i < 12; ++i) {
        w.SetPen(BLACK, 0);
        w.SetBrush(color(20 * i, 255 - 20 * i, 90));
        w.DrawRectangle(i * 14, 0, i * 14 + 14, 84, STYLE_FILLED, 0, 0);
    }
    image picture;
    w.StoreImage(picture, 0, 0, 168, 84);

    DrawFrame(w, picture, 0);  // faces and glyphs ready before timing
    auto start = std::chrono::steady_clock::now();
    for (long frame = 1; frame <= frames; ++frame) DrawFrame(w, picture, frame);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("court_frame: %ld frames in %.3f s: %.1f frames per second\n", frames, seconds,
                seconds > 0 ? frames / seconds : 0.0);
    w.SetBuffering(false);
    return 0;
}
