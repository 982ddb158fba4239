// Finding the display library's functions through the platform's library loader.
#include "display/DirectDrawLibrary.h"

#include <stdexcept>

#include "platform/Libraries.h"

void* DirectDrawProc(const char* name) {
  static HMODULE library = nullptr;
  if (!library) library = LoadLibraryA("DDraw.dll");
  void* proc = library ? GetProcAddress(library, name) : nullptr;
  if (!proc) throw std::runtime_error("DDraw.dll not loaded");
  return proc;
}
