// display_sdl.cpp - the display backend (display_backend.h) on SDL2: with
// its X11 part (display_sdl_x11.cpp), the only file that talks to SDL.
//
// Windows are real SDL windows wherever a display exists. Without one (no
// DISPLAY or WAYLAND_DISPLAY, or SDL cannot open the one named, which is
// then told with the reason) the backend uses SDL's offscreen driver and
// says so once on stderr; an explicit SDL_VIDEODRIVER is always obeyed. The SDL window is the client area; the window manager
// draws its own decorations. Window surfaces are plain memory copied to the
// display; there is no vsync to follow. Keys are read by their SDL keycodes,
// which follow the US layout here. On X11 the raw X events come too, to see
// windows that other clients destroy; what is done with X11 itself (a lost
// display, such windows, message boxes) is in display_sdl_x11.cpp.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>

#include "display_backend.h"
#include "display_sdl_x11.h"
#include "keyboard.h"

namespace platform {

namespace display {

// Whether SDL's event queue may hold events: set as each event is pushed
// (from any thread), cleared when the queue is emptied. A message step that
// does not read the display looks at the queue only when this is set.
std::atomic<bool> eventsMayWait{false};

namespace {

bool tried = false;
bool ready = false;
bool offscreen = false;
bool noDisplay = false;

int NoteEvent(void*, SDL_Event*) {
    eventsMayWait.store(true, std::memory_order_release);
    return 0;
}

uint16_t ModifiersOf(uint16_t mod) {
    uint16_t bits = 0;
    if (mod & KMOD_SHIFT) bits |= keyboard::kModShift;
    if (mod & KMOD_CTRL) bits |= keyboard::kModCtrl;
    if (mod & KMOD_ALT) bits |= keyboard::kModAlt;
    if (mod & KMOD_CAPS) bits |= keyboard::kModCapsLock;
    if (mod & KMOD_NUM) bits |= keyboard::kModNumLock;
    return bits;
}

// The keyboard table's code of an SDL key. SDL's keycodes of printable keys
// are already their characters.
int32_t KeyOf(SDL_Keycode sym) {
    if (sym >= 0 && sym < 128) return sym;
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return keyboard::kKeyF1 + (sym - SDLK_F1);
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return keyboard::kKeyPad0 + 1 + (sym - SDLK_KP_1);
    switch (sym) {
    case SDLK_LSHIFT: case SDLK_RSHIFT: return keyboard::kKeyShift;
    case SDLK_LCTRL: case SDLK_RCTRL: return keyboard::kKeyControl;
    case SDLK_LALT: case SDLK_RALT: return keyboard::kKeyAlt;
    case SDLK_CAPSLOCK: return keyboard::kKeyCapsLock;
    case SDLK_NUMLOCKCLEAR: return keyboard::kKeyNumLock;
    case SDLK_PAGEUP: return keyboard::kKeyPageUp;
    case SDLK_PAGEDOWN: return keyboard::kKeyPageDown;
    case SDLK_END: return keyboard::kKeyEnd;
    case SDLK_HOME: return keyboard::kKeyHome;
    case SDLK_LEFT: return keyboard::kKeyLeft;
    case SDLK_UP: return keyboard::kKeyUp;
    case SDLK_RIGHT: return keyboard::kKeyRight;
    case SDLK_DOWN: return keyboard::kKeyDown;
    case SDLK_INSERT: return keyboard::kKeyInsert;
    case SDLK_KP_MULTIPLY: return keyboard::kKeyPadMultiply;
    case SDLK_KP_PLUS: return keyboard::kKeyPadPlus;
    case SDLK_KP_MINUS: return keyboard::kKeyPadMinus;
    case SDLK_KP_DIVIDE: return keyboard::kKeyPadDivide;
    case SDLK_KP_ENTER: return keyboard::kKeyPadEnter;
    case SDLK_KP_0: return keyboard::kKeyPad0;
    case SDLK_KP_PERIOD: return keyboard::kKeyPadPeriod;
    default: return keyboard::kKeyNone;
    }
}

// The backend's event for an SDL event; false for events of no interest
// (text input, quit requests - the close box is enough - and the rest). A
// window another client destroyed counts as closed with its close box.
bool Translate(const SDL_Event& e, Event& out) {
    switch (e.type) {
    case SDL_SYSWMEVENT:
        out.kind = Event::Kind::Close;
        out.window = x11::DestroyedWindow(e.syswm.msg);
        return out.window != 0;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        out.kind = Event::Kind::Key;
        out.window = e.key.windowID;
        if (!out.window) {
            SDL_Window* focus = SDL_GetKeyboardFocus();
            out.window = focus ? SDL_GetWindowID(focus) : 0;
        }
        out.key = KeyOf(e.key.keysym.sym);
        out.modifiers = ModifiersOf(e.key.keysym.mod);
        out.down = e.type == SDL_KEYDOWN;
        out.repeat = e.key.repeat != 0;
        return true;
    }
    case SDL_MOUSEMOTION:
        out.kind = Event::Kind::Motion;
        out.window = e.motion.windowID;
        out.x = e.motion.x;
        out.y = e.motion.y;
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        out.kind = Event::Kind::Button;
        out.window = e.button.windowID;
        out.down = e.type == SDL_MOUSEBUTTONDOWN;
        out.x = e.button.x;
        out.y = e.button.y;
        switch (e.button.button) {
        case SDL_BUTTON_LEFT: out.button = Button::Left; return true;
        case SDL_BUTTON_RIGHT: out.button = Button::Right; return true;
        case SDL_BUTTON_MIDDLE: out.button = Button::Middle; return true;
        default: return false;
        }
    case SDL_MOUSEWHEEL:
        out.kind = Event::Kind::Wheel;
        out.window = e.wheel.windowID;
        out.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        return true;
    case SDL_WINDOWEVENT:
        out.window = e.window.windowID;
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: out.kind = Event::Kind::Close; return true;
        case SDL_WINDOWEVENT_MOVED:
            out.kind = Event::Kind::Moved;
            out.x = e.window.data1;
            out.y = e.window.data2;
            return true;
        case SDL_WINDOWEVENT_EXPOSED: out.kind = Event::Kind::Exposed; return true;
        default: return false;
        }
    default:
        return false;
    }
}

}  // namespace

