// Input: the window registry, the window
// procedure that records mouse and key input, the message pump step and the
// window's input operations.
#include <cstdio>
#include <cstdlib>
#include <new>

#include "diagnostics.h"
#include "graphics_internal.h"
#include "headless.h"
#include "keys.h"

WindowRegistry* windowRegistry = nullptr;

// ---------------------------------------------------------------- registry

WindowRegistry::~WindowRegistry() {
    RegistryEntry* entry = firstEntry;
    while (entry != nullptr) {
        RegistryEntry* next = entry->next;
        delete entry;
        entry = next;
    }
    firstEntry = nullptr;
}

void WindowRegistry::Register(HWND handle, window* owner) {
    RegistryEntry** link = &firstEntry;
    while (*link != nullptr) {
        if ((*link)->handle == handle) return;  // the first owner stays
        link = &(*link)->next;
    }
    RegistryEntry* entry = new (std::nothrow) RegistryEntry();
    if (entry == nullptr) throw ERR_ALLOCATION;
    entry->handle = handle;
    entry->owner = owner;
    entry->next = nullptr;
    ++windowCount;
    *link = entry;
}

void WindowRegistry::Unregister(HWND handle) {
    for (RegistryEntry** link = &firstEntry; *link != nullptr; link = &(*link)->next) {
        if ((*link)->handle == handle) {
            --windowCount;
            RegistryEntry* entry = *link;
            *link = entry->next;
            delete entry;
            return;
        }
    }
}

window* WindowRegistry::Find(HWND handle) const {
    for (RegistryEntry* entry = firstEntry; entry != nullptr; entry = entry->next)
        if (entry->handle == handle) return entry->owner;
    return nullptr;
}

void WindowRegistry::NoteButton(HWND handle, MouseButton button, ButtonState state, int32_t x, int32_t y) {
    if (window* owner = Find(handle)) GraphicsInternals::NoteButton(*owner, button, state, x, y);
}

void WindowRegistry::NoteMotion(HWND handle, int32_t x, int32_t y) {
    if (window* owner = Find(handle)) GraphicsInternals::NoteMotion(*owner, x, y);
}

void WindowRegistry::PushClick(HWND handle, ClickKind kind, int32_t x, int32_t y) {
    window* owner = Find(handle);
    if (owner == nullptr) return;
    ClickRecord* record = new (std::nothrow) ClickRecord();
    if (record == nullptr) throw ERR_ALLOCATION;
    record->kind = kind;
    record->x = x;
    record->y = y;
    GraphicsInternals::Clicks(*owner).Append(record);
}

void WindowRegistry::PushKey(HWND handle, KeyKind kind, char code) {
    window* owner = Find(handle);
    if (owner == nullptr) return;
    KeyRecord* record = new (std::nothrow) KeyRecord();
    if (record == nullptr) throw ERR_ALLOCATION;
    record->kind = kind;
    record->code = code;
    GraphicsInternals::Keys(*owner).Append(record);
}

// ---------------------------------------------------------------- window procedure

namespace {

// A press changes the button state and the pointer position, and captures
// the mouse so that the release comes to this window wherever it happens.
void ButtonPressed(HWND hwnd, MouseButton button, int32_t x, int32_t y) {
    if (windowRegistry != nullptr) windowRegistry->NoteButton(hwnd, button, BS_DOWN, x, y);
    SetCapture(hwnd);
}

// A release completes a click, queued with the release position.
void ButtonReleased(HWND hwnd, MouseButton button, ClickKind kind, int32_t x, int32_t y) {
    if (windowRegistry != nullptr) {
        windowRegistry->NoteButton(hwnd, button, BS_UP, x, y);
        windowRegistry->PushClick(hwnd, kind, x, y);
    }
    ReleaseCapture();
}

}  // namespace

