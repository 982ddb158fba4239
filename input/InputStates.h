// The 36 on/off input states (four directions and 32 buttons) and their 5-byte set.
#pragma once

#include <cstdint>
#include <initializer_list>

// One input state. Button n (1..32) has ordinal n + 3.
enum TInputState : std::uint8_t {
  stUp, stDown, stLeft, stRight,
  stButton1, stButton2, stButton3, stButton4, stButton5, stButton6, stButton7, stButton8,
  stButton9, stButton10, stButton11, stButton12, stButton13, stButton14, stButton15, stButton16,
  stButton17, stButton18, stButton19, stButton20, stButton21, stButton22, stButton23, stButton24,
  stButton25, stButton26, stButton27, stButton28, stButton29, stButton30, stButton31, stButton32,
};
constexpr int InputStateCount = 36;

// The state of button n, 1..32.
constexpr TInputState ButtonState(int n) { return static_cast<TInputState>(n + 3); }

// A set of input states held in 5 bytes: state n is bit n mod 8 of byte n div 8, so stUp is bit 0
// of byte 0 and stButton32 bit 3 of byte 4; the top four bits of byte 4 stay clear.
class TInputStates {
 public:
  constexpr TInputStates() = default;
  constexpr TInputStates(std::initializer_list<TInputState> states) {
    for (TInputState s : states) Include(s);
  }

  constexpr bool Contains(TInputState s) const { return (Bytes[s >> 3] >> (s & 7)) & 1; }
  constexpr void Include(TInputState s) { Bytes[s >> 3] |= static_cast<std::uint8_t>(1u << (s & 7)); }
  constexpr void Exclude(TInputState s) {
    Bytes[s >> 3] &= static_cast<std::uint8_t>(~(1u << (s & 7)));
  }
  constexpr bool Empty() const {
    return (Bytes[0] | Bytes[1] | Bytes[2] | Bytes[3] | Bytes[4]) == 0;
  }
  constexpr TInputStates& operator+=(const TInputStates& other) {
    for (int i = 0; i < 5; ++i) Bytes[i] |= other.Bytes[i];
    return *this;
  }
  friend constexpr TInputStates operator+(TInputStates a, const TInputStates& b) { return a += b; }
  friend constexpr bool operator==(const TInputStates&, const TInputStates&) = default;

  std::uint8_t Bytes[5] = {};
};
static_assert(sizeof(TInputStates) == 5);