bool Start() {
    if (tried) return ready;
    tried = true;
    // Ctrl+C must end the program as usual, not become an SDL quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A click that activates a window is also a click in it, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Window surfaces are plain memory copied to the display (X11 shared
    // memory, say), not textures of an OpenGL renderer: no GL stack to load.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    bool explicitDriver = chosen && *chosen;
    const char* xDisplay = std::getenv("DISPLAY");
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    if (xDisplay && !*xDisplay) xDisplay = nullptr;
    if (waylandDisplay && !*waylandDisplay) waylandDisplay = nullptr;
    bool haveDisplay = xDisplay || waylandDisplay;
    bool ok = false;
    if (explicitDriver) {
        ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    } else if (haveDisplay) {
        // Only the drivers of the displays named: SDL would otherwise fall
        // back to its offscreen driver without a word.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, xDisplay && waylandDisplay ? "x11,wayland" : xDisplay ? "x11" : "wayland");
        ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (!ok) {
            const std::string reason = xDisplay ? x11::WhyUnreachable(xDisplay) : "no Wayland compositor answers there";
            std::fprintf(stderr, "graphics: cannot reach the display %s: %s; windows are drawn offscreen\n",
                         xDisplay ? xDisplay : waylandDisplay, reason.c_str());
        }
    } else {
        std::fprintf(stderr, "graphics: no display available; windows are drawn offscreen\n");
    }
    if (!ok && !explicitDriver) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    if (!ok) {
        std::fprintf(stderr, "graphics: cannot start SDL video: %s\n", SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    offscreen = driver && std::strcmp(driver, "offscreen") == 0;
    noDisplay = offscreen && !explicitDriver;
    if (driver && std::strcmp(driver, "x11") == 0) {
        x11::WatchDisplay();
        // The X events themselves, to see windows destroyed by others.
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
    SDL_StopTextInput();  // characters come from TranslateMessage
    SDL_AddEventWatch(NoteEvent, nullptr);
    ready = true;
    eventsMayWait.store(true, std::memory_order_release);  // whatever SDL queued while starting
    return true;
}

bool Offscreen() { return offscreen; }

bool NoDisplay() { return noDisplay; }

uint32_t OpenWindow(const char* title, int x, int y, int width, int height) {
    SDL_Window* w = SDL_CreateWindow(title, x, y, width, height, SDL_WINDOW_HIDDEN);
    if (!w) return 0;
    uint32_t id = SDL_GetWindowID(w);
    x11::NoteOpened(id);
    x11::SetTitle(id, title);
    return id;
}

void CloseWindow(uint32_t id) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    if (!w) return;
    x11::NoteClosing(id);
    SDL_DestroyWindow(w);
}

void SetVisible(uint32_t id, bool visible) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    if (!w || x11::Gone(id)) return;
    if (visible) {
        SDL_ShowWindow(w);
    } else {
        SDL_HideWindow(w);
    }
}

void SetTitle(uint32_t id, const char* title) {
    if (SDL_Window* w = SDL_GetWindowFromID(id)) {
        SDL_SetWindowTitle(w, title);
        x11::SetTitle(id, title);
    }
}

void Present(uint32_t id, const Surface& surface, int x0, int y0, int x1, int y1) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    if (!w) return;
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (!target) return;
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min({x1, surface.width, target->w});
    y1 = std::min({y1, surface.height, target->h});
    if (x0 >= x1 || y0 >= y1) return;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    const int bytes = target->format->BytesPerPixel;
    SDL_ConvertPixels(x1 - x0, y1 - y0, SDL_PIXELFORMAT_RGB888, surface.Row(y0) + x0, surface.width * 4,
                      target->format->format, static_cast<uint8_t*>(target->pixels) + y0 * target->pitch + x0 * bytes,
                      target->pitch);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    SDL_Rect rect{x0, y0, x1 - x0, y1 - y0};
    SDL_UpdateWindowSurfaceRects(w, &rect, 1);
}

