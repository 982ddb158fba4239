// TKeyboard: the keys, through the key map, as input states; and the scan-code table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "input/CustomInput.h"

// The virtual-key code of a keyboard scan code (0..255, extended keys at 0x80 and up); 0 for a
// scan code the table does not list. Punctuation keys give the code of their unshifted
// character, so the apostrophe (40) gives 39 like the Right arrow.
BYTE ScanCodeToVirtualKey(int scanCode);

// The keyboard. Each poll fills KeyTable (by virtual-key code, bit 7 = down) from the platform
// keyboard device's scan codes, or from the window system's keyboard state when there is no
// DirectInput object, and then sets each state one of whose three assigned keys is down.
class TKeyboard : public TCustomInput {
 public:
  static constexpr std::size_t AssignsSize = 36 * 3 * 4;  // bytes of the stored key map

  explicit TKeyboard(TCustomDXInput* dxInput);

  void Finalize() override;
  void Initialize() override;
  void Update() override;

  // The key map from its stored form: 108 little-endian 32-bit codes, three per state in state
  // order. False (and the map unchanged) when size is not 432.
  bool ReadAssigns(const std::uint8_t* data, std::size_t size);
  void WriteAssigns(std::uint8_t out[AssignsSize]) const;

  BYTE KeyTable[256] = {};
  // Up to three virtual-key codes per state; 0 (or anything outside 1..255) means no key.
  std::int32_t Assigns[InputStateCount][3] = {};
};
