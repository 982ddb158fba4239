// Finding the display library's functions through the framework's library loading.
#include "display/DirectDrawLibrary.h"

#include "framework/PlatformProc.h"

void* DirectDrawProc(const char* name) { return PlatformProc("DDraw.dll", name); }
