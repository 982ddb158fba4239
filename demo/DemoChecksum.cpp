// The checksum's floating-point and string values.
#include "demo/DemoChecksum.h"

#include <cstring>

void TDemoChecksum::Double(double v) {
  static_assert(sizeof(double) == 8);
  std::uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  U64(bits);
}

void TDemoChecksum::Single(float v) {
  static_assert(sizeof(float) == 4);
  std::uint32_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  U32(bits);
}

void TDemoChecksum::String(std::string_view s) {
  U32(static_cast<std::uint32_t>(s.size()));
  for (char c : s) Byte(static_cast<std::uint8_t>(c));
}
