// run --seed N --frames F [...]: the real form and its components on the headless backend, one
// frame per 20 ms of fake time, with pictures of chosen frames and the final state.
#include <cstdio>
#include <string>

#include "app/Form1.h"
#include "framework/DXTimer.h"
#include "game/Main.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"
#include "tools/headless/Commands.h"
#include "tools/headless/DemoHooks.h"
#include "tools/headless/InputScript.h"
#include "system/FileReplacement.h"
#include "media/Png.h"
#include "shell/PrintableText.h"
#include "tools/headless/RunOptions.h"
#include "report/StateReport.h"
#include "tools/headless/SettingsRunOptions.h"
#include "tools/headless/SoundRunOptions.h"

namespace {

// Writes text to file ("-": standard output), replacing the file only once all of it is written.
// Returns "" or what failed.
std::string WriteText(const std::string& file, const std::string& text) {
  if (file == "-")
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0
               ? ""
               : "cannot write the standard output";
  TFileReplacement out(file);
  return out.Write(text.data(), text.size()) && out.Commit() ? "" : out.Error();
}

}  // namespace

int RunCommand(const TCommandArgs& args) {
  static bool inputOptionsAdded = false;
  if (!inputOptionsAdded) AddInputRunOptions();
  inputOptionsAdded = true;
  AddDemoRunOptions();
  AddSoundRunOptions();
  AddSettingsRunOptions();
  return RunGame(ParseRunOptions(args));
}

int RunGame(const TRunOptions& options) {
  THeadlessBackend backend;
  backend.TimeOfDayMs = options.Seed;  // the clock reading that seeds the world
  SetBackend(&backend);
  for (auto& prepare : options.Prepare) prepare(backend);
  ResetApplication();
  RegisterAppClasses();

  TForm1* form = nullptr;
  Application->Initialize();
  Application->SetTitle("Tarnyx");
  Application->CreateForm(form);
  if (options.ShipGiven) {
    Player.X = options.ShipX;
    Player.Y = options.ShipY;
    Player.VX = options.ShipVX;
    Player.VY = options.ShipVY;
    Player.Heading = options.ShipHeading;
  }
  for (auto& made : options.FormMade) made(*form, options);

  // Count the frames where they happen: around the form's own tick handler.
  int frame = 0;
  int failures = 0;
  TDXTimerEvent tick = form->DXTimer->OnTimer;
  form->DXTimer->OnTimer = [&](TObject* sender, int lagCount) {
    ++frame;
    if (tick) tick(sender, lagCount);
    auto [from, to] = options.Shots.equal_range(frame);
    for (auto it = from; it != to; ++it) {
      std::string error;
      if (!WritePalettizedPng(it->second, backend.Frame.data(), backend.FrameWidth, backend.FrameWidth,
                              backend.FrameHeight, backend.FramePalette, error)) {
        std::fprintf(stderr, "tarnyx-headless run: frame %d: %s\n", frame, PrintableText(error).c_str());
        ++failures;
      }
    }
  };

  // The display starts as the form is shown; from then on each loop turn is 20 ms of fake time.
  Application->BeginRun();
  const long maxTurns = 10L * options.Frames + 1000;  // a paused timer must not hang the tool
  for (long turn = 0; frame < options.Frames && turn < maxTurns && !Application->Terminated(); ++turn) {
    for (auto& script : options.BeforeFrame) script(frame + 1, backend);
    backend.Clock += 20;
    Application->ProcessMessagesAndIdle();
  }
  int framesPerSecond = form->DXTimer->FramesPerSecond();
  form->DXTimer->OnTimer = tick;

  int status = failures ? 1 : 0;
  if (frame < options.Frames) {
    std::fprintf(stderr, "tarnyx-headless run: only %d of %d frames ran\n", frame, options.Frames);
    status = 1;
  }
  for (auto& finished : options.Finished) status = finished(status);
  if (!options.StateFile.empty()) {
    std::string out;
    TJsonWriter json(out);
    WriteGameState(json);
    out.pop_back();  // the world's closing brace: two more members follow
    out += ",\"Frame\":" + std::to_string(frame) + ",\"FramesPerSecond\":" + std::to_string(framesPerSecond) + "}\n";
    if (const std::string error = WriteText(options.StateFile, out); !error.empty()) {
      std::fprintf(stderr, "tarnyx-headless run: %s\n", PrintableText(error).c_str());
      status = 1;
    }
  }
  Application->EndRun();
  ResetApplication();
  SetBackend(nullptr);
  return status;
}