bool LendPixels(uint32_t id, ShownPixels& shown) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    if (!w) return false;
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (!target || target->format->format != SDL_PIXELFORMAT_RGB888 || target->pitch % 4 != 0) return false;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return false;
    shown.pixels = static_cast<uint32_t*>(target->pixels);
    shown.pitch = static_cast<size_t>(target->pitch / 4);
    shown.width = target->w;
    shown.height = target->h;
    return true;
}

void ShowLent(uint32_t id, int x0, int y0, int x1, int y1) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    if (!w) return;
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (!target) return;
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, target->w);
    y1 = std::min(y1, target->h);
    if (x0 >= x1 || y0 >= y1) return;
    SDL_Rect rect{x0, y0, x1 - x0, y1 - y0};
    SDL_UpdateWindowSurfaceRects(w, &rect, 1);
}

bool DesktopSize(int& width, int& height) {
    SDL_DisplayMode mode{};
    if (!Start() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
    width = mode.w;
    height = mode.h;
    return true;
}

void CaptureMouse(bool capture) {
    // Fails harmlessly on the offscreen driver or without focus.
    if (ready) SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

uint16_t Modifiers() { return ModifiersOf(static_cast<uint16_t>(SDL_GetModState())); }

void TakeEvents(bool readDisplay, std::vector<Event>& out) {
    if (!ready) return;
    if (readDisplay) {
        SDL_PumpEvents();
    } else if (!eventsMayWait.load(std::memory_order_acquire)) {
        return;  // nothing pushed since the queue was last emptied
    }
    // Cleared before the queue is emptied: an event pushed meanwhile sets it
    // again. (Reading the display looks at the queue whatever this says, so
    // an event another thread pushes just after is taken a tick later at
    // the latest.)
    eventsMayWait.store(false, std::memory_order_release);
    SDL_Event events[32];
    int count;
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
        for (int i = 0; i < count; ++i) {
            Event e;
            if (Translate(events[i], e)) out.push_back(e);
        }
    }
}

void WaitForEvent(int timeoutMs) {
    if (timeoutMs >= 0) {
        SDL_WaitEventTimeout(nullptr, timeoutMs);
    } else {
        SDL_WaitEvent(nullptr);
    }
}

int EventFd() { return x11::ConnectionFd(); }

bool ShowMessageBox(MessageKind kind, const char* title, const char* text, uint32_t owner) {
    // SDL shows the box from a child process and waits for it.
    x11::WindowsKeptShown kept;
    Uint32 flags = kind == MessageKind::Error     ? SDL_MESSAGEBOX_ERROR
                   : kind == MessageKind::Warning ? SDL_MESSAGEBOX_WARNING
                                                  : SDL_MESSAGEBOX_INFORMATION;
    return SDL_ShowSimpleMessageBox(flags, title, text, owner ? SDL_GetWindowFromID(owner) : nullptr) == 0;
}

}  // namespace display
}  // namespace platform
