// window.cpp - the window service (USER): window classes, top-level windows
// shown through the display backend (display_backend.h), the thread's
// message queue fed from the display's input, keyboard translation, mouse
// capture, message boxes, and the presentation of each window's client-area
// surface on the screen.
//
// Frame metrics. A captioned window has a 1-pixel border on every side and a
// 22-pixel caption bar. GetSystemMetrics answers SM_CXEDGE = SM_CYEDGE = 2
// (both borders of one direction) and SM_CYCAPTION = 23 (caption bar plus
// one pixel), so an outer size of width + SM_CXEDGE by height + SM_CYCAPTION
// + SM_CYEDGE - 1 leaves a client area of exactly width by height. The
// display window is the client area.
//
// Messages. Display input becomes the messages Windows would post,
// addressed to their window: key-downs and key-ups with virtual-key codes
// (F10 and keys pressed with Alt, without Ctrl, as system keys), mouse moves
// and button presses and releases in client coordinates, and WM_CLOSE for
// the close box. Posted messages (WM_CLOSE, the characters TranslateMessage
// makes and whatever PostMessageA posts) are retrieved before input
// messages, as on Windows. The key state that TranslateMessage reads (Shift, Ctrl, Caps
// Lock) follows the key messages as they are retrieved. Characters follow
// the US keyboard layout (keyboard.h); bits 16-23 of a key message's lParam
// (the scan code) are 0.
//
// Mouse routing. Mouse input goes to the capture window if there is one;
// while a button pressed in a window is held it stays with that window
// (the implicit grab of X11); otherwise it goes to the window under the
// pointer and is dropped outside every client area.
//
// Presentation. Each window owns a Surface for its client area, first
// filled with the class background brush. A transfer onto the window is
// shown at once (PresentNow); other drawing, reported with NoteDrawn, is
// shown by the next PeekMessageA, WaitMessage or Sleep, at most about 60
// times a second. Nothing here waits for a frame: pacing is the caller's.
//
// Time. How often the display is read and drawing is shown goes by the
// kernel's coarse monotonic clock (TickNs), in a few nanoseconds where the
// precise clock takes a few dozen; it moves on a tick at a time (1 to 4
// ms), which these rates do not notice. A message step reads it only when
// the message steps' tick (tick.h, once a step of that clock) has come since
// a step last did, or when something waits to be taken: most steps of a
// program drawing pixel by pixel read no clock at all.
//
// While the thread pauses (Sleep) or another toolkit's dialog runs, the
// display is still read: a window exposed again (uncovered, restored) gets
// its surface back, and input is queued as it arrives, for the program to
// read afterwards.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <time.h>
#include <vector>

#include <windows.h>

#include "display_backend.h"
#include "fault_points.h"
#include "gdi_internal.h"
#include "keyboard.h"
#include "platform_display.h"
#include "platform_faults.h"
#include "surface.h"
#include "surface_limits.h"
#include "text_encoding.h"
#include "tick.h"
#include "window_service.h"

using platform_faults::Call;
using platform_faults::ShouldFail;

