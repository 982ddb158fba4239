// The process entry: the command line, the application object with its title, the main form
// from its stored form, its sound, and the message loop.
#include <exception>
#include <iostream>

#include "app/CommandLine.h"
#include "app/FixedTimeOfDay.h"
#include "app/Form1.h"
#include "app/GameDemo.h"
#include "app/WindowIcon.h"
#include "backends/sdl/SdlBackend.h"
#include "framework/X87Precision.h"
#include "shell/Application.h"
#include "shell/Exception.h"
#include "sound/AttachSound.h"
#include "sound/SoundOutput.h"
#include "system/Arguments.h"
#include "system/Console.h"

int main(int argc, char** argv) {
  // On Windows a window program prints to the console it was typed in only once attached to it.
  AttachParentConsole();
  TArguments arguments(argc, argv);
  argc = arguments.Count();
  argv = arguments.Values();
  // The game runs on this thread; its numbers are the same everywhere only at full precision.
  if (!TX87Precision::SetForGame()) {
    std::cerr << "tarnyx: the x87 cannot be set to 64-bit precision\n";
    return 1;
  }
  TDemoOptions demoOptions;
  TSoundOptions soundOptions;
  int status = HandleCommandLine(argc, argv, TSdlBackend::LibraryVersion(), std::cout, std::cerr, &demoOptions,
                                 &soundOptions);
  if (status >= 0) return status;
  TGameSound sound(soundOptions.Volume >= 0 ? soundOptions.Volume : DefaultVolume, soundOptions.Mute);

  TFixedTimeOfDay<TSdlBackend> backend;
  // A demo builds its world from its seed: a recording from the clock now, a playback from the file.
  TGameDemo demo(demoOptions, std::cout, std::cerr);
  // The display's last words about the demo are not asked for once the demo is gone.
  struct TForgetDisplayLost {
    ~TForgetDisplayLost() { TSdlBackend::WhenDisplayLost(nullptr); }
  } forgetDisplayLost;
  bool withDemo = demoOptions.Mode != TDemoOptions::dmNone;
  if (withDemo) {
    if (!demo.Prepare(backend.ClockMs(), status)) return status;
    backend.FixedMs = demo.Seed();
    if (demo.Fast()) TSdlBackend::DisableVsync();
    TSdlBackend::WhenDisplayLost([&demo] { return demo.DisplayLost(); });
  }
  TRgbaPicture icon;
  if (GameWindowIcon(icon)) backend.SetWindowIcon(icon.Pixels.data(), icon.Width, icon.Height);
  SetBackend(&backend);
  RegisterAppClasses();
  try {
    Application->Initialize();
    Application->SetTitle("Tarnyx");
    Application->CreateForm(Form1);
    // Heard from the first frame on, demos too, except one timed as fast as it goes.
    if (demoOptions.Mode != TDemoOptions::dmTime) {
      PlayOnBackend(sound);
      ControlByKeys(sound, Application->AppKeys());
      AttachSound(*Form1, sound);
    }
    if (withDemo)
      demo.Run(*Form1);
    else
      Application->Run();
  } catch (const EWindowError& e) {
    std::cerr << "cannot open a window: " << e.what() << '\n';
    demo.Abandon();
    return 1;
  } catch (const std::exception& e) {
    // A stored form that does not read, for example: one clear line.
    std::cerr << "tarnyx: " << e.what() << '\n';
    demo.Abandon();
    return 1;
  }
  return demo.Finish();
}
