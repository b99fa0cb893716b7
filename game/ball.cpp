#include "ball.h"

Ball::Ball(int newSize, int x, int y, int z) {
    size = static_cast<float>(newSize);
    position.x = static_cast<float>(x);
    position.y = static_cast<float>(y);
    position.z = static_cast<float>(z);
    BuildFaces();
}

void Ball::BuildFaces() {
    const int whole = TruncateToInt(size);
    for (Face& side : faces) side.Setup(whole, whole, position.x, position.y, position.z, 0);

    const float h = size / 2;
    const float n = -(size / 2);
    auto at = [](float x, float y, float z) {
        Point3D p;
        p.x = x;
        p.y = y;
        p.z = z;
        return p;
    };
    faces[0].SetCorners(at(n, h, h), at(h, h, h), at(h, h, n), at(n, h, n));
    faces[1].SetCorners(at(n, h, h), at(h, h, h), at(h, n, h), at(n, n, h));
    faces[2].SetCorners(at(n, h, n), at(h, h, n), at(h, n, n), at(n, n, n));
    faces[3].SetCorners(at(n, n, h), at(h, n, h), at(h, n, n), at(n, n, n));
    faces[4].SetCorners(at(n, h, h), at(n, n, h), at(n, n, n), at(n, h, n));
    faces[5].SetCorners(at(h, h, h), at(h, h, n), at(h, n, n), at(h, n, h));

    for (Face& side : faces) {
        side.outlineWidth = 1;
        side.ResetTurned();
    }
}

void Ball::SetVelocity(float vx, float vy, float vz) {
    velocity.x = vx;
    velocity.y = vy;
    velocity.z = vz;
}

void Ball::Move() {
    position.x += velocity.x;
    position.y += velocity.y;
    position.z += velocity.z;
    for (Face& side : faces) side.SetPosition(position.x, position.y, position.z);
}

void Ball::Turn(float ax, float ay, float az) {
    for (Face& side : faces) side.Turn(ax, ay, az);
}
