# The checks of a build for another processor (make test-arm64), run here under its emulator
# (CMAKE_CROSSCOMPILING_EMULATOR, set by the toolchain file): the layers' unit tests named in
# TARNYX_EMULATED_TESTS, which gtest discovers and ctest runs through the emulator, and the
# headless tool against the native one (TARNYX_REFERENCE_HEADLESS), byte for byte. The script tests
# of tests/scripts run this machine's programs, so they run in the native build only.

# What `make arm64` builds of the tests.
set(emulated_targets "")
foreach(layer ${TARNYX_EMULATED_TESTS})
  if(TARGET tests_${layer})
    list(APPEND emulated_targets tests_${layer})
  endif()
endforeach()
add_custom_target(emulated-tests DEPENDS ${emulated_targets})

if(TARNYX_REFERENCE_HEADLESS)
  # The emulator's words, as one command for the script to run the tool through.
  add_test(NAME cross.same_bits
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/cross/same_bits.sh --png-bytes ${TARNYX_REFERENCE_HEADLESS}
                   ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:tarnyx-headless>)
  # The longest check under the emulator (about 40 s of the processor): started first, beside the unit tests.
  set_tests_properties(cross.same_bits PROPERTIES TIMEOUT 600 COST 1000)
else()
  message(STATUS "No TARNYX_REFERENCE_HEADLESS: the headless tool is not compared with the native one")
endif()

# The arm64 package beside the native one, file for file; both are built in this build's folder
# (a few minutes at first), so it runs only where asked (ctest -L deb, make deb-arm64).
add_test(NAME cross.deb_package
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/cross/deb_package.sh ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/packages)
set_tests_properties(cross.deb_package PROPERTIES LABELS deb TIMEOUT 1800)
