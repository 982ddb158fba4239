// The console on Windows: binary standard streams, and the console of the window program's parent.
#include "system/Console.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "system/windows/WideText.h"  // windows.h

void UseBinaryStandardStreams() {
  // A stream with no handle behind it (a window program started without a console) refuses, and
  // stays as it is: nothing is written to it anyway.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

namespace {

// A handle that leads somewhere: a file, a pipe or a console the program was given.
bool Leads(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void AttachParentConsole() {
  const bool out = Leads(STD_OUTPUT_HANDLE);
  const bool err = Leads(STD_ERROR_HANDLE);
  // Redirected output stays where it was sent; a program started from Explorer has no parent
  // console and attaches to none.
  if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!out && std::freopen("CONOUT$", "w", stdout)) std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (!err && std::freopen("CONOUT$", "w", stderr)) std::setvbuf(stderr, nullptr, _IONBF, 0);
}
