// The program's own key numbering: the virtual-key codes below index
// keyDown. The window layer translates the platform's keys into them.
#pragma once

// One flag per key code: 1 while the key is held.
extern unsigned char keyDown[256];
// One flag per key code: 1 once the key went down (not an auto-repeat) since
// the frame controller last looked, so that a tap shorter than a frame still
// counts as a press.
extern unsigned char keyPressed[256];

constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_F1 = 0x70;
// Letters and digits use their upper-case ASCII codes: 'A' = 0x41, '0' = 0x30.
constexpr int VK_KEY_0 = 0x30;
// The modifiers and the keys of the player, the help and undo/redo.
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_SPACE = 0x20;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_ADD = 0x6B;        // keypad +
constexpr int VK_SUBTRACT = 0x6D;   // keypad -
constexpr int VK_OEM_PLUS = 0xBB;   // the = / + key
constexpr int VK_OEM_COMMA = 0xBC;  // ,
constexpr int VK_OEM_MINUS = 0xBD;  // -
constexpr int VK_OEM_PERIOD = 0xBE; // .
constexpr int VK_OEM_2 = 0xBF;      // / and ?
