// TGameSettings: the player's settings in a running game, from the file and the command line
// into the game, and back into the file when the player changes one in the game.
#pragma once

#include <functional>
#include <string>

#include "settings/SettingsFile.h"
#include "settings/SettingsOptions.h"

class TCustomDXInput;
class TGameSound;

// The settings of one run: the file's (or the page's stored text's) values with the command
// line's laid over them (Effective). The game takes them at its start: the sound's volume and
// mute, the window, the keys and the joystick. When the player changes one in the game (M, the
// volume keys, Alt+Enter, the window's size, the page's panel), the run keeps the new value and
// the file gets that one setting, written at once through a temporary file renamed over it (or
// through Writer). Options of the command line that the player did not change are never written.
//
// Every line goes through Err: the file's faults (SayFaults, one line each, naming the file and
// the line) and, once per run, why the settings could not be written; the run then goes on
// with the settings it has.
class TGameSettings {
 public:
  using TLines = std::function<void(const std::string& line)>;

  TGameSettings(TSettingsFile file, const TSettingsOverlay& overlay, TLines err);

  const TSettings& Effective() const { return FEffective; }
  const TSettingsFile& File() const { return FFile; }
  // What `tarnyx --settings` prints: the file's place and every value with where it came from.
  std::string Report() const { return SettingsReport(FFile, FEffective); }
  // Says each fault of the file (or the reason it is not used), once.
  void SayFaults();

  // The keys and the joystick into the input component, once its form is made. The keys of an
  // action that neither the file nor the command line sets stay as the stored form has them.
  void ApplyToInput(TCustomDXInput& input) const;
  // The volume and mute into the sound.
  void ApplyToSound(TGameSound& sound) const;

  // The player set key in the game to its value in values. The run keeps it and the file is
  // written; false when the value is the one the run had already. A write that fails is said
  // once a run; the value is kept for the run all the same.
  bool PlayerChanged(TSettingKey key, const TSettings& values);
  // The sound's volume and mute as the player left them (after M or a volume key).
  void SoundChanged(const TGameSound& sound);
  // The window as the player left it: full screen or a window of width x height.
  void WindowChanged(bool fullScreen, int width, int height);
  // The player's own key for an action (0 thrust .. 3 fine control), up to three codes; an
  // empty list is no key. False, changing nothing, for a list the file could not hold.
  bool KeysChanged(int action, const std::vector<std::uint8_t>& codes);
  // Every setting back to its default, as the player asked (the page's button); the file keeps
  // its other lines.
  void RestoreDefaults();

  // Where the settings' text goes when it is written, instead of the file (the page's local
  // storage). Unset: the file at the file's path.
  TSettingsFile::TWriter Writer;
  // Called after each change the player made, once it is kept (a page shows the new values).
  std::function<void()> OnChanged;

  // Whether a joystick is attached that the game does not read, with the hint to say about it:
  // true once a run, when count joysticks are attached (count > 0) and the game reads the one at
  // index (counting from 0), which is not among them.
  bool JoystickHintDue(int count, int index);

 private:
  void Save();

  TSettingsFile FFile;
  TSettings FEffective;
  TLines FErr;
  bool FFaultsSaid = false;
  bool FSaveFailureSaid = false;
  bool FHintSaid = false;
};

// The hint for a player whose joystick the game does not read, on the desktop (without the
// program's name): names the setting in the file at path and the option that change it.
std::string JoystickHintText(int count, int index, const std::string& path);

class TForm1;

// After each of the form's frames, looks whether a joystick is attached that the game does not
// read (TGameSettings::JoystickHintDue) and, the first time, calls hint with the number attached
// and the index the game reads. Chained behind the form's other frame hooks; settings must
// outlive them.
void WatchJoysticks(TForm1& form, TGameSettings& settings,
                    std::function<void(int count, int index)> hint);
