// The run command's input options: keys and joysticks held for chosen frames, and runs without
// "DInput.dll".
#include "tools/headless/InputScript.h"

#include "tools/headless/RunOptions.h"

namespace {

// One run per process: the options of that run fill this script.
TInputScript& Script() {
  static TInputScript script;
  return script;
}

// The script goes into the backend before the form is made and before every frame.
void Hook(TRunOptions& options) {
  static bool hooked = false;
  if (hooked) return;
  hooked = true;
  options.Prepare.push_back([](THeadlessBackend& backend) {
    CheckInputScript(Script());
    PrepareInput(Script(), backend);
  });
  options.BeforeFrame.push_back(
      [](int frame, THeadlessBackend& backend) { ApplyInput(Script(), frame, backend); });
}

}  // namespace

void AddInputRunOptions() {
  AddRunOption({"--keys", true, false,
                "--keys FIRST-LAST:KEY[+KEY...][;...]  keys held while frames FIRST..LAST poll (Up Down Left "
                "Right Shift RightShift Apostrophe F2 KP2 KP4 KP6 KP8 A..Z 0..9, or a settings file's key name without spaces)",
                [](TRunOptions& o, const std::string& v) {
                  ReadKeysOption(Script(), v);
                  Hook(o);
                }});
  AddRunOption({"--joysticks", true, false, "--joysticks N         joysticks attached (default 0)",
                [](TRunOptions& o, const std::string& v) {
                  ReadJoysticksOption(Script(), v);
                  Hook(o);
                }});
  AddRunOption({"--joy", true, false,
                "--joy INDEX@FIRST-LAST:X,Y[,BUTTON...][;...]  joystick INDEX's stick (-32768..32767) and "
                "buttons (1..32) while frames FIRST..LAST poll",
                [](TRunOptions& o, const std::string& v) {
                  ReadJoyOption(Script(), v);
                  Hook(o);
                }});
  AddRunOption({"--no-directinput", false, false, "--no-directinput      run as without DInput.dll (the fall-back input paths)",
                [](TRunOptions& o, const std::string&) {
                  Script().DirectInput = false;
                  Hook(o);
                }});
}
