// TJoystick: selection by ID, the data format, dead zones and ranges, and the poll on both paths.
#include "input/Joystick.h"

#include <algorithm>
#include <cstring>

#include "input/DXInput.h"
#include "platform/SystemTime.h"

namespace {

bool ValidIndex(int index) { return index >= 0 && index <= TJoystick::StateSize - 2; }

std::int32_t ClampToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

std::int32_t ScaleAxis(std::int32_t position, std::int32_t maximum, std::int32_t minimum,
                       std::int32_t range, std::int32_t deadZone) {
  // 64-bit intermediates: the same results as 32-bit arithmetic for every span a joystick
  // reports, and no overflow for nonsense limits.
  std::int64_t half = (static_cast<std::int64_t>(maximum) - minimum) / 2;
  std::int64_t d = position - half;
  std::int64_t dz = half * deadZone / 100;
  if (half - dz == 0) return 0;
  if ((d < 0 ? -d : d) <= dz) return 0;
  std::int64_t beyond = d > 0 ? d - dz : d + dz;
  return MulDiv(ClampToInt32(beyond), range, ClampToInt32(half - dz));
}

TJoystick::TJoystick(TCustomDXInput* dxInput) : TCustomInput(dxInput) {
  for (int axis : {AxisX, AxisY, AxisZ}) {
    deadZones_[axis] = 50;
    ranges_[axis] = 1000;
  }
}

void TJoystick::Finalize() {
  TCustomInput::Finalize();
  JoystickIndex = -1;
  std::memset(&JoyState, 0, sizeof JoyState);
  std::memset(&JoyCaps, 0, sizeof JoyCaps);
}

void TJoystick::Initialize() {
  Finalize();
  if (!Enabled() || id_ < 0 || Designing()) return;
  bool directInputReady = false;
  if (DXInput()->DirectInput()) {
    try {
      directInputReady = InitializeDirectInput();
    } catch (...) {
      Finalize();
      throw;
    }
  }
  if (!device_) InitializeMultimedia();
  // With a DirectInput object but no ID-th joystick there, the multimedia search above may
  // still have found one; the joystick nevertheless yields nothing.
  Initialized = directInputReady || !DXInput()->DirectInput();
}

bool TJoystick::InitializeDirectInput() {
  IDirectInputA* di = DXInput()->DirectInput();
  found_ = false;
  enumCount_ = 0;
  di->EnumDevices(
      DIDEVTYPE_JOYSTICK,
      [](const DIDEVICEINSTANCEA* instance, void* ref) {
        auto* self = static_cast<TJoystick*>(ref);
        if (self->enumCount_++ != self->id_) return DIENUM_CONTINUE;
        self->selected_ = instance->guidInstance;
        self->found_ = true;
        return DIENUM_STOP;
      },
      this, DIEDFL_ATTACHEDONLY);
  if (!found_) return false;

  // The selected joystick is opened directly (not anew through the generic joystick
  // identifier), so that the device read is the one ID chose.
  if (di->CreateDevice(selected_, &device_, nullptr) != DI_OK) {
    device_ = nullptr;
    return false;
  }
  DIDEVCAPS caps{};
  caps.dwSize = sizeof caps;
  if (device_->GetCapabilities(&caps) == DI_OK) {
    ButtonCount = static_cast<std::int32_t>(caps.dwButtons);
    ForceFeedbackDevice = (caps.dwFlags & DIDC_FORCEFEEDBACK) != 0;
  }

  BuildDataFormat();
  if (device_->SetDataFormat(&format_) != DI_OK) {
    device_->Release();
    device_ = nullptr;
    return false;
  }
  SetAutoCenter(autoCenter_);
  for (int i = 0; i < StateSize; ++i) SetDeadZone(i, deadZones_[i]);
  for (int i = 0; i < StateSize; ++i) SetRange(i, ranges_[i]);
  void* two = nullptr;
  if (device_->QueryInterface(IID_IDirectInputDevice2A, &two) == DI_OK)
    device2_ = static_cast<IDirectInputDevice2A*>(two);
  return true;
}

void TJoystick::BuildDataFormat() {
  format_ = {};
  format_.dwSize = sizeof(DIDATAFORMAT);
  format_.dwObjSize = sizeof(DIOBJECTDATAFORMAT);
  format_.dwFlags = DIDF_ABSAXIS;
  format_.dwDataSize = StateSize;
  format_.rgodf = formatObjects_;
  device_->EnumObjects(
      [](const DIDEVICEOBJECTINSTANCEA* object, void* ref) {
        auto* self = static_cast<TJoystick*>(ref);
        DWORD n = self->format_.dwNumObjs;
        if (n >= 256) return DIENUM_STOP;
        if (object->dwOfs < StateSize) {
          self->formatGuids_[n] = object->guidType;
          self->formatObjects_[n] = {&self->formatGuids_[n], object->dwOfs, object->dwType, 0};
          self->format_.dwNumObjs = n + 1;
        }
        return DIENUM_CONTINUE;
      },
      this, DIDFT_ALL);
}

void TJoystick::InitializeMultimedia() {
  JoystickIndex = -1;
  int answered = 0;
  for (UINT n = 0; n < 256; ++n) {
    std::memset(&JoyCaps, 0, sizeof JoyCaps);
    if (joyGetDevCapsA(n, &JoyCaps, sizeof JoyCaps) != JOYERR_NOERROR) continue;
    if (answered++ == id_) {
      JoystickIndex = static_cast<std::int32_t>(n);
      break;
    }
  }
  if (JoystickIndex == -1) return;
  if (joyGetDevCapsA(static_cast<UINT>(JoystickIndex), &JoyCaps, sizeof JoyCaps) == JOYERR_NOERROR)
    ButtonCount = static_cast<std::int32_t>(JoyCaps.wNumButtons);
  else
    JoystickIndex = -1;
}

DWORD TJoystick::CooperativeLevel() {
  if (!autoCenter_) return DISCL_EXCLUSIVE | DISCL_FOREGROUND;
  return TCustomInput::CooperativeLevel();
}

void TJoystick::Update() {
  std::memset(&JoyState, 0, sizeof JoyState);
  DeviceStates = {};
  if (!Initialized || Inactive()) return;
  if (device_) {
    if (device2_) device2_->Poll();
    if (!GetDeviceState(sizeof JoyState, &JoyState)) std::memset(&JoyState, 0, sizeof JoyState);
  } else if (JoystickIndex != -1) {
    JOYINFOEX info{};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNZ | JOY_RETURNPOV | JOY_RETURNBUTTONS |
                   JOY_RETURNCENTERED;
    // A failed call leaves the position undefined: take it as no deflection and no button.
    if (joyGetPosEx(static_cast<UINT>(JoystickIndex), &info) == JOYERR_NOERROR) {
      auto axis = [this](DWORD position, UINT maximum, UINT minimum, int index) {
        return ScaleAxis(static_cast<std::int32_t>(position), static_cast<std::int32_t>(maximum),
                         static_cast<std::int32_t>(minimum), ranges_[index], deadZones_[index]);
      };
      JoyState.lX = axis(info.dwXpos, JoyCaps.wXmax, JoyCaps.wXmin, AxisX);
      JoyState.lY = axis(info.dwYpos, JoyCaps.wYmax, JoyCaps.wYmin, AxisY);
      JoyState.lZ = axis(info.dwZpos, JoyCaps.wZmax, JoyCaps.wZmin, AxisZ);
      JoyState.rgdwPOV[0] = info.dwPOV;
      UINT buttons = std::min<UINT>(JoyCaps.wNumButtons, 32);
      for (UINT i = 0; i < buttons; ++i)
        if (info.dwButtons >> i & 1u) JoyState.rgbButtons[i] = 0x80;
    }
  }
  for (int i = 0; i < 32; ++i)
    if (JoyState.rgbButtons[i] & 0x80) DeviceStates.Include(ButtonState(i + 1));
  if (JoyState.lX < 0) DeviceStates.Include(stLeft);
  if (JoyState.lX > 0) DeviceStates.Include(stRight);
  if (JoyState.lY < 0) DeviceStates.Include(stUp);
  if (JoyState.lY > 0) DeviceStates.Include(stDown);
}

std::int32_t TJoystick::DeadZone(int index) const { return ValidIndex(index) ? deadZones_[index] : 0; }

std::int32_t TJoystick::Range(int index) const { return ValidIndex(index) ? ranges_[index] : 0; }

void TJoystick::SetDeadZone(int index, std::int32_t value) {
  if (!ValidIndex(index)) return;
  value = std::clamp(value, 0, 100);
  if (index == AxisPOV) {
    deadZones_[index] = -1;
    return;
  }
  deadZones_[index] = value;
  if (!device_) return;
  DIPROPDWORD p{{sizeof p, sizeof(DIPROPHEADER), static_cast<DWORD>(index), DIPH_BYOFFSET},
                static_cast<DWORD>(value * 100)};
  if (FAILED(device_->SetProperty(DIPROP_DEADZONE, &p.diph))) deadZones_[index] = -1;
}

void TJoystick::SetRange(int index, std::int32_t value) {
  if (!ValidIndex(index)) return;
  value = std::max(value, 0);
  if (index == AxisPOV) {
    ranges_[index] = -1;
    return;
  }
  ranges_[index] = value;
  if (!device_) return;
  DIPROPRANGE r{{sizeof r, sizeof(DIPROPHEADER), static_cast<DWORD>(index), DIPH_BYOFFSET},
                -value, value};
  if (FAILED(device_->SetProperty(DIPROP_RANGE, &r.diph))) ranges_[index] = -1;
}

void TJoystick::SetAutoCenter(bool value) {
  autoCenter_ = value;
  if (!device_) return;
  DIPROPDWORD p{{sizeof p, sizeof(DIPROPHEADER), 0, DIPH_DEVICE},
                value ? DIPROPAUTOCENTER_ON : DIPROPAUTOCENTER_OFF};
  device_->SetProperty(DIPROP_AUTOCENTER, &p.diph);
}

void TJoystick::SetID(std::int32_t value) {
  if (id_ == value) return;
  id_ = value;
  Initialize();
}
