// Conversions of stored values into property types.
#include "shell/StoredValue.h"

#include <utility>

namespace {

const char* KindName(TStoredKind kind) {
  switch (kind) {
    case skInteger: return "an integer";
    case skFloat: return "a number";
    case skString: return "a string";
    case skIdentifier: return "an identifier";
    case skSet: return "a set";
    case skBinary: return "a binary block";
    case skCollection: return "a collection";
  }
  return "a value";
}

bool Expect(const TStoredValue& value, TStoredKind kind, std::string& error) {
  if (value.Kind == kind) return true;
  error = std::string("expects ") + KindName(kind) + ", not " + KindName(value.Kind);
  return false;
}

}  // namespace

bool StoredInteger(const TStoredValue& value, std::int64_t& out, std::int64_t min, std::int64_t max,
                   std::string& error) {
  if (!Expect(value, skInteger, error)) return false;
  if (value.Integer < min || value.Integer > max) {
    error = "expects an integer from " + std::to_string(min) + " to " + std::to_string(max);
    return false;
  }
  out = value.Integer;
  return true;
}

bool StoredFloat(const TStoredValue& value, double& out, std::string& error) {
  if (value.Kind == skInteger) {
    out = static_cast<double>(value.Integer);
    return true;
  }
  if (!Expect(value, skFloat, error)) return false;
  out = value.Float;
  return true;
}

bool StoredBoolean(const TStoredValue& value, bool& out, std::string& error) {
  if (value.Kind == skIdentifier && (value.Text == "True" || value.Text == "False")) {
    out = value.Text == "True";
    return true;
  }
  error = "expects True or False";
  return false;
}

bool StoredString(const TStoredValue& value, std::string& out, std::string& error) {
  if (!Expect(value, skString, error)) return false;
  out = value.Text;
  return true;
}

bool StoredIdentifier(const TStoredValue& value, std::string& out, std::string& error) {
  if (!Expect(value, skIdentifier, error)) return false;
  out = value.Text;
  return true;
}

bool StoredSet(const TStoredValue& value, std::vector<std::string>& out, std::string& error) {
  if (!Expect(value, skSet, error)) return false;
  out = value.Set;
  return true;
}

bool StoredBinary(const TStoredValue& value, std::vector<std::uint8_t>& out, std::string& error) {
  if (!Expect(value, skBinary, error)) return false;
  out = value.Binary;
  return true;
}

bool StoredColor(const TStoredValue& value, std::int32_t& out, std::string& error) {
  static const std::pair<const char*, std::int32_t> names[] = {
      {"clBlack", 0x000000},   {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
      {"clNavy", 0x800000},    {"clPurple", 0x800080}, {"clTeal", 0x808000},  {"clGray", 0x808080},
      {"clSilver", 0xC0C0C0},  {"clRed", 0x0000FF},    {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
      {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
      {"clNone", 0x1FFFFFFF}, {"clDefault", 0x20000000},
  };
  if (value.Kind == skInteger) {
    if (value.Integer < INT32_MIN || value.Integer > INT32_MAX) {
      error = "expects a colour that fits 32 bits";
      return false;
    }
    out = static_cast<std::int32_t>(value.Integer);
    return true;
  }
  if (value.Kind == skIdentifier)
    for (auto& [name, colour] : names)
      if (value.Text == name) {
        out = colour;
        return true;
      }
  error = "expects a colour (a number or a name such as clFuchsia)";
  return false;
}

bool StoredEnum(const TStoredValue& value, const std::vector<std::string>& names, int& out,
                std::string& error) {
  if (value.Kind == skIdentifier)
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == value.Text) {
        out = static_cast<int>(i);
        return true;
      }
  error = "expects one of";
  for (size_t i = 0; i < names.size(); ++i) error += (i ? ", " : " ") + names[i];
  return false;
}
