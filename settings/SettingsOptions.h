// The settings' command-line options, laid over the file's values for one run, and the report
// that `tarnyx --settings` prints.
#pragma once

#include <array>
#include <string>

#include "settings/Settings.h"
#include "settings/SettingsFile.h"

// The settings given on the command line: Given tells which; Values holds them. They apply to
// one run and are never saved. ShowSettings is --settings (print the report, start nothing).
struct TSettingsOverlay {
  TSettings Values;
  std::array<bool, SettingKeyCount> Given{};
  bool ShowSettings = false;
};

// Reads the settings option at argv[i], if it is one: --volume N, --mute, --fullscreen,
// --window, --joystick N|first|stored (a value also after '=', as in --volume=30), --settings.
// Returns how many arguments it took (1 or 2); 0 when argv[i] is no settings option; -1 with one
// line in error for a missing or bad value. A later option wins over an earlier one.
int ReadSettingsOption(int argc, const char* const* argv, int i, TSettingsOverlay& overlay,
                       std::string& error);

// The usage lines of the settings options, for --help.
const char* SettingsOptionsHelp();

// The file's settings with the command line's over them, marked as from the command line.
TSettings OverlaySettings(const TSettings& fromFile, const TSettingsOverlay& overlay);

// The text of --settings: where the file is (and whether it is there and used), then every
// setting's effective value as the file would write it, with where it came from.
std::string SettingsReport(const TSettingsFile& file, const TSettings& effective);
