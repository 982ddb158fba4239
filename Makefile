# The two set-up commands of the README, `make run` and `make test`, and a few more for developers.
BUILD ?= build
ASAN_BUILD ?= $(BUILD)-asan
DEB_BUILD ?= $(BUILD)-deb
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
WEB_BUILD ?= build-web
WEB_PORT ?= 8000
ARM64_BUILD ?= build-arm64
# `make deb ARCH=arm64` cross-builds the package for 64-bit ARM.
ARCH ?=
WINDOWS_BUILD ?= build-windows
# A build first made to play or to measure has no tests (and needs no GoogleTest); one that has
# them already keeps them.
# One space, to join make's lists with semicolons for CMake.
space := $(subst ,, )
NEW_BUILD_FLAGS = $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DBUILD_TESTING=OFF)

.PHONY: all deps configure build game run test test-fast test-sanitize bench deb install uninstall clean
.PHONY: web web-serve test-web web-bench arm64 test-arm64 test-deb-arm64 deb-arm64 windows test-windows

all: build

# Each use installs only the packages it needs: `scripts/install-deps --list SET` shows them.
deps:
	@scripts/install-deps test

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DBUILD_TESTING=ON -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The game alone: what building and running it needs, and the one executable.
game:
	@scripts/install-deps run
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(NEW_BUILD_FLAGS) -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD) --target tarnyx -j $(JOBS)

run: game
	./$(BUILD)/app/tarnyx

# Every test: the normal build (with the short fuzz runs), the browser build (under node and in
# headless Chromium), the Windows build (under Wine), the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer (with the soak run), then the arm64 build under
# qemu. The sanitizer build also computes the game's 80-bit numbers in software
# (TARNYX_PORTABLE_EXTENDED), as machines without the x87 do, and its headless tool must match the
# normal build's byte for byte, as the Windows and arm64 ones must.
test: test-fast test-web test-windows test-sanitize test-arm64

test-fast: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE soak

test-sanitize: build
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNYX_SANITIZE=ON -DTARNYX_BENCH=OFF \
	  -DTARNYX_PORTABLE_EXTENDED=ON -DTARNYX_REFERENCE_HEADLESS=$(abspath $(BUILD))/tools/headless/tarnyx-headless >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 ctest --output-on-failure -j $(JOBS) -LE fuzz

bench:
	@scripts/install-deps bench
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(NEW_BUILD_FLAGS) -DTARNYX_BENCH=ON >/dev/null
	@cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	@scripts/run-benchmarks $(BUILD)

# The Debian package, tarnyx_VERSION_ARCH.deb, in $(DEB_BUILD)/ (for arm64 in $(DEB_BUILD)-arm64/).
deb:
	@scripts/install-deps deb $(if $(filter arm64,$(ARCH)),arm64)
	@scripts/build-deb $(if $(ARCH),--arch $(ARCH)) . $(DEB_BUILD)$(if $(filter arm64,$(ARCH)),-arm64)

deb-arm64:
	@$(MAKE) --no-print-directory deb ARCH=arm64

install: game
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing installed from $(BUILD)"; exit 1; }
	@while read -r f; do rm -f "$(DESTDIR)$$f" && echo "removed $(DESTDIR)$$f"; done < $(BUILD)/install_manifest.txt

# The browser build: the page in $(WEB_BUILD)/site/ (any static web server serves it) and
# $(WEB_BUILD)/tarnyx-headless.js for node. Its glyph table comes from the native build's
# tarnyx-fonttable, which renders the font with FreeType. emscripten's linker finds Debian's
# JavaScript packages (acorn) through NODE_PATH.
web: export NODE_PATH = /usr/share/nodejs
web:
	@scripts/install-deps web
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(NEW_BUILD_FLAGS) -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD) --target tarnyx-fonttable -j $(JOBS)
	@emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache) \
	  -DTARNYX_FONT_TABLE_TOOL=$(abspath $(BUILD))/tools/fonttable/tarnyx-fonttable >/dev/null
	@cmake --build $(WEB_BUILD) -j $(JOBS)

# The browser build checked: its headless tool under node against the native one, byte for byte,
# the page in a headless Chromium, and the page on an emulated phone with touch (screenshots in
# $(WEB_BUILD)/shots/). All run, then the target fails if any did.
test-web: build web
	@status=0; \
	tests/web/node_equality.sh $(BUILD)/tools/headless/tarnyx-headless $(WEB_BUILD)/tarnyx-headless.js || status=1; \
	node tests/web/browser_test.mjs $(WEB_BUILD)/site \
	  $(BUILD)/tools/headless/tarnyx-headless $(WEB_BUILD)/shots || status=1; \
	node tests/web/touch_test.mjs $(WEB_BUILD)/site $(BUILD)/tools/headless/tarnyx-headless $(WEB_BUILD)/shots || status=1; \
	exit $$status

