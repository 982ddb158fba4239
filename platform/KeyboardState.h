// The keyboard state of the window system: one byte per virtual-key code.
#pragma once

#include "platform/WinTypes.h"

#if __has_include("platform/Windows.h")
#include "platform/Windows.h"
#else
// Fills 256 bytes indexed by virtual-key code, bit 7 set while the key is down. FALSE for a null
// buffer.
BOOL GetKeyboardState(BYTE* keyState);
#endif
