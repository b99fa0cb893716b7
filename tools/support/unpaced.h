// unpaced.h - the environment of a program that measures or stresses the
// library rather than shows it: frame pacing off, and SDL's offscreen
// driver on Linux unless a display driver is asked for. Header only.
#ifndef TOOL_SUPPORT_UNPACED_H
#define TOOL_SUPPORT_UNPACED_H

#include <cstdlib>

namespace unpaced {

// Call before the first window is made.
inline void Start() {
#ifdef _WIN32
    _putenv_s("GRAPHICS_FPS", "0");
#else
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("GRAPHICS_FPS", "0", 1);
#endif
}

}  // namespace unpaced

#endif
