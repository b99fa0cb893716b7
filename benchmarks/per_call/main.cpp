// per_call - what one call of the library costs, on a 600 x 400 window
// offscreen with frame pacing off, beside cairo doing the same pixel work
// on an aliased image surface of that size and beside a plain store loop
// (the floor: writing one pixel to memory). The calls are the ones a
// student's program makes per pixel or per small figure: SetPen with
// DrawPoint (a picture drawn pixel by pixel in changing colours), DrawPoint
// alone, GetColor, a 10 x 10 filled DrawRectangle, a short DrawString and
// PollKey. Besides: a DrawString whose glyphs other faces lend (Chinese, a
// symbol, an emoji), and what the first such text costs (finding the faces).
//
// Every figure is the best of five runs, ours and cairo's taken in turns so
// that both see the same machine, in nanoseconds per call of processor time
// (fair when other programs share the processor), wall-clock time beside it.
//
//     per_call [calls] [--buffered]
//     per_call --mandelbrot [pictures] [--buffered]
//
// calls: how many of the pixel calls one run makes (default 240000, one
// call per pixel of the window; the figure calls make a tenth as many).
// --buffered draws into the back buffer (SetBuffering(true)) instead of on
// the window. --mandelbrot draws the Mandelbrot set on the window pixel by
// pixel with SetPen and DrawPoint, as a student's program does, that many
// times (default 20), and prints the time per picture: the program to
// profile (perf record -g).
#include <cairo.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "best_time.h"
#include "frame_run.h"
#include "graphics.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr int kRuns = 5;
const char* const kText = "SCORE : 1234";
const char* const kBorrowedText = "漢字 ✓ 😀 ok";  // the selected face has only the Latin ones

using best_time::Best;
using best_time::Now;
using best_time::Stamp;

// Call i's pixel: along the rows of the window, in a colour of its own.
int X(long i) { return static_cast<int>(i % kWidth); }
int Y(long i) { return static_cast<int>((i / kWidth) % kHeight); }
uint32_t Colour(long i) { return static_cast<uint32_t>(i) * 2654435761u >> 8; }
uint8_t Red(uint32_t c) { return static_cast<uint8_t>(c >> 16); }
uint8_t Green(uint32_t c) { return static_cast<uint8_t>(c >> 8); }
uint8_t Blue(uint32_t c) { return static_cast<uint8_t>(c); }

// A small figure's corner: its box stays on the window.
int FigureX(long i) { return static_cast<int>((i * 37) % (kWidth - 200)); }
int FigureY(long i) { return static_cast<int>((i * 11) % (kHeight - 40)); }

void Source(cairo_t* cr, uint32_t c) { cairo_set_source_rgb(cr, Red(c) / 255.0, Green(c) / 255.0, Blue(c) / 255.0); }

// A picture of the Mandelbrot set, one SetPen and one DrawPoint a pixel.
void Mandelbrot(window& w) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            double cr = -2.2 + 3.2 * x / kWidth, ci = -1.2 + 2.4 * y / kHeight, zr = 0, zi = 0;
            int n = 0;
            for (; n < 64 && zr * zr + zi * zi < 4; ++n) {
                double t = zr * zr - zi * zi + cr;
                zi = 2 * zr * zi + ci;
                zr = t;
            }
            w.SetPen(static_cast<uint8_t>(n * 4), static_cast<uint8_t>(n * 9), static_cast<uint8_t>(255 - n * 4), 1);
            w.DrawPoint(x, y);
        }
    }
}

