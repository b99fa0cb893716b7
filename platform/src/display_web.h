// display_web.h - what the web display (display_web.cpp) offers the web
// build's other services beyond the backend interface: putting what was
// presented on the canvases before the program gives the browser its turn.
#ifndef PLATFORM_DISPLAY_WEB_H
#define PLATFORM_DISPLAY_WEB_H

namespace platform {
namespace display {

// Puts every window's presented pixels on its canvas. Called before each
// wait that lets the browser run (the browser shows a canvas only then).
void ShowPending();

}  // namespace display
}  // namespace platform

#endif
