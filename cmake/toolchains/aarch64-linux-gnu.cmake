# Toolchain for 64-bit ARM Linux, cross-built on x86-64 with Debian's cross compiler and run here
# under qemu-user (make arm64; scripts/install-deps arm64 brings all of it).
#
# The libraries are Debian's arm64 packages installed beside the amd64 ones (multiarch): their
# headers are shared, their libraries are in /usr/lib/aarch64-linux-gnu, found by pkg-config
# through that folder alone. The tests, and any of the build's own programs it runs, go through
# qemu-aarch64 with the arm64 loader and libraries installed by multiarch (-L /). Not with the
# cross compiler's copy of them (-L /usr/aarch64-linux-gnu): that loader is another release of the
# C library than the multiarch libc.so it then loads, and a program hangs in its first
# pthread_create.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(TARNYX_CROSS_TRIPLE aarch64-linux-gnu)

set(CMAKE_C_COMPILER ${TARNYX_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${TARNYX_CROSS_TRIPLE}-g++)

# The arm64 libraries only: never the build machine's, which the linker would refuse late.
set(CMAKE_FIND_ROOT_PATH /usr/${TARNYX_CROSS_TRIPLE})
set(CMAKE_LIBRARY_ARCHITECTURE ${TARNYX_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${TARNYX_CROSS_TRIPLE}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

find_program(TARNYX_QEMU qemu-${CMAKE_SYSTEM_PROCESSOR})
if(NOT TARNYX_QEMU)
  message(FATAL_ERROR "qemu-${CMAKE_SYSTEM_PROCESSOR} is missing: run scripts/install-deps arm64")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${TARNYX_QEMU} -L /)
