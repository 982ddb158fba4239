// The run and demo commands' settings option.
#include "tools/headless/SettingsRunOptions.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/Form1.h"
#include "app/GameSettings.h"
#include "shell/PrintableText.h"
#include "tools/headless/RunOptions.h"

namespace {

// One run per process: the settings of that run.
std::unique_ptr<TGameSettings>& Settings() {
  static std::unique_ptr<TGameSettings> settings;
  return settings;
}

void Say(const std::string& line) { std::fprintf(stderr, "%s\n", PrintableText(line).c_str()); }

}  // namespace

void AddSettingsRunOptions() {
  static bool added = false;
  if (added) return;
  added = true;
  AddRunOption(
      {"--settings", true, false,
       "--settings FILE       the keys and the joystick of a settings file (the game's settings.ini)",
       [](TRunOptions& o, const std::string& file) {
         if (file.empty()) throw EUsageError("--settings needs a FILE");
         Settings() =
             std::make_unique<TGameSettings>(TSettingsFile::Load(file), TSettingsOverlay{}, Say);
         Settings()->SayFaults();
         o.FormMade.push_back([](TForm1& form, const TRunOptions& options) {
           TGameSettings& settings = *Settings();
           if (form.DXInput) settings.ApplyToInput(*form.DXInput);
           const std::string program = options.Program;
           WatchJoysticks(form, settings, [program](int count, int index) {
             Say(program + ": " + JoystickHintText(count, index, Settings()->File().Path()));
           });
         });
       }});
}
