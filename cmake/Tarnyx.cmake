# Helpers that keep each folder's CMakeLists.txt to a line or two.

# tarnyx_layer(NAME DIR [DEPS...]): a static library of every .cpp directly in DIR.
# The sources are globbed so that adding a file to a layer needs no edit here.
function(tarnyx_layer name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# tarnyx_test(NAME DIR [LIBS...]): one GoogleTest executable of every .cpp in tests/DIR.
# A build for another machine makes only the layers named in TARNYX_EMULATED_TESTS, which run
# under its emulator (cmake/CrossTests.cmake): those that check the numbers, the game, whole
# flights, demos and their sound, and the plain pixel loops that stand in for x86's vector ones.
set(TARNYX_EMULATED_TESTS "framework;game;app;demo;sound;media;platform" CACHE STRING
    "The layers whose unit tests a cross build makes and runs under its emulator")
function(tarnyx_test name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs OR (CMAKE_CROSSCOMPILING AND NOT dir IN_LIST TARNYX_EMULATED_TESTS))
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE TARNYX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(CMAKE_CROSSCOMPILING)
    # Under the emulator each process costs a start of its own (about half a second): one test
    # per executable, not one per case.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# tarnyx_version_header(): TarnyxVersion.h, on every target's include path, from the project's
# version, stage and edition; and the same as TARNYX_VERSION_TEXT ("0.06 Beta (8 bit edition)")
# and TARNYX_PACKAGE_VERSION ("0.06~beta": a stage sorts before the release that follows it) for
# the package and the page.
macro(tarnyx_version_header)
  set(TARNYX_VERSION_TEXT "${PROJECT_VERSION}")
  set(TARNYX_PACKAGE_VERSION "${PROJECT_VERSION}")
  if(TARNYX_STAGE)
    string(APPEND TARNYX_VERSION_TEXT " ${TARNYX_STAGE}")
    string(TOLOWER "${TARNYX_STAGE}" stage)
    string(APPEND TARNYX_PACKAGE_VERSION "~${stage}")
  endif()
  if(TARNYX_EDITION)
    string(APPEND TARNYX_VERSION_TEXT " (${TARNYX_EDITION})")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/TarnyxVersion.h.in ${PROJECT_BINARY_DIR}/version/TarnyxVersion.h @ONLY)
  include_directories(${PROJECT_BINARY_DIR}/version)
endmacro()
