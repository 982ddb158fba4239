// Reading the input options of a headless run and playing them into the headless backend.
#include "tools/headless/InputScript.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "platform/Libraries.h"
#include "backends/headless/HeadlessBackend.h"
#include "settings/KeyNames.h"

namespace {

struct TScriptKeyName {
  const char* Name;
  std::uint8_t ScanCode;
  std::uint8_t VirtualKey;
  std::uint8_t SideKey = 0;  // the left or right variant a Shift key also sets, as on the machine
};

// The keys a script can hold, with their set-1 scan codes and virtual-key codes. The keypad keys
// give the keypad's own codes, as with Num Lock on.
constexpr TScriptKeyName namedKeys[] = {
    {"Up", 0xC8, 38},        {"Down", 0xD0, 40},       {"Left", 0xCB, 37},
    {"Right", 0xCD, 39},     {"Shift", 0x2A, 16, 0xA0}, {"RightShift", 0x36, 16, 0xA1},
    {"Apostrophe", 0x28, 222}, {"F2", 0x3C, 113},      {"KP2", 0x50, 98},
    {"KP4", 0x4B, 100},      {"KP6", 0x4D, 102},       {"KP8", 0x48, 104},
};
// Scan codes of the letters A..Z and of the digits 0..9.
constexpr std::uint8_t letterScanCodes[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                              0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                              0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
constexpr std::uint8_t digitScanCodes[10] = {0x0B, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};

constexpr int maxJoysticks = 16;

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

// A whole decimal number (optionally negative) within lo..hi.
bool Number(std::string_view text, std::int64_t lo, std::int64_t hi, std::int64_t& value) {
  if (text.empty() || text.size() > 12) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= lo && value <= hi;
}

void Frames(std::string_view text, const std::string& item, const char* option, int& first, int& last) {
  auto dash = text.find('-');
  std::int64_t a = 0, b = 0;
  if (dash == std::string_view::npos || !Number(text.substr(0, dash), 1, 100000000, a) ||
      !Number(text.substr(dash + 1), 1, 100000000, b) || a > b)
    throw EUsageError(std::string(option) + " item '" + item +
                      "': frames must be FIRST-LAST with 1 <= FIRST <= LAST");
  first = static_cast<int>(a);
  last = static_cast<int>(b);
}

TScriptedKey Key(std::string_view name, const std::string& item) {
  for (const TScriptKeyName& k : namedKeys)
    if (name == k.Name) return {0, 0, k.ScanCode, k.VirtualKey, k.SideKey};
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z')
    return {0, 0, letterScanCodes[name[0] - 'A'], static_cast<std::uint8_t>(name[0]), 0};
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
    return {0, 0, digitScanCodes[name[0] - '0'], static_cast<std::uint8_t>(name[0]), 0};
  // Any other key by the name a settings file writes for it, without its spaces and as it is
  // written ("Space", "Keypad8", "PageUp"), as the names above are.
  if (const TKeyName* key = FindKey(KeyCodeOf(name))) {
    std::string written;
    for (const char* c = key->Name; *c; ++c)
      if (*c != ' ') written += *c;
    if (written == name) return {0, 0, key->ScanCode, key->Code, 0};
  }
  throw EUsageError("--keys item '" + item + "': unknown key '" + std::string(name) +
                    "' (Up Down Left Right Shift RightShift Apostrophe F2 KP2 KP4 KP6 KP8 A..Z 0..9, or a "
                    "settings file's key name without spaces)");
}

void ParseKeys(std::string_view spans, TInputScript& script) {
  for (std::string_view part : Split(spans, ';')) {
    std::string item(part);
    auto colon = part.find(':');
    if (colon == std::string_view::npos)
      throw EUsageError("--keys item '" + item + "': expected FIRST-LAST:KEY[+KEY...]");
    int first = 0, last = 0;
    Frames(part.substr(0, colon), item, "--keys", first, last);
    for (std::string_view name : Split(part.substr(colon + 1), '+')) {
      TScriptedKey key = Key(name, item);
      key.First = first;
      key.Last = last;
      script.Keys.push_back(key);
    }
  }
}

void ParseJoy(std::string_view spans, TInputScript& script) {
  for (std::string_view part : Split(spans, ';')) {
    std::string item(part);
    const std::string shape = "--joy item '" + item + "': expected INDEX@FIRST-LAST:X,Y[,BUTTON...]";
    auto at = part.find('@');
    auto colon = part.find(':');
    if (at == std::string_view::npos || colon == std::string_view::npos || colon < at)
      throw EUsageError(shape);
    TScriptedStick stick;
    std::int64_t v = 0;
    if (!Number(part.substr(0, at), 0, maxJoysticks - 1, v))
      throw EUsageError("--joy item '" + item + "': INDEX must be 0 to " + std::to_string(maxJoysticks - 1));
    stick.Index = static_cast<int>(v);
    Frames(part.substr(at + 1, colon - at - 1), item, "--joy", stick.First, stick.Last);
    std::vector<std::string_view> values = Split(part.substr(colon + 1), ',');
    if (values.size() < 2) throw EUsageError(shape);
    std::int64_t x = 0, y = 0;
    if (!Number(values[0], -32768, 32767, x) || !Number(values[1], -32768, 32767, y))
      throw EUsageError("--joy item '" + item + "': X and Y must be -32768 to 32767");
    stick.X = static_cast<std::int32_t>(x);
    stick.Y = static_cast<std::int32_t>(y);
    for (std::size_t i = 2; i < values.size(); ++i) {
      if (!Number(values[i], 1, 32, v))
        throw EUsageError("--joy item '" + item + "': buttons are numbered 1 to 32");
      stick.Buttons |= 1u << (v - 1);
    }
    script.Sticks.push_back(stick);
  }
}

}  // namespace

void ReadKeysOption(TInputScript& script, const std::string& spans) { ParseKeys(spans, script); }

void ReadJoysticksOption(TInputScript& script, const std::string& count) {
  std::int64_t n = 0;
  if (!Number(count, 0, maxJoysticks, n))
    throw EUsageError("--joysticks '" + count + "' must be 0 to " + std::to_string(maxJoysticks));
  script.JoystickCount = static_cast<int>(n);
}

void ReadJoyOption(TInputScript& script, const std::string& spans) { ParseJoy(spans, script); }

void CheckInputScript(const TInputScript& script) {
  for (const TScriptedStick& s : script.Sticks)
    if (s.Index >= script.JoystickCount)
      throw EUsageError("--joy joystick " + std::to_string(s.Index) + " is not attached (--joysticks " +
                        std::to_string(script.JoystickCount) + ")");
}

void PrepareInput(const TInputScript& script, THeadlessBackend& backend) {
  backend.Joysticks.assign(static_cast<std::size_t>(script.JoystickCount), TBackendJoystick{});
  for (int i = 0; i < script.JoystickCount; ++i)
    backend.Joysticks[static_cast<std::size_t>(i)].Name = "Headless joystick " + std::to_string(i + 1);
  SetLibraryAvailable("DInput.dll", script.DirectInput);
}

void ApplyInput(const TInputScript& script, int frame, THeadlessBackend& backend) {
  std::memset(backend.ScanCodes, 0, sizeof backend.ScanCodes);
  std::memset(backend.VirtualKeys, 0, sizeof backend.VirtualKeys);
  for (const TScriptedKey& k : script.Keys) {
    if (frame < k.First || frame > k.Last) continue;
    backend.ScanCodes[k.ScanCode] = 0x80;
    backend.VirtualKeys[k.VirtualKey] = 0x80;
    if (k.SideKey) backend.VirtualKeys[k.SideKey] = 0x80;
  }
  for (TBackendJoystick& js : backend.Joysticks) {
    js.X = js.Y = js.Z = 0;
    js.Buttons = 0;
  }
  for (const TScriptedStick& s : script.Sticks) {
    if (frame < s.First || frame > s.Last) continue;
    if (s.Index >= static_cast<int>(backend.Joysticks.size())) continue;
    TBackendJoystick& js = backend.Joysticks[static_cast<std::size_t>(s.Index)];
    js.X = s.X;
    js.Y = s.Y;
    js.Buttons |= s.Buttons;
  }
}
