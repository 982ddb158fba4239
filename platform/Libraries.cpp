// The registry of built-in libraries.
#include "platform/Libraries.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

struct TLibrary {
  std::string Key;  // lower-case file name
  std::vector<TLibraryExport> Exports;
  bool Available = true;
  int LoadCount = 0;
};

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::unique_ptr<TLibrary>>& Registry() {
  static std::vector<std::unique_ptr<TLibrary>> registry = [] {
    std::vector<std::unique_ptr<TLibrary>> r;
    for (auto& [name, exports] : BuiltinLibraries()) {
      auto lib = std::make_unique<TLibrary>();
      lib->Key = Lower(name);
      lib->Exports = std::move(exports);
      r.push_back(std::move(lib));
    }
    return r;
  }();
  return registry;
}

TLibrary* Find(const std::string& fileName) {
  std::string key = Lower(fileName);
  for (auto& lib : Registry())
    if (lib->Key == key) return lib.get();
  return nullptr;
}

bool Known(HMODULE module) {
  for (auto& lib : Registry())
    if (lib.get() == module) return true;
  return false;
}

}  // namespace

HMODULE LoadLibraryA(const char* fileName) {
  if (!fileName) return nullptr;
  TLibrary* lib = Find(fileName);
  if (!lib || !lib->Available) return nullptr;
  ++lib->LoadCount;
  return lib;
}

FARPROC GetProcAddress(HMODULE module, const char* procName) {
  if (!procName || !Known(module) || module->LoadCount == 0) return nullptr;
  for (const TLibraryExport& e : module->Exports)
    if (e.Name == procName) return e.Address;
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
  if (!Known(module) || module->LoadCount == 0) return FALSE_;
  --module->LoadCount;
  return TRUE_;
}

void RegisterLibrary(const std::string& fileName, std::vector<TLibraryExport> exports) {
  if (TLibrary* lib = Find(fileName)) {
    lib->Exports = std::move(exports);
    lib->Available = true;  // registering again undoes UnregisterLibrary
    return;
  }
  auto lib = std::make_unique<TLibrary>();
  lib->Key = Lower(fileName);
  lib->Exports = std::move(exports);
  Registry().push_back(std::move(lib));
}

void UnregisterLibrary(const std::string& fileName) {
  // The entry stays (handles may still be held) but can no longer be loaded or searched.
  if (TLibrary* lib = Find(fileName)) {
    lib->Exports.clear();
    lib->Available = false;
  }
}

void SetLibraryAvailable(const std::string& fileName, bool available) {
  if (TLibrary* lib = Find(fileName)) lib->Available = available;
}

int LibraryLoadCount(const std::string& fileName) {
  TLibrary* lib = Find(fileName);
  return lib ? lib->LoadCount : 0;
}
