// How the browser's keys translate into the platform's codes: the same codes the desktop's keys
// give (backends/sdl/SdlInputMap.cpp), looked up by the key's KeyboardEvent.code.
#include "backends/web/WebInputMap.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/VirtualKeyCodes.h"

namespace {

using namespace VirtualKeyCodes;

struct TKey {
  const char* Code;
  std::uint8_t Pc;     // set-1 scan code, 0x80 | code for the extended (E0-prefixed) keys
  std::uint8_t Vk;     // virtual-key code
  std::uint8_t Sided;  // left/right virtual-key code of a modifier, else 0
};

// Letters, digits and F1..F12 follow in runs and are added by the loops below.
constexpr TKey kKeys[] = {
    {"Escape", 0x01, VK_ESCAPE, 0},
    {"Minus", 0x0C, VK_OEM_MINUS, 0},
    {"Equal", 0x0D, VK_OEM_PLUS, 0},
    {"Backspace", 0x0E, VK_BACK, 0},
    {"Tab", 0x0F, VK_TAB, 0},
    {"BracketLeft", 0x1A, VK_OEM_4, 0},
    {"BracketRight", 0x1B, VK_OEM_6, 0},
    {"Enter", 0x1C, VK_RETURN, 0},
    {"ControlLeft", 0x1D, VK_CONTROL, VK_LCONTROL},
    {"Semicolon", 0x27, VK_OEM_1, 0},
    {"Quote", 0x28, VK_OEM_7, 0},
    {"Backquote", 0x29, VK_OEM_3, 0},
    {"ShiftLeft", 0x2A, VK_SHIFT, VK_LSHIFT},
    {"Backslash", 0x2B, VK_OEM_5, 0},  // also the '#' key of ISO keyboards, at the same place
    {"Comma", 0x33, VK_OEM_COMMA, 0},
    {"Period", 0x34, VK_OEM_PERIOD, 0},
    {"Slash", 0x35, VK_OEM_2, 0},
    {"ShiftRight", 0x36, VK_SHIFT, VK_RSHIFT},
    {"NumpadMultiply", 0x37, VK_MULTIPLY, 0},
    {"AltLeft", 0x38, VK_MENU, VK_LMENU},
    {"Space", 0x39, VK_SPACE, 0},
    {"CapsLock", 0x3A, VK_CAPITAL, 0},
    {"NumLock", 0x45, VK_NUMLOCK, 0},
    {"ScrollLock", 0x46, VK_SCROLL, 0},
    {"Numpad7", 0x47, VK_NUMPAD0 + 7, 0},
    {"Numpad8", 0x48, VK_NUMPAD0 + 8, 0},
    {"Numpad9", 0x49, VK_NUMPAD0 + 9, 0},
    {"NumpadSubtract", 0x4A, VK_SUBTRACT, 0},
    {"Numpad4", 0x4B, VK_NUMPAD0 + 4, 0},
    {"Numpad5", 0x4C, VK_NUMPAD0 + 5, 0},
    {"Numpad6", 0x4D, VK_NUMPAD0 + 6, 0},
    {"NumpadAdd", 0x4E, VK_ADD, 0},
    {"Numpad1", 0x4F, VK_NUMPAD0 + 1, 0},
    {"Numpad2", 0x50, VK_NUMPAD0 + 2, 0},
    {"Numpad3", 0x51, VK_NUMPAD0 + 3, 0},
    {"Numpad0", 0x52, VK_NUMPAD0 + 0, 0},
    {"NumpadDecimal", 0x53, VK_DECIMAL, 0},
    {"IntlBackslash", 0x56, VK_OEM_102, 0},
    {"NumpadEnter", 0x9C, VK_RETURN, 0},
    {"ControlRight", 0x9D, VK_CONTROL, VK_RCONTROL},
    {"NumpadDivide", 0xB5, VK_DIVIDE, 0},
    {"PrintScreen", 0xB7, VK_SNAPSHOT, 0},
    {"AltRight", 0xB8, VK_MENU, VK_RMENU},
    {"Pause", 0xC5, VK_PAUSE, 0},
    {"Home", 0xC7, VK_HOME, 0},
    {"ArrowUp", 0xC8, VK_UP, 0},
    {"PageUp", 0xC9, VK_PRIOR, 0},
    {"ArrowLeft", 0xCB, VK_LEFT, 0},
    {"ArrowRight", 0xCD, VK_RIGHT, 0},
    {"End", 0xCF, VK_END, 0},
    {"ArrowDown", 0xD0, VK_DOWN, 0},
    {"PageDown", 0xD1, VK_NEXT, 0},
    {"Insert", 0xD2, VK_INSERT, 0},
    {"Delete", 0xD3, VK_DELETE, 0},
    {"MetaLeft", 0xDB, VK_LWIN, 0},
    {"MetaRight", 0xDC, VK_RWIN, 0},
    {"OSLeft", 0xDB, VK_LWIN, 0},  // the older name of the same keys in some browsers
    {"OSRight", 0xDC, VK_RWIN, 0},
    {"ContextMenu", 0xDD, VK_APPS, 0},
};

// Set-1 scan codes of the letter keys in alphabetical order.
constexpr std::uint8_t kLetterScanCodes[26] = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,  // A..M
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,  // N..Z
};
// Set-1 scan codes of F1..F12: F11 and F12 came later and lie apart.
constexpr std::uint8_t kFunctionScanCodes[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40,
                                                 0x41, 0x42, 0x43, 0x44, 0x57, 0x58};

struct TCodeKey {
  std::uint8_t Pc, Vk, Sided;
};

const TCodeKey& Lookup(std::string_view code) {
  static const std::unordered_map<std::string, TCodeKey> byCode = [] {
    std::unordered_map<std::string, TCodeKey> m;
    for (int i = 0; i < 26; ++i)
      m[std::string("Key") + char('A' + i)] = {kLetterScanCodes[i], std::uint8_t('A' + i), 0};
    // Scan codes run 1..9, 0; the virtual keys are the characters.
    for (int i = 0; i < 10; ++i)
      m[std::string("Digit") + char('0' + i)] = {std::uint8_t(i == 0 ? 0x0B : 0x01 + i),
                                                  std::uint8_t('0' + i), 0};
    for (int i = 0; i < 12; ++i)
      m["F" + std::to_string(i + 1)] = {kFunctionScanCodes[i], std::uint8_t(VK_F1 + i), 0};
    for (const TKey& k : kKeys) m[k.Code] = {k.Pc, k.Vk, k.Sided};
    return m;
  }();
  static const TCodeKey none{};
  auto it = byCode.find(std::string(code));
  return it == byCode.end() ? none : it->second;
}

}  // namespace

int PcScanCodeFromWeb(std::string_view code) { return Lookup(code).Pc; }

int VirtualKeyFromWeb(std::string_view code) { return Lookup(code).Vk; }

int SidedVirtualKeyFromWeb(std::string_view code) { return Lookup(code).Sided; }
