// How SDL's keys and joystick hats translate into the platform's codes.
#include "backends/sdl/SdlInputMap.h"

#include <SDL.h>

#include <array>
#include <cstdint>

#include "platform/VirtualKeyCodes.h"

namespace {

using namespace VirtualKeyCodes;

struct TKey {
  SDL_Scancode Sdl;
  std::uint8_t Pc;     // set-1 scan code, 0x80 | code for the extended (E0-prefixed) keys
  std::uint8_t Vk;     // virtual-key code
  std::uint8_t Sided;  // left/right virtual-key code of a modifier, else 0
};

// Letters, digits and F1..F10 follow in runs and are added by the loops below.
constexpr TKey kKeys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01, VK_ESCAPE, 0},
    {SDL_SCANCODE_MINUS, 0x0C, VK_OEM_MINUS, 0},
    {SDL_SCANCODE_EQUALS, 0x0D, VK_OEM_PLUS, 0},
    {SDL_SCANCODE_BACKSPACE, 0x0E, VK_BACK, 0},
    {SDL_SCANCODE_TAB, 0x0F, VK_TAB, 0},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A, VK_OEM_4, 0},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B, VK_OEM_6, 0},
    {SDL_SCANCODE_RETURN, 0x1C, VK_RETURN, 0},
    {SDL_SCANCODE_LCTRL, 0x1D, VK_CONTROL, VK_LCONTROL},
    {SDL_SCANCODE_SEMICOLON, 0x27, VK_OEM_1, 0},
    {SDL_SCANCODE_APOSTROPHE, 0x28, VK_OEM_7, 0},
    {SDL_SCANCODE_GRAVE, 0x29, VK_OEM_3, 0},
    {SDL_SCANCODE_LSHIFT, 0x2A, VK_SHIFT, VK_LSHIFT},
    {SDL_SCANCODE_BACKSLASH, 0x2B, VK_OEM_5, 0},
    {SDL_SCANCODE_NONUSHASH, 0x2B, VK_OEM_5, 0},  // the same key position on ISO keyboards
    {SDL_SCANCODE_COMMA, 0x33, VK_OEM_COMMA, 0},
    {SDL_SCANCODE_PERIOD, 0x34, VK_OEM_PERIOD, 0},
    {SDL_SCANCODE_SLASH, 0x35, VK_OEM_2, 0},
    {SDL_SCANCODE_RSHIFT, 0x36, VK_SHIFT, VK_RSHIFT},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37, VK_MULTIPLY, 0},
    {SDL_SCANCODE_LALT, 0x38, VK_MENU, VK_LMENU},
    {SDL_SCANCODE_SPACE, 0x39, VK_SPACE, 0},
    {SDL_SCANCODE_CAPSLOCK, 0x3A, VK_CAPITAL, 0},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45, VK_NUMLOCK, 0},
    {SDL_SCANCODE_SCROLLLOCK, 0x46, VK_SCROLL, 0},
    {SDL_SCANCODE_KP_7, 0x47, VK_NUMPAD0 + 7, 0},
    {SDL_SCANCODE_KP_8, 0x48, VK_NUMPAD0 + 8, 0},
    {SDL_SCANCODE_KP_9, 0x49, VK_NUMPAD0 + 9, 0},
    {SDL_SCANCODE_KP_MINUS, 0x4A, VK_SUBTRACT, 0},
    {SDL_SCANCODE_KP_4, 0x4B, VK_NUMPAD0 + 4, 0},
    {SDL_SCANCODE_KP_5, 0x4C, VK_NUMPAD0 + 5, 0},
    {SDL_SCANCODE_KP_6, 0x4D, VK_NUMPAD0 + 6, 0},
    {SDL_SCANCODE_KP_PLUS, 0x4E, VK_ADD, 0},
    {SDL_SCANCODE_KP_1, 0x4F, VK_NUMPAD0 + 1, 0},
    {SDL_SCANCODE_KP_2, 0x50, VK_NUMPAD0 + 2, 0},
    {SDL_SCANCODE_KP_3, 0x51, VK_NUMPAD0 + 3, 0},
    {SDL_SCANCODE_KP_0, 0x52, VK_NUMPAD0 + 0, 0},
    {SDL_SCANCODE_KP_PERIOD, 0x53, VK_DECIMAL, 0},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56, VK_OEM_102, 0},
    {SDL_SCANCODE_F11, 0x57, VK_F11, 0},
    {SDL_SCANCODE_F12, 0x58, VK_F11 + 1, 0},
    {SDL_SCANCODE_KP_ENTER, 0x9C, VK_RETURN, 0},
    {SDL_SCANCODE_RCTRL, 0x9D, VK_CONTROL, VK_RCONTROL},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5, VK_DIVIDE, 0},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7, VK_SNAPSHOT, 0},
    {SDL_SCANCODE_RALT, 0xB8, VK_MENU, VK_RMENU},
    {SDL_SCANCODE_PAUSE, 0xC5, VK_PAUSE, 0},
    {SDL_SCANCODE_HOME, 0xC7, VK_HOME, 0},
    {SDL_SCANCODE_UP, 0xC8, VK_UP, 0},
    {SDL_SCANCODE_PAGEUP, 0xC9, VK_PRIOR, 0},
    {SDL_SCANCODE_LEFT, 0xCB, VK_LEFT, 0},
    {SDL_SCANCODE_RIGHT, 0xCD, VK_RIGHT, 0},
    {SDL_SCANCODE_END, 0xCF, VK_END, 0},
    {SDL_SCANCODE_DOWN, 0xD0, VK_DOWN, 0},
    {SDL_SCANCODE_PAGEDOWN, 0xD1, VK_NEXT, 0},
    {SDL_SCANCODE_INSERT, 0xD2, VK_INSERT, 0},
    {SDL_SCANCODE_DELETE, 0xD3, VK_DELETE, 0},
    {SDL_SCANCODE_LGUI, 0xDB, VK_LWIN, 0},
    {SDL_SCANCODE_RGUI, 0xDC, VK_RWIN, 0},
    {SDL_SCANCODE_APPLICATION, 0xDD, VK_APPS, 0},
};

