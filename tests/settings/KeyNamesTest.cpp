// The key-name table: every name reads back as its code, and every key the back ends report has
// one.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "backends/sdl/SdlInputMap.h"
#include "backends/web/WebInputMap.h"
#include "settings/KeyNames.h"

namespace {

std::string Squeezed(std::string name) {
  std::string out;
  for (char c : name)
    if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

TEST(SettingsKeyNames, EveryNameRoundTripsAndNoTwoNamesMeet) {
  std::set<std::string> seen;
  int previous = 0;
  for (const TKeyName& k : KeyNameTable()) {
    EXPECT_GT(k.Code, previous) << k.Name;  // in code order, each code once
    previous = k.Code;
    EXPECT_EQ(KeyCodeOf(k.Name), k.Code) << k.Name;
    EXPECT_EQ(KeyNameOf(k.Code), k.Name);
    EXPECT_TRUE(seen.insert(Squeezed(k.Name)).second) << k.Name;
    std::string lower, upper;
    for (char c : std::string(k.Name)) {
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(KeyCodeOf(lower), k.Code) << lower;
    EXPECT_EQ(KeyCodeOf("  " + upper + "\t"), k.Code) << upper;
    // Names are written in lists separated by commas, in a file whose comments start with # or ;.
    EXPECT_EQ(std::string(k.Name).find_first_of(",#;="), std::string::npos) << k.Name;
  }
  for (const TKeyAlias& a : KeyAliasTable()) {
    EXPECT_TRUE(seen.insert(Squeezed(a.Name)).second) << a.Name;
    EXPECT_EQ(KeyCodeOf(a.Name), a.Code) << a.Name;
    EXPECT_FALSE(KeyNameOf(a.Code).empty()) << a.Name;
  }
  EXPECT_EQ(KeyCodeOf("Keypad8"), 104);
  EXPECT_EQ(KeyCodeOf("PAGEUP"), 0x21);
  EXPECT_EQ(KeyCodeOf("Return"), 13);
  EXPECT_EQ(KeyNameOf(13), "Enter");
  for (const char* none : {"", " ", "Keypad", "Up2", "F13", "Keypad 10", "Shift Left"})
    EXPECT_EQ(KeyCodeOf(none), 0) << none;
  EXPECT_EQ(KeyCodeOf(std::string(100, 'A')), 0);
  EXPECT_TRUE(KeyNameOf(0).empty());
  EXPECT_TRUE(KeyNameOf(256).empty());
  EXPECT_TRUE(KeyNameOf(-1).empty());
}

// Each code a desktop key gives has a name, and the name's scan code is that of a key giving it.
TEST(SettingsKeyNames, NameEveryCodeTheDesktopKeysGive) {
  int named = 0;
  for (int sdl = 0; sdl < 512; ++sdl) {
    for (int code : {VirtualKeyFromSdl(sdl), SidedVirtualKeyFromSdl(sdl)}) {
      if (code == 0) continue;
      const TKeyName* key = FindKey(code);
      ASSERT_NE(key, nullptr) << "code " << code << " of SDL scancode " << sdl;
      ++named;
    }
  }
  EXPECT_GT(named, 100);
  // The scan code given with a name is one the desktop's key of that code has.
  for (const TKeyName& k : KeyNameTable()) {
    bool found = false;
    for (int sdl = 0; sdl < 512 && !found; ++sdl)
      found = (VirtualKeyFromSdl(sdl) == k.Code || SidedVirtualKeyFromSdl(sdl) == k.Code) &&
              PcScanCodeFromSdl(sdl) == k.ScanCode;
    EXPECT_TRUE(found) << k.Name;
  }
}

TEST(SettingsKeyNames, NameEveryCodeThePageKeysGive) {
  std::vector<std::string> codes = {
      "Escape",       "Minus",          "Equal",       "Backspace",     "Tab",
      "BracketLeft",  "BracketRight",   "Enter",       "ControlLeft",   "ControlRight",
      "Semicolon",    "Quote",          "Backquote",   "ShiftLeft",     "ShiftRight",
      "Backslash",    "Comma",          "Period",      "Slash",         "NumpadMultiply",
      "AltLeft",      "AltRight",       "Space",       "CapsLock",      "NumLock",
      "ScrollLock",   "NumpadSubtract", "NumpadAdd",   "NumpadDecimal", "NumpadEnter",
      "NumpadDivide", "IntlBackslash",  "PrintScreen", "Pause",         "Home",
      "End",          "PageUp",         "PageDown",    "Insert",        "Delete",
      "ArrowUp",      "ArrowDown",      "ArrowLeft",   "ArrowRight",    "MetaLeft",
      "MetaRight",    "OSLeft",         "OSRight",     "ContextMenu"};
  for (char c = 'A'; c <= 'Z'; ++c) codes.push_back(std::string("Key") + c);
  for (char c = '0'; c <= '9'; ++c) {
    codes.push_back(std::string("Digit") + c);
    codes.push_back(std::string("Numpad") + c);
  }
  for (int f = 1; f <= 12; ++f) codes.push_back("F" + std::to_string(f));
  for (const std::string& code : codes) {
    int vk = VirtualKeyFromWeb(code);
    ASSERT_NE(vk, 0) << code;
    const TKeyName* key = FindKey(vk);
    ASSERT_NE(key, nullptr) << code;
    // The name's scan code is the key's; a modifier's is its side's, and the keypad's Enter is
    // named Enter.
    if (int sided = SidedVirtualKeyFromWeb(code)) {
      ASSERT_NE(FindKey(sided), nullptr) << code;
      EXPECT_EQ(FindKey(sided)->ScanCode, PcScanCodeFromWeb(code)) << code;
    } else if (code != "NumpadEnter") {
      EXPECT_EQ(key->ScanCode, PcScanCodeFromWeb(code)) << code;
    }
  }
}

}  // namespace
