// The frame timer.
#include "framework/DXTimer.h"

#include "framework/Extended.h"
#include "platform/SystemTime.h"
#include "shell/FormReader.h"
#include "shell/StoredValue.h"

TCustomDXTimer::TCustomDXTimer(TComponent* AOwner) : TComponent(AOwner) {
  FActiveOnly = true;
  FEnabled = true;
  SetInterval(1000);
  if (Application) FHook = Application->HookMainWindow([this](TMessage& m) { return ActivationHook(m); });
}

TCustomDXTimer::~TCustomDXTimer() {
  StopTimer();
  if (Application) Application->UnhookMainWindow(FHook);
}

void TCustomDXTimer::SetActiveOnly(bool value) {
  if (value == FActiveOnly) return;
  FActiveOnly = value;
  if (FRunning && !Loading()) StartTimer();
}

void TCustomDXTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  if (Loading()) return;
  if (value)
    StartTimer();
  else
    StopTimer();
}

void TCustomDXTimer::SetInterval(DWORD value) {
  if (value == FInterval) return;
  auto v = static_cast<std::int32_t>(value);
  FInterval = static_cast<DWORD>(v > 0 ? v : 0);
  FIntervalDivisor = static_cast<DWORD>(v > 1 ? v : 1);
}

void TCustomDXTimer::Loaded() {
  TComponent::Loaded();
  if (!Designing() && FEnabled) StartTimer();
}

void TCustomDXTimer::StartTimer() {
  StopTimer();
  if (!FActiveOnly || (Application && Application->Active())) AttachIdle();
  FRunning = true;
}

void TCustomDXTimer::StopTimer() {
  if (!FRunning) return;
  DetachIdle();
  FRunning = false;
}

void TCustomDXTimer::AttachIdle() {
  FTickTime = timeGetTime();
  FRateTime = timeGetTime();
  if (Application) Application->OnIdle = [this](TObject* sender, bool& done) { IdleTick(sender, done); };
}

void TCustomDXTimer::DetachIdle() {
  if (Application) Application->OnIdle = nullptr;
}

bool TCustomDXTimer::ActivationHook(TMessage& Message) {
  if (Message.Msg == CM_ACTIVATE) {
    NotifyActivate();
    if (FRunning && FActiveOnly) AttachIdle();
  } else if (Message.Msg == CM_DEACTIVATE) {
    NotifyDeactivate();
    if (FRunning && FActiveOnly) DetachIdle();
  }
  return false;
}

void TCustomDXTimer::IdleTick(TObject*, bool& Done) {
  Done = false;
  DWORD now = timeGetTime();
  DWORD elapsed = now - FTickTime;  // unsigned: right across the clock's wrap-around
  if (elapsed < FInterval) {
    // Nothing to do before the next tick: the loop may sleep until then.
    if (Application) Application->IdleWakeAt(FTickTime + FInterval);
    return;
  }
  FTickTime = now;
  auto lagCount = static_cast<std::int32_t>(elapsed / FIntervalDivisor);
  if (lagCount < 1) lagCount = 1;
  ++FFrameCount;
  std::int32_t span = static_cast<std::int32_t>(now - FRateTime);
  if (span < 1) span = 1;
  if (span >= 1000) {
    Extended rate = Extended(static_cast<std::int64_t>(FFrameCount) * 1000) / span;
    FFramesPerSecond = RoundToInt(rate);  // halves to even
    FFrameCount = 0;
    FRateTime = now;
  }
  if (Application) Application->IdleWakeAt(now + FInterval);
  NotifyTimer(lagCount);
}

void TCustomDXTimer::NotifyActivate() {
  if (OnActivate) OnActivate(this);
}

void TCustomDXTimer::NotifyDeactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomDXTimer::NotifyTimer(int LagCount) {
  if (OnTimer) OnTimer(this, LagCount);
}

bool TDXTimer::SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) {
  bool flag = false;
  if (name == "ActiveOnly") {
    if (!StoredBoolean(value, flag, error)) return false;
    SetActiveOnly(flag);
    return true;
  }
  if (name == "Enabled") {
    if (!StoredBoolean(value, flag, error)) return false;
    SetEnabled(flag);
    return true;
  }
  if (name == "Interval") {
    std::int64_t v = 0;
    if (!StoredInteger(value, v, INT32_MIN, UINT32_MAX, error)) return false;
    SetInterval(static_cast<DWORD>(v));
    return true;
  }
  if (name == "OnActivate") return StoredEvent(value, OnActivate, error);
  if (name == "OnDeactivate") return StoredEvent(value, OnDeactivate, error);
  if (name == "OnTimer") return StoredEvent(value, OnTimer, error);
  return TCustomDXTimer::SetStoredProperty(name, value, error);
}

void RegisterFrameworkClasses() {
  RegisterComponentClass("TDXTimer", [](TComponent* owner) { return new TDXTimer(owner); });
}
