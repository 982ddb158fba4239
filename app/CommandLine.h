// What the game's command line asks for: the game itself, its version, or a few lines of help.
#pragma once

#include <ostream>
#include <string>

#include "TarnyxVersion.h"
#include "settings/SettingsOptions.h"

// What the demo options ask for: the game recorded into File (--record), File played back at the
// game's pace (--playdemo) or as fast as it goes (--timedemo); or none of these.
struct TDemoOptions {
  enum TMode { dmNone, dmRecord, dmPlay, dmTime };
  TMode Mode = dmNone;
  std::string File;
};

// Reads the arguments after the program's name. With none, returns -1: the game is to start.
// With "--version" (writing the game's version and sdlVersion, the SDL library's) or "--help"
// (a few lines on the controls), writes to out and returns 0. Anything else gets one line on err
// and returns 2. Never opens a window. Given demo, also reads "--record FILE", "--playdemo FILE" or
// "--timedemo FILE" into it and returns -1: the game is to start with that demo. Given settings,
// also reads the settings' options for this run (--volume N, --mute, --fullscreen, --window,
// --joystick WHICH, --settings: ReadSettingsOption) anywhere on the line into it, beside any of
// the others; a missing or bad value gets one line on err and 2.
int HandleCommandLine(int argc, const char* const* argv, const std::string& sdlVersion,
                      std::ostream& out, std::ostream& err, TDemoOptions* demo = nullptr,
                      TSettingsOverlay* settings = nullptr);
