// TCustomDXInput: the component's life, the latch, the window hook and the shared DirectInput object.
#include "input/DXInput.h"

#include "framework/PlatformProc.h"
#include "platform/DirectInput.h"
#include "shell/FormReader.h"
#include "shell/StoredValue.h"

namespace {

IDirectInputA* sharedDirectInput = nullptr;
int sharedCount = 0;

}  // namespace

IDirectInputA* AcquireSharedDirectInput() {
  if (sharedCount == 0) {
    // Any failure leaves the object absent, and the devices fall back to the window system's
    // keyboard state and the multimedia joystick functions.
    try {
      auto create = reinterpret_cast<TDirectInputCreateA>(
          PlatformProc("DInput.dll", "DirectInputCreateA"));
      IDirectInputA* di = nullptr;
      if (create(nullptr, 0x0500, &di, nullptr) != DI_OK || !di) return nullptr;
      sharedDirectInput = di;
    } catch (...) {
      return nullptr;
    }
  }
  ++sharedCount;
  return sharedDirectInput;
}

void ReleaseSharedDirectInput() {
  if (sharedCount == 0) return;
  if (--sharedCount == 0) {
    sharedDirectInput->Release();
    sharedDirectInput = nullptr;
  }
}

int SharedDirectInputCount() { return sharedCount; }

TCustomDXInput::TCustomDXInput(TComponent* owner) : TComponent(owner) {
  activeOnly_ = true;
  Joystick = std::make_unique<TJoystick>(this);
  Keyboard = std::make_unique<TKeyboard>(this);
  Mouse = std::make_unique<TMouse>(this);
  useDirectInput_ = true;
  for (TComponent* c = owner; c && !form_; c = c->Owner()) form_ = dynamic_cast<TForm*>(c);
  if (!form_) throw EDXInputError("Form not found");
  hook_ = std::make_unique<TControlSubClass>(
      form_, [this](TMessage& m, const TWndMethod& previous) { FormWindowProc(m, previous); });
}

TCustomDXInput::~TCustomDXInput() {
  Finalize();
  hook_.reset();
  Mouse.reset();
  Keyboard.reset();
  Joystick.reset();
}

HWND TCustomDXInput::FormHandle() const {
  // Only a window that exists: asking for one would make it, and its creation message sets the
  // devices' levels anyway.
  return form_ && form_->HandleAllocated() ? form_->Handle() : nullptr;
}

void TCustomDXInput::Loaded() {
  TComponent::Loaded();
  Initialize();
}

void TCustomDXInput::Finalize() {
  for (TCustomInput* d : devices_) d->Finalize();
  if (directInput_) {
    directInput_ = nullptr;
    ReleaseSharedDirectInput();
  }
}

void TCustomDXInput::Initialize() {
  Finalize();
  if (Designing()) return;
  if (useDirectInput_) directInput_ = AcquireSharedDirectInput();
  for (TCustomInput* d : devices_) d->Initialize();
  SetCooperativeLevels(FormHandle());
  Update();
}

void TCustomDXInput::Update() {
  TInputStates now;
  for (TCustomInput* d : devices_) {
    d->Update();
    if (d->BindInputStates) now += d->DeviceStates;
  }
  for (int i = 0; i < InputStateCount; ++i) {
    auto s = static_cast<TInputState>(i);
    if (now.Contains(s) && !PolledStates.Contains(s)) InputStates.Include(s);
    if (!now.Contains(s) && PolledStates.Contains(s)) InputStates.Exclude(s);
  }
  PolledStates = now;
}

void TCustomDXInput::SetActiveOnly(bool value) {
  if (activeOnly_ == value) return;
  activeOnly_ = value;
  if (!Loading()) SetCooperativeLevels(FormHandle());
}

void TCustomDXInput::SetUseDirectInput(bool value) {
  if (useDirectInput_ == value) return;
  useDirectInput_ = value;
  Initialize();
}

// The platform refuses a new level for an acquired device, so the device is let go first; the
// next read or activation acquires it again.
void TCustomDXInput::SetCooperativeLevel(TCustomInput& device, HWND window) {
  if (IDirectInputDeviceA* d = device.Device()) {
    d->Unacquire();
    d->SetCooperativeLevel(window, device.CooperativeLevel());
  }
}

void TCustomDXInput::SetCooperativeLevels(HWND window) {
  for (TCustomInput* d : devices_) SetCooperativeLevel(*d, window);
}

void TCustomDXInput::AcquireAll() {
  for (TCustomInput* d : devices_) {
    if (activeOnly_ && FormHandle() != GetForegroundWindow()) continue;
    if (IDirectInputDeviceA* device = d->Device()) device->Acquire();
  }
}

// A joystick plugged in or pulled out: the joystick is opened again by the same ID rule, so a
// pad attached after start works without restarting.
void TCustomDXInput::JoysticksChanged() {
  if (Designing() || Loading()) return;
  Joystick->Initialize();
  SetCooperativeLevel(*Joystick, FormHandle());
  if (IDirectInputDeviceA* device = Joystick->Device())
    if (!activeOnly_ || FormHandle() == GetForegroundWindow()) device->Acquire();
}

