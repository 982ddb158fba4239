// The player's settings in a running game.
#include "app/GameSettings.h"

#include "app/Form1.h"
#include "input/DXInput.h"
#include "platform/Backend.h"
#include "settings/InputSettings.h"
#include "sound/GameSound.h"

TGameSettings::TGameSettings(TSettingsFile file, const TSettingsOverlay& overlay, TLines err)
    : FFile(std::move(file)),
      FEffective(OverlaySettings(FFile.Settings(), overlay)),
      FErr(std::move(err)) {}

void TGameSettings::SayFaults() {
  if (FFaultsSaid) return;
  FFaultsSaid = true;
  if (FErr)
    for (const std::string& line : FFile.Messages()) FErr(line);
}

void TGameSettings::ApplyToInput(TCustomDXInput& input) const {
  ApplyKeys(input, FEffective);
  ApplyJoystick(input, FEffective);
}

void TGameSettings::ApplyToSound(TGameSound& sound) const {
  sound.SetVolume(FEffective.Volume);
  sound.SetMuted(FEffective.Mute);
}

bool TGameSettings::PlayerChanged(TSettingKey key, const TSettings& values) {
  if (FEffective.SameValue(key, values)) return false;
  FEffective.CopyValue(key, values);
  // Changed in the game, it is the player's value now, wherever the run's value came from.
  FEffective.Source[key] = ssFile;
  FFile.Change(key, FEffective);
  Save();
  if (OnChanged) OnChanged();
  return true;
}

void TGameSettings::SoundChanged(const TGameSound& sound) {
  TSettings values = FEffective;
  values.Volume = sound.Volume();
  values.Mute = sound.Muted();
  PlayerChanged(skVolume, values);
  PlayerChanged(skMute, values);
}

void TGameSettings::WindowChanged(bool fullScreen, int width, int height) {
  TSettings values = FEffective;
  values.FullScreen = fullScreen;
  PlayerChanged(skFullScreen, values);
  // A size the file would not take (a window squeezed smaller than 320x240) is not kept.
  if (width < TSettings::MinWindowWidth || height < TSettings::MinWindowHeight ||
      width > TSettings::MaxWindowSide || height > TSettings::MaxWindowSide)
    return;
  values.WindowWidth = width;
  values.WindowHeight = height;
  PlayerChanged(skWindowSize, values);
}

bool TGameSettings::KeysChanged(int action, const std::vector<std::uint8_t>& codes) {
  if (action < 0 || action >= KeyActionCount) return false;
  TSettings values = FEffective;
  auto key = static_cast<TSettingKey>(skThrust + action);
  values.Keys[static_cast<std::size_t>(action)] = codes;
  // Only what the file reads back: a key without a name, or more than three, is refused.
  TSettings check;
  std::string error;
  if (!ParseSettingValue(key, SettingValueText(values, key), check, error)) return false;
  if (!check.SameValue(key, values)) return false;
  PlayerChanged(key, values);
  return true;
}

void TGameSettings::RestoreDefaults() {
  const TSettings defaults;
  bool changed = false;
  for (int k = 0; k < SettingKeyCount; ++k) {
    auto key = static_cast<TSettingKey>(k);
    if (FEffective.SameValue(key, defaults)) continue;
    FEffective.CopyValue(key, defaults);
    FEffective.Source[key] = ssFile;
    FFile.Change(key, FEffective);
    changed = true;
  }
  if (!changed) return;
  Save();
  if (OnChanged) OnChanged();
}

void TGameSettings::Save() {
  std::string error;
  bool saved = Writer ? FFile.SaveWith(Writer, error) : FFile.Save(error);
  if (saved || FSaveFailureSaid) return;
  FSaveFailureSaid = true;
  if (FErr) FErr(error + "; the settings are kept for this run");
}

bool TGameSettings::JoystickHintDue(int count, int index) {
  if (FHintSaid || count <= 0 || index < 0 || index < count) return false;
  FHintSaid = true;
  return true;
}

std::string JoystickHintText(int count, int index, const std::string& path) {
  std::string attached =
      count == 1 ? "a joystick is attached" : std::to_string(count) + " joysticks are attached";
  std::string where = path.empty() ? "in the settings file" : "in " + path;
  return attached + ", but the game reads joystick " + std::to_string(index + 1) +
         ", which is not there; to steer with the first, put 'joystick = first' " + where +
         " or start the game with --joystick first";
}

void WatchJoysticks(TForm1& form, TGameSettings& settings,
                    std::function<void(int count, int index)> hint) {
  auto end = std::move(form.OnFrameEnd);
  form.OnFrameEnd = [end, &form, &settings, hint = std::move(hint)] {
    if (end) end();
    if (!form.DXInput || !form.DXInput->Joystick || !HasBackend()) return;
    const int count = Backend().JoystickCount();
    const int index = form.DXInput->Joystick->ID();
    if (settings.JoystickHintDue(count, index) && hint) hint(count, index);
  };
}
