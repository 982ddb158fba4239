// Demos in the game's window.
#include "app/GameDemo.h"

#include "app/Form1.h"
#include "framework/DXTimer.h"
#include "shell/Application.h"

TGameDemo::TGameDemo(TDemoOptions options, std::ostream& out, std::ostream& err)
    : FOptions(std::move(options)),
      FRun(
          "tarnyx", [&out](const std::string& line) { out << line << '\n' << std::flush; },
          [&err](const std::string& line) { err << line << '\n' << std::flush; }) {}

bool TGameDemo::Prepare(std::uint32_t clockSeed, int& status) {
  const bool opened = FOptions.Mode == TDemoOptions::dmRecord ? FRun.Record(FOptions.File, clockSeed)
                                                               : FRun.Play(FOptions.File, Fast());
  if (!opened) {
    status = FRun.Status();
    return false;
  }
  // Before the window is made, so that the signals quit through the game (SDL leaves a handler
  // that is already there alone).
  FRun.CatchStopRequests();
  return true;
}

void TGameDemo::Run(TForm1& form) {
  // In front of what already watches the frames (the sound), which then hears the demo's input.
  auto input = form.OnFrameInput;
  auto end = form.OnFrameEnd;
  form.OnFrameInput = [this, input](TInputStates& states) {
    FRun.FrameInput(states);
    if (input) input(states);
  };
  form.OnFrameEnd = [this, end] {
    FRun.FrameEnd();
    if (end) end();
  };
  FRun.OnDone = [] { Application->Terminate(); };
  // Nothing to play: no frame would ever end the loop.
  if (FRun.Playing() && FRun.Done()) Application->Terminate();
  if (Fast() && form.DXTimer) form.DXTimer->SetInterval(0);  // a tick on every turn of the loop

  Application->BeginRun();
  while (!Application->Terminated()) {
    if (FRun.StopRequested()) Application->Terminate();
    // As fast as it goes: never wait while the timer ticks (it does not while the game is
    // inactive, and then the loop waits for the next message as it always does).
    if (Fast() && Application->OnIdle)
      Application->ProcessMessagesAndIdle();
    else
      Application->HandleMessage();
  }
  Application->EndRun();
  form.OnFrameInput = input;
  form.OnFrameEnd = end;
  FRun.OnDone = nullptr;
}

int TGameDemo::Finish() {
  const int status = FRun.Finish();
  // Only now: a closing console (Windows) holds the process until the requests are given back,
  // and the recording must be complete by then.
  FRun.ReleaseStopRequests();
  return status;
}
