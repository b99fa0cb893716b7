// ball.h - the ball: a spinning cube of six faces with its own position and
// velocity. The court's faces test its centre for contact; the frame loop
// moves, spins and draws it once a frame.
#ifndef GAME_BALL_H
#define GAME_BALL_H

#include "face.h"
#include "geometry.h"

class window;

class Ball {
public:
    // A cube of edge `size` centred on (x, y, z). The velocity is zero until
    // the owner sets it.
    Ball(int size, int x, int y, int z);

    // Sets up the six sides from size and position.
    void BuildFaces();
    void SetVelocity(float vx, float vy, float vz);
    // One frame of flight: position += velocity, and the sides follow.
    void Move();
    // Turns every side from its untouched corners by the angles in degrees.
    void Turn(float ax, float ay, float az);
    // Draws the sides in order 0 to 5, with no hidden-surface removal.
    void DrawFilled(window& win, int code);
    void DrawOutline(window& win);

    // Sides: 0 top (y = +h), 1 far (z = +h), 2 near (z = -h), 3 bottom
    // (y = -h), 4 at x = -h, 5 at x = +h, with h half the size.
    Face faces[6];
    float size = 0.0f;
    Point3D velocity;
    // The centre; contact tests use this point. Written directly, it moves
    // the sides only at the next Move.
    Point3D position;
};

#endif
