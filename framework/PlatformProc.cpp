// Platform libraries loaded by name on first use.
#include "framework/PlatformProc.h"

#include <cctype>

namespace {

// The list, and the unloading at program exit.
struct TLoadedLibraries {
  std::vector<std::pair<std::string, HMODULE>> List;
  ~TLoadedLibraries() { UnloadLibraries(); }
};

TLoadedLibraries& Loaded() {
  // The library registry is made first, so that it still exists when this list unloads its
  // libraries at exit (statics end in the reverse order of their making).
  static bool registryReady = (LibraryLoadCount(""), true);
  (void)registryReady;
  static TLoadedLibraries loaded;
  return loaded;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

[[noreturn]] void NotLoaded(const std::string& libraryName) {
  throw EDXLibraryError(libraryName + " not loaded");
}

}  // namespace

FARPROC PlatformProc(const std::string& LibraryName, const std::string& ProcName) {
  auto& list = Loaded().List;
  std::string key = Lower(LibraryName);
  HMODULE module = nullptr;
  for (auto& [name, handle] : list)
    if (name == key) module = handle;
  if (!module) {
    module = LoadLibraryA(LibraryName.c_str());
    if (!module) NotLoaded(LibraryName);
    list.emplace_back(key, module);
  }
  FARPROC proc = GetProcAddress(module, ProcName.c_str());
  if (!proc) NotLoaded(LibraryName);
  return proc;
}

const std::vector<std::pair<std::string, HMODULE>>& LoadedLibraries() { return Loaded().List; }

void UnloadLibraries() {
  auto& list = Loaded().List;
  for (auto& entry : list) FreeLibrary(entry.second);
  list.clear();
}