namespace {

using platform::display::Event;

constexpr int kFrameBorder = 1;  // every side of a framed window
constexpr int kCaptionBar = 22;  // height of the caption bar


constexpr uint64_t kPromptPresentNs = 16'000'000;  // NoteDrawn: at most ~60 a second

uint64_t TickNs() {
    timespec ts{};
#ifdef CLOCK_MONOTONIC_COARSE
    if (clock_gettime(CLOCK_MONOTONIC_COARSE, &ts) != 0)
#endif
        clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
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

// A display window, closed with its owner.
class DisplayWindow {
public:
    DisplayWindow() = default;
    explicit DisplayWindow(uint32_t id) : id_(id) {}
    DisplayWindow(const DisplayWindow&) = delete;
    DisplayWindow& operator=(const DisplayWindow&) = delete;
    ~DisplayWindow() {
        if (id_) platform::display::CloseWindow(id_);
    }
    uint32_t id() const { return id_; }

private:
    uint32_t id_ = 0;
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
    std::unique_ptr<DisplayWindow> display;
    platform::Surface client;
    bool visible = false;
    bool destroying = false;
    bool dirty = false;
    uint64_t lastPresentNs = 0;

    int ClientLeft() const { return outer.left + border; }
    int ClientTop() const { return outer.top + border + caption; }
    uint32_t DisplayId() const { return display ? display->id() : 0; }
};

struct Queued {
    MSG msg;
    uint64_t seq;
    uint16_t modifiers = 0;  // key messages: the keyboard::Modifier bits held with the key
};

enum ButtonBit : uint32_t { kLeftHeld = 1, kRightHeld = 2, kMiddleHeld = 4 };

struct Service {
    std::vector<WindowClass> classes;
    ATOM nextAtom = 0xC000;
    std::map<HWND, std::unique_ptr<Window>> windows;
    uintptr_t nextHandle = 0x10000;
    std::deque<Queued> posted;  // PostMessage-style: WM_CLOSE, translated characters
    std::deque<Queued> input;   // keyboard and mouse
    uint64_t nextSeq = 1;
    uint64_t seenSeq = 0;       // every message below this was there at the last peek
    uint64_t lastPumpNs = 0;
    bool started = false;       // a window was made: the display is running
    HWND capture = nullptr;
    HWND grab = nullptr;        // window a held button was pressed in
    uint32_t heldButtons = 0;   // ButtonBit mask
    POINT cursor{0, 0};         // last pointer position seen, screen coordinates
    uint16_t keyModifiers = 0;  // with the key message retrieved last
    bool anyDirty = false;      // a window may have drawing not yet shown
    uint64_t nextPresentNs = 0;  // no dirty window is due before this (TickNs)
    // The window found last: every drawing call and message step asks for
    // the same one.
    HWND foundHandle = nullptr;
    Window* found = nullptr;
};

// The service, made on first use and kept for the process. Every message
// step asks for it: after the first, that is one test.
Service* theService = nullptr;

__attribute__((noinline, cold)) Service& MakeService() {
    theService = new Service();
    return *theService;
}

inline Service& TheService() { return theService != nullptr ? *theService : MakeService(); }

Window* FindWindow(HWND hwnd) {
    Service& s = TheService();
    if (hwnd == s.foundHandle && hwnd != nullptr) return s.found;
    auto it = s.windows.find(hwnd);
    if (it == s.windows.end()) return nullptr;
    s.foundHandle = hwnd;
    s.found = it->second.get();
    return s.found;
}

Window* FindByDisplayId(uint32_t id) {
    if (id == 0) return nullptr;
    for (auto& entry : TheService().windows)
        if (entry.second->DisplayId() == id) return entry.second.get();
    return nullptr;
}

// Starts the display on first use; false when there is none to be had.
bool StartDisplay() {
    if (!platform::display::Start()) return false;
    TheService().started = true;
    platform::tick::Start();
    return true;
}

// ---------------------------------------------------------------- presentation

void Present(Window& w) {
    w.dirty = false;
    w.lastPresentNs = TickNs();
    if (!w.visible) return;
    platform::display::Present(w.DisplayId(), w.client, 0, 0, w.client.width, w.client.height);
}

// Drawing on `w` waits to be shown: at the latest kPromptPresentNs after the
// window was last shown.
void MarkDirty(Window& w) {
    Service& s = TheService();
    uint64_t due = w.lastPresentNs + kPromptPresentNs;
    if (!s.anyDirty || due < s.nextPresentNs) s.nextPresentNs = due;
    w.dirty = true;
    s.anyDirty = true;
}

// Shows dirty windows: all of them with `force`, else those last shown at
// least kPromptPresentNs before `now` (TickNs). Returns the nanoseconds
// until the next dirty window is due, or 0 when none waits.
uint64_t PresentDirty(bool force, uint64_t now) {
    Service& s = TheService();
    if (!s.anyDirty) return 0;
    if (!force && now < s.nextPresentNs) return s.nextPresentNs - now;
    uint64_t nextDue = 0;
    bool waiting = false;
    for (auto& entry : s.windows) {
        Window& w = *entry.second;
        if (!w.dirty) continue;
        uint64_t due = w.lastPresentNs + kPromptPresentNs;
        if (force || now >= due) {
            Present(w);
        } else {
            waiting = true;
            if (nextDue == 0 || due - now < nextDue) nextDue = due - now;
        }
    }
    s.anyDirty = waiting;
    s.nextPresentNs = now + nextDue;
    return nextDue;
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

void TranslateKey(const Event& e) {
    Window* w = FindByDisplayId(e.window);
    WPARAM vk = platform::keyboard::VirtualKey(e.key, e.modifiers);
    if (!w || vk == 0) return;
    bool alt = (e.modifiers & platform::keyboard::kModAlt) != 0;
    bool ctrl = (e.modifiers & platform::keyboard::kModCtrl) != 0;
    // Alt with Ctrl is AltGr: ordinary keys. F10 and Alt itself are system keys.
    bool system = vk == VK_F10 || vk == VK_MENU || (alt && !ctrl);
    UINT message = e.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1;
    if (alt) lParam |= LPARAM{1} << 29;
    if (!e.down || e.repeat) lParam |= LPARAM{1} << 30;
    if (!e.down) lParam |= static_cast<LPARAM>(uint32_t{1} << 31);
    Post(TheService().input, w->handle, message, vk, lParam, e.modifiers);
}

WPARAM MouseKeys(uint32_t buttons) {
    WPARAM keys = 0;
    if (buttons & kLeftHeld) keys |= MK_LBUTTON;
    if (buttons & kRightHeld) keys |= MK_RBUTTON;
    if (buttons & kMiddleHeld) keys |= MK_MBUTTON;
    uint16_t mod = platform::display::Modifiers();
    if (mod & platform::keyboard::kModShift) keys |= MK_SHIFT;
    if (mod & platform::keyboard::kModCtrl) keys |= MK_CONTROL;
    return keys;
}

// Sends one mouse message for a position (x, y) in the client area of the
// display event's window `from` to the window that should get it.
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

void TranslateButton(const Event& e) {
    using platform::display::Button;
    Service& s = TheService();
    uint32_t mask;
    UINT message;
    switch (e.button) {
    case Button::Left: mask = kLeftHeld; message = e.down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    case Button::Right: mask = kRightHeld; message = e.down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
    default: mask = kMiddleHeld; message = e.down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    }
    Window* from = FindByDisplayId(e.window);
    if (e.down) {
        if (s.heldButtons == 0) s.grab = from ? from->handle : nullptr;
        s.heldButtons |= mask;
        RouteMouse(message, from, e.x, e.y, s.heldButtons);
    } else {
        s.heldButtons &= ~mask;
        RouteMouse(message, from, e.x, e.y, s.heldButtons);
        if (s.heldButtons == 0) s.grab = nullptr;
    }
}

void TranslateEvent(const Event& e) {
    Service& s = TheService();
    switch (e.kind) {
    case Event::Kind::Key:
        TranslateKey(e);
        break;
    case Event::Kind::Motion:
        RouteMouse(WM_MOUSEMOVE, FindByDisplayId(e.window), e.x, e.y, s.heldButtons);
        break;
    case Event::Kind::Button:
        TranslateButton(e);
        break;
    case Event::Kind::Wheel:
        if (Window* w = FindByDisplayId(e.window)) {
            int delta = e.wheel * 120;
            Post(s.input, w->handle, WM_MOUSEWHEEL,
                 (static_cast<WPARAM>(static_cast<WORD>(delta)) << 16) | MouseKeys(s.heldButtons),
                 MAKELPARAM(static_cast<WORD>(s.cursor.x), static_cast<WORD>(s.cursor.y)));
        }
        break;
    case Event::Kind::Close:
        if (Window* w = FindByDisplayId(e.window)) Post(s.posted, w->handle, WM_CLOSE, 0, 0);
        break;
    case Event::Kind::Moved:
        if (Window* w = FindByDisplayId(e.window)) {
            int width = w->outer.right - w->outer.left;
            int height = w->outer.bottom - w->outer.top;
            w->outer.left = e.x - w->border;
            w->outer.top = e.y - w->border - w->caption;
            w->outer.right = w->outer.left + width;
            w->outer.bottom = w->outer.top + height;
        }
        break;
    case Event::Kind::Exposed:
        if (Window* w = FindByDisplayId(e.window)) {
            w->lastPresentNs = 0;
            MarkDirty(*w);  // the surface keeps the picture: show it again
        }
        break;
    }
}

// Moves the display's pending input into the message queues. The display is
// read at most once a millisecond (in practice once a tick of the coarse
// clock), since every library operation peeks; events the backend already
// holds are taken every time.
__attribute__((noinline)) void TakeInput(bool readDisplay) {
    std::vector<Event> events;
    platform::display::TakeEvents(readDisplay, events);
    for (const Event& e : events) TranslateEvent(e);
}

inline void PumpInput(bool forceRead, uint64_t now) {
    Service& s = TheService();
    if (!s.started) return;
    const bool read = forceRead || now - s.lastPumpNs >= 1'000'000;
    if (read) {
        s.lastPumpNs = now;
    } else if (!platform::display::EventsMayWait()) {
        return;  // the usual step: nothing to read, nothing held
    }
    TakeInput(read);
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

}  // namespace

// ================================================================ window service

namespace platform {

Surface* ClientSurface(HWND hwnd) {
    ClientArea area;
    FindClientArea(hwnd, area);
    return area.surface;
}

uint64_t windowChanges = 0;

void FindClientArea(HWND hwnd, ClientArea& area) {
    Window* w = FindWindow(hwnd);
    if (w && w->destroying) w = nullptr;
    area.surface = w ? &w->client : nullptr;
    area.window = w;
    area.changes = windowChanges;
}

void NoteDrawn(const ClientArea& area) {
    // Drawing on a window that already waits to be shown changes nothing of
    // when it is shown.
    Window* w = static_cast<Window*>(area.window);
    if (w && !w->dirty) MarkDirty(*w);
}

void PresentNow(HWND hwnd, int x0, int y0, int x1, int y1) {
    Window* w = FindWindow(hwnd);
    if (!w || !w->visible) return;
    if (x0 <= 0 && y0 <= 0 && x1 >= w->client.width && y1 >= w->client.height) {
        Present(*w);  // everything is on the screen now
        return;
    }
    display::Present(w->DisplayId(), w->client, x0, y0, x1, y1);
}

ScreenRows LendScreen(HWND hwnd) {
    ScreenRows rows;
    Window* w = FindWindow(hwnd);
    if (!w || !w->visible || w->destroying) return rows;
    display::ShownPixels shown;
    if (!display::LendPixels(w->DisplayId(), shown)) return rows;
    rows.pixels = shown.pixels;
    rows.pitch = shown.pitch;
    rows.width = std::min(shown.width, w->client.width);
    rows.height = std::min(shown.height, w->client.height);
    rows.current = !w->dirty;
    return rows;
}

void ScreenWritten(HWND hwnd, int x0, int y0, int x1, int y1) {
    Window* w = FindWindow(hwnd);
    if (!w) return;
    bool whole = x0 <= 0 && y0 <= 0 && x1 >= w->client.width && y1 >= w->client.height;
    if (whole && w->dirty) {
        // Drawing outside what was copied waits to be shown as well.
        display::ShowLent(w->DisplayId(), 0, 0, 0, 0);
        Present(*w);
        return;
    }
    if (whole) {
        w->dirty = false;  // everything is on the screen now
        w->lastPresentNs = TickNs();
    }
    display::ShowLent(w->DisplayId(), x0, y0, x1, y1);
}

void PresentDirtyWindows() { PresentDirty(true, TickNs()); }

void KeepWindowsShown() {
    const uint64_t now = TickNs();
    PumpInput(true, now);
    PresentDirty(true, now);  // what was exposed is dirty: its surface goes back
}

void WaitKeepingWindowsShown(uint64_t deadlineNs) {
    Service& s = TheService();
    if (!s.started || s.windows.empty() || display::Offscreen()) return;
    for (;;) {
        KeepWindowsShown();
        // The pause's deadline is on the precise clock (pause.cpp).
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        uint64_t now = static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
        if (now + 2'000'000 > deadlineNs) return;
        // Whole milliseconds, a millisecond short of the deadline at most;
        // a very long pause waits in slices of an hour.
        uint64_t ms = std::min<uint64_t>((deadlineNs - now) / 1'000'000 - 1, 3'600'000);
        display::WaitForEvent(static_cast<int>(ms));
    }
}

uint32_t DisplayWindowId(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w ? w->DisplayId() : 0;
}

bool OnScreen() { return display::Start() && !display::Offscreen(); }

DialogOwner DialogOwnerFor(HWND owner) {
    DialogOwner d;
    uint32_t id = DisplayWindowId(owner);
    d.x11Window = id ? display::NativeWindowId(id) : 0;
    if (TheService().started && !display::Offscreen()) {
        d.displayFd = display::EventFd();
        d.keepWindowsShown = KeepWindowsShown;
    }
    return d;
}

}  // namespace platform

// ================================================================ USER

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (ShouldFail(Call::GetModuleHandleA)) return nullptr;
    // Only the program's own module is known; any value works as long as it
    // is stable and not null.
    if (moduleName) return nullptr;
    static int image;
    return reinterpret_cast<HMODULE>(&image);
}

ATOM RegisterClassA(const WNDCLASSA* wndClass) {
    if (ShouldFail(Call::RegisterClassA)) return 0;
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
    if (ShouldFail(Call::CreateWindowExA)) return nullptr;
    Service& s = TheService();
    if (!className) return nullptr;
    const WindowClass* cls = nullptr;
    for (const WindowClass& c : s.classes)
        if (SameClassName(c.name, className)) cls = &c;
    if (!cls || !StartDisplay()) return nullptr;

    auto w = std::make_unique<Window>();
    w->proc = cls->proc;
    w->title = windowName ? windowName : "";
    w->style = style;
    w->caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionBar : 0;
    w->border = (style & (WS_BORDER | WS_THICKFRAME)) ? kFrameBorder : 0;
    // A client area the display cannot hold is refused before anything is
    // allocated for it. Edges are summed in 64 bits and kept in range, so
    // that sizes near INT_MAX cannot overflow.
    // Positions are kept within a range far beyond any screen, so that the
    // client area's edges, found from them, stay in range too.
    const int64_t clientWidth = std::max<int64_t>(0, int64_t{width} - 2 * w->border);
    const int64_t clientHeight = std::max<int64_t>(0, int64_t{height} - 2 * w->border - w->caption);
    if (clientWidth > kiva::kMaxWindowSide || clientHeight > kiva::kMaxWindowSide) return nullptr;
    const int kFarthest = 1 << 28;
    x = std::clamp(x, -kFarthest, kFarthest);
    y = std::clamp(y, -kFarthest, kFarthest);
    w->outer = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};

    uint32_t background = 0xFFFFFF;
    if (const platform::Brush* brush = platform::LookupBrush(cls->background))
        if (!brush->hollow) background = platform::PixelFromColorref(brush->color);
    w->client = platform::Surface(static_cast<int>(clientWidth), static_cast<int>(clientHeight), background);

    uint32_t id = platform::display::OpenWindow(platform::Utf8Text(w->title.c_str()).c_str(), w->ClientLeft(),
                                                w->ClientTop(), std::max(static_cast<int>(clientWidth), 1),
                                                std::max(static_cast<int>(clientHeight), 1));
    if (id == 0) return nullptr;
    w->display = std::make_unique<DisplayWindow>(id);
    w->handle = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 0x10;
    HWND hwnd = w->handle;
    WNDPROC proc = w->proc;
    s.windows[hwnd] = std::move(w);
    ++platform::windowChanges;

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
        platform::display::SetVisible(w->DisplayId(), false);
        w->visible = false;
    } else if (!w->visible) {
        platform::display::SetVisible(w->DisplayId(), true);
        w->visible = true;
        Present(*w);
    }
    return wasVisible;
}

