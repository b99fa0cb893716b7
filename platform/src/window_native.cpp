// window_native.cpp - the native window system's handle of a window (the X11
// window id), for dialogs of other toolkits that a window owns. Kept apart
// from window.cpp because the native headers (X11) define names that clash
// with the Win32 ones.
#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdint>

struct HWND__;
typedef HWND__* HWND;

namespace platform {

uint32_t SdlWindowId(HWND hwnd);  // window_service.h

unsigned long X11WindowId(HWND hwnd) {
    uint32_t id = SdlWindowId(hwnd);
    SDL_Window* window = id ? SDL_GetWindowFromID(id) : nullptr;
    if (!window) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info)) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11) return static_cast<unsigned long>(info.info.x11.window);
#endif
    return 0;
}

}  // namespace platform
