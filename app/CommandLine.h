// What the game's command line asks for: the game itself, its version, or a few lines of help.
#pragma once

#include <ostream>
#include <string>

#include "TarnyxVersion.h"

// What the demo options ask for: the game recorded into File (--record), File played back at the
// game's pace (--playdemo) or as fast as it goes (--timedemo); or none of these.
struct TDemoOptions {
  enum TMode { dmNone, dmRecord, dmPlay, dmTime };
  TMode Mode = dmNone;
  std::string File;
};

// What the sound options ask for, for this run only: --mute (silent until the player unmutes)
// and --volume N (0..100); Volume is -1 when not given.
struct TSoundOptions {
  bool Mute = false;
  int Volume = -1;
};

// Reads the arguments after the program's name. With none, returns -1: the game is to start.
// With "--version" (writing the game's version and sdlVersion, the SDL library's) or "--help"
// (a few lines on the controls), writes to out and returns 0. Anything else gets one line on err
// and returns 2. Never opens a window. Given demo, also reads "--record FILE", "--playdemo FILE" or
// "--timedemo FILE" into it and returns -1: the game is to start with that demo. Given sound,
// also reads "--mute" and "--volume N" (0..100) anywhere on the line into it, beside any of the
// others; a volume that is not a whole number from 0 to 100 gets one line on err and 2.
int HandleCommandLine(int argc, const char* const* argv, const std::string& sdlVersion,
                      std::ostream& out, std::ostream& err, TDemoOptions* demo = nullptr,
                      TSoundOptions* sound = nullptr);