BOOL DestroyWindow(HWND hwnd) {
    if (ShouldFail(Call::DestroyWindow)) return FALSE;
    Service& s = TheService();
    Window* w = FindWindow(hwnd);
    if (!w) return FALSE;
    if (w->destroying) return TRUE;
    w->destroying = true;
    ++platform::windowChanges;
    w->proc(hwnd, WM_DESTROY, 0, 0);
    if (s.capture == hwnd) ReleaseCapture();
    if (s.grab == hwnd) s.grab = nullptr;
    // Its messages go with it.
    auto addressed = [hwnd](const Queued& q) { return q.msg.hwnd == hwnd; };
    s.posted.erase(std::remove_if(s.posted.begin(), s.posted.end(), addressed), s.posted.end());
    s.input.erase(std::remove_if(s.input.begin(), s.input.end(), addressed), s.input.end());
    if (s.foundHandle == hwnd) s.foundHandle = nullptr;
    s.windows.erase(hwnd);
    ++platform::windowChanges;
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && !w->destroying ? TRUE : FALSE;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (ShouldFail(Call::SetWindowTextA)) return FALSE;
    Window* w = FindWindow(hwnd);
    if (!w) return FALSE;
    w->title = text ? text : "";
    platform::display::SetTitle(w->DisplayId(), platform::Utf8Text(w->title.c_str()).c_str());
    return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
    if (ShouldFail(Call::GetWindowTextA)) return 0;
    Window* w = FindWindow(hwnd);
    if (!w || !text || maxCount <= 0) return 0;
    size_t count = std::min(w->title.size(), static_cast<size_t>(maxCount - 1));
    std::memcpy(text, w->title.data(), count);
    text[count] = '\0';
    return static_cast<int>(count);
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    if (ShouldFail(Call::GetClientRect)) return FALSE;
    Window* w = FindWindow(hwnd);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->client.width, w->client.height};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    if (ShouldFail(Call::GetWindowRect)) return FALSE;
    Window* w = FindWindow(hwnd);
    if (!w || !rect) return FALSE;
    *rect = w->outer;
    return TRUE;
}

