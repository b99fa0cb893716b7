// window.cpp - the window service (USER): window classes, top-level windows
// shown through SDL2, the thread's message queue fed from SDL's events,
// keyboard translation, mouse capture, message boxes, and the presentation
// of each window's client-area surface on the screen.
//
// Display. Windows are real SDL windows wherever a display exists. Without
// one (no DISPLAY or WAYLAND_DISPLAY, or SDL cannot open it) the service
// uses SDL's offscreen driver and says so once on stderr; an explicit
// SDL_VIDEODRIVER is always obeyed.
//
// Frame metrics. A captioned window has a 1-pixel border on every side and a
// 22-pixel caption bar. GetSystemMetrics answers SM_CXEDGE = SM_CYEDGE = 2
// (both borders of one direction) and SM_CYCAPTION = 23 (caption bar plus
// one pixel), so an outer size of width + SM_CXEDGE by height + SM_CYCAPTION
// + SM_CYEDGE - 1 leaves a client area of exactly width by height. The SDL
// window is the client area; the window manager draws its own decorations.
//
// Messages. SDL events become the messages Windows would post, addressed to
// their window: key-downs and key-ups with virtual-key codes (F10 and keys
// pressed with Alt, without Ctrl, as system keys), mouse moves and button
// presses and releases in client coordinates, and WM_CLOSE for the close
// box. Posted messages (WM_CLOSE, the characters TranslateMessage makes and
// whatever PostMessageA posts) are retrieved before input messages, as on Windows. The key state that
// TranslateMessage reads (Shift, Ctrl, Caps Lock) follows the key messages
// as they are retrieved. Characters follow the US keyboard layout; bits
// 16-23 of a key message's lParam (the scan code) are 0.
//
// Mouse routing. Mouse input goes to the capture window if there is one;
// while a button pressed in a window is held it stays with that window
// (the implicit grab of X11); otherwise it goes to the window under the
// pointer and is dropped outside every client area.
//
// Presentation. Each window owns a Surface for its client area, first
// filled with the class background brush. PresentFrame copies it to the SDL
// window at once, paced to GRAPHICS_FPS frames a second (default 60, 0 =
// unpaced) by the clock; the window surface has no vsync to follow. Drawing
// reported with NoteDrawn is shown by the next PeekMessageA, WaitMessage or
// Sleep, at most about 60 times a second.
#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <time.h>
#include <vector>

#include <windows.h>

#include "gdi_internal.h"
#include "gdi_service.h"
#include "platform_display.h"
#include "platform_faults.h"
#include "surface.h"
#include "window_service.h"

namespace {

constexpr int kFrameBorder = 1;  // every side of a framed window
constexpr int kCaptionBar = 22;  // height of the caption bar

constexpr WPARAM kVkClear = 0x0C;     // keypad 5 without Num Lock
constexpr WPARAM kVkNumLock = 0x90;
constexpr WPARAM kVkF4 = VK_F1 + 3;
constexpr UINT kMkMButton = 0x0010;

constexpr uint64_t kPromptPresentNs = 16'000'000;  // NoteDrawn: at most ~60 a second

uint64_t NowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

void SleepNs(uint64_t ns) {
    timespec ts{static_cast<time_t>(ns / 1'000'000'000u), static_cast<long>(ns % 1'000'000'000u)};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

// Window texts are ANSI (Latin-1 here); SDL wants UTF-8.
std::string Utf8FromAnsi(const char* text) {
    std::string out;
    if (!text) return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 0x80) {
            out += static_cast<char>(*p);
        } else {
            out += static_cast<char>(0xC0 | (*p >> 6));
            out += static_cast<char>(0x80 | (*p & 0x3F));
        }
    }
    return out;
}

bool SameClassName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y)) return false;
    }
    return true;
}

struct SdlWindowCloser {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
};

struct Window {
    HWND handle = nullptr;
    WNDPROC proc = nullptr;
    std::string title;
    DWORD style = 0;
    RECT outer{};             // screen coordinates of the whole window
    int border = 0;           // frame width on every side
    int caption = 0;          // caption bar height
    std::unique_ptr<SDL_Window, SdlWindowCloser> sdl;
    uint32_t sdlId = 0;
    platform::Surface client;
    bool visible = false;
    bool destroying = false;
    bool dirty = false;
    uint64_t lastPresentNs = 0;
    uint64_t nextFrameNs = 0;  // when PresentFrame may show the next frame

