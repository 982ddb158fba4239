// Functions of the platform's libraries, found by library and function name; each library is
// loaded once, on first use, and unloaded at program exit.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/DirectXError.h"
#include "platform/Libraries.h"

// The address of ProcName in LibraryName (letter case of the library's name ignored), loading
// the library if it is not loaded yet. Raises EDXLibraryError "<LibraryName> not loaded" if the
// library cannot be loaded or lacks the function. A library that failed to load is tried again
// on the next call; the function is looked up afresh every time.
FARPROC PlatformProc(const std::string& LibraryName, const std::string& ProcName);

// The libraries loaded so far: (lower-case name, module), in loading order.
const std::vector<std::pair<std::string, HMODULE>>& LoadedLibraries();

// Unloads every library in LoadedLibraries, in list order, and empties the list. Runs at program
// exit; tests call it to start afresh.
void UnloadLibraries();
