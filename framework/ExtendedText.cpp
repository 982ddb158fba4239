// Decimal text of extended values in the general number format, from their exact digits.
#include <algorithm>
#include <array>
#include <bit>

#include "framework/Extended.h"

namespace {

// The exact decimal digits of a positive extended value, found with an unsigned whole number in
// 32-bit words, lowest first. Its trailing zero bits dropped, the significand times a power of
// two or of five (for negative powers of two: m / 2^k = m * 5^k / 10^k) stays below 2^38400 over
// the whole extended range, and has at most 11600 digits.
class TDecimalDigits {
 public:
  TDecimalDigits(std::uint64_t mant, int exp2) {
    const int zeros = std::countr_zero(mant);
    mant >>= zeros;
    exp2 += zeros;
    words_[0] = static_cast<std::uint32_t>(mant);
    words_[1] = static_cast<std::uint32_t>(mant >> 32);
    size_ = words_[1] ? 2 : 1;
    if (exp2 >= 0) {
      ShiftLeft(exp2);
    } else {
      for (int k = -exp2; k > 0; k -= 13) MultiplyBy(Power5(std::min(k, 13)));
      LastPower = exp2;
    }
    Spell();
  }

  const char* begin() const { return digits_.data() + first_; }
  const char* end() const { return digits_.data() + digits_.size(); }
  int Count() const { return static_cast<int>(digits_.size()) - first_; }
  int LastPower = 0;  // the power of ten of the last digit

 private:
  static std::uint32_t Power5(int k) {
    std::uint32_t p = 1;
    while (k-- > 0) p *= 5;
    return p;
  }

  std::uint32_t& Word(int i) { return words_[static_cast<std::size_t>(i)]; }

  void MultiplyBy(std::uint32_t f) {
    std::uint64_t carry = 0;
    for (int i = 0; i < size_; ++i) {
      const std::uint64_t v = std::uint64_t(Word(i)) * f + carry;
      Word(i) = static_cast<std::uint32_t>(v);
      carry = v >> 32;
    }
    if (carry) Word(size_++) = static_cast<std::uint32_t>(carry);
  }

  void ShiftLeft(int bits) {
    const int whole = bits / 32, part = bits % 32;
    if (part) {
      std::uint32_t carry = 0;
      for (int i = 0; i < size_; ++i) {
        const std::uint32_t w = Word(i);
        Word(i) = (w << part) | carry;
        carry = w >> (32 - part);
      }
      if (carry) Word(size_++) = carry;
    }
    if (whole) {
      std::copy_backward(words_.begin(), words_.begin() + size_, words_.begin() + size_ + whole);
      std::fill(words_.begin(), words_.begin() + whole, 0u);
      size_ += whole;
    }
  }

  // Nine digits at a time from the bottom, by division by 10^9, written from the back.
  void Spell() {
    first_ = static_cast<int>(digits_.size());
    while (size_ > 0) {
      std::uint64_t rem = 0;
      for (int i = size_ - 1; i >= 0; --i) {
        const std::uint64_t v = (rem << 32) | Word(i);
        Word(i) = static_cast<std::uint32_t>(v / 1000000000u);
        rem = v % 1000000000u;
      }
      while (size_ > 0 && Word(size_ - 1) == 0) --size_;
      for (int d = 0; d < 9 && (size_ > 0 || rem != 0); ++d, rem /= 10)
        digits_[static_cast<std::size_t>(--first_)] = static_cast<char>('0' + rem % 10);
    }
  }

  std::array<std::uint32_t, 1200> words_;  // only the first size_ are in use
  int size_ = 0;
  std::array<char, 11600> digits_;
  int first_ = 0;
};

char* Append(char* out, const char* text) {
  while (*text) *out++ = *text++;
  return out;
}

}  // namespace

char* FormatGeneral(char* out, TSoftExtended v, int precision) {
  precision = std::clamp(precision, 1, 40);
  if (v.SignBit()) *out++ = '-';
  if (v.IsNaN()) return Append(out, "nan");
  if (v.IsInf()) return Append(out, "inf");
  if (v.IsZero()) return Append(out, "0");

  const TSoftExtended::TParts x = v.Parts();
  const TDecimalDigits exact(x.Mant, x.Exp - 63);
  const char* all = exact.begin();
  const int count = exact.Count();
  // Keep `precision` digits, rounded halves to even on the exact rest.
  char kept[40];
  int exponent = count - 1 + exact.LastPower;  // of the first digit
  const int n = std::min(precision, count);
  std::copy(all, all + n, kept);
  if (count > precision) {
    const char next = all[precision];
    bool up = next > '5';
    if (next == '5')
      up = std::any_of(all + precision + 1, exact.end(), [](char c) { return c != '0'; }) ||
           (kept[precision - 1] - '0') % 2 == 1;
    if (up) {
      int i = precision - 1;
      while (i >= 0 && kept[i] == '9') kept[i--] = '0';
      if (i >= 0) {
        ++kept[i];
      } else {  // 99..9 rounded up to 100..0
        kept[0] = '1';
        ++exponent;
      }
    }
  }
  int digits = n;
  while (digits > 1 && kept[digits - 1] == '0') --digits;

  if (exponent >= -4 && exponent < precision) {
    if (exponent < 0) {
      out = Append(out, "0.");
      for (int i = -1; i > exponent; --i) *out++ = '0';
      return std::copy(kept, kept + digits, out);
    }
    for (int i = 0; i <= exponent; ++i) *out++ = i < digits ? kept[i] : '0';
    if (digits > exponent + 1) {
      *out++ = '.';
      out = std::copy(kept + exponent + 1, kept + digits, out);
    }
    return out;
  }
  *out++ = kept[0];
  if (digits > 1) {
    *out++ = '.';
    out = std::copy(kept + 1, kept + digits, out);
  }
  *out++ = 'e';
  *out++ = exponent < 0 ? '-' : '+';
  const int e = exponent < 0 ? -exponent : exponent;
  if (e >= 1000) *out++ = static_cast<char>('0' + e / 1000);
  if (e >= 100) *out++ = static_cast<char>('0' + e / 100 % 10);
  *out++ = static_cast<char>('0' + e / 10 % 10);
  *out++ = static_cast<char>('0' + e % 10);
  return out;
}
