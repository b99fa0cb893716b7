// keyboard.h - the keyboard table: keys as a display reports them, in codes
// of no particular display, and what they are to a Windows program: virtual-
// key codes, and the characters of the US layout that TranslateMessage makes.
#ifndef PLATFORM_KEYBOARD_H
#define PLATFORM_KEYBOARD_H

#include <windows.h>

#include <cstdint>

namespace platform {
namespace keyboard {

// Modifier keys held (and locks on) with a key, as bits.
enum Modifier : uint16_t {
    kModShift = 1,
    kModCtrl = 2,
    kModAlt = 4,
    kModCapsLock = 8,
    kModNumLock = 16,
};

// Key codes. A printable key of the US layout is its unshifted character
// ('a'..'z', '0'..'9', ';', '=', ...), and Backspace, Tab, Return, Escape,
// Space and Delete are their ASCII control codes; the other keys follow.
enum Key : int32_t {
    kKeyNone = 0,
    kKeyBackspace = 8,
    kKeyTab = 9,
    kKeyReturn = 13,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyDelete = 127,
    kKeyShift = 0x100,
    kKeyControl,
    kKeyAlt,
    kKeyCapsLock,
    kKeyNumLock,
    kKeyPageUp,
    kKeyPageDown,
    kKeyEnd,
    kKeyHome,
    kKeyLeft,
    kKeyUp,
    kKeyRight,
    kKeyDown,
    kKeyInsert,
    kKeyF1,  // F1..F12 follow in order
    kKeyF12 = kKeyF1 + 11,
    kKeyPadMultiply,
    kKeyPadPlus,
    kKeyPadMinus,
    kKeyPadDivide,
    kKeyPadEnter,
    kKeyPadPeriod,
    kKeyPad0,  // keypad 0..9 follow in order
    kKeyPad9 = kKeyPad0 + 9,
};

// The virtual-key code of a key, 0 for keys Windows programs never see. The
// keypad gives digits with Num Lock and navigation keys without.
WPARAM VirtualKey(int32_t key, uint16_t modifiers);

// The character a key-down of `vk` gives with `modifiers` held (US layout),
// or 0 for none.
int Character(WPARAM vk, uint16_t modifiers);

}  // namespace keyboard
}  // namespace platform

#endif
