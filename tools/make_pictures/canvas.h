// canvas.h - a small painter's canvas for the game's pictures: shapes are
// regions (a box and an inside test), painted over what is there with
// smooth edges (4 x 4 samples a pixel), in a flat colour or a colour that
// varies over the picture.
#ifndef MAKE_PICTURES_CANVAS_H
#define MAKE_PICTURES_CANVAS_H

#include <functional>
#include <vector>

struct Rgb {
    float r = 0, g = 0, b = 0;  // 0 to 255
};

Rgb Mix(Rgb a, Rgb b, float t);  // a at t = 0, b at t = 1

struct Point {
    float x = 0, y = 0;
};

// A region of the plane: every point inside lies within the box.
struct Shape {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    std::function<bool(float, float)> inside;
};

Shape Rect(float x0, float y0, float x1, float y1);
Shape Ellipse(float cx, float cy, float rx, float ry);
Shape Circle(float cx, float cy, float r);
// A filled polygon, even-odd rule.
Shape Polygon(std::vector<Point> points);
// A thick line with round ends.
Shape Stroke(Point a, Point b, float width);
// A polyline of thick segments with round joins.
Shape Path(const std::vector<Point>& points, float width);
// A star with `spikes` points, the first pointing at `angle` degrees (0 = up).
Shape Star(float cx, float cy, float outer, float inner, int spikes, float angle);
// The points of `a` that are also in `b` / that are not in `b`.
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }

    void Paint(const Shape& shape, Rgb colour, float opacity = 1.0f);
    void Paint(const Shape& shape, const std::function<Rgb(float, float)>& colourAt, float opacity = 1.0f);
    // Rows from y0 to y1 shade from `top` to `bottom`; rows outside keep the
    // nearest end's colour.
    void VerticalGradient(float y0, float y1, Rgb top, Rgb bottom);

    // Copies `source` with its top-left corner at (x, y), clipped.
    void Place(const Canvas& source, int x, int y);

    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Red, green, blue bytes, top row first.
    std::vector<unsigned char> Bytes() const;

private:
    int width;
    int height;
    std::vector<Rgb> pixels;
};

#endif
