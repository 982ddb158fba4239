// The command line on Windows: the wide one, as UTF-8, since main's argv is in the ANSI code page.
#include "system/Arguments.h"

// clang-format off
#include "system/windows/WideText.h"  // windows.h, which shellapi.h needs first
#include <shellapi.h>
// clang-format on

TArguments::TArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide && count == argc) {
    for (int i = 0; i < count; ++i) FText.push_back(Utf8Text(wide[i]));
  } else {
    // Not what the C library split (it should never differ): its own, as it gave them.
    FText.assign(argv, argv + argc);
  }
  if (wide) LocalFree(wide);
  for (std::string& text : FText) FPointers.push_back(text.data());
  FPointers.push_back(nullptr);
}
