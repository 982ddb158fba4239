// The key-name table and its look-ups both ways.
#include "settings/KeyNames.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "platform/VirtualKeyCodes.h"

namespace {

using namespace VirtualKeyCodes;

// Letters, digits, the keypad digits and F1..F12 are added in runs by MakeTable; their scan codes
// follow the keyboard's rows, not the alphabet.
constexpr TKeyName OtherKeys[] = {
    {VK_BACK, "Backspace", 0x0E},
    {VK_TAB, "Tab", 0x0F},
    {VK_RETURN, "Enter", 0x1C},  // the keypad's Enter gives the same code
    {VK_SHIFT, "Shift", 0x2A},
    {VK_CONTROL, "Control", 0x1D},
    {VK_MENU, "Alt", 0x38},
    {VK_PAUSE, "Pause", 0xC5},
    {VK_CAPITAL, "Caps Lock", 0x3A},
    {VK_ESCAPE, "Escape", 0x01},
    {VK_SPACE, "Space", 0x39},
    {VK_PRIOR, "Page Up", 0xC9},
    {VK_NEXT, "Page Down", 0xD1},
    {VK_END, "End", 0xCF},
    {VK_HOME, "Home", 0xC7},
    {VK_LEFT, "Left", 0xCB},
    {VK_UP, "Up", 0xC8},
    {VK_RIGHT, "Right", 0xCD},
    {VK_DOWN, "Down", 0xD0},
    {VK_SNAPSHOT, "Print Screen", 0xB7},
    {VK_INSERT, "Insert", 0xD2},
    {VK_DELETE, "Delete", 0xD3},
    {VK_LWIN, "Left Windows", 0xDB},
    {VK_RWIN, "Right Windows", 0xDC},
    {VK_APPS, "Menu", 0xDD},
    {VK_MULTIPLY, "Keypad *", 0x37},
    {VK_ADD, "Keypad +", 0x4E},
    {VK_SUBTRACT, "Keypad -", 0x4A},
    {VK_DECIMAL, "Keypad .", 0x53},
    {VK_DIVIDE, "Keypad /", 0xB5},
    {VK_NUMLOCK, "Num Lock", 0x45},
    {VK_SCROLL, "Scroll Lock", 0x46},
    {VK_LSHIFT, "Left Shift", 0x2A},
    {VK_RSHIFT, "Right Shift", 0x36},
    {VK_LCONTROL, "Left Control", 0x1D},
    {VK_RCONTROL, "Right Control", 0x9D},
    {VK_LMENU, "Left Alt", 0x38},
    {VK_RMENU, "Right Alt", 0xB8},
    {VK_OEM_1, "Semicolon", 0x27},
    {VK_OEM_PLUS, "Equals", 0x0D},
    {VK_OEM_COMMA, "Comma", 0x33},
    {VK_OEM_MINUS, "Minus", 0x0C},
    {VK_OEM_PERIOD, "Period", 0x34},
    {VK_OEM_2, "Slash", 0x35},
    {VK_OEM_3, "Backquote", 0x29},
    {VK_OEM_4, "Left Bracket", 0x1A},
    {VK_OEM_5, "Backslash", 0x2B},
    {VK_OEM_6, "Right Bracket", 0x1B},
    {VK_OEM_7, "Apostrophe", 0x28},
    {VK_OEM_102, "Intl Backslash", 0x56},
};

constexpr TKeyAlias Aliases[] = {
    {"Return", VK_RETURN},
    {"Ctrl", VK_CONTROL},
    {"Esc", VK_ESCAPE},
    {"PgUp", VK_PRIOR},
    {"PgDn", VK_NEXT},
    {"Left Arrow", VK_LEFT},
    {"Up Arrow", VK_UP},
    {"Right Arrow", VK_RIGHT},
    {"Down Arrow", VK_DOWN},
    {"PrtSc", VK_SNAPSHOT},
    {"Ins", VK_INSERT},
    {"Del", VK_DELETE},
    {"Left Super", VK_LWIN},
    {"Right Super", VK_RWIN},
    {"Application", VK_APPS},
    {"Keypad Multiply", VK_MULTIPLY},
    {"Keypad Plus", VK_ADD},
    {"Keypad Minus", VK_SUBTRACT},
    {"Keypad Decimal", VK_DECIMAL},
    {"Keypad Divide", VK_DIVIDE},
    {"Left Ctrl", VK_LCONTROL},
    {"Right Ctrl", VK_RCONTROL},
    {"AltGr", VK_RMENU},
    {"Full Stop", VK_OEM_PERIOD},
    {"Grave", VK_OEM_3},
    {"Quote", VK_OEM_7},
};

// Set-1 scan codes of the letters A..Z, of the digits 0..9 and of the keypad's digits 0..9.
constexpr std::uint8_t LetterScanCodes[26] = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,
};
constexpr std::uint8_t DigitScanCodes[10] = {0x0B, 0x02, 0x03, 0x04, 0x05,
                                             0x06, 0x07, 0x08, 0x09, 0x0A};
