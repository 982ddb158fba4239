// The keyboard state over the backend.
#include "platform/KeyboardState.h"

#include "platform/Backend.h"

BOOL GetKeyboardState(BYTE* keyState) {
  if (!keyState || !HasBackend()) return FALSE_;
  Backend().VirtualKeyState(keyState);
  return TRUE_;
}
