// court_frame_cairo - the court frame (court.h) drawn through the library and
// the same frame drawn by cairo, in one run, best of three each, and the
// ratio of the two; then UpdateBuffer of the 1000 x 720 window beside a
// memcpy of its pixels, for a frame left as it was and for one whose every
// row changed (the changing line is drawn inside that figure). Frame pacing
// is off and the window is offscreen.
// Each figure is given by the wall clock and by the processor time the
// process used, which stays fair when other programs share the processor.
//
// cairo draws shapes aliased (CAIRO_ANTIALIAS_NONE) on an image surface, its
// text with grey levels as ours is drawn; its round joins and caps match the
// library's round pen. Each cairo frame ends, as ours does, with the copy of
// the finished buffer to a second surface standing for the screen.
//
//     court_frame_cairo [frames] [copies]     (defaults 1000 and 1000)
#include <cairo.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "best_time.h"
#include "court.h"
#include "frame_run.h"

namespace {

using best_time::Best;
using best_time::Now;
using best_time::Stamp;

void Path(cairo_t* cr, const int32_t* xs, const int32_t* ys) {
    cairo_move_to(cr, xs[0], ys[0]);
    for (int i = 1; i < 4; ++i) cairo_line_to(cr, xs[i], ys[i]);
    cairo_close_path(cr);
}

void Text(cairo_t* cr, double x, double y, double cell, const char* text) {
    // The library's font height is the cell height; cairo's size is the em.
    cairo_set_font_size(cr, cell * 0.89);
    cairo_font_extents_t e;
    cairo_font_extents(cr, &e);
    cairo_move_to(cr, x, y + e.ascent);
    cairo_show_text(cr, text);
}

// One court frame by cairo into `buffer`, then copied onto `screen`.
void CairoFrame(cairo_t* cr, cairo_t* present, cairo_surface_t* buffer, cairo_surface_t* picture, long frame) {
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(cr, picture, court::kPictureX, court::kPictureY);
    cairo_rectangle(cr, court::kPictureX, court::kPictureY, court::kPictureWidth, court::kPictureHeight);
    cairo_fill(cr);
    cairo_set_line_width(cr, 4);
    for (int f = 0; f < 5; ++f) {
        Path(cr, court::kFaces[f].x, court::kFaces[f].y);
        if (f < 4) {
            cairo_set_source_rgb(cr, court::kFaceRgb[f][0] / 255.0, court::kFaceRgb[f][1] / 255.0,
                                 court::kFaceRgb[f][2] / 255.0);
            cairo_fill_preserve(cr);
        }
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_stroke(cr);
    }
    char number[32];
    Text(cr, 5, 5, 20, " 'Q' or 'q' to Exit");
    Text(cr, 5, 30, 20, " SCORE : ");
    std::snprintf(number, sizeof number, "%d", static_cast<int>(frame * 10));
    Text(cr, 100, 30, 20, number);
    Text(cr, 5, 50, 20, " LEVEL : ");
    std::snprintf(number, sizeof number, "%d", static_cast<int>(frame / 100));
    Text(cr, 100, 50, 20, number);
    Text(cr, 340, 20, 50, " > 3D K-i-VA < ");
    court::Quad sides[6];
    court::BallSides(frame, sides);
    cairo_set_line_width(cr, 1);
    for (const court::Quad& side : sides) {
        Path(cr, side.x, side.y);
        cairo_set_source_rgb(cr, 0, 1, 0);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_stroke(cr);
    }
    cairo_set_line_width(cr, 4);
    Path(cr, court::kPaddleX, court::kPaddleY);
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_stroke(cr);
    cairo_surface_flush(buffer);
    cairo_set_source_surface(present, buffer, 0, 0);
    cairo_paint(present);
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = frame_run::Start("court_frame_cairo [frames] [copies]", argc, argv, 1000);
    const long copies = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1000;
    if (frames == 0) return 2;
    if (copies <= 0) {
        std::fprintf(stderr, "usage: court_frame_cairo [frames] [copies]\n");
        return 2;
    }
    // Ours.
    window w(court::kWidth, court::kHeight, 0, 0);
    image picture;
    court::Prepare(w, picture);

    // cairo: the buffer, the screen it is copied to, and the same picture.
    cairo_surface_t* buffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, court::kWidth, court::kHeight);
    cairo_surface_t* screen = cairo_image_surface_create(CAIRO_FORMAT_RGB24, court::kWidth, court::kHeight);
    cairo_surface_t* stripes =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, court::kPictureWidth, court::kPictureHeight);
    cairo_t* cr = cairo_create(buffer);
    cairo_t* present = cairo_create(screen);
    cairo_set_operator(present, CAIRO_OPERATOR_SOURCE);
    {
        cairo_t* p = cairo_create(stripes);
        cairo_set_antialias(p, CAIRO_ANTIALIAS_NONE);
        for (int i = 0; i < 12; ++i) {
            cairo_set_source_rgb(p, 20 * i / 255.0, (255 - 20 * i) / 255.0, 90 / 255.0);
            cairo_rectangle(p, i * 14, 0, 14, court::kPictureHeight);
            cairo_fill(p);
        }
        cairo_destroy(p);
    }
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    CairoFrame(cr, present, buffer, stripes, 0);  // glyphs ready before timing

    // Best of three runs each, taken in turns so that both see the same machine.
    Best ours, theirs;
    for (int run = 0; run < 3; ++run) {
        Stamp start = Now();
        for (long f = 1; f <= frames; ++f) court::DrawFrame(w, picture, f);
        ours.Note(start, frames);
        start = Now();
        for (long f = 1; f <= frames; ++f) CairoFrame(cr, present, buffer, stripes, f);
        theirs.Note(start, frames);
    }
    std::printf("court frame, %ld frames, best of 3:\n", frames);
    std::printf("  wall clock:     ours %7.1f frames/s, cairo %7.1f frames/s, ours/cairo %.2f\n", 1 / ours.wall,
                1 / theirs.wall, theirs.wall / ours.wall);
    std::printf("  processor time: ours %7.1f frames/s, cairo %7.1f frames/s, ours/cairo %.2f\n", 1 / ours.cpu,
                1 / theirs.cpu, theirs.cpu / ours.cpu);

    // UpdateBuffer of the whole window beside memcpy of its pixels.
    const size_t bytes = static_cast<size_t>(court::kWidth) * court::kHeight * 4;
    std::vector<unsigned char> from(bytes, 1), to(bytes, 2);
    Best update, copy;
    for (int run = 0; run < 3; ++run) {
        Stamp start = Now();
        for (long i = 0; i < copies; ++i) w.UpdateBuffer();
        update.Note(start, copies);
        start = Now();
        for (long i = 0; i < copies; ++i) {
            from[static_cast<size_t>(i) % bytes] = static_cast<unsigned char>(i);
            std::memcpy(to.data(), from.data(), bytes);
        }
        copy.Note(start, copies);
    }
    // The same with every row of the frame changed before each call (the
    // left column drawn red and blue in turns), so that every row is copied
    // and shown.
    Best changed;
    for (int run = 0; run < 3; ++run) {
        Stamp start = Now();
        for (long i = 0; i < copies; ++i) {
            w.SetPen(i % 2 ? RED : BLUE, 1);
            w.DrawLine(0, 0, 0, court::kHeight, STYLE_FRAME);
            w.UpdateBuffer();
        }
        changed.Note(start, copies);
    }
    std::printf("UpdateBuffer %d x %d beside memcpy of %zu bytes, %ld calls, best of 3:\n", court::kWidth,
                court::kHeight, bytes, copies);
    std::printf("  wall clock:     UpdateBuffer %7.1f us (every row changed: %7.1f us), memcpy %7.1f us, "
                "ratio %.2f (%.2f)\n",
                update.wall * 1e6, changed.wall * 1e6, copy.wall * 1e6, update.wall / copy.wall,
                changed.wall / copy.wall);
    std::printf("  processor time: UpdateBuffer %7.1f us (every row changed: %7.1f us), memcpy %7.1f us, "
                "ratio %.2f (%.2f)\n",
                update.cpu * 1e6, changed.cpu * 1e6, copy.cpu * 1e6, update.cpu / copy.cpu, changed.cpu / copy.cpu);
    if (to[0] == 0xFF && to[bytes - 1] == 0xFF) std::printf("\n");  // keeps the copies observable

    cairo_destroy(present);
    cairo_destroy(cr);
    cairo_surface_destroy(stripes);
    cairo_surface_destroy(screen);
    cairo_surface_destroy(buffer);
    w.SetBuffering(false);
    return 0;
}
