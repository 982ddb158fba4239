// The settings' keys and joystick choice in the input component.
#include "settings/InputSettings.h"

#include "settings/KeyNames.h"

namespace {

constexpr TInputState ActionStates[KeyActionCount] = {stUp, stLeft, stRight, stButton32};

}  // namespace

int KeyboardCodeFor(int code, bool throughDevice) {
  const TKeyName* key = FindKey(code);
  if (!key) return 0;
  return throughDevice ? ScanCodeToVirtualKey(key->ScanCode) : key->Code;
}

void ApplyKeys(TCustomDXInput& input, const TSettings& settings) {
  TKeyboard& keyboard = *input.Keyboard;
  // Before the component is initialised, how it will read is what it asks for.
  bool throughDevice = keyboard.Initialized ? keyboard.Device() != nullptr : input.UseDirectInput();
  for (int a = 0; a < KeyActionCount; ++a) {
    std::int32_t* slots = keyboard.Assigns[ActionStates[a]];
    int used = 0;
    for (std::uint8_t code : settings.Keys[static_cast<std::size_t>(a)]) {
      int tested = KeyboardCodeFor(code, throughDevice);
      if (tested == 0 || used == 3) continue;
      bool twice = false;  // Left Shift and Right Shift are one code to the device
      for (int j = 0; j < used; ++j) twice |= slots[j] == tested;
      if (!twice) slots[used++] = tested;
    }
    for (int j = used; j < 3; ++j) slots[j] = 0;
  }
}

void ApplyJoystick(TCustomDXInput& input, const TSettings& settings) {
  switch (settings.Joystick.Kind) {
    case TJoystickChoice::jcStored:
      break;
    case TJoystickChoice::jcFirst:
      input.Joystick->SetID(0);
      break;
    case TJoystickChoice::jcNumber:
      input.Joystick->SetID(settings.Joystick.Number - 1);
      break;
  }
}
