// A digest of many results, so that a long sweep of the numbers on one machine can be compared
// with the same sweep on another.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/SoftExtended.h"

// FNV-1a over the bytes of every result added, least significant byte first, so that the digest
// does not depend on the machine's byte order. The x87 build checks each result of a sweep
// against the hardware and then its digest against the one written in the test; every other
// build, which has no x87 to ask, must reach that same digest.
class TResultDigest {
 public:
  void Add(std::uint64_t word, int bytes = 8) {
    for (int i = 0; i < bytes; ++i) {
      FValue ^= (word >> (8 * i)) & 0xFF;
      FValue *= 0x100000001B3u;
    }
  }
  void Add(TSoftExtended v) {
    Add(v.SignExponent(), 2);
    Add(v.Significand());
  }
  void Add(std::string_view text) {
    for (char c : text) Add(static_cast<unsigned char>(c), 1);
    Add(0, 1);
  }
  std::uint64_t Value() const { return FValue; }

 private:
  std::uint64_t FValue = 0xCBF29CE484222325u;
};
