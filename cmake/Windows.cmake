# The 64-bit Windows build (mingw-w64, see cmake/toolchains/): what differs from the Linux one.
#
# The system services that are POSIX in platform/ (replacing a file, putting it on the disk, the
# player's folder and the time stamp of a screenshot) are built from their Windows drafts in
# system-win-drafts/ instead, behind the same headers.
set(tarnyx_windows_drafts
  platform/FileReplacement.cpp
  platform/FileSync.cpp
  platform/Screenshot.cpp)
get_target_property(tarnyx_platform_sources tarnyx_platform SOURCES)
foreach(posix ${tarnyx_windows_drafts})
  get_filename_component(name ${posix} NAME)
  list(REMOVE_ITEM tarnyx_platform_sources ${PROJECT_SOURCE_DIR}/${posix})
  list(APPEND tarnyx_platform_sources ${PROJECT_SOURCE_DIR}/system-win-drafts/${name})
endforeach()
set_property(TARGET tarnyx_platform PROPERTY SOURCES ${tarnyx_platform_sources})

# The window program runs in the GUI subsystem: no console window opens beside the game. Its
# output (--help, --version, a demo's result line) still reaches a console or pipe that started it.
if(TARGET tarnyx)
  target_link_options(tarnyx PRIVATE -mwindows)
endif()
