// TCustomInput: registration, the common cooperative level and the state read with one retry.
#include "input/CustomInput.h"

#include <cstring>

#include "input/DXInput.h"

TCustomInput::TCustomInput(TCustomDXInput* dxInput) : dxInput_(dxInput) {
  dxInput_->devices_.push_back(this);
}

TCustomInput::~TCustomInput() {
  TCustomInput::Finalize();
  auto& list = dxInput_->devices_;
  std::erase(list, this);
}

void TCustomInput::Finalize() {
  if (device2_) {
    device2_->Release();
    device2_ = nullptr;
  }
  if (device_) {
    device_->Unacquire();
    device_->Release();
    device_ = nullptr;
  }
  Initialized = false;
  ButtonCount = 0;
  ForceFeedbackDevice = false;
  DeviceStates = {};
}

void TCustomInput::Initialize() { Finalize(); }

DWORD TCustomInput::CooperativeLevel() {
  DWORD access = ForceFeedbackDevice && forceFeedback_ ? DISCL_EXCLUSIVE : DISCL_NONEXCLUSIVE;
  DWORD focus = dxInput_->ActiveOnly() ? DISCL_FOREGROUND : DISCL_BACKGROUND;
  return access | focus;
}

void TCustomInput::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  if (!dxInput_->Loading()) Initialize();
}

void TCustomInput::SetForceFeedback(bool value) {
  if (forceFeedback_ == value) return;
  forceFeedback_ = value;
  if (!dxInput_->Loading()) Initialize();
}

bool TCustomInput::GetDeviceState(DWORD size, void* data) {
  std::memset(data, 0, size);
  if (!device_) return false;
  HRESULT hr = device_->GetDeviceState(size, data);
  if (hr == DIERR_INPUTLOST || hr == DIERR_NOTACQUIRED) {
    device_->Acquire();
    hr = device_->GetDeviceState(size, data);
  }
  return hr == DI_OK;
}

bool TCustomInput::Inactive() const {
  return dxInput_->ActiveOnly() && dxInput_->FormHandle() != GetForegroundWindow();
}

bool TCustomInput::Designing() const { return dxInput_->Designing(); }
