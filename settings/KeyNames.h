// The one table of key names: the name a player reads on a key, for each virtual-key code.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// One key of the table: its virtual-key code (the code the back ends' key maps give for it on a
// US layout, platform/VirtualKeyCodes.h), the name written for it, and the PC set-1 scan code of
// the key (0x80 | code for the extended keys), which is what the game's keyboard device reads.
struct TKeyName {
  std::uint8_t Code;
  const char* Name;
  std::uint8_t ScanCode;
};

// Every named key, in code order; each code and each name once.
std::span<const TKeyName> KeyNameTable();

// Other spellings a player may use ("Return", "Esc", "PgUp", "AltGr"...), each with its code.
struct TKeyAlias {
  const char* Name;
  std::uint8_t Code;
};
std::span<const TKeyAlias> KeyAliasTable();

// The canonical name of a code, or an empty view for a code without one.
std::string_view KeyNameOf(int code);

// The table entry of a code, or nullptr.
const TKeyName* FindKey(int code);

// The code of a name or alias, or 0. Names compare without regard to case or spaces, so
// "keypad 8", "Keypad8" and "KEYPAD  8" are all Keypad 8.
int KeyCodeOf(std::string_view name);