    int ClientLeft() const { return outer.left + border; }
    int ClientTop() const { return outer.top + border + caption; }
};

struct Queued {
    MSG msg;
    uint64_t seq;
    uint16_t modifiers = 0;  // key messages: SDL's Shift/Ctrl/Alt/Caps Lock state with the key
};

struct Service {
    bool videoTried = false;
    bool videoReady = false;
    bool offscreen = false;
    bool displayAbsent = false;  // offscreen because no display exists
    std::vector<WindowClass> classes;
    ATOM nextAtom = 0xC000;
    std::map<HWND, std::unique_ptr<Window>> windows;
    uintptr_t nextHandle = 0x10000;
    std::deque<Queued> posted;  // PostMessage-style: WM_CLOSE, translated characters
    std::deque<Queued> input;   // keyboard and mouse
    uint64_t nextSeq = 1;
    uint64_t seenSeq = 0;       // every message below this was there at the last peek
    uint64_t lastPumpNs = 0;
    HWND capture = nullptr;
    HWND grab = nullptr;        // window a held button was pressed in
    uint32_t heldButtons = 0;   // SDL button mask
    POINT cursor{0, 0};         // last pointer position seen, screen coordinates
    uint16_t keyModifiers = 0;  // with the key message retrieved last
};

Service& TheService() {
    static Service service;
    return service;
}

Window* FindWindow(HWND hwnd) {
    auto& windows = TheService().windows;
    auto it = windows.find(hwnd);
    return it == windows.end() ? nullptr : it->second.get();
}

Window* FindBySdlId(uint32_t id) {
    for (auto& entry : TheService().windows)
        if (entry.second->sdlId == id) return entry.second.get();
    return nullptr;
}

// ---------------------------------------------------------------- video

