// TCustomInput: what the keyboard, the joystick and the mouse have in common.
#pragma once

#include <cstdint>

#include "input/InputStates.h"
#include "platform/DirectInput.h"

class TCustomDXInput;

// One input device of the input component. It registers itself with the component when created
// and rebuilds its DeviceStates from nothing on every Update. A device that is not Initialized
// yields nothing; Initialize opens the platform device (always finalising first), Finalize gives
// it back.
class TCustomInput {
 public:
  explicit TCustomInput(TCustomDXInput* dxInput);
  virtual ~TCustomInput();
  TCustomInput(const TCustomInput&) = delete;
  TCustomInput& operator=(const TCustomInput&) = delete;

  virtual void Finalize();
  virtual void Initialize();
  // The cooperative-level flags for this device's platform device.
  virtual DWORD CooperativeLevel();
  virtual void Update() = 0;

  bool Enabled() const { return enabled_; }
  bool ForceFeedback() const { return forceFeedback_; }
  // A new value re-opens the device, except while the form is being loaded.
  void SetEnabled(bool value);
  void SetForceFeedback(bool value);

  // The opened platform device, if any, and the same device with polling (joystick only).
  IDirectInputDeviceA* Device() const { return device_; }
  TCustomDXInput* DXInput() const { return dxInput_; }

  bool BindInputStates = true;
  std::int32_t ButtonCount = 0;
  bool ForceFeedbackDevice = false;
  bool Initialized = false;
  TInputStates DeviceStates;

 protected:
  // Reads the device's state into data (zeroed first). A lost or unacquired device is acquired
  // and read once more. True only when the final read succeeded.
  bool GetDeviceState(DWORD size, void* data);
  // True when the component delivers nothing now: ActiveOnly and the form's window is not in front.
  bool Inactive() const;
  bool Designing() const;

  IDirectInputDeviceA* device_ = nullptr;
  IDirectInputDevice2A* device2_ = nullptr;
  bool enabled_ = true;

 private:
  TCustomDXInput* dxInput_;
  bool forceFeedback_ = false;
};
