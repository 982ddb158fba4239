// TSettings: the player's settings as values, each with where it came from, and their text form.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The settings, in the order the file and the report list them.
enum TSettingKey : std::uint8_t {
  skVolume,
  skMute,
  skFullScreen,
  skWindowSize,
  skJoystick,
  skThrust,
  skTurnLeft,
  skTurnRight,
  skFineControl,
};
constexpr int SettingKeyCount = 9;
// The four key lists, in TSettingKey order from skThrust.
constexpr int KeyActionCount = 4;

// Where an effective value came from.
enum TSettingSource : std::uint8_t { ssDefault, ssFile, ssCommandLine };

// Which joystick steers: the one at the stored form's position (the second one the system
// reports, as the game always did), the first one, or the Number-th one counting from 1.
struct TJoystickChoice {
  enum TKind : std::uint8_t { jcStored, jcFirst, jcNumber };
  TKind Kind = jcStored;
  int Number = 0;  // 1..MaxJoystickNumber, for jcNumber only
  friend bool operator==(const TJoystickChoice&, const TJoystickChoice&) = default;
};

// The player's settings. Volume is a percentage (0 silent .. 100 full); the window size is the
// size in pixels of the window when not in full screen; each key list holds up to three
// virtual-key codes (named by settings/KeyNames.h) that each do the action. A value-initialised
// TSettings holds the defaults, which are what the game does without settings: full screen, a
// 1024x768 window for Alt+Enter, the stored joystick position and the stored form's keys.
struct TSettings {
  static constexpr int DefaultVolume = 80;
  static constexpr int VolumeStep = 10;  // what one press of a volume key changes
  static constexpr int DefaultWindowWidth = 1024, DefaultWindowHeight = 768;
  static constexpr int MinWindowWidth = 320, MinWindowHeight = 240, MaxWindowSide = 16384;
  static constexpr int MaxJoystickNumber = 16;
  static constexpr std::size_t MaxKeysPerAction = 3;

  int Volume = DefaultVolume;
  bool Mute = false;
  bool FullScreen = true;
  int WindowWidth = DefaultWindowWidth;
  int WindowHeight = DefaultWindowHeight;
  TJoystickChoice Joystick;
  // Thrust, turn left, turn right, fine control: the stored form's Up, Left, Right and Shift.
  std::array<std::vector<std::uint8_t>, KeyActionCount> Keys = DefaultKeys();
  std::array<TSettingSource, SettingKeyCount> Source{};

  static std::array<std::vector<std::uint8_t>, KeyActionCount> DefaultKeys();

  // Copies one setting's value (not its source) from other.
  void CopyValue(TSettingKey key, const TSettings& other);
  bool SameValue(TSettingKey key, const TSettings& other) const;
};

// The setting's name in the file ("volume", "window_size", "thrust"...); and back, without regard
// to case (false for a name that is not a setting).
const char* SettingName(TSettingKey key);
bool SettingKeyOf(std::string_view name, TSettingKey& key);

// A setting's value as the file writes it: "80", "yes", "1024x768", "stored", "Up, W".
std::string SettingValueText(const TSettings& settings, TSettingKey key);

// Reads a value of one setting into settings (source untouched). False, with a short reason in
// error and settings unchanged, for a value the setting does not take. Names of keys compare
// without regard to case; a key the game's keyboard cannot see is refused.
bool ParseSettingValue(TSettingKey key, std::string_view text, TSettings& settings,
                       std::string& error);

// The volume one step (TSettings::VolumeStep) up or down, on the steps' grid, within 0..100.
int VolumeStepUp(int volume);
int VolumeStepDown(int volume);
