// TMouse: disabled and unbound; refuses to start without DirectInput.
#include "input/Mouse.h"

#include "input/DXInput.h"

TMouse::TMouse(TCustomDXInput* dxInput) : TCustomInput(dxInput) {
  enabled_ = false;
  BindInputStates = false;
}

void TMouse::Initialize() {
  Finalize();
  if (!Enabled() || Designing()) return;
  if (!DXInput()->DirectInput()) throw EDXInputError("DirectInput is necessary to use the mouse");
  // This platform's DirectInput offers no mouse device: the mouse stays uninitialised.
}

void TMouse::Update() { DeviceStates = {}; }
