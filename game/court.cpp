// court.cpp - the court of one game (its faces and the ball, where they
// stand and how they bounce the ball) and the closing pictures.
#include "game.h"

ClosingPicture ClosingPictureFor(int nation) {
    switch (nation) {
        case 1: return {"PictureFiles/frame1.jpg", 300};
        case 2: return {"PictureFiles/frame2.jpg", 325};
        case 3: return {"PictureFiles/frame3.jpg", 260};
        default: return {"PictureFiles/frame4.jpg", 350};
    }
}

Court::Court()
    : paddle(120, 120, 0, 0, 200.0f, CodeBlue),
      ball(50, 0, 0, 400),
      backWall(300, 600, 0, 0, 800, CodeRed),
      floor(600, 600, 0, 150, 500, CodeRed),
      ceiling(600, 600, 0, -150, 500, CodeRed),
      leftWall(300, 600, 300, 0, 500, CodeRed),
      rightWall(300, 600, -300, 0, 500, CodeRed),
      lossPlane(320, 620, 0, 0, 180, 0) {
    paddle.bounceKind = BounceDepth;
    backWall.bounceKind = BounceDepth;
    floor.TurnInPlace(90, 0, 0);
    floor.bounceKind = BounceVertical;
    ceiling.TurnInPlace(90, 0, 0);
    ceiling.bounceKind = BounceVertical;
    leftWall.TurnInPlace(0, 90, 0);
    leftWall.bounceKind = BounceSideways;
    rightWall.TurnInPlace(0, 90, 0);
    rightWall.bounceKind = BounceSideways;
}