// Set-1 scan codes of the letter keys in SDL's (alphabetical) order.
constexpr std::uint8_t kLetterScanCodes[26] = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,  // A..M
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,  // N..Z
};

struct TTables {
  std::array<TKey, SDL_NUM_SCANCODES> BySdl{};

  TTables() {
    for (int i = 0; i < 26; ++i) {
      Put({static_cast<SDL_Scancode>(SDL_SCANCODE_A + i), kLetterScanCodes[i],
           static_cast<std::uint8_t>('A' + i), 0});
    }
    // SDL and the scan codes both run 1..9, 0; the virtual keys are the characters.
    for (int i = 0; i < 10; ++i) {
      Put({static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i), static_cast<std::uint8_t>(0x02 + i),
           static_cast<std::uint8_t>(i == 9 ? '0' : '1' + i), 0});
    }
    for (int i = 0; i < 10; ++i) {
      Put({static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i), static_cast<std::uint8_t>(0x3B + i),
           static_cast<std::uint8_t>(VK_F1 + i), 0});
    }
    for (const TKey& k : kKeys) Put(k);
  }
  void Put(const TKey& k) { BySdl[k.Sdl] = k; }
};

const TKey& Lookup(int sdlScancode) {
  static const TTables tables;
  static const TKey none{};
  if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) return none;
  return tables.BySdl[sdlScancode];
}

}  // namespace

int PcScanCodeFromSdl(int sdlScancode) { return Lookup(sdlScancode).Pc; }

int VirtualKeyFromSdl(int sdlScancode) { return Lookup(sdlScancode).Vk; }

int SidedVirtualKeyFromSdl(int sdlScancode) { return Lookup(sdlScancode).Sided; }

TBackendEvent KeyEventFromSdl(int sdlScancode, bool down, bool alt, bool repeat) {
  TBackendEvent event;
  event.Type = down ? TBackendEvent::beKeyDown : TBackendEvent::beKeyUp;
  event.ScanCode = PcScanCodeFromSdl(sdlScancode);
  event.VirtualKey = VirtualKeyFromSdl(sdlScancode);
  event.Alt = alt;
  event.Repeat = down && repeat;
  return event;
}

int HatToHundredthsOfDegree(int hatBits) {
  switch (hatBits) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return -1;
  }
}
