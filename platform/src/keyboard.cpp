// keyboard.cpp - the keyboard table (keyboard.h): display-neutral key codes
// to virtual-key codes, and virtual keys to the characters of the US layout.
#include "keyboard.h"

namespace platform {
namespace keyboard {
namespace {

struct KeyName {
    int32_t key;
    WPARAM vk;
};

constexpr KeyName kNamedKeys[] = {
    {kKeyEscape, VK_ESCAPE},       {kKeyReturn, VK_RETURN},      {kKeyBackspace, VK_BACK},
    {kKeyTab, VK_TAB},             {kKeySpace, VK_SPACE},        {kKeyShift, VK_SHIFT},
    {kKeyControl, VK_CONTROL},     {kKeyAlt, VK_MENU},           {kKeyCapsLock, VK_CAPITAL},
    {kKeyNumLock, VK_NUMLOCK},     {kKeyPageUp, VK_PRIOR},       {kKeyPageDown, VK_NEXT},
    {kKeyEnd, VK_END},             {kKeyHome, VK_HOME},          {kKeyLeft, VK_LEFT},
    {kKeyUp, VK_UP},               {kKeyRight, VK_RIGHT},        {kKeyDown, VK_DOWN},
    {kKeyInsert, VK_INSERT},       {kKeyDelete, VK_DELETE},      {';', VK_OEM_1},
    {'=', VK_OEM_PLUS},            {',', VK_OEM_COMMA},          {'-', VK_OEM_MINUS},
    {'.', VK_OEM_PERIOD},          {'/', VK_OEM_2},              {'`', VK_OEM_3},
    {'[', VK_OEM_4},               {'\\', VK_OEM_5},             {']', VK_OEM_6},
    {'\'', VK_OEM_7},              {kKeyPadMultiply, VK_MULTIPLY}, {kKeyPadPlus, VK_ADD},
    {kKeyPadMinus, VK_SUBTRACT},   {kKeyPadDivide, VK_DIVIDE},   {kKeyPadEnter, VK_RETURN},
};

// The keypad without Num Lock: keys 0..9, then the period.
constexpr WPARAM kPadNavigation[] = {VK_INSERT, VK_END,  VK_DOWN, VK_NEXT, VK_LEFT, VK_CLEAR,
                                     VK_RIGHT,  VK_HOME, VK_UP,   VK_PRIOR, VK_DELETE};

struct Punctuation {
    WPARAM vk;
    char plain;
    char withShift;
};

constexpr Punctuation kCharacters[] = {
    {VK_SPACE, ' ', ' '},     {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},  {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},
    {VK_OEM_4, '[', '{'},     {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
    {VK_MULTIPLY, '*', '*'},  {VK_ADD, '+', '+'},       {VK_SUBTRACT, '-', '-'},  {VK_DECIMAL, '.', '.'},
    {VK_DIVIDE, '/', '/'},    {VK_ESCAPE, 27, 27},      {VK_RETURN, 13, 13},      {VK_BACK, 8, 8},
    {VK_TAB, 9, 9},
};

}  // namespace

WPARAM VirtualKey(int32_t key, uint16_t modifiers) {
    if (key >= 'a' && key <= 'z') return static_cast<WPARAM>('A' + (key - 'a'));
    if (key >= '0' && key <= '9') return static_cast<WPARAM>(key);
    if (key >= kKeyF1 && key <= kKeyF12) return static_cast<WPARAM>(VK_F1 + (key - kKeyF1));
    bool numLock = (modifiers & kModNumLock) != 0;
    if (key >= kKeyPad0 && key <= kKeyPad9)
        return numLock ? static_cast<WPARAM>(VK_NUMPAD0 + (key - kKeyPad0)) : kPadNavigation[key - kKeyPad0];
    if (key == kKeyPadPeriod) return numLock ? VK_DECIMAL : kPadNavigation[10];
    for (const KeyName& name : kNamedKeys)
        if (name.key == key) return name.vk;
    return 0;
}

int Character(WPARAM vk, uint16_t modifiers) {
    bool shift = (modifiers & kModShift) != 0;
    bool capsLock = (modifiers & kModCapsLock) != 0;
    bool ctrl = (modifiers & kModCtrl) != 0 && (modifiers & kModAlt) == 0;
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
    for (const Punctuation& p : kCharacters)
        if (p.vk == vk) return static_cast<unsigned char>(shift ? p.withShift : p.plain);
    return 0;
}

}  // namespace keyboard
}  // namespace platform
