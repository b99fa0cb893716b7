// pictures.h - the game's pictures, painted on canvases.
#ifndef MAKE_PICTURES_PICTURES_H
#define MAKE_PICTURES_PICTURES_H

#include "canvas.h"

// Sizes: the background fits the back wall's frame (169 x 85 pixels) when
// drawn at its own size one pixel inside it; the closing pictures are
// centred on the 1000-pixel-wide window and drawn from y 20, each a scene
// with a caption ribbon below it.
const int kBackgroundWidth = 168, kBackgroundHeight = 84;

Canvas PaintBackground();     // sunset over mountains and a lake
Canvas PaintJapan();          // 400 wide: Mount Fuji, the rising sun, cherry blossom, the flag
Canvas PaintEngland();        // 350 wide: clock tower, green hills, the St George's cross
Canvas PaintEthiopia();       // 480 wide: highlands, acacia trees, the flag with its emblem
Canvas PaintFarmAnimal();     // 300 wide: a cartoon cow in front of a red barn

#endif
