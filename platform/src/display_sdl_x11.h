// display_sdl_x11.h - what the SDL display backend (display_sdl.cpp) asks of
// its X11 part (display_sdl_x11.cpp), which is a file of its own because the
// X11 headers define names (Window, TRUE, FALSE) that clash with the Win32
// ones. Every call does nothing (or answers "none") when SDL's video does not
// run on X11.
#ifndef PLATFORM_DISPLAY_SDL_X11_H
#define PLATFORM_DISPLAY_SDL_X11_H

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

namespace platform {
namespace display {
namespace x11 {

// Once SDL's video runs: takes over what Xlib does on failures. A lost
// connection to the display ends the program at once (LostDisplay); errors
// about windows that no longer exist (another client destroyed one of ours)
// are ignored.
void WatchDisplay();

// Why the X display `name` (DISPLAY's value) cannot be reached, in a few
// words ("no X server runs there"), for the line that names it; asked after
// SDL failed to open it.
std::string WhyUnreachable(const char* name);

// A new SDL window: its X11 window is one of ours from now on.
void NoteOpened(uint32_t id);
// An SDL window about to be destroyed.
void NoteClosing(uint32_t id);
// True once another client destroyed the window: it can no longer be shown
// or hidden.
bool Gone(uint32_t id);

// For an SDL_SYSWMEVENT: the SDL id of our window whose X11 window another
// client destroyed; 0 for any other event.
uint32_t DestroyedWindow(const SDL_SysWMmsg* message);

// The descriptor of the display connection SDL reads, -1 when unknown:
// readable when the display has sent something.
int ConnectionFd();

// Names window `id` `title` (UTF-8) for the window manager, at once. SDL
// leaves the name out when the program's locale cannot spell every
// character of it (in the C locale, which programs that never call
// setlocale run in, a dash or a Chinese character).
void SetTitle(uint32_t id, const char* title);

// While it lives, keeps the program's shown windows on the screen from a
// thread and a display connection of its own, touching nothing of SDL's:
// for a message box, which SDL shows from a child process while the
// program waits for it.
class WindowsKeptShown {
public:
    WindowsKeptShown();
    WindowsKeptShown(const WindowsKeptShown&) = delete;
    WindowsKeptShown& operator=(const WindowsKeptShown&) = delete;
    ~WindowsKeptShown();

    struct Keeper;

private:
    std::unique_ptr<Keeper> keeper_;
};

}  // namespace x11
}  // namespace display
}  // namespace platform

#endif
