#!/usr/bin/env bash
# Keeps the walls between the layers: only platform/sdl/ includes SDL (bench/ may, for its peers),
# only the web back end and the page's program (platform/web/, web/) include emscripten's headers,
# and nothing outside platform/ (and the Windows drafts of its system services, system-win-drafts/)
# includes an operating-system header.
# Usage: include_rules.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "${2:-$1}" && pwd)

# Every C and C++ source of the project, without build trees and version control.
sources() {
  find "$src" \( -path "$src/.git" -o -path "$build" -o -path "$src/build*" \) -prune -o \
    -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cc' -o -name '*.cpp' \) \
    -print | sort
}

sdl='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2/)?SDL[^/]*\.h[>"]'
emscripten='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](emscripten(\.h|/)|wasm_simd128\.h)'
os='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([Ww]indows\.h|win(user|gdi|base|def|nt)\.h|mmsystem\.h|ddraw\.h|dinput\.h|unistd\.h|fcntl\.h|dlfcn\.h|pthread\.h|termios\.h|poll\.h|sys/|X11/|linux/|wayland-)'

bad=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  case "$rel" in
    platform/sdl/* | bench/*) ;;
    *)
      if grep -HnE "$sdl" "$file" | sed "s|^$src/||"; then
        echo "  ^ SDL is included outside platform/sdl/"
        bad=1
      fi
      ;;
  esac
  case "$rel" in
    platform/web/* | web/*) ;;
    *)
      if grep -HnE "$emscripten" "$file" | sed "s|^$src/||"; then
        echo "  ^ emscripten is included outside platform/web/ and web/"
        bad=1
      fi
      ;;
  esac
  case "$rel" in
    platform/* | system-win-drafts/*) ;;
    *)
      if grep -HnE "$os" "$file" | sed "s|^$src/||"; then
        echo "  ^ an operating-system header is included outside platform/"
        bad=1
      fi
      ;;
  esac
done < <(sources)

if [ "$bad" -ne 0 ]; then
  echo "include rules broken" >&2
  exit 1
fi
echo "include rules kept"
