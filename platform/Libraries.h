// Run-time libraries of the platform: a registry of the stand-ins compiled into the program,
// found by file name as the platform's loader would find a library on disk.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/WinTypes.h"

struct TLibrary;
using HMODULE = TLibrary*;
using FARPROC = void*;

// One function a library exports, by name.
struct TLibraryExport {
  std::string Name;
  FARPROC Address;
};

// Loads a library by file name (letter case ignored). Returns nullptr when no such library is
// built in, or when it has been made unavailable. Each load counts; FreeLibrary undoes one.
HMODULE LoadLibraryA(const char* fileName);
FARPROC GetProcAddress(HMODULE module, const char* procName);
BOOL FreeLibrary(HMODULE module);

// Adds (or replaces) a library. The stand-ins register themselves in BuiltinLibraries.cpp;
// tests may add fakes.
void RegisterLibrary(const std::string& fileName, std::vector<TLibraryExport> exports);
void UnregisterLibrary(const std::string& fileName);

// Makes a library fail to load, as on a machine that lacks it (the fall-back paths need this).
void SetLibraryAvailable(const std::string& fileName, bool available);

// How many loads of the library are outstanding (0 when not loaded).
int LibraryLoadCount(const std::string& fileName);

// The stand-ins compiled into the program; called once, on first use of the registry.
std::vector<std::pair<std::string, std::vector<TLibraryExport>>> BuiltinLibraries();
