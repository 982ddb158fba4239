// The settings' keys and joystick choice, put into the input component.
#pragma once

#include "input/DXInput.h"
#include "settings/Settings.h"

// The code the game's keyboard tests for a key of the key-name table: through the keyboard
// device the code its scan code gives (so Left Shift and Right Shift both give Shift's, and the
// punctuation keys their character's), through the keyboard state the key's own code. 0 for a
// key the keyboard does not see that way.
int KeyboardCodeFor(int code, bool throughDevice);

// Replaces the keys of thrust (stUp), turning left (stLeft) and right (stRight) and fine control
// (stButton32) in the keyboard's key map with the settings' keys; the other states keep theirs.
// Call it once the form is loaded: which codes go in depends on how the keyboard reads.
void ApplyKeys(TCustomDXInput& input, const TSettings& settings);

// Selects the settings' joystick: the stored ID stays for `stored`; `first` is ID 0; number n is
// ID n - 1.
void ApplyJoystick(TCustomDXInput& input, const TSettings& settings);