bool EnsureVideo() {
    Service& s = TheService();
    if (s.videoTried) return s.videoReady;
    s.videoTried = true;
    // Ctrl+C must end the program as usual, not become an SDL quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A click that activates a window is also a click in it, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Window surfaces are plain memory copied to the display (X11 shared
    // memory, say), not textures of an OpenGL renderer: no GL stack to load.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    bool explicitDriver = chosen && *chosen;
    bool haveDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    bool ok = false;
    if (explicitDriver || haveDisplay) ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!ok && !explicitDriver) {
        std::fprintf(stderr, "graphics: no display available; windows are drawn offscreen\n");
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    if (!ok) {
        std::fprintf(stderr, "graphics: cannot start SDL video: %s\n", SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    s.offscreen = driver && std::strcmp(driver, "offscreen") == 0;
    s.displayAbsent = s.offscreen && !explicitDriver;
    SDL_StopTextInput();  // characters come from TranslateMessage
    s.videoReady = true;
    return true;
}

// ---------------------------------------------------------------- presentation

void Present(Window& w) {
    w.dirty = false;
    w.lastPresentNs = NowNs();
    if (!w.sdl || !w.visible || w.client.width == 0 || w.client.height == 0) return;
    SDL_Surface* target = SDL_GetWindowSurface(w.sdl.get());
    if (!target) return;
    int width = std::min(w.client.width, target->w);
    int height = std::min(w.client.height, target->h);
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGB888, w.client.pixels.data(),
                      w.client.width * 4, target->format->format, target->pixels, target->pitch);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    SDL_UpdateWindowSurface(w.sdl.get());
}

// Shows dirty windows: all of them with `force`, else those last shown at
// least kPromptPresentNs ago. Returns the nanoseconds until the next dirty
// window is due, or 0 when none waits.
uint64_t PresentDirty(bool force) {
    uint64_t now = NowNs();
    uint64_t nextDue = 0;
    for (auto& entry : TheService().windows) {
        Window& w = *entry.second;
        if (!w.dirty) continue;
        uint64_t due = w.lastPresentNs + kPromptPresentNs;
        if (force || now >= due) {
            Present(w);
        } else if (nextDue == 0 || due - now < nextDue) {
            nextDue = due - now;
        }
    }
    return nextDue;
}

int FrameRate() {
    const char* text = std::getenv("GRAPHICS_FPS");
    if (!text || !*text) return 60;
    char* end = nullptr;
    long fps = std::strtol(text, &end, 10);
    if (*end != '\0' || fps < 0) return 60;
    return static_cast<int>(std::min(fps, 1000L));
}

// ---------------------------------------------------------------- message queue

void Post(std::deque<Queued>& queue, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
          uint16_t modifiers = 0) {
    Service& s = TheService();
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = timeGetTime();
    msg.pt = s.cursor;
    queue.push_back(Queued{msg, s.nextSeq++, modifiers});
}

// Virtual-key code of an SDL key, 0 for keys Windows programs never see.
WPARAM VirtualKey(const SDL_Keysym& key) {
    SDL_Keycode sym = key.sym;
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return VK_F1 + (sym - SDLK_F1);
    bool numLock = (key.mod & KMOD_NUM) != 0;
    switch (sym) {
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR: return kVkNumLock;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_KP_ENTER: return VK_RETURN;
    // The keypad is a digit pad with Num Lock and a navigation pad without.
    case SDLK_KP_0: return numLock ? VK_NUMPAD0 + 0 : VK_INSERT;
    case SDLK_KP_1: return numLock ? VK_NUMPAD0 + 1 : VK_END;
    case SDLK_KP_2: return numLock ? VK_NUMPAD0 + 2 : VK_DOWN;
    case SDLK_KP_3: return numLock ? VK_NUMPAD0 + 3 : VK_NEXT;
    case SDLK_KP_4: return numLock ? VK_NUMPAD0 + 4 : VK_LEFT;
    case SDLK_KP_5: return numLock ? VK_NUMPAD0 + 5 : kVkClear;
    case SDLK_KP_6: return numLock ? VK_NUMPAD0 + 6 : VK_RIGHT;
    case SDLK_KP_7: return numLock ? VK_NUMPAD0 + 7 : VK_HOME;
    case SDLK_KP_8: return numLock ? VK_NUMPAD0 + 8 : VK_UP;
    case SDLK_KP_9: return numLock ? VK_NUMPAD0 + 9 : VK_PRIOR;
    case SDLK_KP_PERIOD: return numLock ? VK_DECIMAL : VK_DELETE;
    default: return 0;
    }
}

void TranslateKey(const SDL_KeyboardEvent& e) {
    Service& s = TheService();
    Window* w = e.windowID ? FindBySdlId(e.windowID) : nullptr;
    if (!w) {
        SDL_Window* focus = SDL_GetKeyboardFocus();
        w = focus ? FindBySdlId(SDL_GetWindowID(focus)) : nullptr;
    }
    WPARAM vk = VirtualKey(e.keysym);
    if (!w || vk == 0) return;
    bool down = e.type == SDL_KEYDOWN;
    bool alt = (e.keysym.mod & KMOD_ALT) != 0;
    bool ctrl = (e.keysym.mod & KMOD_CTRL) != 0;
    // Alt with Ctrl is AltGr: ordinary keys. F10 and Alt itself are system keys.
    bool system = vk == VK_F10 || vk == VK_MENU || (alt && !ctrl);
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1;
    if (alt) lParam |= LPARAM{1} << 29;
    if (!down || e.repeat) lParam |= LPARAM{1} << 30;
    if (!down) lParam |= static_cast<LPARAM>(uint32_t{1} << 31);
    Post(s.input, w->handle, message, vk, lParam, e.keysym.mod);
}

WPARAM MouseKeys(uint32_t buttons) {
    WPARAM keys = 0;
    if (buttons & SDL_BUTTON_LMASK) keys |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK) keys |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK) keys |= kMkMButton;
    SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) keys |= MK_SHIFT;
    if (mod & KMOD_CTRL) keys |= MK_CONTROL;
    return keys;
}

