# Build-time data compiled into the program: the bitmap font from the system's font package, the
# palette chosen with the art and the window's icon. Nothing here is committed as generated code.

# tarnyx_embed_bytes(OUT_VAR INPUT NAME): a .cpp with the bytes of INPUT as NAME##Data and
# NAME##Size.
function(tarnyx_embed_bytes out_var input name)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/generated/${name}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${out} -DNAME=${name}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedBytes.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/EmbedBytes.cmake
    COMMENT "Embedding ${input}")
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()

# tarnyx_embed_font(OUT_VAR): a .cpp with the bytes of the Terminus bitmap font.
function(tarnyx_embed_font out_var)
  set(font /usr/share/fonts/opentype/terminus/terminus-normal.otb)
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "${font} is missing: run scripts/install-deps (package fonts-terminus-otb)")
  endif()
  tarnyx_embed_bytes(out ${font} EmbeddedFont)
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()

# tarnyx_embed_palette(OUT_VAR): a .cpp with the 256 colours of assets/palette.hex, or none
# while that file does not exist (the program then uses a provisional palette).
function(tarnyx_embed_palette out_var)
  set(hex ${PROJECT_SOURCE_DIR}/assets/palette.hex)
  # Globbed so that the palette arriving later re-runs the configuration.
  file(GLOB present CONFIGURE_DEPENDS ${hex})
  set(body "")
  set(count 0)
  if(present)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${hex})
    file(STRINGS ${hex} lines REGEX "^[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]")
    foreach(line ${lines})
      string(SUBSTRING "${line}" 0 6 rgb)
      string(APPEND body "0x${rgb},")
      math(EXPR count "${count} + 1")
    endforeach()
    if(NOT count EQUAL 256)
      message(FATAL_ERROR "${hex} must hold 256 lines RRGGBB, it holds ${count}")
    endif()
  else()
    set(body "0")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/generated/ChosenPalette.cpp)
  file(CONFIGURE OUTPUT ${out} CONTENT
"// Generated from assets/palette.hex by the build.
#include <cstdint>
extern const std::uint32_t ChosenPaletteColors[] = {${body}};
extern const int ChosenPaletteCount = ${count};
")
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()

# tarnyx_font_table(OUT_VAR): a .cpp with the glyph table of the embedded font, written by the
# generator: the native one named by TARNYX_FONT_TABLE_TOOL where given (a build that cannot run
# its own programs, the browser's, or one for another processor, whose own would run under the
# emulator), else the tarnyx-fonttable target of this build.
function(tarnyx_font_table out_var)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/generated/FontTable.cpp)
  if(TARNYX_FONT_TABLE_TOOL)
    set(tool ${TARNYX_FONT_TABLE_TOOL})
  elseif(TARGET tarnyx-fonttable)
    set(tool tarnyx-fonttable)
  else()
    message(FATAL_ERROR "no glyph table generator: build tarnyx-fonttable natively and pass "
                        "-DTARNYX_FONT_TABLE_TOOL=/path/to/tarnyx-fonttable (make web does)")
  endif()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND ${tool} ${out}
    DEPENDS ${tool}
    COMMENT "Writing the glyph table of the embedded font")
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
