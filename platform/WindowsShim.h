// Temporary stand-in for the window handle and foreground window until the window objects land;
// compiled only while platform/Windows.h does not exist yet.
#pragma once

#if __has_include("platform/Windows.h")
#include "platform/Windows.h"
#else
struct TWindowShim;
using HWND = TWindowShim*;
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);
#endif
