# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers (posix thread model).
#
# The .exe files link libgcc, libstdc++ and winpthread statically, so that they need only Windows'
# own DLLs and run from a folder or under Wine without any mingw runtime beside them. Libraries
# built for this target (SDL2, FreeType, libpng) are found under TARNYX_WINDOWS_DEPS or through
# PKG_CONFIG_LIBDIR; the host's libraries are never searched.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(mingw_triple x86_64-w64-mingw32)
# The posix compilers: std::thread and std::mutex need the posix thread model (the win32 one has
# no std::thread in GCC 12).
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)
set(CMAKE_AR ${mingw_triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${mingw_triple}-gcc-ranlib-posix CACHE FILEPATH "")

# The mingw sysroot (zlib from libz-mingw-w64-dev lives there) and the libraries built from source.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
if(DEFINED ENV{TARNYX_WINDOWS_DEPS})
  set(TARNYX_WINDOWS_DEPS "$ENV{TARNYX_WINDOWS_DEPS}")
endif()
if(TARNYX_WINDOWS_DEPS)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${TARNYX_WINDOWS_DEPS}")
  # try_compile projects get the same roots.
  list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TARNYX_WINDOWS_DEPS)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Libraries are looked up as static ones only (CMake's Windows rules would take a DLL's import
# library first, as zlib's libz.dll.a beside libz.a); set where those rules are already read.
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-static-libraries.cmake)

# Static runtime: -static also makes winpthread (pulled in by std::thread) a static library, so
# no libwinpthread-1.dll is needed next to the .exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Wine runs the test programs that CMake and CTest start, where an emulator is asked for.
find_program(TARNYX_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(TARNYX_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARNYX_WINE64})
endif()
