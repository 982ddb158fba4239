# The browser build, made with emscripten (make web): the same layers as the desktop over the
# web back end, as a page (site/), and the headless tool for node (tarnyx-headless.js). It needs
# neither SDL, FreeType nor libpng: text comes from a glyph table that the native build's
# tarnyx-fonttable writes with FreeType (TARNYX_FONT_TABLE_TOOL), PNG files from the writer
# without compression, pictures for the player from the browser. No tests are built here: the
# native build tests the code, and make test checks this build under node and in a browser.
include(${PROJECT_SOURCE_DIR}/cmake/Tarnyx.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/EmbedAssets.cmake)

# -O2: the game's frame runs as fast as at -O3 here, and the links are quicker.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-O2")

# WebAssembly's 16-byte vectors (every current browser has them): the present compares frames
# with them.
add_compile_options(-msimd128)

# C++ exceptions are off by default in emscripten; the framework reports failures with them.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

set(src ${PROJECT_SOURCE_DIR})

# The platform stand-ins, with the glyph table in place of FreeType and the writer without
# compression in place of libpng.
file(GLOB platform_srcs CONFIGURE_DEPENDS ${src}/platform/*.cpp)
list(REMOVE_ITEM platform_srcs ${src}/platform/Fonts.cpp ${src}/platform/Png.cpp)
tarnyx_font_table(font_table_cpp)
tarnyx_embed_palette(palette_cpp)
add_library(tarnyx_platform STATIC ${platform_srcs} ${src}/platform/web/FontTable.cpp
            ${src}/platform/web/WebFonts.cpp ${src}/platform/web/PngFile.cpp ${font_table_cpp}
            ${palette_cpp})
target_include_directories(tarnyx_platform PUBLIC ${src})
tarnyx_layer(tarnyx_platform_headless ${src}/platform/headless tarnyx_platform)

foreach(layer shell framework display input game settings demo)
  add_subdirectory(${src}/${layer} ${layer})
endforeach()

# The main form, without the desktop window's icon.
file(GLOB app_srcs CONFIGURE_DEPENDS ${src}/app/*.cpp)
list(FILTER app_srcs EXCLUDE REGEX "/(main|WindowIcon)\\.cpp$")
tarnyx_embed_bytes(form_cpp ${src}/assets/Form1.dfm StoredForm1)
add_library(tarnyx_app STATIC ${app_srcs} ${form_cpp})
target_include_directories(tarnyx_app PUBLIC ${src})
target_link_libraries(tarnyx_app PUBLIC tarnyx_game tarnyx_demo)

# tarnyx-headless.js, for node: the files it reads and writes are the machine's own (NODERAWFS),
# so that --state, --shot and demo files work as they do natively. Its WebAssembly is compiled
# at once from the file beside it, not fetched (node's fetch takes no file paths).
file(GLOB headless_srcs CONFIGURE_DEPENDS ${src}/tools/headless/*.cpp)
add_executable(tarnyx-headless ${headless_srcs})
target_link_libraries(tarnyx-headless PRIVATE tarnyx_app tarnyx_game tarnyx_platform_headless)
target_link_options(tarnyx-headless PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
                    -sALLOW_MEMORY_GROWTH=1 -sWASM_ASYNC_COMPILATION=0)
set_target_properties(tarnyx-headless PROPERTIES SUFFIX .js)

# The page: the game (tarnyx.js and tarnyx.wasm) over the web back end, and the page around it,
# all in site/, which any web server can serve as it is.
file(GLOB web_backend_srcs CONFIGURE_DEPENDS ${src}/platform/web/*.cpp)
list(REMOVE_ITEM web_backend_srcs ${src}/platform/web/FontTable.cpp ${src}/platform/web/WebFonts.cpp
     ${src}/platform/web/PngFile.cpp)
add_library(tarnyx_platform_web STATIC ${web_backend_srcs})
target_link_libraries(tarnyx_platform_web PUBLIC tarnyx_platform)
set(site ${CMAKE_BINARY_DIR}/site)
# The page's tests look at the world as the headless tool writes it.
add_executable(tarnyx ${src}/web/main.cpp ${src}/tools/headless/WorldJson.cpp ${src}/tools/headless/Json.cpp)
target_link_libraries(tarnyx PRIVATE tarnyx_app tarnyx_platform_web)
# The page hands demo files in and out through the program's memory (malloc, HEAPU8), and holds
# the program's start until a demo in the address has been fetched (the run dependencies).
target_link_options(tarnyx PRIVATE -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
                    -sEXPORTED_FUNCTIONS=_main,_malloc,_free
                    -sEXPORTED_RUNTIME_METHODS=ccall,HEAPU8,addRunDependency,removeRunDependency)
set_target_properties(tarnyx PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${site})
# The page names the game as the game itself does (app/CommandLine.h).
file(STRINGS ${src}/app/CommandLine.h version_line REGEX "GameVersionText = \"")
string(REGEX REPLACE ".*GameVersionText = \"([^\"]*)\".*" "\\1" TARNYX_VERSION_TEXT "${version_line}")
configure_file(${src}/web/index.html ${site}/index.html @ONLY)
configure_file(${src}/web/tarnyx-page.js ${site}/tarnyx-page.js COPYONLY)
configure_file(${src}/web/tarnyx.css ${site}/tarnyx.css COPYONLY)

# The page's benchmark (make web-bench): the game's frames timed in a browser, in bench/ beside
# the site; not part of the site.
add_executable(tarnyx-bench ${src}/web/bench.cpp)
target_link_libraries(tarnyx-bench PRIVATE tarnyx_app tarnyx_platform_web)
target_link_options(tarnyx-bench PRIVATE -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1
                    -sINITIAL_MEMORY=33554432 -sEXPORTED_RUNTIME_METHODS=ccall)
set_target_properties(tarnyx-bench PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY
                      ${CMAKE_BINARY_DIR}/bench EXCLUDE_FROM_ALL ON)
configure_file(${src}/web/bench.html ${CMAKE_BINARY_DIR}/bench/bench.html COPYONLY)
