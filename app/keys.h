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
