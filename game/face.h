// face.h - a flat four-corner shape of the court: a wall, the paddle, the
// invisible loss plane or one side of the ball. A face can be set up as an
// upright rectangle, turned, moved, projected and drawn in the colour of a
// colour code, and it tests whether the ball's centre touches it, bouncing
// the ball's velocity when it does. All of the game's contact physics is
// here.
#ifndef GAME_FACE_H
#define GAME_FACE_H

#include "geometry.h"

class window;

// What a contact does to the ball's velocity.
enum BounceKindCode : int {
    BounceDepth = 0,     // back along z, with a fresh random drift across and up
    BounceSideways = 1,  // x reversed
    BounceVertical = 2   // y reversed
};

// Colour codes of DrawFilled.
enum ColorCodeValue : int {
    CodeBlue = 16,
    CodeRed = 32,
    CodeGreen = 64,
    CodeWhite = 128,
    CodeLightGrey = 256,
    CodeDarkGrey = 512,
    CodeOlive = 1024
};

class Face {
public:
    Face() = default;
    Face(int height, int width, float x, float y, float z, int colorCode);

    // An upright rectangle (height along y, width along x) centred on the
    // position, in the plane z = 0 of the face's own frame. The position and
    // the half extents are truncated to whole numbers.
    void Setup(int height, int width, float x, float y, float z, int colorCode);
    // Replaces the corners, in order; nothing else changes.
    void SetCorners(const Point3D& c0, const Point3D& c1, const Point3D& c2, const Point3D& c3);
    // turned := corners, then the plane is computed again.
    void ResetTurned();
    // Fills edgeA, edgeB, normal and planeConstant from turned and position.
    void ComputePlane();
    // Fills screenPoints from turned and position.
    void Project();

    // Draws the face filled in the colour of the code (a code without a
    // colour draws the outline only) and remembers the code.
    void DrawFilled(window& win, int code);
    // Draws the outline only, in black.
    void DrawOutline(window& win);

    // Turns the corners for good: the result is kept in corners and turned.
    void TurnInPlace(float ax, float ay, float az);
    // turned := corners turned; the corners stay as they are.
    void Turn(float ax, float ay, float az);
    void SetPosition(float x, float y, float z);

    // Changes the velocity as bounceKind says.
    void Bounce(Point3D& velocity) const;
    // True when the point touches the face; the velocity has then been
    // bounced. Otherwise false and the velocity is unchanged.
    bool HitTest(float bx, float by, float bz, Point3D& velocity);
    // The same test, without the bounce.
    bool Touches(float bx, float by, float bz);

    Point3D corners[4];
    Point3D turned[4];
    Edge3D edgeA;
    Edge3D edgeB;
    float height = 0.0f;
    float width = 0.0f;
    ScreenPoint screenPoints[4];
    int colorCode = 0;
    int outlineWidth = 0;
    int bounceKind = 0;
    Point3D normal;
    float planeConstant = 0.0f;
    Point3D position;
};

// A double truncated toward zero to a whole number. Values beyond the range
// of int are held at its ends and a value that is not a number gives 0, so
// the conversion is always defined.
int TruncateToInt(double value);

#endif
