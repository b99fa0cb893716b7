// display_web.cpp - the display backend (display_backend.h) of the web
// build: windows are canvases on the page, each in a frame with its title
// and a close box; input comes from the page's listeners (platform/web/
// page.js, the only code that talks to the page). Keys are read by their
// physical key (KeyboardEvent.code) as on a US keyboard, the way the SDL
// backend reads SDL's keycodes, into the same keyboard table codes. Waits
// sleep through Asyncify, so that the browser runs meanwhile: a program
// that waits for input or time lets the page draw and take input.
//
// A window's shown pixels are kept as RGBA bytes, the canvas's own order,
// so presenting converts from the surface; none are lent. The browser shows
// a canvas only when the program gives it its turn, so a presented part is
// only noted, and what was noted is converted and put on the canvas once,
// just before a wait (ShowPending): a program that presents many times
// between two waits pays for one.
#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include <windows.h>

#include "display_backend.h"
#include "display_web.h"
#include "keyboard.h"

extern "C" {
// page.js
void kiva_page_start();
void kiva_window_open(uint32_t id, const char* title, int width, int height);
void kiva_window_close(uint32_t id);
void kiva_window_visible(uint32_t id, int visible);
void kiva_window_title(uint32_t id, const char* title);
void kiva_window_present(uint32_t id, const uint8_t* rgba, int width, int height, int x0, int y0, int x1, int y1);
int kiva_next_event(int32_t* fields, char* code, int codeSize);
void kiva_wait_event(int timeoutMs);
int kiva_modifiers();
int kiva_desktop_width();
int kiva_desktop_height();
int kiva_message_box(int kind, const char* title, const char* text);
}

