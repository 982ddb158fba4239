// The browser's keys become the same scan codes and virtual keys as the desktop's: every key
// checked against the SDL translation through the USB usage id that both name it by.
#include "backends/web/WebInputMap.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "backends/sdl/SdlInputMap.h"

namespace {

// KeyboardEvent.code of each key with its USB usage id (keyboard page), which is SDL's scancode.
std::vector<std::pair<std::string, int>> CodesWithUsageIds() {
  std::vector<std::pair<std::string, int>> keys = {
      {"Enter", 40},        {"Escape", 41},        {"Backspace", 42},     {"Tab", 43},
      {"Space", 44},        {"Minus", 45},         {"Equal", 46},         {"BracketLeft", 47},
      {"BracketRight", 48}, {"Backslash", 49},     {"Semicolon", 51},     {"Quote", 52},
      {"Backquote", 53},    {"Comma", 54},         {"Period", 55},        {"Slash", 56},
      {"CapsLock", 57},     {"PrintScreen", 70},   {"ScrollLock", 71},    {"Pause", 72},
      {"Insert", 73},       {"Home", 74},          {"PageUp", 75},        {"Delete", 76},
      {"End", 77},          {"PageDown", 78},      {"ArrowRight", 79},    {"ArrowLeft", 80},
      {"ArrowDown", 81},    {"ArrowUp", 82},       {"NumLock", 83},       {"NumpadDivide", 84},
      {"NumpadMultiply", 85}, {"NumpadSubtract", 86}, {"NumpadAdd", 87},  {"NumpadEnter", 88},
      {"Numpad0", 98},      {"NumpadDecimal", 99}, {"IntlBackslash", 100}, {"ContextMenu", 101},
      {"ControlLeft", 224}, {"ShiftLeft", 225},    {"AltLeft", 226},      {"MetaLeft", 227},
      {"ControlRight", 228}, {"ShiftRight", 229},  {"AltRight", 230},     {"MetaRight", 231},
      {"OSLeft", 227},      {"OSRight", 231},
  };
  for (int i = 0; i < 26; ++i) keys.push_back({std::string("Key") + char('A' + i), 4 + i});
  for (int i = 1; i <= 9; ++i) keys.push_back({"Digit" + std::to_string(i), 29 + i});
  keys.push_back({"Digit0", 39});
  for (int i = 1; i <= 12; ++i) keys.push_back({"F" + std::to_string(i), 57 + i});
  for (int i = 1; i <= 9; ++i) keys.push_back({"Numpad" + std::to_string(i), 88 + i});
  return keys;
}

TEST(WebInputMap, EveryKeyGivesTheCodesTheDesktopGives) {
  for (const auto& [code, usage] : CodesWithUsageIds()) {
    EXPECT_NE(PcScanCodeFromWeb(code), 0) << code;
    EXPECT_EQ(PcScanCodeFromWeb(code), PcScanCodeFromSdl(usage)) << code;
    EXPECT_EQ(VirtualKeyFromWeb(code), VirtualKeyFromSdl(usage)) << code;
    EXPECT_EQ(SidedVirtualKeyFromWeb(code), SidedVirtualKeyFromSdl(usage)) << code;
  }
}

TEST(WebInputMap, NoScanCodeOfTheDesktopIsMissing) {
  std::set<int> desktop, web;
  for (int usage = 0; usage < 512; ++usage)
    if (int c = PcScanCodeFromSdl(usage)) desktop.insert(c);
  for (const auto& [code, usage] : CodesWithUsageIds()) web.insert(PcScanCodeFromWeb(code));
  for (int c : desktop) EXPECT_TRUE(web.count(c)) << "no browser key gives scan code " << c;
}

TEST(WebInputMap, TheGamesKeysAndUnknownNames) {
  // The arrows and Shift steer the ship: extended arrows, Shift on both sides.
  EXPECT_EQ(PcScanCodeFromWeb("ArrowUp"), 0xC8);
  EXPECT_EQ(VirtualKeyFromWeb("ArrowLeft"), 0x25);
  EXPECT_EQ(PcScanCodeFromWeb("ShiftRight"), 0x36);
  EXPECT_EQ(VirtualKeyFromWeb("ShiftRight"), 0x10);
  EXPECT_EQ(SidedVirtualKeyFromWeb("ShiftRight"), 0xA1);
  for (const char* unknown : {"", "Unidentified", "keya", "KeyA ", "Fn", "F13", "Digit10", "Numpad"}) {
    EXPECT_EQ(PcScanCodeFromWeb(unknown), 0) << unknown;
    EXPECT_EQ(VirtualKeyFromWeb(unknown), 0) << unknown;
    EXPECT_EQ(SidedVirtualKeyFromWeb(unknown), 0) << unknown;
  }
}

}  // namespace
