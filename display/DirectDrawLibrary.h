// Finding the display library's functions at run time.
#pragma once

// The address of a function of "DDraw.dll", loading the library on first use. Throws
// EDXLibraryError "DDraw.dll not loaded" when the library or the function is missing.
void* DirectDrawProc(const char* name);
