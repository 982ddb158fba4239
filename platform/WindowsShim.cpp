// Temporary foreground window, until the window objects land.
#include "platform/WinTypes.h"

#if !__has_include("platform/Windows.h")
#include "platform/WindowsShim.h"

namespace {
HWND foreground = nullptr;
}

HWND GetForegroundWindow() { return foreground; }

BOOL SetForegroundWindow(HWND window) {
  foreground = window;
  return TRUE_;
}
#endif
