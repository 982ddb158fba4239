// TJoystick: the stick's deflection and buttons as input states, by DirectInput or the multimedia functions.
#pragma once

#include <cstdint>

#include "input/CustomInput.h"
#include "platform/MultimediaJoystick.h"

// Scales a multimedia position to -range..range around half the span measured from 0, with the
// dead zone (percent of the half span) reporting 0. All in 32-bit integers.
std::int32_t ScaleAxis(std::int32_t position, std::int32_t maximum, std::int32_t minimum,
                       std::int32_t range, std::int32_t deadZone);

// The joystick selected by ID (counting from 0 in the platform's order; negative disables it).
// Each poll turns X and Y into stLeft/stRight/stUp/stDown (negative Y is forward, stUp) and the
// first 32 buttons into stButton1..stButton32. Dead zones and ranges are kept per byte offset of
// an axis in the joystick state (X 0, Y 4, Z 8); -1 marks a value the device refused.
class TJoystick : public TCustomInput {
 public:
  static constexpr int StateSize = 272;
  static constexpr int AxisX = 0, AxisY = 4, AxisZ = 8, AxisPOV = 32;

  explicit TJoystick(TCustomDXInput* dxInput);

  void Finalize() override;
  void Initialize() override;
  DWORD CooperativeLevel() override;
  void Update() override;

  std::int32_t DeadZone(int index) const;
  std::int32_t Range(int index) const;
  void SetDeadZone(int index, std::int32_t value);
  void SetRange(int index, std::int32_t value);
  std::int32_t DeadZoneX() const { return DeadZone(AxisX); }
  std::int32_t DeadZoneY() const { return DeadZone(AxisY); }
  std::int32_t DeadZoneZ() const { return DeadZone(AxisZ); }
  std::int32_t RangeX() const { return Range(AxisX); }
  std::int32_t RangeY() const { return Range(AxisY); }
  std::int32_t RangeZ() const { return Range(AxisZ); }

  bool AutoCenter() const { return autoCenter_; }
  void SetAutoCenter(bool value);
  std::int32_t ID() const { return id_; }
  // A different ID opens the joystick anew.
  void SetID(std::int32_t value);

  DIJOYSTATE2 JoyState{};
  std::int32_t JoystickIndex = -1;  // the multimedia joystick in use, -1 for none
  JOYCAPSA JoyCaps{};

 private:
  // The DirectInput way; false when it stopped before the device was ready.
  bool InitializeDirectInput();
  void InitializeMultimedia();
  void BuildDataFormat();

  bool autoCenter_ = true;
  GUID selected_{};
  bool found_ = false;
  std::int32_t enumCount_ = 0;
  std::int32_t id_ = 0;
  std::int32_t deadZones_[StateSize] = {};
  std::int32_t ranges_[StateSize] = {};
  // The data format handed to the device: one entry per object of the device in the state.
  DIOBJECTDATAFORMAT formatObjects_[256] = {};
  GUID formatGuids_[256] = {};
  DIDATAFORMAT format_{};
};