constexpr std::uint8_t KeypadScanCodes[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B,
                                              0x4C, 0x4D, 0x47, 0x48, 0x49};
constexpr std::uint8_t FunctionScanCodes[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40,
                                                0x41, 0x42, 0x43, 0x44, 0x57, 0x58};

// The names made by the runs need storage of their own; the table points into it.
struct TTable {
  std::array<std::string, 256> Names;
  std::array<TKeyName, 256> ByCode{};
  std::vector<TKeyName> Keys;  // in code order

  TTable() {
    auto put = [this](std::uint8_t code, std::string name, std::uint8_t scanCode) {
      Names[code] = std::move(name);
      ByCode[code] = {code, Names[code].c_str(), scanCode};
    };
    for (int i = 0; i < 26; ++i)
      put(static_cast<std::uint8_t>('A' + i), std::string(1, char('A' + i)), LetterScanCodes[i]);
    for (int i = 0; i < 10; ++i) {
      put(static_cast<std::uint8_t>('0' + i), std::string(1, char('0' + i)), DigitScanCodes[i]);
      put(static_cast<std::uint8_t>(VK_NUMPAD0 + i), "Keypad " + std::to_string(i),
          KeypadScanCodes[i]);
    }
    for (int i = 0; i < 12; ++i)
      put(static_cast<std::uint8_t>(VK_F1 + i), "F" + std::to_string(i + 1), FunctionScanCodes[i]);
    for (const TKeyName& k : OtherKeys) put(k.Code, k.Name, k.ScanCode);
    for (const TKeyName& k : ByCode)
      if (k.Name) Keys.push_back(k);
  }
};

const TTable& Table() {
  static const TTable table;
  return table;
}

// The name as compared: lower case, without spaces or tabs.
std::string Folded(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    if (c == ' ' || c == '\t') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

}  // namespace

std::span<const TKeyName> KeyNameTable() { return Table().Keys; }

std::span<const TKeyAlias> KeyAliasTable() { return Aliases; }

const TKeyName* FindKey(int code) {
  if (code < 1 || code > 255) return nullptr;
  const TKeyName& k = Table().ByCode[static_cast<std::size_t>(code)];
  return k.Name ? &k : nullptr;
}

std::string_view KeyNameOf(int code) {
  const TKeyName* k = FindKey(code);
  return k ? std::string_view(k->Name) : std::string_view();
}

int KeyCodeOf(std::string_view name) {
  static const std::vector<std::pair<std::string, std::uint8_t>> folded = [] {
    std::vector<std::pair<std::string, std::uint8_t>> all;
    for (const TKeyName& k : Table().Keys) all.emplace_back(Folded(k.Name), k.Code);
    for (const TKeyAlias& a : Aliases) all.emplace_back(Folded(a.Name), a.Code);
    std::sort(all.begin(), all.end());
    return all;
  }();
  // Longer than any name: not worth folding (and bounds the work on outside text).
  if (name.size() > 64) return 0;
  std::string key = Folded(name);
  if (key.empty()) return 0;
  auto it = std::lower_bound(folded.begin(), folded.end(), std::make_pair(key, std::uint8_t{0}));
  return it != folded.end() && it->first == key ? it->second : 0;
}