LRESULT CALLBACK GraphicsWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Positions as unsigned 16-bit values: a release left of the window
    // under capture arrives as x near 65535.
    int32_t x = LOWORD(lParam);
    int32_t y = HIWORD(lParam);
    switch (message) {
    case WM_MOUSEMOVE:
        if (windowRegistry != nullptr) windowRegistry->NoteMotion(hwnd, x, y);
        return 0;
    case WM_LBUTTONDOWN:
        ButtonPressed(hwnd, MB_LEFT, x, y);
        return 0;
    case WM_LBUTTONUP:
        ButtonReleased(hwnd, MB_LEFT, CK_LEFT, x, y);
        return 0;
    case WM_RBUTTONDOWN:
        ButtonPressed(hwnd, MB_RIGHT, x, y);
        return 0;
    case WM_RBUTTONUP:
        ButtonReleased(hwnd, MB_RIGHT, CK_RIGHT, x, y);
        return 0;
    case WM_KEYDOWN:
        // Key-downs that queue a record of their own (keys.h).
        if (const graphics_keys::Key* key = graphics_keys::KeyOf(wParam)) {
            if (windowRegistry != nullptr) windowRegistry->PushKey(hwnd, key->kind, key->code);
        }
        return 0;
    case WM_CHAR:
        if (windowRegistry != nullptr) windowRegistry->PushKey(hwnd, KK_CHAR, static_cast<char>(wParam & 0xFF));
        return 0;
    case WM_CLOSE:
        // The close box: recorded as a user's input, and a headless run's
        // closing snapshot is taken now, while the window still shows its
        // picture.
        if (window* owner = windowRegistry != nullptr ? windowRegistry->Find(hwnd) : nullptr) {
            graphics_headless::CloseAsked();
            graphics_headless::WindowClosing(GraphicsInternals::ActiveDC(*owner), owner->QueryWidth(),
                                             owner->QueryHeight());
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

// ---------------------------------------------------------------- message pump step

void window::ProcessOneMessage() {
    // A window that was never created has no messages; asking for those of
    // a null handle would take every other window's.
    if (hwndWindow == nullptr) return;
    // Scripted input due at this step is posted first, as real input would
    // be (not before the window is registered: its input would be lost),
    // and whatever the step takes may be recorded. Without a script left
    // (almost every step) there is nothing to look up.
    if (graphics_headless::ScriptLeft() && windowRegistry != nullptr && windowRegistry->Find(hwndWindow) == this)
        graphics_headless::BeforeMessageStep(hwndWindow);
    MSG message;
    if (PeekMessageA(&message, hwndWindow, 0, 0, PM_REMOVE)) {
        graphics_headless::Retrieved(message);
        TranslateMessage(&message);
        DispatchMessageA(&message);
        // Only a dispatched message (the close box's) destroys the window.
        if (!screenLost && !PlatformWindowExists(*this)) ReplaceLostScreen();
    }
    graphics_headless::AfterMessageStep();
}

// The close box destroyed the platform window and with it the device
// context of its client area. From here on the window draws on a memory
// device context of its own size instead: drawing still works, shows
// nothing and reports nothing, the same on every build, until the program
// destroys the window (IsOpen tells it to).
void window::ReplaceLostScreen() {
    HDC lost = dcScreen;
    if (lost != nullptr) ReleaseDC(hwndWindow, lost);  // fails where the system took it already
    dcScreen = CreateCompatibleDC(nullptr);
    if (dcScreen != nullptr) {
        bmapStandIn = CreateCompatibleBitmap(dcScreen, drawWidth > 0 ? drawWidth : 1,
                                             drawHeight > 0 ? drawHeight : 1);
        if (bmapStandIn != nullptr) SelectObject(dcScreen, bmapStandIn);
    }
    if (dcActive == lost) dcActive = dcScreen;
    screenLost = true;
}

namespace {

// Between two steps of a wait: sleeps in the platform until a message
// arrives, unless one for this window is pending already. An idle wait thus
// costs no processor time.
void BlockUntilMessage(HWND hwnd) {
    MSG message;
    if (!PeekMessageA(&message, hwnd, 0, 0, PM_NOREMOVE)) WaitMessage();
}

// Whether the wait of window `hwnd` could still end: a message of the window
// is pending, or more input can arrive.
bool InputMayCome(HWND hwnd) {
    MSG message;
    return PeekMessageA(&message, hwnd, 0, 0, PM_NOREMOVE) || graphics_headless::InputCanArrive();
}

// Between two steps of a wait: while a script plays, its next message may
// be due a few steps on, so the wait goes on stepping instead of sleeping.
void BetweenWaitSteps(HWND hwnd) {
    if (!graphics_headless::ScriptPlaying()) BlockUntilMessage(hwnd);
}

}  // namespace

// ---------------------------------------------------------------- input operations
//
// Once the platform window is gone (closed with its close box) no input can
// arrive any more: the polls report none, and a wait begun on the closed
// window returns at once with nothing, so the code after one wait still
// runs; the second such wait ends the program (status 0), as closing a
// program's window ends it on every desktop. A wait that no input can ever
// end (no display and no input script, or a script with nothing more for
// it) ends the program instead, with a message naming the wait and status
// 3; so does a poll that goes on finding nothing long after the script
// has ended (graphics_headless::PolledNothing).

namespace {

// The poll's step: one message, then the oldest record of `queue`, or none
// (a closed window hands out no record, not even one queued before the
// close).
template <class Record>
Record* TakeRecord(window& w, InputQueue<Record>& queue) {
    w.ProcessOneMessage();
    if (!PlatformWindowExists(w)) queue.Clear();
    return queue.TakeFirst();
}

KeyKind TakeKey(window& w, char& code) {
    KeyRecord* record = TakeRecord(w, GraphicsInternals::Keys(w));
    if (record == nullptr) {
        code = 0;
        return KK_NONE;
    }
    KeyKind kind = record->kind;
    code = record->code;
    delete record;
    return kind;
}

ClickKind TakeClick(window& w, int32_t& x, int32_t& y) {
    ClickRecord* record = TakeRecord(w, GraphicsInternals::Clicks(w));
    if (record == nullptr) {
        x = -1;
        y = -1;
        return CK_NONE;
    }
    ClickKind kind = record->kind;
    x = record->x;
    y = record->y;
    delete record;
    return kind;
}

// The second wait begun on a window its user has closed: nothing can end
// it, and the program ends as its closed window asks.
[[noreturn]] void EndWaitOnClosedWindow(const char* call, const char* what, const char* none) {
    std::fflush(stdout);
    std::fprintf(stderr,
                 "graphics: %s waits on a window its user has closed, where no %s can come, so the program ends "
                 "(status 0); end a loop of waits when %s gives %s or IsOpen() is false\n",
                 call, what, call, none);
    std::fflush(stderr);
    std::exit(0);
}

}  // namespace

KeyKind window::PollKey(char& code) {
    const graphics_diagnostics::Call call("PollKey", KIVA_CALLER());
    graphics_diagnostics::CheckClosed(*this);
    KeyKind kind = TakeKey(*this, code);
    if (kind == KK_NONE) graphics_headless::PolledNothing("PollKey");
    return kind;
}

// A wait is the poll repeated: the poll's rules (a closed window hands out
// no record, not even one queued before the close) hold for the wait too.
KeyKind window::AwaitKey(char& code) {
    if (screenLost && ++waitsAfterClose > 1) EndWaitOnClosedWindow("AwaitKey", "key", "KK_NONE");
    for (;;) {
        KeyKind kind = TakeKey(*this, code);
        if (kind != KK_NONE || !PlatformWindowExists(*this)) return kind;
        if (!InputMayCome(hwndWindow)) graphics_headless::EndWaitWithoutInput("AwaitKey");
        BetweenWaitSteps(hwndWindow);
    }
}

ClickKind window::PollClick(int32_t& x, int32_t& y) {
    const graphics_diagnostics::Call call("PollClick", KIVA_CALLER());
    graphics_diagnostics::CheckClosed(*this);
    ClickKind kind = TakeClick(*this, x, y);
    if (kind == CK_NONE) graphics_headless::PolledNothing("PollClick");
    return kind;
}

ClickKind window::AwaitClick(int32_t& x, int32_t& y) {
    if (screenLost && ++waitsAfterClose > 1) EndWaitOnClosedWindow("AwaitClick", "click", "CK_NONE");
    return WaitForClick(x, y, "AwaitClick");
}

ClickKind window::WaitForClick(int32_t& x, int32_t& y, const char* endsProgramAs) {
    for (;;) {
        ClickKind kind = TakeClick(*this, x, y);
        if (kind != CK_NONE || !PlatformWindowExists(*this)) return kind;
        if (!InputMayCome(hwndWindow)) {
            if (endsProgramAs != nullptr) graphics_headless::EndWaitWithoutInput(endsProgramAs);
            return CK_NONE;  // TakeClick set x and y to -1
        }
        BetweenWaitSteps(hwndWindow);
    }
}

void window::DiscardKeys() {
    ProcessOneMessage();
    keyQueue.Clear();
}

void window::DiscardClicks() {
    ProcessOneMessage();
    clickQueue.Clear();
}

void window::QueryPointer(int32_t& x, int32_t& y) {
    const graphics_diagnostics::Call call("QueryPointer", KIVA_CALLER());
    graphics_diagnostics::CheckClosed(*this);
    ProcessOneMessage();
    x = pointerX;
    y = pointerY;
}

ButtonState window::QueryButton(MouseButton button, int32_t& x, int32_t& y) {
    const graphics_diagnostics::Call call("QueryButton", KIVA_CALLER());
    graphics_diagnostics::CheckClosed(*this);
    ProcessOneMessage();
    x = pointerX;
    y = pointerY;
    return button == MB_LEFT ? leftState : rightState;
}

bool window::SetWaitOnClose(bool wait) {
    if (windowRegistry == nullptr) return wait;  // no window, no rule to change
    bool previous = windowRegistry->waitOnLastClose;
    windowRegistry->waitOnLastClose = wait;
    return previous;
}