int GetSystemMetrics(int index) {
    if (ShouldFail(Call::GetSystemMetrics)) return 0;
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
        int width = 0, height = 0;
        if (!StartDisplay() || !platform::display::DesktopSize(width, height)) return 0;
        return index == SM_CXSCREEN ? width : height;
    }
    default:
        return 0;
    }
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    if (ShouldFail(Call::LoadCursorA)) return nullptr;
    // Only the system's predefined cursors exist; the display shows its arrow.
    uintptr_t id = reinterpret_cast<uintptr_t>(cursorName);
    if (instance || id < reinterpret_cast<uintptr_t>(IDC_ARROW) || id > reinterpret_cast<uintptr_t>(IDC_HELP))
        return nullptr;
    return reinterpret_cast<HCURSOR>(id);
}

namespace {
BOOL TakeMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL BusyStep(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    // The usual step: no failure armed, no tick since a step last read the
    // clock, the backend holding no events, nothing queued: nothing to do and
    // no clock to read. (It calls nothing, so it costs a few loads.)
    Service* quiet = theService;
    if (!platform_faults::Armed(Call::PeekMessageA) && quiet && !platform::tick::Due() &&
        !platform::display::EventsMayWait() && quiet->posted.empty() && quiet->input.empty()) {
        quiet->seenSeq = quiet->nextSeq;
        return FALSE;
    }
    return BusyStep(msg, hwnd, filterMin, filterMax, removeMsg);
}

namespace {

// A message step with something to look at: time has passed (the clock is
// read), the backend holds events, messages are queued (or a failure is
// armed).
__attribute__((noinline)) BOOL BusyStep(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (ShouldFail(Call::PeekMessageA)) return FALSE;
    Service& s = TheService();
    if (platform::tick::Due()) platform::tick::Take();
    const uint64_t now = TickNs();  // the one clock reading of a message step
    PumpInput(false, now);
    if (s.anyDirty && now >= s.nextPresentNs) PresentDirty(false, now);
    s.seenSeq = s.nextSeq;
    if (s.posted.empty() && s.input.empty()) return FALSE;
    return TakeMessage(msg, hwnd, filterMin, filterMax, removeMsg);
}

// PeekMessageA's search of the queues, once something is queued.
__attribute__((noinline)) BOOL TakeMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    Service& s = TheService();
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

}  // namespace

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ShouldFail(Call::PostMessageA)) return FALSE;
    // Only window messages: thread messages (no window) are not kept.
    if (!IsWindow(hwnd)) return FALSE;
    Post(TheService().posted, hwnd, message, wParam, lParam);
    return TRUE;
}

