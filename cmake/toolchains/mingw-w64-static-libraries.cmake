# Read after CMake's rules for Windows (see mingw-w64-x86_64.cmake): find_library and pkg-config's
# -l flags resolve to static libraries only, so that no .exe depends on a DLL by accident.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
