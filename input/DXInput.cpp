// TCustomDXInput: the component's life, the latch, the window hook and the shared DirectInput object.
#include "input/DXInput.h"

#include "platform/DirectInput.h"

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
          input_shim::PlatformProc("DInput.dll", "DirectInputCreateA"));
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

HWND TCustomDXInput::FormHandle() const { return form_ ? form_->Handle : nullptr; }

bool TCustomDXInput::Loading() const { return TComponent::Loading; }

bool TCustomDXInput::Designing() const { return TComponent::Designing; }

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
