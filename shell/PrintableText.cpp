// Escaping outside bytes for messages.
#include "shell/PrintableText.h"

#include <cstdint>

namespace {

// The length of the well-formed UTF-8 sequence of a printable character (U+00A0 and above) at
// the start of s, or 0 when s does not start with one. Overlong forms, surrogates and code points
// past U+10FFFF are not well formed; the C1 controls U+0080..U+009F are not printable.
std::size_t PrintableSequence(std::string_view s) {
  const auto byte = [&](std::size_t i) { return std::uint8_t(s[i]); };
  const std::uint8_t lead = byte(0);
  std::size_t n;
  std::uint32_t code;
  if (lead >= 0xC2 && lead <= 0xDF) n = 2, code = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) n = 3, code = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) n = 4, code = lead & 0x07;
  else return 0;
  if (s.size() < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(i) & 0x3F);
  }
  static constexpr std::uint32_t Least[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < Least[n] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF || code < 0xA0) return 0;
  return n;
}

}  // namespace

std::string PrintableText(std::string_view bytes) {
  static constexpr char Hex[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::uint8_t c = std::uint8_t(bytes[i]);
    if (c == '\\') {
      out += "\\\\";
      ++i;
    } else if (c >= 0x20 && c < 0x7F) {
      out += char(c);
      ++i;
    } else if (const std::size_t n = c >= 0x80 ? PrintableSequence(bytes.substr(i)) : 0) {
      out.append(bytes.substr(i, n));
      i += n;
    } else {
      out += "\\x";
      out += Hex[c >> 4];
      out += Hex[c & 0xF];
      ++i;
    }
  }
  return out;
}
