// The libraries compiled into the program, by file name. Each platform stand-in that the
// framework loads at run time adds its line here.
#include "platform/DirectDraw.h"
#include "platform/DirectInput.h"
#include "platform/Libraries.h"

std::vector<std::pair<std::string, std::vector<TLibraryExport>>> BuiltinLibraries() {
  return {
      {"DInput.dll", {{"DirectInputCreateA", reinterpret_cast<FARPROC>(&DirectInputCreateA)}}},
      {"DDraw.dll",
       {{"DirectDrawCreate", reinterpret_cast<FARPROC>(&DirectDrawCreate)},
        {"DirectDrawEnumerateA", reinterpret_cast<FARPROC>(&DirectDrawEnumerateA)}}},
  };
}