// Sends one mouse message for a position (x, y) in the client area of the
// SDL event's window `from` to the window that should get it.
void RouteMouse(UINT message, Window* from, int x, int y, uint32_t buttonsAfter) {
    Service& s = TheService();
    Window* target = nullptr;
    bool held = false;  // captured or grabbed: positions outside count too
    if (s.capture && FindWindow(s.capture)) {
        target = FindWindow(s.capture);
        held = true;
    } else if (s.grab && FindWindow(s.grab)) {
        target = FindWindow(s.grab);
        held = true;
    } else {
        target = from;
    }
    if (from) s.cursor = POINT{from->ClientLeft() + x, from->ClientTop() + y};
    if (!target) return;
    if (from && target != from) {
        x = from->ClientLeft() + x - target->ClientLeft();
        y = from->ClientTop() + y - target->ClientTop();
    }
    if (!held && (x < 0 || y < 0 || x >= target->client.width || y >= target->client.height)) return;
    Post(s.input, target->handle, message, MouseKeys(buttonsAfter),
         MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

void TranslateButton(const SDL_MouseButtonEvent& e) {
    Service& s = TheService();
    uint32_t mask = SDL_BUTTON(e.button);
    bool down = e.type == SDL_MOUSEBUTTONDOWN;
    UINT message;
    switch (e.button) {
    case SDL_BUTTON_LEFT: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    case SDL_BUTTON_RIGHT: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
    case SDL_BUTTON_MIDDLE: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    default: return;
    }
    Window* from = FindBySdlId(e.windowID);
    if (down) {
        if (s.heldButtons == 0) s.grab = from ? from->handle : nullptr;
        s.heldButtons |= mask;
        RouteMouse(message, from, e.x, e.y, s.heldButtons);
    } else {
        s.heldButtons &= ~mask;
        RouteMouse(message, from, e.x, e.y, s.heldButtons);
        if (s.heldButtons == 0) s.grab = nullptr;
    }
}

void TranslateEvent(const SDL_Event& e) {
    Service& s = TheService();
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(e.key);
        break;
    case SDL_MOUSEMOTION:
        RouteMouse(WM_MOUSEMOVE, FindBySdlId(e.motion.windowID), e.motion.x, e.motion.y, s.heldButtons);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(e.button);
        break;
    case SDL_MOUSEWHEEL:
        if (Window* w = FindBySdlId(e.wheel.windowID)) {
            int delta = e.wheel.y * 120;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
            Post(s.input, w->handle, WM_MOUSEWHEEL,
                 (static_cast<WPARAM>(static_cast<WORD>(delta)) << 16) | MouseKeys(s.heldButtons),
                 MAKELPARAM(static_cast<WORD>(s.cursor.x), static_cast<WORD>(s.cursor.y)));
        }
        break;
    case SDL_WINDOWEVENT:
        if (Window* w = FindBySdlId(e.window.windowID)) {
            switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                Post(s.posted, w->handle, WM_CLOSE, 0, 0);
                break;
            case SDL_WINDOWEVENT_MOVED: {
                int width = w->outer.right - w->outer.left;
                int height = w->outer.bottom - w->outer.top;
                w->outer.left = e.window.data1 - w->border;
                w->outer.top = e.window.data2 - w->border - w->caption;
                w->outer.right = w->outer.left + width;
                w->outer.bottom = w->outer.top + height;
                break;
            }
            case SDL_WINDOWEVENT_EXPOSED:
                w->dirty = true;  // the surface keeps the picture: show it again
                w->lastPresentNs = 0;
                break;
            default:
                break;
            }
        }
        break;
    default:
        break;  // text input, quit requests (the close box is enough) and the rest
    }
}

// Moves SDL's pending events into the message queues. SDL is asked to read
// the display at most once a millisecond, since every library operation
// peeks; events already in SDL's queue are taken every time.
void PumpInput(bool forceRead) {
    Service& s = TheService();
    if (!s.videoReady) return;
    uint64_t now = NowNs();
    if (forceRead || now - s.lastPumpNs >= 1'000'000) {
        s.lastPumpNs = now;
        SDL_PumpEvents();
    }
    SDL_Event events[32];
    int count;
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
        for (int i = 0; i < count; ++i) TranslateEvent(events[i]);
}

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (hwnd == reinterpret_cast<HWND>(-1)) {
        if (msg.hwnd) return false;
    } else if (hwnd && msg.hwnd != hwnd) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

// The key state that TranslateMessage reads is the one that came with the
// key message retrieved last: keys typed ahead translate with the modifiers
// held when they were typed, as Windows' per-thread key state gives.
void NoteRetrieved(const Queued& q) {
    UINT m = q.msg.message;
    if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN || m == WM_KEYUP || m == WM_SYSKEYUP)
        TheService().keyModifiers = q.modifiers;
}

