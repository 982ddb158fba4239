// The process entry: the command line and the player's settings, the application object with its
// title, the main form from its stored form, its sound, and the message loop.
#include <exception>
#include <iostream>

#include "app/CommandLine.h"
#include "app/FixedTimeOfDay.h"
#include "app/Form1.h"
#include "app/GameDemo.h"
#include "app/GameSettings.h"
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
  TSettingsOverlay options;
  int status = HandleCommandLine(argc, argv, TSdlBackend::LibraryVersion(), std::cout, std::cerr, &demoOptions,
                                 &options);
  if (status >= 0) return status;
  // The player's settings: each fault of the file in one line, and the game starts all the same.
  TGameSettings settings(TSettingsFile::LoadFromConfigFolder(), options,
                         [](const std::string& line) { std::cerr << line << std::endl; });
  settings.SayFaults();
  if (options.ShowSettings) {
    std::cout << settings.Report() << std::flush;
    return std::cout ? 0 : 1;
  }
  const TSettings& chosen = settings.Effective();
  TGameSound sound(chosen.Volume, chosen.Mute);

  TFixedTimeOfDay<TSdlBackend> backend;
  backend.SetPlayerWindow(chosen.FullScreen, chosen.WindowWidth, chosen.WindowHeight);
  backend.OnPlayerWindow = [&settings](bool fullScreen, int width, int height) {
    settings.WindowChanged(fullScreen, width, height);
  };
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
    if (Form1->DXInput) settings.ApplyToInput(*Form1->DXInput);
    // Heard from the first frame on, demos too, except one timed as fast as it goes.
    if (demoOptions.Mode != TDemoOptions::dmTime) {
      PlayOnBackend(sound);
      ControlByKeys(sound, Application->AppKeys(), [&] { settings.SoundChanged(sound); });
      AttachSound(*Form1, sound);
    }
    // A played demo steers itself; otherwise a joystick the game does not read gets one hint.
    if (demoOptions.Mode == TDemoOptions::dmNone || demoOptions.Mode == TDemoOptions::dmRecord) {
      const std::string path = settings.File().Path();
      WatchJoysticks(*Form1, settings, [path](int count, int index) {
        std::cerr << "tarnyx: " << JoystickHintText(count, index, path) << std::endl;
      });
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
