// scene.h - one differential scene: a canvas size and a list of GDI
// drawing calls, each with its own pen, brush, mix mode and fill mode. A
// scene is written as one line of text, so the same scene can be sent to
// the Windows build under Wine and drawn by ours, and kept as a case file.
#ifndef GDI_DIFF_SCENE_H
#define GDI_DIFF_SCENE_H

#include <cstdint>
#include <string>
#include <vector>

#include "scene_files.h"

namespace gdi_diff {

// Shape kinds, one letter each in the text form.
enum Kind : char {
    kLine = 'L',     // MoveToEx to the first point, LineTo through the others
    kRect = 'R',     // Rectangle(box)
    kRound = 'Q',    // RoundRect(box, corner width, corner height)
    kEllipse = 'E',  // Ellipse(box)
    kPolygon = 'P',  // Polygon(points)
    kArc = 'A',      // Arc(box, start point, end point)
    kPie = 'W',      // Pie(box, start point, end point)
    kBezier = 'B',   // PolyBezier(1 + 3k points)
    kRegion = 'G',   // InvertRgn of a region: v[0] = 0 rect, 1 ellipse, 2 round rect, 3 polygon
    kText = 'T',     // TextOutA: v = x y face size style bkmode, then the characters' codes
    kPicture = 'I',  // SetDIBitsToDevice of a picture as large as the canvas: v = its pixels,
                     // 0x00RRGGBB, top row first (the tool's own scenes; never generated)
};

// Text shapes: the faces (v[2]) a program gets from the graphics library's
// families, the style bits (v[4]) and the characters allowed.
// kStockFont selects no font at all (the device context's own); random
// scenes leave it out, as the two builds' stock fonts still differ.
enum TextFace { kSans = 0, kSerif = 1, kFixed = 2, kArialName = 3, kNoFamily = 4, kTextFaces = 5, kStockFont = 5 };
enum TextStyle { kBold = 1, kItalic = 2, kUnderline = 4 };
enum TextBackground { kTransparent = 1, kOpaque = 2 };  // GDI's background modes
constexpr int kFirstTextChar = 32, kLastTextChar = 126;
// The cell heights text shapes use: every size the game and the examples
// draw with, from 4 to 100 pixels.
const std::vector<int>& TextSizes();

// Pen styles beyond the real ones: the black stock pen.
constexpr int kStockBlackPen = 7;
// Brushes: a palette index, or none, or the black stock brush.
constexpr int kNullBrush = -1;
constexpr int kStockBlackBrush = -2;

struct Shape {
    char kind = kRect;
    int penStyle = 6;  // PS_SOLID 0, PS_NULL 5, PS_INSIDEFRAME 6, kStockBlackPen
    int penWidth = 1;
    int penColor = 0;    // palette index; the text colour of text
    int brush = 1;       // palette index, kNullBrush or kStockBlackBrush
    int rop = 13;        // R2_BLACK (1) .. R2_WHITE (16); 13 copies
    int fillMode = 1;    // ALTERNATE 1, WINDING 2 (polygons and polygon regions)
    std::vector<int> v;  // coordinates: boxes l t r b [+ extra], points x y ...
};

struct Scene {
    int width = 96;
    int height = 72;
    std::vector<Shape> shapes;
};

// Drawing colours (0x00BBGGRR as GDI takes them).
uint32_t PaletteColor(int index);
int PaletteSize();

std::string Format(const Scene& scene);
// False when the text is not a scene.
bool Parse(const std::string& text, Scene& scene);

// Picture of a scene: width x height pixels 0x00RRGGBB, top row first.
using Picture = scene_files::Picture;
using scene_files::WritePpm;

// Draws the scene on a white memory bitmap with the GDI of this build.
Picture Render(const Scene& scene);

// This build's text measures: per face, style and cell height of the text
// shapes, the cell height and the advance of every character, one line each
// ("face size style: height | widths...").
std::string TextMeasures();

}  // namespace gdi_diff

#endif
