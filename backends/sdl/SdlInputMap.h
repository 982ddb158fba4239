// How SDL's keys and joystick hats translate into the platform's codes. No SDL types here, so
// that the translation can be checked without a window: SDL's scancodes are the USB usage ids of
// the keys, and its hat directions are the bits up 1, right 2, down 4, left 8.
#pragma once

#include "platform/Backend.h"

// The PC set-1 scan code of a key (extended keys as 0x80 | code, the keyboard device's numbering),
// or 0 for a key that has none here or a value outside SDL's range.
int PcScanCodeFromSdl(int sdlScancode);

// The virtual-key code of a key on a US layout, or 0. Shift, Control and Alt give the codes that
// do not tell the sides apart (0x10, 0x11, 0x12); the keypad digits give the numpad codes.
int VirtualKeyFromSdl(int sdlScancode);

// One press or release of a key as the backend reports it: its codes, whether Alt is held and
// whether the keyboard repeats it. Every key is reported, the program's own keys too.
TBackendEvent KeyEventFromSdl(int sdlScancode, bool down, bool alt, bool repeat);

// For Shift, Control and Alt the code of the one side (VK_LSHIFT 0xA0 ... VK_RMENU 0xA5); 0 for
// every other key.
int SidedVirtualKeyFromSdl(int sdlScancode);

// A hat's direction bits as hundredths of a degree clockwise from up (0, 4500 ... 31500), or -1
// when centred or when the bits make no direction (up and down at once).
int HatToHundredthsOfDegree(int hatBits);
