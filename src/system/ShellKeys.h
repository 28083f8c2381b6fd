// The key combinations the shell acts on by itself, each a way off the lock screen: the Windows
// keys (the Start menu, Win+R, Win+D...), Alt+Tab, Alt+Esc and Ctrl+Esc (with or without Shift).
// Ctrl+Alt+Del never reaches a program, and stays with Windows.
#pragma once

namespace lumivar {

inline constexpr unsigned kVkTab = 0x09, kVkEscape = 0x1B, kVkLeftWin = 0x5B, kVkRightWin = 0x5C;

constexpr bool IsShellKey(unsigned vk, bool altDown, bool ctrlDown) {
    switch (vk) {
    case kVkLeftWin:
    case kVkRightWin:
        return true;  // down and up: a lone Win key up opens the Start menu
    case kVkTab:
        return altDown;
    case kVkEscape:
        return altDown || ctrlDown;
    default:
        return false;
    }
}

}  // namespace lumivar
