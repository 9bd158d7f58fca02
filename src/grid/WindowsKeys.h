#pragma once

#include <Qt>

// Key values as the grid and its editor compare them (the values that the
// table editor's key handling has always used).
inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;
inline constexpr int VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_F2 = 0x71;

// The key value of a Qt key, or 0 when the key has none of the values above
// (letters and digits map to their upper-case character values).
int WindowsKeyFromQtKey(int qtKey);

// True for the navigation keys 33..40 (Page Up, Page Down, End, Home and the
// arrows).
constexpr bool IsNavigationKey(int vk)
{
    return vk >= VK_PRIOR && vk <= VK_DOWN;
}
