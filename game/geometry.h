// geometry.h - the game's 3D arithmetic: points, edges, angle reduction, the
// turn of a point by three angles in degrees and the perspective projection
// onto the 1000 by 720 window.
//
// World values are floats; intermediate arithmetic is double precision and
// each stored result is rounded to float, so results are the same on every
// machine with IEEE arithmetic.
#ifndef GAME_GEOMETRY_H
#define GAME_GEOMETRY_H

struct Point3D {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    // Stores three whole numbers as floats.
    void Set(int newX, int newY, int newZ);
};

struct Edge3D {
    Point3D start;
    Point3D end;
    Point3D direction;

    // direction := end - start, component by component, in float.
    void UpdateDirection();
};

inline constexpr float ScreenWidth = 1000.0f;
inline constexpr float ScreenHeight = 720.0f;
inline constexpr float FocalScale = 225.0f;
// Pi is taken as 3.1415926 here, not to full double precision.
inline constexpr double DegreesToRadians = 3.1415926 / 180;

// While the angle is above 360, subtracts 360. Angles of 360 or less,
// negative ones included, are left as they are.
void NormalizeAngle(float& angle);

// Turns p about x, then y, then z by the angles in degrees. The turn is
// absolute: it always starts from p. A positive ay turns +x toward +z.
Point3D TurnPoint(const Point3D& p, float ax, float ay, float az);

// Screen position of a point p given in a face's own frame, for a face at
// position `at`. Positive x is drawn left of the centre, positive y below.
struct ScreenPoint {
    float x = 0.0f;
    float y = 0.0f;
};
ScreenPoint ProjectPoint(const Point3D& p, const Point3D& at);

// A projected coordinate as a whole pixel, truncated toward zero. Values that
// are not finite or lie beyond the range of whole pixels are clamped to it,
// so a point far off the screen never gives an undefined conversion.
int ToPixel(float value);

#endif
