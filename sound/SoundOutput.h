// Where a running program's sound goes: to the current back end, and under the player's keys.
#pragma once

#include <functional>

#include "shell/AppKeys.h"
#include "sound/GameSound.h"

// Hands each frame's samples from sound to the current back end (TBackend::PlaySound), which
// plays them; sound must outlive the calls.
void PlayOnBackend(TGameSound& sound);

// Makes the program's sound keys (M, - and =, see TAppKeys) mute, unmute and step sound's volume,
// and then calls changed, if given, so that a page can show the new state.
void ControlByKeys(TGameSound& sound, TAppKeys& keys, std::function<void()> changed = nullptr);

// Applies one sound key to sound: the program's keys and a page's own buttons do the same.
void ApplySoundKey(TGameSound& sound, TAppKeys::TSoundKey key);