namespace platform {
namespace display {
namespace {

bool started = false;
uint32_t lastId = 0;

// The RGBA pixels each window shows, one word a pixel (bytes R, G, B, A in
// memory, wasm being little-endian).
struct Shown {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgba;
    // Presented since the last wait: the window's surface (the window
    // service's, kept as long as the window) and the part of it.
    const Surface* pending = nullptr;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// A surface pixel (0x00RRGGBB) as the canvas's opaque RGBA bytes: red and
// blue trade places. A loop of these the compiler turns into vector code.
inline uint32_t Rgba(uint32_t p) { return 0xFF000000u | (p & 0xFF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16); }
std::map<uint32_t, Shown>& Windows() {
    static std::map<uint32_t, Shown> windows;
    return windows;
}

// Window texts are ANSI (Latin-1 here); the page wants UTF-8.
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

// The keyboard table's code of a physical key (KeyboardEvent.code).
int32_t KeyOf(const char* code) {
    using namespace keyboard;
    size_t n = std::strlen(code);
    if (n == 4 && std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') return code[3] - 'A' + 'a';
    if (n == 6 && std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') return code[5];
    if (n == 7 && std::strncmp(code, "Numpad", 6) == 0 && code[6] >= '0' && code[6] <= '9')
        return kKeyPad0 + (code[6] - '0');
    if (code[0] == 'F' && n >= 2 && n <= 3) {
        int f = std::atoi(code + 1);
        if (f >= 1 && f <= 12) return kKeyF1 + (f - 1);
    }
    static const std::map<std::string, int32_t> named = {
        {"Minus", '-'}, {"Equal", '='}, {"BracketLeft", '['}, {"BracketRight", ']'}, {"Backslash", '\\'},
        {"Semicolon", ';'}, {"Quote", '\''}, {"Comma", ','}, {"Period", '.'}, {"Slash", '/'},
        {"Backquote", '`'}, {"Space", kKeySpace}, {"Enter", kKeyReturn}, {"Tab", kKeyTab},
        {"Backspace", kKeyBackspace}, {"Escape", kKeyEscape}, {"Delete", kKeyDelete},
        {"ShiftLeft", kKeyShift}, {"ShiftRight", kKeyShift}, {"ControlLeft", kKeyControl},
        {"ControlRight", kKeyControl}, {"AltLeft", kKeyAlt}, {"AltRight", kKeyAlt},
        {"CapsLock", kKeyCapsLock}, {"NumLock", kKeyNumLock}, {"PageUp", kKeyPageUp},
        {"PageDown", kKeyPageDown}, {"End", kKeyEnd}, {"Home", kKeyHome}, {"ArrowLeft", kKeyLeft},
        {"ArrowUp", kKeyUp}, {"ArrowRight", kKeyRight}, {"ArrowDown", kKeyDown}, {"Insert", kKeyInsert},
        {"NumpadMultiply", kKeyPadMultiply}, {"NumpadAdd", kKeyPadPlus}, {"NumpadSubtract", kKeyPadMinus},
        {"NumpadDivide", kKeyPadDivide}, {"NumpadEnter", kKeyPadEnter}, {"NumpadDecimal", kKeyPadPeriod},
    };
    auto it = named.find(code);
    return it == named.end() ? kKeyNone : it->second;
}

}  // namespace

// Set once the page is started, for good: the page's queue is asked at
// every step.
std::atomic<bool> eventsMayWait{false};

bool Start() {
    if (!started) kiva_page_start();
    started = true;
    eventsMayWait.store(true, std::memory_order_release);
    return true;
}

// The page is a real display: someone sees the windows and gives input.
bool Offscreen() { return false; }

bool NoDisplay() { return false; }

uint32_t OpenWindow(const char* title, int, int, int width, int height) {
    uint32_t id = ++lastId;
    Shown& shown = Windows()[id];
    shown.width = std::max(width, 0);
    shown.height = std::max(height, 0);
    shown.rgba.assign(static_cast<size_t>(shown.width) * shown.height, Rgba(0));
    kiva_window_open(id, Utf8FromAnsi(title).c_str(), shown.width, shown.height);
    return id;
}

void CloseWindow(uint32_t id) {
    Windows().erase(id);
    kiva_window_close(id);
}

void SetVisible(uint32_t id, bool visible) { kiva_window_visible(id, visible ? 1 : 0); }

void SetTitle(uint32_t id, const char* title) { kiva_window_title(id, Utf8FromAnsi(title).c_str()); }

void Present(uint32_t id, const Surface& surface, int x0, int y0, int x1, int y1) {
    auto it = Windows().find(id);
    if (it == Windows().end()) return;
    Shown& shown = it->second;
    if (x0 >= x1 || y0 >= y1) return;
    if (shown.pending != &surface) {
        if (shown.pending != nullptr) ShowPending();
        shown.pending = &surface;
        shown.x0 = x0, shown.y0 = y0, shown.x1 = x1, shown.y1 = y1;
        return;
    }
    shown.x0 = std::min(shown.x0, x0), shown.y0 = std::min(shown.y0, y0);
    shown.x1 = std::max(shown.x1, x1), shown.y1 = std::max(shown.y1, y1);
}

void ShowPending() {
    for (auto& entry : Windows()) {
        Shown& shown = entry.second;
        if (shown.pending == nullptr) continue;
        const Surface& surface = *shown.pending;
        shown.pending = nullptr;
        int x0 = std::max(shown.x0, 0), y0 = std::max(shown.y0, 0);
        int x1 = std::min({shown.x1, surface.width, shown.width});
        int y1 = std::min({shown.y1, surface.height, shown.height});
        if (x0 >= x1 || y0 >= y1) continue;
        for (int y = y0; y < y1; ++y) {
            const uint32_t* from = surface.Row(y) + x0;
            uint32_t* to = shown.rgba.data() + static_cast<size_t>(y) * shown.width + x0;
            for (int n = x1 - x0; n > 0; --n) *to++ = Rgba(*from++);
        }
        kiva_window_present(entry.first, reinterpret_cast<const uint8_t*>(shown.rgba.data()), shown.width,
                            shown.height, x0, y0, x1, y1);
    }
}

bool LendPixels(uint32_t, ShownPixels&) { return false; }

void ShowLent(uint32_t, int, int, int, int) {}

bool DesktopSize(int& width, int& height) {
    width = kiva_desktop_width();
    height = kiva_desktop_height();
    return width > 0 && height > 0;
}

void CaptureMouse(bool) {}  // a held button's input follows its window anyway (page.js)

uint16_t Modifiers() { return static_cast<uint16_t>(kiva_modifiers()); }

void TakeEvents(bool, std::vector<Event>& out) {
    if (!started) return;
    int32_t f[9];
    char code[32];
    while (kiva_next_event(f, code, sizeof code)) {
        Event e;
        e.window = static_cast<uint32_t>(f[1]);
        e.down = f[2] != 0;
        e.repeat = f[3] != 0;
        e.modifiers = static_cast<uint16_t>(f[4]);
        e.x = f[6];
        e.y = f[7];
        switch (f[0]) {
        case 0:
            e.kind = Event::Kind::Key;
            e.key = KeyOf(code);
            break;
        case 1:
            e.kind = Event::Kind::Button;
            // DOM buttons: 0 left, 1 middle, 2 right.
            if (f[5] > 2) continue;
            e.button = f[5] == 0 ? Button::Left : f[5] == 1 ? Button::Middle : Button::Right;
            break;
        case 2: e.kind = Event::Kind::Motion; break;
        case 3:
            e.kind = Event::Kind::Wheel;
            e.wheel = f[8];
            break;
        case 4: e.kind = Event::Kind::Close; break;
        default: continue;
        }
        out.push_back(e);
    }
}

void WaitForEvent(int timeoutMs) {
    ShowPending();
    kiva_wait_event(timeoutMs);
}

int EventFd() { return -1; }

unsigned long NativeWindowId(uint32_t) { return 0; }

bool ShowMessageBox(MessageKind kind, const char* title, const char* text, uint32_t) {
    ShowPending();
    int k = kind == MessageKind::Error ? 2 : kind == MessageKind::Warning ? 1 : 0;
    return kiva_message_box(k, Utf8FromAnsi(title).c_str(), Utf8FromAnsi(text).c_str()) != 0;
}

}  // namespace display
}  // namespace platform

// For page.js: before standard input waits for the page's input line.
extern "C" EMSCRIPTEN_KEEPALIVE void kiva_show_pending() { platform::display::ShowPending(); }
