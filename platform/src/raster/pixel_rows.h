// pixel_rows.h - the innermost loops, over the pixels of one row: setting
// them to one value, mixing them with masks, copying them, copying them with
// their top byte cleared, and copying only those that changed. A processor
// with fast paths of its own has them in a file of its own
// (pixel_rows_x86.h: SSE2 vectors and the string store); any other uses
// the plain loops of pixel_rows_generic.h. Both give the same pixels.
//
//   FillRow(p, end, value)                       [p, end) = value
//   MixRow(p, end, andMask, xorMask)             each pixel = (pixel & andMask) ^ xorMask
//   CopyRow(out, in, n)                          n pixels copied
//   CopyRowClearingTop(out, in, n)               n pixels copied, top byte 0
//   CopyChanged(out, shown, shownCount, in, n)   n pixels copied where they
//       differ, each changed one also to `shown` for the first `shownCount`
//       of them (the part of the row a screen has, which shows `out` as it
//       was); a stretch left as it was is written nowhere
#ifndef PLATFORM_PIXEL_ROWS_H
#define PLATFORM_PIXEL_ROWS_H

#if defined(__SSE2__)
#include "pixel_rows_x86.h"
#else
#include "pixel_rows_generic.h"
#endif

#endif
