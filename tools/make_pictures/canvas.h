// canvas.h - the game's pictures are painted with cairo on an image
// surface: shapes are cairo paths, filled over what is there (smooth edges)
// in a flat colour or a gradient.
#ifndef MAKE_PICTURES_CANVAS_H
#define MAKE_PICTURES_CANVAS_H

#include <cairo.h>

#include <functional>
#include <memory>
#include <vector>

struct Rgb {
    float r = 0, g = 0, b = 0;  // 0 to 255
};

Rgb Mix(Rgb a, Rgb b, float t);  // a at t = 0, b at t = 1

struct Point {
    float x = 0, y = 0;
};

// A region of the plane. `trace` adds its outline to the path of a cairo
// context, every loop the same way round (so loops of one shape add up);
// with `evenOdd` what lies inside two loops is left out. `clip`, when set,
// cuts the context's clip to another region first.
struct Shape {
    std::function<void(cairo_t*)> trace;
    bool evenOdd = false;
    std::function<void(cairo_t*)> clip;
};

Shape Rect(float x0, float y0, float x1, float y1);
Shape Ellipse(float cx, float cy, float rx, float ry);
Shape Circle(float cx, float cy, float r);
// A filled polygon, even-odd rule.
Shape Polygon(std::vector<Point> points);
// A thick line with round ends.
Shape Stroke(Point a, Point b, float width);
// A polyline of thick segments with round joins.
Shape Path(std::vector<Point> points, float width);
// The points in any of `shapes` (shapes without evenOdd or clip).
Shape Union(std::vector<Shape> shapes);
// The points of `outer` that are not in `inner`, which lies inside it.
Shape Hollow(Shape outer, Shape inner);
// The points of `b` that are also in `a`.
Shape Intersect(Shape a, Shape b);
// `shape` moved dx to the right and dy down.
Shape Moved(Shape shape, float dx, float dy);

// A colour that changes along the line from `from` to `to`: each stop, at 0
// to 1 along it, has a colour and an opacity; beyond the ends the nearest
// end's colour holds.
struct Gradient {
    struct Stop {
        float at;
        Rgb colour;
        float opacity;
    };
    Point from, to;
    std::vector<Stop> stops;
};

// From `top` at y0 down to `bottom` at y1.
Gradient Vertical(float y0, float y1, Rgb top, Rgb bottom);

// A picture being painted: white to begin with.
class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }

    void Paint(const Shape& shape, Rgb colour, float opacity = 1.0f);
    void Paint(const Shape& shape, const Gradient& gradient, float opacity = 1.0f);

    // Copies `source` with its top-left corner at (x, y), clipped.
    void Place(const Canvas& source, int x, int y);

    // Red, green, blue bytes, top row first.
    std::vector<unsigned char> Bytes() const;

private:
    void Fill(const Shape& shape, cairo_pattern_t* pattern);

    int width;
    int height;
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface;
    std::unique_ptr<cairo_t, void (*)(cairo_t*)> cr;
};

#endif
