// The command line as UTF-8 text, whatever form the system hands it in.
#pragma once

#include <string>
#include <vector>

// The program's arguments as UTF-8 strings, in an argv of their own that lives as long as this
// object. POSIX systems hand main the bytes that were typed, which are kept as they are; Windows
// hands main the arguments converted to the ANSI code page, which loses every character outside
// it, so there they are taken from the wide command line instead.
class TArguments {
 public:
  TArguments(int argc, char** argv);
  TArguments(const TArguments&) = delete;
  TArguments& operator=(const TArguments&) = delete;

  int Count() const { return static_cast<int>(FText.size()); }
  char** Values() { return FPointers.data(); }

 private:
  std::vector<std::string> FText;
  std::vector<char*> FPointers;  // into FText, with a closing nullptr as argv has
};
