#include "face.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "random.h"

namespace {

// How far outside a face's corners a point may lie and still touch it.
constexpr double BoxMargin = 10.0;
// Half-width of the band around the plane, in units of the normal's length
// times distance: the band is 3000000 / |normal| thick on each side.
constexpr double PlaneBand = 3000000.0;

}  // namespace

int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

Face::Face(int height, int width, float x, float y, float z, int colorCode) {
    Setup(height, width, x, y, z, colorCode);
}

void Face::Setup(int newHeight, int newWidth, float x, float y, float z, int newColorCode) {
    height = static_cast<float>(newHeight);
    width = static_cast<float>(newWidth);
    colorCode = newColorCode;
    outlineWidth = 4;
    position.Set(TruncateToInt(x), TruncateToInt(y), TruncateToInt(z));

    const int w2 = TruncateToInt(width / 2);
    const int h2 = TruncateToInt(height / 2);
    corners[0].Set(-w2, h2, 0);
    corners[1].Set(w2, h2, 0);
    corners[2].Set(w2, -h2, 0);
    corners[3].Set(-w2, -h2, 0);
    ResetTurned();
}

void Face::SetCorners(const Point3D& c0, const Point3D& c1, const Point3D& c2, const Point3D& c3) {
    corners[0] = c0;
    corners[1] = c1;
    corners[2] = c2;
    corners[3] = c3;
}

void Face::ResetTurned() {
    for (int i = 0; i < 4; ++i) turned[i] = corners[i];
    ComputePlane();
}

void Face::ComputePlane() {
    edgeA.start = turned[0];
    edgeA.end = turned[1];
    edgeB.start = turned[0];
    edgeB.end = turned[2];

    // Into the world, made whole.
    for (Point3D* p : {&edgeA.start, &edgeA.end, &edgeB.start, &edgeB.end}) {
        p->Set(TruncateToInt(double(p->x) + double(position.x)),
               TruncateToInt(double(p->y) + double(position.y)),
               TruncateToInt(double(p->z) + double(position.z)));
    }
    edgeA.UpdateDirection();
    edgeB.UpdateDirection();

    const Point3D& a = edgeA.direction;
    const Point3D& b = edgeB.direction;
    normal.x = static_cast<float>(double(a.y) * b.z - double(a.z) * b.y);
    normal.y = static_cast<float>(double(a.z) * b.x - double(a.x) * b.z);
    normal.z = static_cast<float>(double(a.x) * b.y - double(a.y) * b.x);

    planeConstant = static_cast<float>(double(normal.x) * edgeA.start.x + double(normal.y) * edgeA.start.y +
                                       double(normal.z) * edgeA.start.z);
}

void Face::Project() {
    for (int i = 0; i < 4; ++i) screenPoints[i] = ProjectPoint(turned[i], position);
}

void Face::TurnInPlace(float ax, float ay, float az) {
    for (int i = 0; i < 4; ++i) {
        const Point3D p = TurnPoint(corners[i], ax, ay, az);
        turned[i] = p;
        corners[i] = p;
    }
}

void Face::Turn(float ax, float ay, float az) {
    for (int i = 0; i < 4; ++i) turned[i] = TurnPoint(corners[i], ax, ay, az);
}

void Face::SetPosition(float x, float y, float z) {
    position.x = x;
    position.y = y;
    position.z = z;
}

void Face::Bounce(Point3D& velocity) const {
    switch (bounceKind) {
        case BounceDepth: {
            // The drift across is drawn before the drift up.
            const int driftX = RandomRange(-6, 6);
            const int driftY = RandomRange(-4, 5);
            velocity.x = static_cast<float>(driftX);
            velocity.y = static_cast<float>(driftY);
            velocity.z = -velocity.z;
            break;
        }
        case BounceSideways:
            velocity.x = static_cast<float>(velocity.x * -1.0);
            break;
        case BounceVertical:
            velocity.y = -velocity.y;
            break;
        default:
            break;
    }
}

bool Face::Touches(float bx, float by, float bz) {
    ComputePlane();

    // The box around the corners (not the turned corners), widened on every
    // side.
    double lo[3], hi[3];
    for (int i = 0; i < 4; ++i) {
        const double world[3] = {double(corners[i].x) + position.x, double(corners[i].y) + position.y,
                                 double(corners[i].z) + position.z};
        for (int axis = 0; axis < 3; ++axis) {
            lo[axis] = i == 0 ? world[axis] : std::min(lo[axis], world[axis]);
            hi[axis] = i == 0 ? world[axis] : std::max(hi[axis], world[axis]);
        }
    }
    const double b[3] = {bx, by, bz};
    for (int axis = 0; axis < 3; ++axis) {
        if (!(lo[axis] - BoxMargin <= b[axis] && b[axis] <= hi[axis] + BoxMargin)) return false;
    }

    // The band around the plane.
    const double s = double(normal.x) * bx + double(normal.y) * by + double(normal.z) * bz;
    const float bandLo = static_cast<float>(s - PlaneBand);
    const float bandHi = static_cast<float>(s + PlaneBand);
    return bandLo <= planeConstant && planeConstant <= bandHi;
}

bool Face::HitTest(float bx, float by, float bz, Point3D& velocity) {
    if (!Touches(bx, by, bz)) return false;
    Bounce(velocity);
    return true;
}
