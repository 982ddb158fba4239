// The keyboard state over the backend, until the window objects (which carry it) land.
#include "platform/KeyboardState.h"

#if !__has_include("platform/Windows.h")
#include "platform/Backend.h"

BOOL GetKeyboardState(BYTE* keyState) {
  if (!keyState || !HasBackend()) return FALSE_;
  Backend().VirtualKeyState(keyState);
  return TRUE_;
}
#endif
