// TSettings: defaults, the settings' names, and their values read from and written as text.
#include "settings/Settings.h"

#include <algorithm>
#include <charconv>

#include "input/Keyboard.h"
#include "platform/VirtualKeyCodes.h"
#include "settings/KeyNames.h"

namespace {

constexpr const char* Names[SettingKeyCount] = {
    "volume", "mute",      "fullscreen", "window_size",  "joystick",
    "thrust", "turn_left", "turn_right", "fine_control",
};

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// A plain decimal number, no sign: false for anything else or for more digits than an int holds.
bool Number(std::string_view s, int& value) {
  if (s.empty() || s.size() > 9) return false;
  auto [end, failed] = std::from_chars(s.data(), s.data() + s.size(), value);
  return failed == std::errc() && end == s.data() + s.size() && s.front() != '-' &&
         s.front() != '+';
}

bool Yes(std::string_view s, bool& value) {
  for (const char* yes : {"yes", "on", "true", "1"})
    if (SameText(s, yes)) return value = true;
  for (const char* no : {"no", "off", "false", "0"})
    if (SameText(s, no)) return !(value = false);
  return false;
}

// Printable text for a message: outside bytes are shown, but not control characters, and not
// at any length.
std::string Shown(std::string_view s) {
  std::string out;
  for (char c : s.substr(0, 40)) out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
  if (s.size() > 40) out += "...";
  return out;
}

bool ParseKeys(std::string_view text, std::vector<std::uint8_t>& keys, std::string& error) {
  keys.clear();
  if (SameText(text, "none")) return true;
  std::vector<std::uint8_t> read;
  while (true) {
    std::size_t comma = text.find(',');
    std::string_view name = Trimmed(text.substr(0, comma));
    if (name.empty()) {
      error = "a key name is missing (keys are separated by commas; 'none' for no key)";
      return false;
    }
    int code = KeyCodeOf(name);
    if (code == 0) {
      error = "unknown key '" + Shown(name) + "'";
      return false;
    }
    const TKeyName* key = FindKey(code);
    if (ScanCodeToVirtualKey(key->ScanCode) == 0) {
      error = "the game's keyboard does not read " + std::string(key->Name);
      return false;
    }
    if (std::find(read.begin(), read.end(), code) == read.end())
      read.push_back(static_cast<std::uint8_t>(code));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (read.size() > TSettings::MaxKeysPerAction) {
    error = "at most 3 keys";
    return false;
  }
  keys = std::move(read);
  return true;
}

}  // namespace

std::array<std::vector<std::uint8_t>, KeyActionCount> TSettings::DefaultKeys() {
  using namespace VirtualKeyCodes;
  return {{{VK_UP}, {VK_LEFT}, {VK_RIGHT}, {VK_SHIFT}}};
}

void TSettings::CopyValue(TSettingKey key, const TSettings& other) {
  switch (key) {
    case skVolume:
      Volume = other.Volume;
      break;
    case skMute:
      Mute = other.Mute;
      break;
    case skFullScreen:
      FullScreen = other.FullScreen;
      break;
    case skWindowSize:
      WindowWidth = other.WindowWidth;
      WindowHeight = other.WindowHeight;
      break;
    case skJoystick:
      Joystick = other.Joystick;
      break;
    default:
      Keys[key - skThrust] = other.Keys[key - skThrust];
      break;
  }
}

bool TSettings::SameValue(TSettingKey key, const TSettings& other) const {
  switch (key) {
    case skVolume:
      return Volume == other.Volume;
    case skMute:
      return Mute == other.Mute;
    case skFullScreen:
      return FullScreen == other.FullScreen;
    case skWindowSize:
      return WindowWidth == other.WindowWidth && WindowHeight == other.WindowHeight;
    case skJoystick:
      return Joystick == other.Joystick;
    default:
      return Keys[key - skThrust] == other.Keys[key - skThrust];
  }
}

const char* SettingName(TSettingKey key) { return Names[key]; }

bool SettingKeyOf(std::string_view name, TSettingKey& key) {
  for (int k = 0; k < SettingKeyCount; ++k) {
    if (SameText(name, Names[k])) {
      key = static_cast<TSettingKey>(k);
      return true;
    }
  }
  return false;
}

std::string SettingValueText(const TSettings& s, TSettingKey key) {
  switch (key) {
    case skVolume:
      return std::to_string(s.Volume);
    case skMute:
      return s.Mute ? "yes" : "no";
    case skFullScreen:
      return s.FullScreen ? "yes" : "no";
    case skWindowSize:
      return std::to_string(s.WindowWidth) + "x" + std::to_string(s.WindowHeight);
    case skJoystick:
      switch (s.Joystick.Kind) {
        case TJoystickChoice::jcStored:
          return "stored";
        case TJoystickChoice::jcFirst:
          return "first";
        case TJoystickChoice::jcNumber:
          return std::to_string(s.Joystick.Number);
      }
      return "stored";
    default: {
      const std::vector<std::uint8_t>& keys = s.Keys[key - skThrust];
      if (keys.empty()) return "none";
      std::string text;
      for (std::uint8_t code : keys) {
        if (!text.empty()) text += ", ";
        text += KeyNameOf(code);
      }
      return text;
    }
  }
}

bool ParseSettingValue(TSettingKey key, std::string_view text, TSettings& s, std::string& error) {
  text = Trimmed(text);
  switch (key) {
    case skVolume: {
      int v = 0;
      if (!Number(text, v) || v > 100) {
        error = "the volume is a number from 0 to 100, not '" + Shown(text) + "'";
        return false;
      }
      s.Volume = v;
      return true;
    }
    case skMute:
    case skFullScreen: {
      bool v = false;
      if (!Yes(text, v)) {
        error = std::string(Names[key]) + " is yes or no, not '" + Shown(text) + "'";
        return false;
      }
      (key == skMute ? s.Mute : s.FullScreen) = v;
      return true;
    }
    case skWindowSize: {
      std::size_t x = text.find_first_of("xX");
      int w = 0, h = 0;
      if (x == std::string_view::npos || !Number(Trimmed(text.substr(0, x)), w) ||
          !Number(Trimmed(text.substr(x + 1)), h)) {
        error = "the window size is WIDTHxHEIGHT in pixels (such as 1024x768), not '" +
                Shown(text) + "'";
        return false;
      }
      if (w < TSettings::MinWindowWidth || h < TSettings::MinWindowHeight ||
          w > TSettings::MaxWindowSide || h > TSettings::MaxWindowSide) {
        error = "the window size must be from 320x240 to 16384x16384, not '" + Shown(text) + "'";
        return false;
      }
      s.WindowWidth = w;
      s.WindowHeight = h;
      return true;
    }
    case skJoystick: {
      int n = 0;
      if (SameText(text, "stored")) {
        s.Joystick = {};
      } else if (SameText(text, "first")) {
        s.Joystick = {TJoystickChoice::jcFirst, 0};
      } else if (Number(text, n) && n >= 1 && n <= TSettings::MaxJoystickNumber) {
        s.Joystick = {TJoystickChoice::jcNumber, n};
      } else {
        error = "the joystick is stored, first or a number from 1 to 16, not '" + Shown(text) + "'";
        return false;
      }
      return true;
    }
    default: {
      std::vector<std::uint8_t> keys;
      if (!ParseKeys(text, keys, error)) return false;
      s.Keys[key - skThrust] = std::move(keys);
      return true;
    }
  }
}

int VolumeStepUp(int volume) {
  int step = TSettings::VolumeStep;
  return std::min(100, std::max(0, (volume / step + 1) * step));
}

int VolumeStepDown(int volume) {
  int step = TSettings::VolumeStep;
  return std::max(0, std::min(100, ((volume + step - 1) / step - 1) * step));
}