// The character a key-down gives with the current key state (US layout),
// or 0.
int CharacterFor(WPARAM vk) {
    Service& s = TheService();
    uint16_t mods = s.keyModifiers;
    bool shift = (mods & KMOD_SHIFT) != 0;
    bool capsLock = (mods & KMOD_CAPS) != 0;
    bool ctrl = (mods & KMOD_CTRL) != 0 && (mods & KMOD_ALT) == 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return static_cast<int>(vk - 'A' + 1);
        return static_cast<int>(shift != capsLock ? vk : vk - 'A' + 'a');
    }
    if (ctrl) {
        if (vk == VK_OEM_4) return 27;
        if (vk == VK_OEM_5) return 28;
        if (vk == VK_OEM_6) return 29;
    }
    if (vk >= '0' && vk <= '9') {
        if (ctrl) return 0;
        static const char shifted[] = ")!@#$%^&*(";
        return shift ? shifted[vk - '0'] : static_cast<int>(vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return static_cast<int>('0' + (vk - VK_NUMPAD0));
    struct Punctuation {
        WPARAM vk;
        char plain;
        char withShift;
    };
    static const Punctuation table[] = {
        {VK_SPACE, ' ', ' '},     {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'},
        {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},  {VK_OEM_PERIOD, '.', '>'},
        {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},      {VK_OEM_4, '[', '{'},
        {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},      {VK_OEM_7, '\'', '"'},
        {VK_MULTIPLY, '*', '*'},  {VK_ADD, '+', '+'},        {VK_SUBTRACT, '-', '-'},
        {VK_DECIMAL, '.', '.'},   {VK_DIVIDE, '/', '/'},     {VK_ESCAPE, 27, 27},
        {VK_RETURN, 13, 13},      {VK_BACK, 8, 8},           {VK_TAB, 9, 9},
    };
    for (const Punctuation& p : table)
        if (p.vk == vk) return static_cast<unsigned char>(shift ? p.withShift : p.plain);
    return 0;
}

}  // namespace

// ================================================================ window service

namespace platform {

Surface* ClientSurface(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && !w->destroying ? &w->client : nullptr;
}

void NoteDrawn(HWND hwnd) {
    if (Window* w = FindWindow(hwnd)) w->dirty = true;
}

void PresentFrame(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w) return;
    int fps = FrameRate();
    if (fps > 0) {
        uint64_t period = 1'000'000'000u / static_cast<uint64_t>(fps);
        uint64_t now = NowNs();
        uint64_t due = w->nextFrameNs;
        if (now < due) {
            SleepNs(due - now);
            now = due;
        }
        // Keep the cadence while on time; after a late frame start afresh.
        w->nextFrameNs = now - due < period ? due + period : now + period;
    }
    Present(*w);
}

void PresentDirtyWindows() { PresentDirty(true); }

uint32_t SdlWindowId(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w ? w->sdlId : 0;
}

}  // namespace platform

// ================================================================ USER

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (platform_faults::ShouldFail("GetModuleHandleA")) return nullptr;
    // Only the program's own module is known; any value works as long as it
    // is stable and not null.
    if (moduleName) return nullptr;
    static int image;
    return reinterpret_cast<HMODULE>(&image);
}

