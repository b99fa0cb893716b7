// drawing.cpp - how faces and the ball appear on a window: projected,
// truncated to whole pixels and drawn as four-cornered polygons with a black
// outline.
#include "ball.h"
#include "face.h"
#include "graphics.h"

namespace {

// Sets the brush of a colour code and gives the style to draw with; a code
// without a colour leaves the brush alone and draws the outline only.
drawstyle SelectCodeBrush(window& win, int code) {
    switch (code) {
        case CodeBlue: win.SetBrush(BLUE); return STYLE_FILLED;
        case CodeRed: win.SetBrush(RED); return STYLE_FILLED;
        case CodeGreen: win.SetBrush(GREEN); return STYLE_FILLED;
        case CodeWhite: win.SetBrush(uint8_t(255), uint8_t(255), uint8_t(255)); return STYLE_FILLED;
        case CodeLightGrey: win.SetBrush(uint8_t(174), uint8_t(174), uint8_t(174)); return STYLE_FILLED;
        case CodeDarkGrey: win.SetBrush(uint8_t(122), uint8_t(122), uint8_t(122)); return STYLE_FILLED;
        case CodeOlive: win.SetBrush(uint8_t(162), uint8_t(191), uint8_t(15)); return STYLE_FILLED;
        default: return STYLE_FRAME;
    }
}

}  // namespace

void Face::DrawFilled(window& win, int code) {
    colorCode = code;
    Project();
    int32_t xs[4], ys[4];
    for (int i = 0; i < 4; ++i) {
        xs[i] = ToPixel(screenPoints[i].x);
        ys[i] = ToPixel(screenPoints[i].y);
    }
    win.SetPen(BLACK, outlineWidth);
    const drawstyle style = SelectCodeBrush(win, code);
    win.DrawPolygon(xs, ys, 4, style);
}

void Face::DrawOutline(window& win) {
    Project();
    int32_t xs[4], ys[4];
    for (int i = 0; i < 4; ++i) {
        xs[i] = ToPixel(screenPoints[i].x);
        ys[i] = ToPixel(screenPoints[i].y);
    }
    win.SetPen(BLACK, outlineWidth);
    win.DrawPolygon(xs, ys, 4, STYLE_FRAME);
}

void Ball::DrawFilled(window& win, int code) {
    for (Face& side : faces) side.DrawFilled(win, code);
}

void Ball::DrawOutline(window& win) {
    for (Face& side : faces) side.DrawOutline(win);
}
