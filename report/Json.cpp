// The JSON writer.
#include "report/Json.h"

#include <clocale>
#include <cmath>
#include <cstdio>

namespace {

// Writes value in the shortest general form that shows `digits` significant digits, or null
// for what JSON cannot hold.
template <typename Real>
void AppendReal(std::string& out, Real value, int digits) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  // printf's %g is what the general format of to_chars is made of; it is used here because not
  // every C++ library of the builds (the browser's) has to_chars for reals. Only the decimal
  // point can come from the locale, and it is put back to '.'.
  char buffer[200];
  int n = std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
  if (n <= 0 || n >= int(sizeof buffer)) {
    out += "null";
    return;
  }
  const char* point = std::localeconv()->decimal_point;
  for (int i = 0; i < n; ++i) {
    if (point && buffer[i] == point[0] && point[0] != '.') buffer[i] = '.';
  }
  out.append(buffer, std::size_t(n));
}

}  // namespace

void TJsonWriter::BeforeValue() {
  if (FAfterKey) {
    FAfterKey = false;
    return;
  }
  if (!FEmpty.empty()) {
    if (!FEmpty.back()) FOut += ',';
    FEmpty.back() = false;
  }
}

void TJsonWriter::Open(char bracket) {
  BeforeValue();
  FOut += bracket;
  FEmpty.push_back(true);
}

void TJsonWriter::Close(char bracket) {
  FOut += bracket;
  FEmpty.pop_back();
}

TJsonWriter& TJsonWriter::BeginObject() {
  Open('{');
  return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
  Close('}');
  return *this;
}

TJsonWriter& TJsonWriter::BeginArray() {
  Open('[');
  return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
  Close(']');
  return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view name) {
  String(name);
  FOut += ':';
  FAfterKey = true;
  return *this;
}

TJsonWriter& TJsonWriter::Double(double value) {
  BeforeValue();
  AppendReal(FOut, value, 17);
  return *this;
}

TJsonWriter& TJsonWriter::Single(float value) {
  BeforeValue();
  // A float's exact decimal value has at most 112 significant digits.
  AppendReal(FOut, value, 120);
  return *this;
}

TJsonWriter& TJsonWriter::Integer(std::int64_t value) {
  BeforeValue();
  FOut += std::to_string(value);
  return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value) {
  BeforeValue();
  FOut += value ? "true" : "false";
  return *this;
}

TJsonWriter& TJsonWriter::Null() {
  BeforeValue();
  FOut += "null";
  return *this;
}

TJsonWriter& TJsonWriter::Raw(std::string_view json) {
  BeforeValue();
  FOut += json;
  return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view value) {
  BeforeValue();
  static const char hex[] = "0123456789abcdef";
  FOut += '"';
  for (char ch : value) {
    auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      FOut += '\\';
      FOut += ch;
    } else if (c < 0x20 || c >= 0x7F) {
      FOut += "\\u00";
      FOut += hex[c >> 4];
      FOut += hex[c & 15];
    } else {
      FOut += ch;
    }
  }
  FOut += '"';
  return *this;
}
