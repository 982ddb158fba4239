// How the browser's keys translate into the platform's codes. A key is named by its
// KeyboardEvent.code: the key's position on the keyboard ("KeyA", "ArrowUp", "ShiftLeft"),
// whatever the layout prints on it, which is what scan codes stand for too.
#pragma once

#include <string_view>

// The PC set-1 scan code of a key (extended keys as 0x80 | code), or 0 for a key that has none here.
int PcScanCodeFromWeb(std::string_view code);

// The virtual-key code of a key on a US layout, or 0. Shift, Control and Alt give the codes that
// do not tell the sides apart (0x10, 0x11, 0x12); the keypad digits give the numpad codes.
int VirtualKeyFromWeb(std::string_view code);

// For Shift, Control and Alt the code of the one side (VK_LSHIFT 0xA0 ... VK_RMENU 0xA5); 0 for
// every other key.
int SidedVirtualKeyFromWeb(std::string_view code);
