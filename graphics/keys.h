// keys.h - the keys that queue a key record of their own (the others arrive
// as characters): each key's virtual-key code, the record's kind and code,
// and the name input scripts give it. One table for the window procedure
// (input.cpp) and for input scripts and recordings (input_script.cpp).
#ifndef GRAPHICS_KEYS_H
#define GRAPHICS_KEYS_H

#include <windows.h>

#include "graphics.h"

namespace graphics_keys {

struct Key {
    const char* name;  // in input scripts, not case-sensitive
    WPARAM virtualKey;
    KeyKind kind;
    char code;  // navigation keys: the digit of their place on a numeric keypad
};

inline constexpr Key kKeys[] = {
    {"Esc", VK_ESCAPE, KK_ESC, 1},    {"End", VK_END, KK_NAV, 1},       {"Down", VK_DOWN, KK_NAV, 2},
    {"PageDown", VK_NEXT, KK_NAV, 3}, {"Left", VK_LEFT, KK_NAV, 4},     {"Right", VK_RIGHT, KK_NAV, 6},
    {"Home", VK_HOME, KK_NAV, 7},     {"Up", VK_UP, KK_NAV, 8},         {"PageUp", VK_PRIOR, KK_NAV, 9},
    {"F1", VK_F1, KK_FKEY, 1},        {"F2", VK_F1 + 1, KK_FKEY, 2},    {"F3", VK_F1 + 2, KK_FKEY, 3},
    {"F4", VK_F1 + 3, KK_FKEY, 4},    {"F5", VK_F1 + 4, KK_FKEY, 5},    {"F6", VK_F1 + 5, KK_FKEY, 6},
    {"F7", VK_F1 + 6, KK_FKEY, 7},    {"F8", VK_F1 + 7, KK_FKEY, 8},    {"F9", VK_F1 + 8, KK_FKEY, 9},
    {"F10", VK_F1 + 9, KK_FKEY, 10},  {"F11", VK_F1 + 10, KK_FKEY, 11}, {"F12", VK_F1 + 11, KK_FKEY, 12},
};

// The key of a virtual-key code, or null for a key without a record of its own.
inline const Key* KeyOf(WPARAM virtualKey) {
    for (const Key& key : kKeys)
        if (key.virtualKey == virtualKey) return &key;
    return nullptr;
}

}  // namespace graphics_keys

#endif