void PrintLine(const char* name, const Best& ours, const Best* theirs) {
    std::printf("  %-26s %9.1f (%9.1f)", name, ours.cpu * 1e9, ours.wall * 1e9);
    if (theirs != nullptr && theirs->measured) {
        std::printf("   %9.1f (%9.1f)   %6.2f\n", theirs->cpu * 1e9, theirs->wall * 1e9, ours.cpu / theirs->cpu);
    } else {
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool buffered = false, mandelbrot = false;
    int counted = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--buffered") == 0) {
            buffered = true;
        } else if (std::strcmp(argv[i], "--mandelbrot") == 0) {
            mandelbrot = true;
        } else {
            argv[counted++] = argv[i];
        }
    }
    const long calls = frame_run::Start("per_call [calls | --mandelbrot [pictures]] [--buffered]", counted, argv,
                                        mandelbrot ? 20 : 240000);
    if (calls == 0) return 2;
    const long figures = std::max(1L, calls / 10);

    window w(kWidth, kHeight, 0, 0);
    w.SetWaitOnClose(false);
    if (buffered) w.SetBuffering(true);
    if (mandelbrot) {
        Best picture;
        picture.Run(calls, [&](long n) {
            for (long i = 0; i < n; ++i) Mandelbrot(w);
        });
        std::printf("Mandelbrot %d x %d through SetPen + DrawPoint%s, %ld pictures: %.1f ms a picture (wall %.1f ms)\n",
                    kWidth, kHeight, buffered ? " (buffered)" : "", calls, picture.cpu * 1e3, picture.wall * 1e3);
        if (buffered) w.SetBuffering(false);
        return 0;
    }
    w.SetFont(20, FONT_BOLD, FAMILY_SWISS, nullptr);
    w.SetPen(BLACK, 1);
    w.DrawString(0, 0, kText);  // glyphs ready before timing
    Stamp firstBorrowed = Now();
    w.DrawString(0, 0, kBorrowedText);
    Stamp firstBorrowedEnd = Now();

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 20 * 0.89);
    cairo_move_to(cr, 0, 20);
    cairo_show_text(cr, kText);

    std::vector<uint32_t> plain(static_cast<size_t>(kWidth) * kHeight);
    volatile uint32_t sink = 0;

    Best penPoint, cairoPenPoint, point, cairoPoint, getColor, cairoGetColor, rect, cairoRect, text, cairoText,
        borrowed, pollKey, store;
    for (int run = 0; run < kRuns; ++run) {
        penPoint.Run(calls, [&](long n) {
            for (long i = 0; i < n; ++i) {
                uint32_t c = Colour(i);
                w.SetPen(Red(c), Green(c), Blue(c), 1);
                w.DrawPoint(X(i), Y(i));
            }
        });
        cairoPenPoint.Run(calls, [&](long n) {
            for (long i = 0; i < n; ++i) {
                Source(cr, Colour(i));
                cairo_rectangle(cr, X(i), Y(i), 1, 1);
                cairo_fill(cr);
            }
        });
        w.SetPen(RED, 1);
        point.Run(calls, [&](long n) {
            for (long i = 0; i < n; ++i) w.DrawPoint(X(i), Y(i));
        });
        Source(cr, 0xFF0000);
        cairoPoint.Run(calls, [&](long n) {
            for (long i = 0; i < n; ++i) {
                cairo_rectangle(cr, X(i), Y(i), 1, 1);
                cairo_fill(cr);
            }
        });
        getColor.Run(calls, [&](long n) {
            uint32_t sum = 0;
            for (long i = 0; i < n; ++i) sum += w.GetColor(X(i), Y(i)).green;
            sink = sum;
        });
        cairoGetColor.Run(calls, [&](long n) {
            uint32_t sum = 0;
            for (long i = 0; i < n; ++i) {
                cairo_surface_flush(surface);
                const unsigned char* row = cairo_image_surface_get_data(surface) +
                                           static_cast<size_t>(Y(i)) * cairo_image_surface_get_stride(surface);
                sum += (reinterpret_cast<const uint32_t*>(row)[X(i)] >> 8) & 0xFF;
            }
            sink = sum;
        });
        w.SetBrush(BLUE);
        rect.Run(figures, [&](long n) {
            for (long i = 0; i < n; ++i)
                w.DrawRectangle(FigureX(i), FigureY(i), FigureX(i) + 10, FigureY(i) + 10, STYLE_FILLED);
        });
        Source(cr, 0x0000FF);
        cairoRect.Run(figures, [&](long n) {
            for (long i = 0; i < n; ++i) {
                cairo_rectangle(cr, FigureX(i), FigureY(i), 10, 10);
                cairo_fill(cr);
            }
        });
        text.Run(figures, [&](long n) {
            for (long i = 0; i < n; ++i) w.DrawString(FigureX(i), FigureY(i), kText);
        });
        cairoText.Run(figures, [&](long n) {
            for (long i = 0; i < n; ++i) {
                cairo_move_to(cr, FigureX(i), FigureY(i) + 20);
                cairo_show_text(cr, kText);
            }
        });
        borrowed.Run(figures, [&](long n) {
            for (long i = 0; i < n; ++i) w.DrawString(FigureX(i), FigureY(i), kBorrowedText);
        });
        pollKey.Run(calls, [&](long n) {
            char code = 0;
            uint32_t sum = 0;
            for (long i = 0; i < n; ++i) sum += static_cast<uint32_t>(w.PollKey(code));
            sink = sum;
        });
        store.Run(calls, [&](long n) {
            uint32_t* pixels = plain.data();
            for (long i = 0; i < n; ++i) pixels[static_cast<size_t>(Y(i)) * kWidth + X(i)] = Colour(i);
            sink = pixels[static_cast<size_t>(n) % plain.size()];
        });
    }

    std::printf("per call, %d x %d window offscreen%s, %ld pixel calls (%ld figure calls), best of %d:\n", kWidth,
                kHeight, buffered ? " (buffered)" : "", calls, figures, kRuns);
    std::printf("  %-26s %22s   %22s   %6s\n", "ns per call: processor", "ours (wall)", "cairo (wall)", "ratio");
    PrintLine("SetPen + DrawPoint", penPoint, &cairoPenPoint);
    PrintLine("DrawPoint", point, &cairoPoint);
    PrintLine("GetColor", getColor, &cairoGetColor);
    PrintLine("DrawRectangle 10 x 10", rect, &cairoRect);
    PrintLine("DrawString (12 characters)", text, &cairoText);
    PrintLine("DrawString (borrowed glyphs)", borrowed, nullptr);
    PrintLine("PollKey", pollKey, nullptr);
    PrintLine("plain store (the floor)", store, nullptr);
    std::printf("  SetPen + DrawPoint is %.2f of cairo's cost; GetColor is %.2f of SetPen + DrawPoint\n",
                penPoint.cpu / cairoPenPoint.cpu, getColor.cpu / penPoint.cpu);
    std::printf("  the first text with borrowed glyphs (faces found and opened): %.1f ms (wall %.1f ms)\n",
                (firstBorrowedEnd.cpu - firstBorrowed.cpu) * 1e3, (firstBorrowedEnd.wall - firstBorrowed.wall) * 1e3);

    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    if (buffered) w.SetBuffering(false);
    return 0;
}