# The game's frames timed in headless Chromium beside the native frame benchmark of the same run
# (with the x87's extended type and with the software one the page computes with), the first
# frame after the page starts loading, and the page's size with gzip.
web-bench: export NODE_PATH = /usr/share/nodejs
web-bench: web
	@scripts/install-deps bench test
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(NEW_BUILD_FLAGS) -DTARNYX_BENCH=ON >/dev/null
	@cmake --build $(BUILD) --target bench_GameFrame bench_GameFramePortable -j $(JOBS)
	@cmake --build $(WEB_BUILD) --target tarnyx-bench -j $(JOBS)
	node tests/web/page_bench.mjs $(WEB_BUILD) $(BUILD)/bench/bench_GameFrame $(BUILD)/bench/bench_GameFramePortable

# The page on this machine only, for a quick look.
web-serve: web
	@echo "Tarnyx: http://127.0.0.1:$(WEB_PORT)/"
	cd $(WEB_BUILD)/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# 64-bit ARM Linux: the game, the headless tool and the unit tests that run under emulation
# (TARNYX_EMULATED_TESTS), cross-built in $(ARM64_BUILD)/ with Debian's cross compiler and arm64
# libraries. Its headless tool is compared with the native build's, whose path it is given here.
arm64:
	@scripts/install-deps arm64
	@cmake -S . -B $(ARM64_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchains/aarch64-linux-gnu.cmake \
	  $(CMAKE_FLAGS) -DBUILD_TESTING=ON -DTARNYX_REFERENCE_HEADLESS=$(abspath $(BUILD))/tools/headless/tarnyx-headless >/dev/null
	@cmake --build $(ARM64_BUILD) --target tarnyx tarnyx-headless emulated-tests -j $(JOBS)

# The arm64 build checked under qemu-aarch64: its unit tests, and its headless tool against the
# native one byte for byte (worlds, flights, pictures, demos). The package comparison builds two
# packages, so it runs on its own: make test-deb-arm64.
test-arm64: arm64
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(NEW_BUILD_FLAGS) >/dev/null
	@cmake --build $(BUILD) --target tarnyx-headless -j $(JOBS)
	cd $(ARM64_BUILD) && ctest --output-on-failure -j $(JOBS) -LE deb

test-deb-arm64: arm64
	@scripts/install-deps deb test
	cd $(ARM64_BUILD) && ctest --output-on-failure -L deb

# The game for 64-bit Windows, cross-built with mingw-w64: SDL2, FreeType and libpng built once
# from Debian's sources into $(WINDOWS_BUILD)/deps/, then $(WINDOWS_BUILD)/tarnyx.exe (the window
# program), $(WINDOWS_BUILD)/tarnyx-headless.exe (a console program; $(WINDOWS_BUILD)/tools/headless/
# tarnyx-headless runs it under Wine) and the packages tarnyx-VERSION-win64.zip and
# tarnyx-VERSION-setup.exe. Each .exe needs only Windows' own DLLs.
windows:
	@scripts/install-deps windows
	@scripts/build-windows-deps $(WINDOWS_BUILD)
	@PKG_CONFIG_LIBDIR=$(abspath $(WINDOWS_BUILD))/deps/lib/pkgconfig cmake -S . -B $(WINDOWS_BUILD) \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchains/mingw-w64-x86_64.cmake \
	  -DTARNYX_WINDOWS_DEPS=$(abspath $(WINDOWS_BUILD))/deps -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  $(if $(wildcard $(WINDOWS_BUILD)/CMakeCache.txt),,-DBUILD_TESTING=OFF) >/dev/null
	@cmake --build $(WINDOWS_BUILD) --target tarnyx tarnyx-headless windows-packages -j $(JOBS)

# The Windows build checked under Wine: its headless tool against the Linux one byte for byte,
# the game in a window under Xvfb, names beyond ASCII, the installer's silent install and
# uninstall, and the unit tests of the system services and the framework (the x87's precision).
# All run, then the target fails if any did.
# The layers whose unit tests run under Wine: what differs on Windows (the system services) and the
# x87's precision (the framework).
WINDOWS_TESTS = system framework
test-windows: build windows
	@PKG_CONFIG_LIBDIR=$(abspath $(WINDOWS_BUILD))/deps/lib/pkgconfig cmake -S . -B $(WINDOWS_BUILD) -DBUILD_TESTING=ON \
	  -DTARNYX_EMULATED_TESTS="$(subst $(space),;,$(WINDOWS_TESTS))" >/dev/null
	@cmake --build $(WINDOWS_BUILD) --target $(addprefix tests_,$(WINDOWS_TESTS)) -j $(JOBS)
	@status=0; \
	tests/cross/same_bits.sh $(BUILD)/tools/headless/tarnyx-headless \
	  $(WINDOWS_BUILD)/tools/headless/tarnyx-headless || status=1; \
	tests/windows/window.sh $(WINDOWS_BUILD) $(BUILD)/tools/headless/tarnyx-headless || status=1; \
	tests/windows/unicode_paths.sh $(WINDOWS_BUILD) $(BUILD)/tools/headless/tarnyx-headless || status=1; \
	tests/windows/installer.sh $(WINDOWS_BUILD) || status=1; \
	tests/windows/unit_tests.sh $(WINDOWS_BUILD) $(patsubst %,tests/tests_%.exe,$(WINDOWS_TESTS)) || status=1; \
	exit $$status

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(DEB_BUILD) $(DEB_BUILD)-arm64 $(WEB_BUILD) $(ARM64_BUILD) $(WINDOWS_BUILD)
