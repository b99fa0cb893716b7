// platform_display.h - what the platform layer tells the graphics library
// about its display beyond the Win32 calls (this platform only).
#ifndef PLATFORM_DISPLAY_H
#define PLATFORM_DISPLAY_H

// True when no display exists and windows are drawn offscreen in its place
// (no DISPLAY or WAYLAND_DISPLAY, and no SDL_VIDEODRIVER chosen): nobody can
// see the windows or give them input. False before the first window, and
// when the offscreen driver was chosen on purpose with SDL_VIDEODRIVER (the
// tests do, feeding input to SDL's event queue themselves).
bool PlatformDisplayIsAbsent();

#endif
