// TMouse: the mouse device, which this game keeps disabled.
#pragma once

#include "input/CustomInput.h"

// The mouse. Disabled and unbound by default; enabling it needs a DirectInput object. This
// platform offers no mouse device, so even then it stays uninitialised and yields nothing.
class TMouse : public TCustomInput {
 public:
  explicit TMouse(TCustomDXInput* dxInput);

  void Initialize() override;
  void Update() override;
};
