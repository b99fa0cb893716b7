// input_injection.h - feeds real keyboard and mouse input to a window in
// tests. Keys are named by their Win32 virtual-key codes ('A', '7', VK_ESCAPE,
// VK_F1 + n...), mouse positions are client coordinates (negative ones lie
// left of or above the window), buttons are 0 (left) and 1 (right).
//
// On Linux the input enters where the display's input enters: as SDL events
// on SDL's event queue, which the platform turns into window messages. On
// Windows it is posted as the messages Windows itself posts for that input.
#ifndef TESTS_SUPPORT_INPUT_INJECTION_H
#define TESTS_SUPPORT_INPUT_INJECTION_H

#include <windows.h>

#ifndef _WIN32
#include <SDL.h>

#include <cstdint>

namespace platform {
// The window service's own lookup (platform/src/window_service.h): with the
// SDL backend, the SDL window id behind a live window, 0 for none.
uint32_t DisplayWindowId(HWND hwnd);
}  // namespace platform
#endif

namespace inject {

#ifndef _WIN32

namespace detail {

struct KeyName {
    int vk;
    SDL_Keycode sym;
    SDL_Scancode scancode;
};

inline const KeyName* Lookup(int vk) {
    static const KeyName names[] = {
        {VK_ESCAPE, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE},   {VK_RETURN, SDLK_RETURN, SDL_SCANCODE_RETURN},
        {VK_BACK, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE}, {VK_TAB, SDLK_TAB, SDL_SCANCODE_TAB},
        {VK_SPACE, SDLK_SPACE, SDL_SCANCODE_SPACE},      {VK_SHIFT, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT},
        {VK_CONTROL, SDLK_LCTRL, SDL_SCANCODE_LCTRL},    {VK_MENU, SDLK_LALT, SDL_SCANCODE_LALT},
        {VK_CAPITAL, SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK}, {VK_PRIOR, SDLK_PAGEUP, SDL_SCANCODE_PAGEUP},
        {VK_NEXT, SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN}, {VK_END, SDLK_END, SDL_SCANCODE_END},
        {VK_HOME, SDLK_HOME, SDL_SCANCODE_HOME},         {VK_LEFT, SDLK_LEFT, SDL_SCANCODE_LEFT},
        {VK_UP, SDLK_UP, SDL_SCANCODE_UP},               {VK_RIGHT, SDLK_RIGHT, SDL_SCANCODE_RIGHT},
        {VK_DOWN, SDLK_DOWN, SDL_SCANCODE_DOWN},         {VK_INSERT, SDLK_INSERT, SDL_SCANCODE_INSERT},
        {VK_DELETE, SDLK_DELETE, SDL_SCANCODE_DELETE},   {VK_OEM_1, SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON},
        {VK_OEM_PLUS, SDLK_EQUALS, SDL_SCANCODE_EQUALS}, {VK_OEM_COMMA, SDLK_COMMA, SDL_SCANCODE_COMMA},
        {VK_OEM_MINUS, SDLK_MINUS, SDL_SCANCODE_MINUS},  {VK_OEM_PERIOD, SDLK_PERIOD, SDL_SCANCODE_PERIOD},
        {VK_OEM_2, SDLK_SLASH, SDL_SCANCODE_SLASH},      {VK_OEM_3, SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE},
        {VK_OEM_4, SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET},
        {VK_OEM_5, SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH},
        {VK_OEM_6, SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET},
        {VK_OEM_7, SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE},
    };
    for (const KeyName& name : names)
        if (name.vk == vk) return &name;
    return nullptr;
}

// The modifiers held down so far, as the display reports them with each key.
inline uint16_t& Modifiers() {
    static uint16_t mods = 0;
    return mods;
}

inline bool Resolve(int vk, SDL_Keysym& key) {
    key = SDL_Keysym{};
    if (vk >= 'A' && vk <= 'Z') {
        key.sym = SDLK_a + (vk - 'A');
        key.scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (vk - 'A'));
    } else if (vk >= '0' && vk <= '9') {
        key.sym = SDLK_0 + (vk - '0');
        key.scancode = vk == '0' ? SDL_SCANCODE_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (vk - '1'));
    } else if (vk >= VK_F1 && vk <= VK_F12) {
        key.sym = SDLK_F1 + (vk - VK_F1);
        key.scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (vk - VK_F1));
    } else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
        // Keypad digits: the keypad keys with Num Lock on.
        static const SDL_Keycode pad[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                          SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
        key.sym = pad[vk - VK_NUMPAD0];
        key.scancode = SDL_GetScancodeFromKey(key.sym);
        key.mod = KMOD_NUM;
    } else if (const KeyName* name = Lookup(vk)) {
        key.sym = name->sym;
        key.scancode = name->scancode;
    } else {
        return false;
    }
    key.mod = static_cast<uint16_t>(key.mod | Modifiers());
    return true;
}

