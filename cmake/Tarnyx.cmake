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
function(tarnyx_test name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE TARNYX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# tarnyx_embed(TARGET NAME FILE [NAME FILE...]): embeds each FILE in every program that links
# TARGET (or in TARGET itself, if it is a program), found at run time by NAME through
# FindResource (shell/Resources.h). FILE may be the output of another build step.
function(tarnyx_embed target)
  set(args ${ARGN})
  list(LENGTH args n)
  math(EXPR odd "${n} % 2")
  if(n EQUAL 0 OR odd)
    message(FATAL_ERROR "tarnyx_embed(${target} NAME FILE ...): names and files go in pairs")
  endif()
  get_property(count TARGET ${target} PROPERTY TARNYX_EMBED_COUNT)
  if(NOT count)
    set(count 0)
  endif()
  math(EXPR count "${count} + 1")
  set_property(TARGET ${target} PROPERTY TARNYX_EMBED_COUNT ${count})
  set(id ${target}_embedded${count})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/generated/${id}.cpp)
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/generated)
  set(files "")
  set(command_args "")
  while(args)
    list(POP_FRONT args name file)
    get_filename_component(file ${file} ABSOLUTE)
    list(APPEND files ${file})
    list(APPEND command_args ${name} ${file})
  endwhile()
  add_custom_command(
    OUTPUT ${out}
    COMMAND tarnyx-embed ${out} ${command_args}
    DEPENDS tarnyx-embed ${files}
    COMMENT "Embedding ${files} for ${target}"
    VERBATIM)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_sources(${target} PRIVATE ${out})
    target_link_libraries(${target} PRIVATE tarnyx_shell)
  else()
    # An object library whose objects every consumer links whole: a static library would drop
    # them, since nothing refers to the registrations by name.
    add_library(${id} OBJECT ${out})
    target_include_directories(${id} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${id} $<TARGET_OBJECTS:${id}> tarnyx_shell)
  endif()
endfunction()
