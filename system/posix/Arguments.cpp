// The command line on POSIX systems: the bytes typed, kept as they are.
#include "system/Arguments.h"

TArguments::TArguments(int argc, char** argv) : FText(argv, argv + argc) {
  for (std::string& text : FText) FPointers.push_back(text.data());
  FPointers.push_back(nullptr);
}
