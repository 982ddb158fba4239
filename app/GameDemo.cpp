// Demos in the game's window.
#include "app/GameDemo.h"

#include <cstdio>

#include "app/Form1.h"
#include "game/Main.h"
#include "shell/Application.h"
#include "system/Signals.h"

namespace {

// A non-negative amount with a fixed number of decimals, the same in every locale.
std::string Decimal(std::uint64_t scaled, int decimals) {
  std::uint64_t unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  std::string fraction = std::to_string(scaled % unit);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  return std::to_string(scaled / unit) + "." + fraction;
}

}  // namespace

TGameDemo::TGameDemo(TDemoOptions options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)), out_(out), err_(err) {}

TGameDemo::~TGameDemo() = default;

bool TGameDemo::Prepare(std::uint32_t clockSeed, int& status) {
  const std::string& file = options_.File;
  if (options_.Mode == TDemoOptions::dmRecord) {
    try {
      recorder_ = std::make_unique<TDemoRecorder>(file, clockSeed, GameVersionText);
    } catch (const EDemoError& e) {
      err_ << "tarnyx: cannot record: " << e.what() << '\n';
      status = 1;
      return false;
    }
    seed_ = clockSeed;
  } else {
    try {
      demo_.emplace(TDemoReader::FromFile(file));
    } catch (const EDemoError& e) {
      err_ << "tarnyx: " << file << ": " << e.what() << '\n';
      status = DemoBadFileStatus;
      return false;
    }
    if (demo_->Truncated()) err_ << "tarnyx: " << file << ": " << demo_->TruncationWarning() << '\n';
    if (demo_->Header().GameVersion != GameVersionText)
      err_ << "tarnyx: " << file << ": recorded by " << demo_->Header().GameVersion << ", played by "
           << GameVersionText << ": it may desynchronise\n";
    seed_ = demo_->Header().Seed;
    player_ = std::make_unique<TDemoPlayer>(*demo_);
    player_->OnDesync = [this](std::uint32_t frame) {
      err_ << "tarnyx: demo desynchronised at frame " << frame << '\n';
    };
  }
  // Before the window is made, so that the signals quit through the game (SDL leaves a handler
  // that is already there alone).
  CatchStopRequests();
  return true;
}

void TGameDemo::FrameInput(TInputStates& states) {
  if (recorder_) {
    recorder_->FrameInput(states);
  } else if (player_) {
    if (player_->FramesPlayed() == 0) started_ = std::chrono::steady_clock::now();
    player_->FrameInput(states);
  }
}

void TGameDemo::FrameEnd() {
  if (recorder_) {
    recorder_->FrameEnd();
  } else if (player_) {
    player_->FrameEnd();
    if (player_->Done()) {
      ended_ = std::chrono::steady_clock::now();
      Application->Terminate();
    }
  }
}

void TGameDemo::Run(TForm1& form) {
  // In front of what already watches the frames (the sound), which then hears the demo's input.
  auto input = form.OnFrameInput;
  auto end = form.OnFrameEnd;
  form.OnFrameInput = [this, input](TInputStates& states) {
    FrameInput(states);
    if (input) input(states);
  };
  form.OnFrameEnd = [this, end] {
    FrameEnd();
    if (end) end();
  };
  // Nothing to play: no frame would ever end the loop.
  if (player_ && player_->Done()) Application->Terminate();
  if (Fast() && form.DXTimer) form.DXTimer->SetInterval(0);  // a tick on every turn of the loop

  Application->BeginRun();
  while (!Application->Terminated()) {
    if (TakeStopRequest()) Application->Terminate();
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
  ReleaseStopRequests();
}

int TGameDemo::Finish() {
  if (finished_) return 0;
  finished_ = true;
  if (recorder_) {
    std::string error;
    if (!recorder_->Finish(error)) {
      err_ << "tarnyx: the recording is incomplete: " << error << '\n';
      return 1;
    }
    if (recorder_->Full())
      err_ << "tarnyx: the recording stopped at frame " << recorder_->Frames()
           << ": a demo holds at most 64 MiB\n";
    out_ << "recorded " << recorder_->Frames() << " frames into " << recorder_->Path() << '\n';
    return 0;
  }
  if (!player_) return 0;
  player_->Conclude();
  if (!player_->Done())
    err_ << "tarnyx: stopped at frame " << player_->FramesPlayed() << " of " << demo_->Frames() << '\n';
  if (Fast()) {
    auto us = std::chrono::duration_cast<std::chrono::microseconds>(
                  (player_->Done() ? ended_ : std::chrono::steady_clock::now()) - started_)
                  .count();
    std::uint64_t micro = us > 0 ? static_cast<std::uint64_t>(us) : 1;
    std::uint64_t frames = player_->FramesPlayed();
    out_ << frames << " frames, " << Decimal((micro + 5000) / 10000, 2) << " seconds, "
         << Decimal((frames * 10000000 + micro / 2) / micro, 1) << " fps\n";
  } else {
    out_ << player_->Summary() << '\n';
  }
  if (player_->DesyncFrame() != 0) return DemoDesyncStatus;
  return demo_->Truncated() ? DemoBadFileStatus : 0;
}

void TGameDemo::Abandon() {
  if (recorder_ && !finished_ && recorder_->Frames() == 0) {
    recorder_->Discard();
    finished_ = true;
    return;
  }
  Finish();
}
