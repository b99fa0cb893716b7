// page_drawing.cpp - a printed page's pictures drawn with cairo, which every
// output of the module shares: each picture an image scaled onto the page
// nearest-neighbour (no smoothing), clipped to the printable area.
#include <cairo.h>

#include <cstring>

#include "page_drawing.h"

namespace platform {

void DrawPlacements(cairo_t* cr, const PageGeometry& page, const std::vector<Placement>& placements) {
    double unit = 72.0 / page.dpi;
    cairo_save(cr);
    cairo_translate(cr, page.leftPt, page.topPt);
    cairo_rectangle(cr, 0, 0, page.horzRes * unit, page.vertRes * unit);
    cairo_clip(cr);
    cairo_scale(cr, unit, unit);
    for (const Placement& placed : placements) {
        const Surface& pixels = placed.pixels;
        // The image owns a copy: a PDF keeps it until the document ends.
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height);
        if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(image);
            continue;
        }
        cairo_surface_flush(image);
        unsigned char* data = cairo_image_surface_get_data(image);
        int stride = cairo_image_surface_get_stride(image);
        for (int32_t row = 0; row < pixels.height; ++row)
            std::memcpy(data + static_cast<size_t>(row) * stride, pixels.Row(row), static_cast<size_t>(pixels.width) * 4);
        cairo_surface_mark_dirty(image);

        cairo_save(cr);
        cairo_translate(cr, placed.x + (placed.mirrorX ? placed.width : 0), placed.y + (placed.mirrorY ? placed.height : 0));
        cairo_scale(cr, (placed.mirrorX ? -1.0 : 1.0) * placed.width / pixels.width,
                    (placed.mirrorY ? -1.0 : 1.0) * placed.height / pixels.height);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_rectangle(cr, 0, 0, pixels.width, pixels.height);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_surface_destroy(image);
    }
    cairo_restore(cr);
}

}  // namespace platform
