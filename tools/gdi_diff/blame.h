// blame.h - tests a difference against what any GDI's drawing must obey,
// to tell the reference's own faults from ours.
//
// Wine's GDI, our reference, is not flawless: where an ellipse or a corner
// is only two or three pixels wide it builds rows from memory it never
// wrote, so it draws stray rows, at times far from the figure, and at
// times damages its heap so that later figures change. Each test below
// holds for every figure GDI draws, whatever rule it rasterises by:
// - a figure changes no pixel beyond its box (or points) and its pen, so
//   a scene none beyond its figures' (whichever of them went wrong);
// - an elliptic or rounded-rectangle region is the same when mirrored
//   about its box's middle, across and up and down;
// - a figure drawn on the same pixels is drawn the same, whatever figures
//   were drawn before it, and the same scene is drawn the same each time.
// When the reference breaks one and our picture keeps it, the difference is
// the reference's.
#ifndef GDI_DIFF_BLAME_H
#define GDI_DIFF_BLAME_H

#include "scene.h"

namespace gdi_diff {

// A box of pixels: columns left..right-1, rows top..bottom-1.
struct PixelBox {
    int left, top, right, bottom;
};

// The pixels `shape` may change on a canvas of width x height: its box or
// the box of its points, widened by its pen and a pixel more; the whole
// canvas for text and pictures; none for a line or curve without a pen.
PixelBox Reach(const Shape& shape, int width, int height);

// True when a pixel that differs between `before` and `after` lies outside
// every box of `reach`.
bool ChangesOutside(const Picture& before, const Picture& after, const std::vector<PixelBox>& reach);

// For an elliptic or rounded-rectangle region (the only shapes it tests;
// true for others): whether the pixels the region changed between `before`
// and `after` are the same mirrored across and up and down its box, where
// a pixel and its mirror image are both on the canvas.
bool Symmetric(const Shape& shape, const Picture& before, const Picture& after);

}  // namespace gdi_diff

#endif
