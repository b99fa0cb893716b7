// court.h - one frame of the game's court as the benchmarks draw it: the
// cleared buffer, the 168 x 84 picture in the back wall, the five faces
// filled and outlined with a 4-pixel pen, the texts at 20 and 50 pixels, the
// six sides of the ball filled and outlined, the paddle's outline and the
// copy to the screen. The geometry is shared so that other renderers can
// draw exactly the same frame.
#ifndef KIVA_BENCHMARKS_COURT_H
#define KIVA_BENCHMARKS_COURT_H

#include <cstdint>

#include "graphics.h"

namespace court {

constexpr int kWidth = 1000;
constexpr int kHeight = 720;

struct Quad {
    int32_t x[4];
    int32_t y[4];
};

// The court in perspective: floor, ceiling and side walls as trapezoids
// from the window's corners to the back wall's, and the back wall itself.
inline constexpr Quad kFaces[5] = {
    {{0, 1000, 584, 415}, {719, 719, 402, 402}},  // floor
    {{0, 1000, 584, 415}, {0, 0, 317, 317}},      // ceiling
    {{0, 415, 415, 0}, {0, 317, 402, 719}},       // left wall
    {{999, 584, 584, 999}, {0, 317, 402, 719}},   // right wall
    {{415, 584, 584, 415}, {317, 317, 402, 402}}, // back wall
};
// Colours of the first four faces as red, green, blue; the back wall is white.
inline constexpr uint8_t kFaceRgb[4][3] = {{122, 122, 122}, {174, 174, 174}, {162, 191, 15}, {162, 191, 15}};

// The picture's place in the back wall, and the paddle's outline.
constexpr int kPictureX = 416, kPictureY = 318, kPictureWidth = 168, kPictureHeight = 84;
inline constexpr int32_t kPaddleX[4] = {300, 700, 700, 300};
inline constexpr int32_t kPaddleY[4] = {200, 200, 520, 520};

// A small cube turning a little each frame: its six sides as quads.
inline void BallSides(long frame, Quad sides[6]) {
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

// The frame through the library, ending with the copy to the screen.
inline void DrawFrame(window& w, const image& picture, long frame);

// Makes `w` ready to draw frames: buffering on, no wait at its end, the
// picture (a 168 x 84 capture of a few stripes drawn into the buffer) made,
// and one frame drawn so that faces and glyphs are ready before timing.
inline void Prepare(window& w, image& picture) {
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    for (int i = 0; i < 12; ++i) {
        w.SetPen(BLACK, 0);
        w.SetBrush(color(20 * i, 255 - 20 * i, 90));
        w.DrawRectangle(i * 14, 0, i * 14 + 14, kPictureHeight, STYLE_FILLED, 0, 0);
    }
    w.StoreImage(picture, 0, 0, kPictureWidth, kPictureHeight);
    DrawFrame(w, picture, 0);
}

inline void DrawFrame(window& w, const image& picture, long frame) {
    w.SetPen(WHITE, 1);
    w.SetBrush(WHITE);
    w.DrawRectangle(0, 0, kWidth, kHeight, STYLE_FILLED, 0, 0);
    w.DrawImage(picture, kPictureX, kPictureY, -1, -1);
    for (int f = 0; f < 5; ++f) {
        if (f < 4) {
            w.SetPen(BLACK, 4);
            w.SetBrush(color(kFaceRgb[f][0], kFaceRgb[f][1], kFaceRgb[f][2]));
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
    w.SetPen(BLUE, 4);
    w.DrawPolygon(kPaddleX, kPaddleY, 4, STYLE_FRAME);
    w.UpdateBuffer();
}

}  // namespace court

#endif
