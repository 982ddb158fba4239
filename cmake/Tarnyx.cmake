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
# flights and demos, and the plain pixel loops that stand in for x86's vector ones.
set(TARNYX_EMULATED_TESTS "framework;game;app;demo;platform" CACHE STRING
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