inline uint16_t ModifierOf(int vk) {
    switch (vk) {
    case VK_SHIFT: return KMOD_LSHIFT;
    case VK_CONTROL: return KMOD_LCTRL;
    case VK_MENU: return KMOD_LALT;
    default: return 0;
    }
}

inline void PushKey(HWND hwnd, int vk, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.timestamp = SDL_GetTicks();
    event.key.windowID = platform::DisplayWindowId(hwnd);
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    if (!Resolve(vk, event.key.keysym)) return;
    SDL_PushEvent(&event);
}

inline uint32_t& HeldButtons() {
    static uint32_t held = 0;
    return held;
}

inline void PushButton(HWND hwnd, int button, int x, int y, bool down) {
    uint8_t sdlButton = button == 0 ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    if (down) {
        HeldButtons() |= SDL_BUTTON(sdlButton);
    } else {
        HeldButtons() &= ~SDL_BUTTON(sdlButton);
    }
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.timestamp = SDL_GetTicks();
    event.button.windowID = platform::DisplayWindowId(hwnd);
    event.button.button = sdlButton;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
}

}  // namespace detail

inline void KeyDown(HWND hwnd, int vk) {
    detail::PushKey(hwnd, vk, true);
    detail::Modifiers() = static_cast<uint16_t>(detail::Modifiers() | detail::ModifierOf(vk));
    if (vk == VK_CAPITAL) detail::Modifiers() = static_cast<uint16_t>(detail::Modifiers() ^ KMOD_CAPS);
}

inline void KeyUp(HWND hwnd, int vk) {
    detail::Modifiers() = static_cast<uint16_t>(detail::Modifiers() & ~detail::ModifierOf(vk));
    detail::PushKey(hwnd, vk, false);
}

inline void MouseMove(HWND hwnd, int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.timestamp = SDL_GetTicks();
    event.motion.windowID = platform::DisplayWindowId(hwnd);
    event.motion.state = detail::HeldButtons();
    event.motion.x = x;
    event.motion.y = y;
    SDL_PushEvent(&event);
}

inline void ButtonDown(HWND hwnd, int button, int x, int y) { detail::PushButton(hwnd, button, x, y, true); }
inline void ButtonUp(HWND hwnd, int button, int x, int y) { detail::PushButton(hwnd, button, x, y, false); }

// The close box.
inline void Close(HWND hwnd) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.timestamp = SDL_GetTicks();
    event.window.windowID = platform::DisplayWindowId(hwnd);
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&event);
}

#else  // _WIN32

namespace detail {

inline LPARAM KeyParam(int vk, bool down) {
    LPARAM param = 1 | (static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC)) << 16);
    if (!down) param |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    return param;
}

inline bool& AltHeld() {
    static bool held = false;
    return held;
}

inline WPARAM& HeldButtons() {
    static WPARAM held = 0;
    return held;
}

}  // namespace detail

inline void KeyDown(HWND hwnd, int vk) {
    bool system = vk == VK_F10 || vk == VK_MENU || detail::AltHeld();
    LPARAM param = detail::KeyParam(vk, true) | (detail::AltHeld() ? (LPARAM{1} << 29) : 0);
    PostMessageA(hwnd, system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), param);
    if (vk == VK_MENU) detail::AltHeld() = true;
}

inline void KeyUp(HWND hwnd, int vk) {
    if (vk == VK_MENU) detail::AltHeld() = false;
    bool system = vk == VK_F10 || vk == VK_MENU || detail::AltHeld();
    PostMessageA(hwnd, system ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), detail::KeyParam(vk, false));
}

inline LPARAM MousePosition(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

inline void MouseMove(HWND hwnd, int x, int y) {
    PostMessageA(hwnd, WM_MOUSEMOVE, detail::HeldButtons(), MousePosition(x, y));
}

inline void ButtonDown(HWND hwnd, int button, int x, int y) {
    detail::HeldButtons() |= button == 0 ? MK_LBUTTON : MK_RBUTTON;
    PostMessageA(hwnd, button == 0 ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, detail::HeldButtons(), MousePosition(x, y));
}

inline void ButtonUp(HWND hwnd, int button, int x, int y) {
    detail::HeldButtons() &= ~static_cast<WPARAM>(button == 0 ? MK_LBUTTON : MK_RBUTTON);
    PostMessageA(hwnd, button == 0 ? WM_LBUTTONUP : WM_RBUTTONUP, detail::HeldButtons(), MousePosition(x, y));
}

// The close box: the system's close command ends as WM_CLOSE.
inline void Close(HWND hwnd) { PostMessageA(hwnd, WM_CLOSE, 0, 0); }

#endif

// A key pressed and released.
inline void Tap(HWND hwnd, int vk) {
    KeyDown(hwnd, vk);
    KeyUp(hwnd, vk);
}

// A click: press and release at one place.
inline void Click(HWND hwnd, int button, int x, int y) {
    ButtonDown(hwnd, button, x, y);
    ButtonUp(hwnd, button, x, y);
}

}  // namespace inject

#endif