void TCustomDXInput::FormWindowProc(TMessage& message, const TWndMethod& previous) {
  previous(message);
  switch (message.Msg) {
    case WM_CREATE:
      SetCooperativeLevels(FormHandle());
      break;
    case WM_ACTIVATE:
      if (LOWORD(message.WParam) != WA_INACTIVE) AcquireAll();
      break;
    case WM_ACTIVATEAPP:
      if (message.WParam != 0) AcquireAll();
      break;
    case WM_DEVICECHANGE:
      JoysticksChanged();
      break;
    default:
      break;
  }
}

namespace {

// The stored properties every device has.
bool SetDeviceProperty(TCustomInput& device, const std::string& name, const TStoredValue& value,
                       std::string& error, bool& handled) {
  bool flag = false;
  handled = true;
  if (name == "Enabled" || name == "BindInputStates" || name == "ForceFeedback") {
    if (!StoredBoolean(value, flag, error)) return false;
    if (name == "Enabled") device.SetEnabled(flag);
    if (name == "BindInputStates") device.BindInputStates = flag;
    if (name == "ForceFeedback") device.SetForceFeedback(flag);
    return true;
  }
  handled = false;
  return false;
}

bool SetJoystickProperty(TJoystick& joystick, const std::string& name, const TStoredValue& value,
                         std::string& error, bool& handled) {
  handled = true;
  if (name == "AutoCenter") {
    bool flag = false;
    if (!StoredBoolean(value, flag, error)) return false;
    joystick.SetAutoCenter(flag);
    return true;
  }
  struct TAxisProperty {
    const char* Name;
    int Index;
    bool DeadZone;
  };
  static const TAxisProperty axes[] = {
      {"DeadZoneX", TJoystick::AxisX, true}, {"DeadZoneY", TJoystick::AxisY, true},
      {"DeadZoneZ", TJoystick::AxisZ, true}, {"RangeX", TJoystick::AxisX, false},
      {"RangeY", TJoystick::AxisY, false},   {"RangeZ", TJoystick::AxisZ, false},
  };
  std::int64_t v = 0;
  for (const TAxisProperty& a : axes) {
    if (name != a.Name) continue;
    if (!StoredInteger(value, v, INT32_MIN, INT32_MAX, error)) return false;
    if (a.DeadZone)
      joystick.SetDeadZone(a.Index, static_cast<std::int32_t>(v));
    else
      joystick.SetRange(a.Index, static_cast<std::int32_t>(v));
    return true;
  }
  if (name == "ID") {
    if (!StoredInteger(value, v, INT32_MIN, INT32_MAX, error)) return false;
    joystick.SetID(static_cast<std::int32_t>(v));
    return true;
  }
  return SetDeviceProperty(joystick, name, value, error, handled);
}

}  // namespace

bool TCustomDXInput::SetStoredProperty(const std::string& name, const TStoredValue& value,
                                       std::string& error) {
  bool flag = false;
  if (name == "ActiveOnly" || name == "UseDirectInput") {
    if (!StoredBoolean(value, flag, error)) return false;
    if (name == "ActiveOnly")
      SetActiveOnly(flag);
    else
      SetUseDirectInput(flag);
    return true;
  }
  auto dot = name.find('.');
  if (dot == std::string::npos) return TComponent::SetStoredProperty(name, value, error);
  std::string device = name.substr(0, dot), property = name.substr(dot + 1);
  bool handled = false;
  bool ok = false;
  // The force-feedback effects a device carries: this game plays none, so the block is read and
  // dropped.
  if ((device == "Keyboard" || device == "Joystick" || device == "Mouse") &&
      property == "Effects.Effects") {
    std::vector<std::uint8_t> block;
    return StoredBinary(value, block, error);
  }
  if (device == "Keyboard") {
    // The key map was once written under a misspelt name; forms carrying it still read.
    if (property == "Assigns" || property == "Aissgns") {
      std::vector<std::uint8_t> block;
      if (!StoredBinary(value, block, error)) return false;
      if (!Keyboard->ReadAssigns(block.data(), block.size())) {
        error = "expects a key map of " + std::to_string(TKeyboard::AssignsSize) + " bytes, not " +
                std::to_string(block.size());
        return false;
      }
      return true;
    }
    ok = SetDeviceProperty(*Keyboard, property, value, error, handled);
  } else if (device == "Joystick") {
    ok = SetJoystickProperty(*Joystick, property, value, error, handled);
  } else if (device == "Mouse") {
    ok = SetDeviceProperty(*Mouse, property, value, error, handled);
  }
  if (handled) return ok;
  return TComponent::SetStoredProperty(name, value, error);
}

void RegisterInputClasses() {
  RegisterComponentClass("TDXInput", [](TComponent* owner) { return new TDXInput(owner); });
}
