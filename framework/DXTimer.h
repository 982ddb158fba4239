// The frame timer: ticks from the message loop's idle phase at most once per interval, pauses
// while the application is inactive, and measures the ticks per second.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/WinTypes.h"
#include "shell/Application.h"
#include "shell/Component.h"

// The tick: LagCount is how many intervals passed since the previous tick (at least 1).
using TDXTimerEvent = std::function<void(TObject* Sender, int LagCount)>;

// The frame timer. Not a system timer: while ticking it is the application's idle handler and
// keeps the loop from blocking for good; each call reads the millisecond clock and fires OnTimer
// once Interval milliseconds (unsigned, wrap-safe) have passed since the last tick, and tells the
// loop when the next tick is due, so that it sleeps until then rather than polling. With ActiveOnly it leaves
// the idle slot while the application is inactive and comes back when it is active again, with
// both clock marks reset. FramesPerSecond is measured at the first tick at least 1000 ms after
// the last measurement (or attach), rounded halves to even.
class TCustomDXTimer : public TComponent {
 public:
  explicit TCustomDXTimer(TComponent* AOwner);
  ~TCustomDXTimer() override;

  bool ActiveOnly() const { return FActiveOnly; }
  // While the timer runs, a change restarts it, so that it ticks or pauses by the new rule.
  void SetActiveOnly(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  DWORD Interval() const { return FInterval; }
  void SetInterval(DWORD value);
  int FramesPerSecond() const { return FFramesPerSecond; }

  bool Running() const { return FRunning; }
  DWORD IntervalDivisor() const { return FIntervalDivisor; }
  int FrameCount() const { return FFrameCount; }
  DWORD TickTime() const { return FTickTime; }
  DWORD RateTime() const { return FRateTime; }

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TDXTimerEvent OnTimer;

  void Loaded() override;
  void StartTimer();
  void StopTimer();
  // The idle handler while ticking.
  void IdleTick(TObject* Sender, bool& Done);

 protected:
  virtual void NotifyActivate();
  virtual void NotifyDeactivate();
  virtual void NotifyTimer(int LagCount);
  void AttachIdle();
  void DetachIdle();
  // The main-window hook: learns of activation and deactivation; never handles a message.
  bool ActivationHook(TMessage& Message);

 private:
  bool FActiveOnly = true;
  bool FEnabled = true;
  int FFramesPerSecond = 0;
  bool FRunning = false;
  DWORD FInterval = 0;
  DWORD FIntervalDivisor = 0;
  int FFrameCount = 0;
  DWORD FTickTime = 0;
  DWORD FRateTime = 0;
  int FHook = 0;
};

// The timer as the stored form sets it: ActiveOnly, Enabled, Interval, OnActivate,
// OnDeactivate and OnTimer.
class TDXTimer : public TCustomDXTimer {
 public:
  using TCustomDXTimer::TCustomDXTimer;
  bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) override;
};

// Makes the framework's stored classes known to the form reader.
void RegisterFrameworkClasses();
