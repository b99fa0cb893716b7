#include "geometry.h"

#include <cmath>

void Point3D::Set(int newX, int newY, int newZ) {
    x = static_cast<float>(newX);
    y = static_cast<float>(newY);
    z = static_cast<float>(newZ);
}

void Edge3D::UpdateDirection() {
    direction.x = end.x - start.x;
    direction.y = end.y - start.y;
    direction.z = end.z - start.z;
}

void NormalizeAngle(float& angle) {
    while (angle > 360.0f) angle -= 360.0f;
}

Point3D TurnPoint(const Point3D& p, float ax, float ay, float az) {
    NormalizeAngle(ax);
    NormalizeAngle(ay);
    NormalizeAngle(az);
    const float rx = static_cast<float>(ax * DegreesToRadians);
    const float ry = static_cast<float>(ay * DegreesToRadians);
    const float rz = static_cast<float>(az * DegreesToRadians);

    // About x.
    const float y1 = static_cast<float>(std::cos(double(rx)) * p.y - std::sin(double(rx)) * p.z);
    const float z1 = static_cast<float>(std::sin(double(rx)) * p.y + std::cos(double(rx)) * p.z);
    // About y (a positive angle turns +x toward +z).
    const float x2 = static_cast<float>(std::cos(double(ry)) * p.x - std::sin(double(ry)) * z1);
    const float z2 = static_cast<float>(std::sin(double(ry)) * p.x + std::cos(double(ry)) * z1);
    // About z.
    const float x3 = static_cast<float>(std::cos(double(rz)) * x2 - std::sin(double(rz)) * y1);
    const float y3 = static_cast<float>(std::sin(double(rz)) * x2 + std::cos(double(rz)) * y1);

    Point3D turned;
    turned.x = x3;
    turned.y = y3;
    turned.z = z2;
    return turned;
}

ScreenPoint ProjectPoint(const Point3D& p, const Point3D& at) {
    const double divisor = double(p.z) - double(at.z);
    ScreenPoint s;
    s.x = static_cast<float>(double(ScreenWidth) / 2 + ((double(p.x) + double(at.x)) / divisor) * FocalScale);
    s.y = static_cast<float>(double(ScreenHeight) / 2 - ((double(p.y) + double(at.y)) / divisor) * FocalScale);
    return s;
}

int ToPixel(float value) {
    // Far beyond any window, yet well inside int and inside what the drawing
    // layer can take without overflow in its own arithmetic.
    constexpr float Limit = 1.0e6f;
    if (std::isnan(value)) return 0;
    if (value > Limit) return static_cast<int>(Limit);
    if (value < -Limit) return static_cast<int>(-Limit);
    return static_cast<int>(value);
}
