// display_sdl_x11.cpp - part of the SDL display backend: the X11 window
// behind an SDL window. Apart from display_sdl.cpp because the X11 headers
// that SDL's window-manager information brings define names (Window, TRUE,
// FALSE) that clash with the Win32 ones.
#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdint>

namespace platform {
namespace display {

unsigned long NativeWindowId(uint32_t id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    if (!window) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info)) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11) return static_cast<unsigned long>(info.info.x11.window);
#endif
    return 0;
}

}  // namespace display
}  // namespace platform
