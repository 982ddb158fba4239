// A small JSON writer for the reports of the headless tool and the page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Writes one JSON text into a string, left to right, putting in the commas itself. Numbers keep
// their exact values: a double is written with 17 significant digits, which reads back to the
// same double, and a single with every digit of its exact value. Numbers never depend on the
// locale. Strings are single-byte text: control characters, DEL and bytes above 127 are written as
// \u escapes of the byte's value.
class TJsonWriter {
 public:
  explicit TJsonWriter(std::string& out) : FOut(out) {}

  TJsonWriter& BeginObject();
  TJsonWriter& EndObject();
  TJsonWriter& BeginArray();
  TJsonWriter& EndArray();
  // The name of the next member of the object being written.
  TJsonWriter& Key(std::string_view name);

  TJsonWriter& Double(double value);
  TJsonWriter& Single(float value);
  TJsonWriter& Integer(std::int64_t value);
  TJsonWriter& Bool(bool value);
  TJsonWriter& String(std::string_view value);
  TJsonWriter& Null();
  // A value written already as JSON text (an object or array made elsewhere), put in as it is.
  TJsonWriter& Raw(std::string_view json);

 private:
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);

  std::string& FOut;
  std::vector<bool> FEmpty;  // per open object or array: nothing written in it yet
  bool FAfterKey = false;
};
