# The browser build's compiler settings (make web, with emscripten). The graph is the desktop's:
# the top-level CMakeLists.txt turns SDL, FreeType, libpng and the tests off here, and web/ adds the
# page. The glyph table comes from the native build's tarnyx-fonttable (TARNYX_FONT_TABLE_TOOL).

# -O2: the game's frame runs as fast as at -O3 here, and the links are quicker.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-O2")

# WebAssembly's 16-byte vectors (every current browser has them): the present compares frames
# with them.
add_compile_options(-msimd128)

# C++ exceptions are off by default in emscripten; the framework reports failures with them.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
