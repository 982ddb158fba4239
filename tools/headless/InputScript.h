// Scripted keys and joysticks for a headless run: --keys, --joysticks, --joy and --no-directinput.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/headless/Commands.h"

class THeadlessBackend;

// One key held from frame First to frame Last (counted from 1, both included).
struct TScriptedKey {
  int First = 0, Last = 0;
  std::uint8_t ScanCode = 0;    // PC set-1, extended keys at 0x80 and up
  std::uint8_t VirtualKey = 0;
  std::uint8_t SideKey = 0;     // VK_LSHIFT or VK_RSHIFT beside VK_SHIFT, else 0
};

// One joystick's stick and buttons held from frame First to frame Last.
struct TScriptedStick {
  int Index = 0;
  int First = 0, Last = 0;
  std::int32_t X = 0, Y = 0;     // raw, -32768..32767
  std::uint32_t Buttons = 0;     // bit n = button n + 1
};

// What the options asked for.
struct TInputScript {
  std::vector<TScriptedKey> Keys;
  int JoystickCount = 0;
  std::vector<TScriptedStick> Sticks;
  bool DirectInput = true;
};

// Reading one option's value into the script. Each throws EUsageError for an unknown key name,
// a malformed list of spans or a count out of range.
void ReadKeysOption(TInputScript& script, const std::string& spans);
void ReadJoysticksOption(TInputScript& script, const std::string& count);
void ReadJoyOption(TInputScript& script, const std::string& spans);
// Throws EUsageError when --joy names a joystick that --joysticks did not attach.
void CheckInputScript(const TInputScript& script);

// Adds --keys, --joysticks, --joy and --no-directinput to the run command's option table.
void AddInputRunOptions();

// Readies the backend and the libraries for the run: the joysticks attached, and "DInput.dll"
// made unavailable for --no-directinput. Call once, before the form is created.
void PrepareInput(const TInputScript& script, THeadlessBackend& backend);

// Sets the backend's keys and joysticks to what the script holds during frame (from 1); call
// before each frame polls its input.
void ApplyInput(const TInputScript& script, int frame, THeadlessBackend& backend);