ATOM RegisterClassA(const WNDCLASSA* wndClass) {
    if (platform_faults::ShouldFail("RegisterClassA")) return 0;
    if (!wndClass || !wndClass->lpszClassName || !wndClass->lpfnWndProc) return 0;
    Service& s = TheService();
    for (const WindowClass& c : s.classes)
        if (SameClassName(c.name, wndClass->lpszClassName)) return 0;  // already registered
    WindowClass c;
    c.name = wndClass->lpszClassName;
    c.proc = wndClass->lpfnWndProc;
    c.background = wndClass->hbrBackground;
    c.atom = s.nextAtom++;
    s.classes.push_back(c);
    return c.atom;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE, LPVOID) {
    if (platform_faults::ShouldFail("CreateWindowExA")) return nullptr;
    Service& s = TheService();
    if (!className) return nullptr;
    const WindowClass* cls = nullptr;
    for (const WindowClass& c : s.classes)
        if (SameClassName(c.name, className)) cls = &c;
    if (!cls || !EnsureVideo()) return nullptr;

    auto w = std::make_unique<Window>();
    w->proc = cls->proc;
    w->title = windowName ? windowName : "";
    w->style = style;
    w->caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionBar : 0;
    w->border = (style & (WS_BORDER | WS_THICKFRAME)) ? kFrameBorder : 0;
    w->outer = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    int clientWidth = std::max(0, width - 2 * w->border);
    int clientHeight = std::max(0, height - 2 * w->border - w->caption);

    uint32_t background = 0xFFFFFF;
    if (const platform::Brush* brush = platform::LookupBrush(cls->background))
        if (!brush->hollow) background = platform::PixelFromColorref(brush->color);
    w->client = platform::Surface(clientWidth, clientHeight, background);

    w->sdl.reset(SDL_CreateWindow(Utf8FromAnsi(w->title.c_str()).c_str(), w->ClientLeft(), w->ClientTop(),
                                  std::max(clientWidth, 1), std::max(clientHeight, 1), SDL_WINDOW_HIDDEN));
    if (!w->sdl) return nullptr;
    w->sdlId = SDL_GetWindowID(w->sdl.get());
    w->handle = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 0x10;
    HWND hwnd = w->handle;
    WNDPROC proc = w->proc;
    s.windows[hwnd] = std::move(w);

    if (proc(hwnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if ((style & WS_VISIBLE) && FindWindow(hwnd)) ShowWindow(hwnd, SW_SHOW);
    return FindWindow(hwnd) ? hwnd : nullptr;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    Window* w = FindWindow(hwnd);
    if (!w) return FALSE;
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    if (cmdShow == SW_HIDE) {
        SDL_HideWindow(w->sdl.get());
        w->visible = false;
    } else if (!w->visible) {
        SDL_ShowWindow(w->sdl.get());
        w->visible = true;
        Present(*w);
    }
    return wasVisible;
}

BOOL DestroyWindow(HWND hwnd) {
    if (platform_faults::ShouldFail("DestroyWindow")) return FALSE;
    Service& s = TheService();
    Window* w = FindWindow(hwnd);
    if (!w) return FALSE;
    if (w->destroying) return TRUE;
    w->destroying = true;
    w->proc(hwnd, WM_DESTROY, 0, 0);
    if (s.capture == hwnd) ReleaseCapture();
    if (s.grab == hwnd) s.grab = nullptr;
    // Its messages go with it.
    auto addressed = [hwnd](const Queued& q) { return q.msg.hwnd == hwnd; };
    s.posted.erase(std::remove_if(s.posted.begin(), s.posted.end(), addressed), s.posted.end());
    s.input.erase(std::remove_if(s.input.begin(), s.input.end(), addressed), s.input.end());
    s.windows.erase(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && !w->destroying ? TRUE : FALSE;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (platform_faults::ShouldFail("SetWindowTextA")) return FALSE;
    Window* w = FindWindow(hwnd);
    if (!w) return FALSE;
    w->title = text ? text : "";
    SDL_SetWindowTitle(w->sdl.get(), Utf8FromAnsi(w->title.c_str()).c_str());
    return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
    if (platform_faults::ShouldFail("GetWindowTextA")) return 0;
    Window* w = FindWindow(hwnd);
    if (!w || !text || maxCount <= 0) return 0;
    size_t count = std::min(w->title.size(), static_cast<size_t>(maxCount - 1));
    std::memcpy(text, w->title.data(), count);
    text[count] = '\0';
    return static_cast<int>(count);
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    if (platform_faults::ShouldFail("GetClientRect")) return FALSE;
    Window* w = FindWindow(hwnd);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->client.width, w->client.height};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    if (platform_faults::ShouldFail("GetWindowRect")) return FALSE;
    Window* w = FindWindow(hwnd);
    if (!w || !rect) return FALSE;
    *rect = w->outer;
    return TRUE;
}

int GetSystemMetrics(int index) {
    if (platform_faults::ShouldFail("GetSystemMetrics")) return 0;
    switch (index) {
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2 * kFrameBorder;
    case SM_CYCAPTION:
        return kCaptionBar + 1;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
        return kFrameBorder;
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        SDL_DisplayMode mode{};
        if (!EnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
        return index == SM_CXSCREEN ? mode.w : mode.h;
    }
    default:
        return 0;
    }
}

HDC GetDC(HWND hwnd) {
    if (platform_faults::ShouldFail("GetDC")) return nullptr;
    if (hwnd && !IsWindow(hwnd)) return nullptr;
    return platform::CreateWindowDC(hwnd);
}

int ReleaseDC(HWND hwnd, HDC dc) {
    if (platform_faults::ShouldFail("ReleaseDC")) return 0;
    return platform::ReleaseWindowDC(hwnd, dc);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    if (platform_faults::ShouldFail("LoadCursorA")) return nullptr;
    // Only the system's predefined cursors exist; SDL shows its arrow.
    uintptr_t id = reinterpret_cast<uintptr_t>(cursorName);
    if (instance || id < 32512 || id > 32651) return nullptr;
    return reinterpret_cast<HCURSOR>(id);
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (platform_faults::ShouldFail("PeekMessageA")) return FALSE;
    Service& s = TheService();
    PumpInput(false);
    PresentDirty(false);
    s.seenSeq = s.nextSeq;
    if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !FindWindow(hwnd)) return FALSE;
    for (std::deque<Queued>* queue : {&s.posted, &s.input}) {
        for (auto it = queue->begin(); it != queue->end(); ++it) {
            if (!Matches(it->msg, hwnd, filterMin, filterMax)) continue;
            MSG found = it->msg;
            if (removeMsg & PM_REMOVE) {
                NoteRetrieved(*it);
                queue->erase(it);
            }
            if (msg) *msg = found;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (platform_faults::ShouldFail("PostMessageA")) return FALSE;
    // Only window messages: thread messages (no window) are not kept.
    if (!IsWindow(hwnd)) return FALSE;
    Post(TheService().posted, hwnd, message, wParam, lParam);
    return TRUE;
}

BOOL WaitMessage(void) {
    if (platform_faults::ShouldFail("WaitMessage")) return FALSE;
    Service& s = TheService();
    if (!s.videoReady) return FALSE;  // no window, nothing could ever arrive
    for (;;) {
        PumpInput(true);
        if (s.nextSeq > s.seenSeq) return TRUE;  // something arrived since the last peek
        uint64_t dueNs = PresentDirty(false);
        if (dueNs > 0) {
            SDL_WaitEventTimeout(nullptr, static_cast<int>(dueNs / 1'000'000u) + 1);
        } else {
            SDL_WaitEvent(nullptr);
        }
    }
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg) return FALSE;
    bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    bool keyMessage = keyDown || msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    if (!keyMessage) return FALSE;
    if (keyDown) {
        int ch = CharacterFor(msg->wParam);
        if (ch != 0)
            Post(TheService().posted, msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                 static_cast<WPARAM>(ch), msg->lParam);
    }
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    Window* w = FindWindow(msg->hwnd);
    if (!w) return 0;
    return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes the window, as the system menu's Close does.
        if (wParam == kVkF4 && (lParam & (LPARAM{1} << 29))) {
            if (Window* w = FindWindow(hwnd)) w->proc(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    default:
        return 0;
    }
}

HWND SetCapture(HWND hwnd) {
    Service& s = TheService();
    HWND previous = s.capture;
    if (!FindWindow(hwnd)) return previous;
    s.capture = hwnd;
    // Asks the display for the pointer too; fails harmlessly on the offscreen
    // driver or without focus, where the grab above still routes the release.
    SDL_CaptureMouse(SDL_TRUE);
    return previous;
}

BOOL ReleaseCapture(void) {
    if (platform_faults::ShouldFail("ReleaseCapture")) return FALSE;
    Service& s = TheService();
    if (s.capture) {
        s.capture = nullptr;
        if (s.videoReady) SDL_CaptureMouse(SDL_FALSE);
    }
    return TRUE;
}

HWND GetCapture(void) { return TheService().capture; }

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (platform_faults::ShouldFail("MessageBoxA")) return 0;
    const char* title = caption ? caption : "Error";
    const char* body = text ? text : "";
    Service& s = TheService();
    if (EnsureVideo() && !s.offscreen) {
        Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
        if ((type & 0xF0) == MB_ICONERROR) flags = SDL_MESSAGEBOX_ERROR;
        if ((type & 0xF0) == MB_ICONWARNING) flags = SDL_MESSAGEBOX_WARNING;
        Window* w = FindWindow(owner);
        if (SDL_ShowSimpleMessageBox(flags, Utf8FromAnsi(title).c_str(), Utf8FromAnsi(body).c_str(),
                                     w ? w->sdl.get() : nullptr) == 0)
            return IDOK;
    }
    // Nobody can see a box: the message goes to the error stream instead.
    std::fprintf(stderr, "%s: %s\n", title, body);
    std::fflush(stderr);
    return IDOK;
}

bool PlatformDisplayIsAbsent() { return TheService().displayAbsent; }
