// display_backend.h - what the window service (window.cpp) asks of the
// display: top-level windows that show a client-area surface, the input
// that arrives for them, and message boxes. One backend implements it
// (display_sdl.cpp); another windowing system is one more file
// implementing these calls.
//
// A display window is named by a non-zero id the backend chooses. Text is
// UTF-8: the window service turns the programs' bytes into it (Utf8Text).
#ifndef PLATFORM_DISPLAY_BACKEND_H
#define PLATFORM_DISPLAY_BACKEND_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "surface.h"

namespace platform {
namespace display {

// Starts the display once; later calls answer the first one. Without a real
// display the backend may fall back to an offscreen one.
bool Start();
// True once started on a display nobody can see.
bool Offscreen();
// True once started offscreen because no display exists: the fallback, not
// an offscreen display chosen on purpose.
bool NoDisplay();

// A hidden window whose client area is width x height at (x, y) on the
// screen; 0 when it cannot be made.
uint32_t OpenWindow(const char* title, int x, int y, int width, int height);
void CloseWindow(uint32_t id);
void SetVisible(uint32_t id, bool visible);
void SetTitle(uint32_t id, const char* title);
// Copies `surface`'s pixels in [x0, x1) x [y0, y1) to the window's client area.
void Present(uint32_t id, const Surface& surface, int x0, int y0, int x1, int y1);

// The pixels a window shows, lent to a copy onto the window that writes them
// as it writes the client surface, so that they need not be copied a second
// time to be shown: `pixels` is the top row, `pitch` the pixels from one row
// to the next.
struct ShownPixels {
    uint32_t* pixels = nullptr;
    size_t pitch = 0;
    int width = 0;
    int height = 0;
};
// Lends the window's shown pixels when the display keeps them as rows of
// 0x00RRGGBB pixels; false otherwise (Present copies then). A successful
// call is followed by ShowLent before anything else is asked of the display.
bool LendPixels(uint32_t id, ShownPixels& shown);
// Takes the lent pixels back and puts [x0, x1) x [y0, y1) of them on the
// screen (an empty rectangle puts nothing there).
void ShowLent(uint32_t id, int x0, int y0, int x1, int y1);

// The size of the desktop; false when unknown.
bool DesktopSize(int& width, int& height);
// Asks for all pointer input while a window holds the mouse capture.
void CaptureMouse(bool capture);
// The keyboard modifiers (keyboard::Modifier bits) held now.
uint16_t Modifiers();

enum class Button { Left, Right, Middle };

// One piece of input or a change to a window. Positions are client
// coordinates of `window`.
struct Event {
    enum class Kind { Key, Button, Motion, Wheel, Close, Moved, Exposed };
    Kind kind = Kind::Exposed;
    uint32_t window = 0;     // 0: no window of ours
    int32_t key = 0;         // Key: a keyboard::Key code
    uint16_t modifiers = 0;  // Key: keyboard::Modifier bits held with it
    bool down = false;       // Key, Button: pressed (else released)
    bool repeat = false;     // Key: auto-repeat
    Button button = Button::Left;
    int32_t x = 0, y = 0;    // Button, Motion; Moved: the client area's new screen position
    int32_t wheel = 0;       // Wheel: notches, positive away from the user
};

// Appends the events that have arrived. With `readDisplay` the backend first
// reads what the display has sent; else only what it already holds.
void TakeEvents(bool readDisplay, std::vector<Event>& out);
// Whether the backend may already hold events (TakeEvents without reading
// the display would find some): a message step that does not read the
// display asks this first, and takes nothing when the answer is no. The
// backend keeps the flag: clear until it starts, then set as events arrive
// and cleared as it hands over the last of them.
extern std::atomic<bool> eventsMayWait;
inline bool EventsMayWait() { return eventsMayWait.load(std::memory_order_acquire); }
// Waits until something arrives, at most `timeoutMs` (negative: no limit).
void WaitForEvent(int timeoutMs);
// A descriptor that is readable when the display has sent something, for
// the loop of another toolkit's dialog to watch; -1 when there is none.
int EventFd();

// The X11 window behind a display window (display_sdl_x11.cpp), 0 when the
// display is not X11: lets a dialog of another toolkit be owned by it.
unsigned long NativeWindowId(uint32_t id);

enum class MessageKind { Information, Warning, Error };
// Shows a message box owned by window `owner` (0: none) and waits for it;
// false when the display cannot show one.
bool ShowMessageBox(MessageKind kind, const char* title, const char* text, uint32_t owner);

}  // namespace display
}  // namespace platform

#endif
