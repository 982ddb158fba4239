// A 64-bit checksum of typed values, the same on every target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// FNV-1a over a stream of bytes. Values go in by their exact bit patterns, little-endian byte by
// byte (a double as its 8 bytes, a float as its 4), and strings with their length first, so that
// one state gives one checksum on every machine and compiler, and "ab"+"c" differs from "a"+"bc".
class TDemoChecksum {
 public:
  void Byte(std::uint8_t v) {
    Value = (Value ^ v) * 0x100000001B3ull;
  }
  void Bytes(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) Byte(data[i]);
  }
  void U16(std::uint16_t v) { Unsigned(v, 2); }
  void U32(std::uint32_t v) { Unsigned(v, 4); }
  void U64(std::uint64_t v) { Unsigned(v, 8); }
  void I32(std::int32_t v) { Unsigned(static_cast<std::uint32_t>(v), 4); }
  void Bool(bool v) { Byte(v ? 1 : 0); }
  void Double(double v);
  void Single(float v);
  void String(std::string_view s);

  std::uint64_t Value = 0xCBF29CE484222325ull;

 private:
  void Unsigned(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
};
