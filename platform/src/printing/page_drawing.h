// page_drawing.h - drawing a printed page's pictures on a cairo context.
#ifndef PLATFORM_PRINTING_PAGE_DRAWING_H
#define PLATFORM_PRINTING_PAGE_DRAWING_H

#include <vector>

#include "printer_dc.h"

typedef struct _cairo cairo_t;

namespace platform {

// Draws one page's pictures on a cairo context whose unit is the point and
// whose origin is the sheet's corner.
void DrawPlacements(cairo_t* cr, const PageGeometry& page, const std::vector<Placement>& placements);

}  // namespace platform

#endif