BOOL WaitMessage(void) {
    if (ShouldFail(Call::WaitMessage)) return FALSE;
    Service& s = TheService();
    if (!s.started) return FALSE;  // no window, nothing could ever arrive
    for (;;) {
        PumpInput(true, TickNs());
        if (s.nextSeq > s.seenSeq) return TRUE;  // something arrived since the last peek
        uint64_t dueNs = PresentDirty(false, TickNs());
        platform::display::WaitForEvent(dueNs > 0 ? static_cast<int>(dueNs / 1'000'000u) + 1 : -1);
    }
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg) return FALSE;
    bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    bool keyMessage = keyDown || msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    if (!keyMessage) return FALSE;
    if (keyDown) {
        int ch = platform::keyboard::Character(msg->wParam, TheService().keyModifiers);
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
        if (wParam == VK_F4 && (lParam & (LPARAM{1} << 29))) {
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
    // Asks the display for the pointer too; where it cannot give it, the
    // grab above still routes the release.
    platform::display::CaptureMouse(true);
    return previous;
}

BOOL ReleaseCapture(void) {
    if (ShouldFail(Call::ReleaseCapture)) return FALSE;
    Service& s = TheService();
    if (s.capture) {
        s.capture = nullptr;
        if (s.started) platform::display::CaptureMouse(false);
    }
    return TRUE;
}

HWND GetCapture(void) { return TheService().capture; }

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (ShouldFail(Call::MessageBoxA)) return 0;
    if (platform_faults::RecordMessageBox(owner, text, caption, type)) return IDOK;
    const std::string title = platform::Utf8Text(caption ? caption : "Error");
    const std::string body = platform::Utf8Text(text);
    if (StartDisplay() && !platform::display::Offscreen()) {
        auto kind = platform::display::MessageKind::Information;
        if ((type & MB_ICONMASK) == MB_ICONERROR) kind = platform::display::MessageKind::Error;
        if ((type & MB_ICONMASK) == MB_ICONWARNING) kind = platform::display::MessageKind::Warning;
        Window* w = FindWindow(owner);
        PresentDirty(true, TickNs());  // the windows are kept shown while the box is open
        if (platform::display::ShowMessageBox(kind, title.c_str(), body.c_str(), w ? w->DisplayId() : 0)) return IDOK;
    }
    // Nobody can see a box: the message goes to the error stream instead.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
    std::fflush(stderr);
    return IDOK;
}

bool PlatformDisplayIsAbsent() { return platform::display::NoDisplay(); }
