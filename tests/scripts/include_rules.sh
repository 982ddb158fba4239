#!/usr/bin/env bash
# Keeps the walls between the folders: each folder includes only the folders its row of the table
# below names (its own always), SDL only in backends/sdl/, emscripten only in backends/web/ and
# web/ (WebAssembly's vector header also in media/), operating-system headers only in system/ and
# backends/ (and the tests of system/). Then plants an upward include in a copy of the sources and
# requires the check to fail there, so that the check itself is known to bite.
# Usage: include_rules.sh SOURCE_DIR [BUILD_DIR]   (build trees, build*/, are never looked at)
#        include_rules.sh --check-only SOURCE_DIR   (the check alone, on any tree)
set -euo pipefail

# Who may include whom, from the bottom up. A folder not in the table (tests/, bench/, fuzz/) may
# include anything; a folder of the project's own that is missing here is an error, so that a new
# folder gets its row.
read -r -d '' table <<'EOF' || true
system:
media: system
platform: media system
backends/headless: platform media system
backends/sdl: platform media system
backends/web: platform media system
shell: platform media system
framework: shell platform media system
display: framework shell platform media system
input: framework shell platform media system
game: display input framework shell platform media system
sound: game display input framework shell platform media system
settings: input display framework shell platform media system
demo: game input display framework shell platform media system
report: demo game input display framework shell platform media system
app: sound settings report demo game input display framework shell platform media system backends/sdl
tools/headless: app sound settings report demo game input display framework shell platform media system backends/headless
tools/fonttable: media system
tools/artgen:
web: app sound settings report demo game input display framework shell platform media system backends/web bench
EOF

sdl='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2/)?SDL[^/]*\.h[>"]'
emscripten='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]emscripten(\.h|/)'
# WebAssembly's vector header is the compiler's, as emmintrin.h is: the portable pixels may use it
# beside SSE2, in media/ only.
wasmsimd='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]wasm_simd128\.h'
os='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([Ww]indows\.h|win(user|gdi|base|def|nt)\.h|mmsystem\.h|ddraw\.h|dinput\.h|unistd\.h|fcntl\.h|dlfcn\.h|pthread\.h|termios\.h|poll\.h|io\.h|sys/|X11/|linux/|wayland-)'
ours='^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]+/'

# sources SOURCE_DIR: every C and C++ source of the tree, relative, without build trees.
sources() {
  (cd "$1" && find . \( -path ./.git -o -path './build*' \) -prune -o -type f \
     \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cc' -o -name '*.cpp' \) -print |
     sed 's|^\./||' | sort)
}

# forbidden SOURCE_DIR PATTERN ALLOWED_PATHS WHY: every include of PATTERN outside ALLOWED_PATHS
# (an extended regular expression on the relative path).
forbidden() {
  local hits
  hits=$(cd "$1" && sources . | xargs grep -HnE "$2" | grep -vE "^($3)" || true)
  [ -z "$hits" ] && return 0
  echo "$hits"
  echo "  ^ $4"
  return 1
}

# check SOURCE_DIR: prints every broken rule, returns 1 if any.
check() {
  local src=$1 bad=0
  forbidden "$src" "$sdl" 'backends/sdl/|bench/' "SDL is included outside backends/sdl/" || bad=1
  forbidden "$src" "$emscripten" 'backends/web/|web/' "emscripten is included outside backends/web/ and web/" || bad=1
  forbidden "$src" "$wasmsimd" 'backends/web/|web/|media/' \
    "WebAssembly's vectors are included outside media/, backends/web/ and web/" || bad=1
  # The system services' tests may reach the system too, to provoke what the services handle
  # (Ctrl+C sent to the console).
  forbidden "$src" "$os" 'system/|backends/|tests/system/' \
    "an operating-system header is included outside system/, backends/ and tests/system/" || bad=1
  # Folder to folder, in one pass over every include of ours.
  (cd "$src" && sources . | xargs grep -HE "$ours" || true) |
    awk -v table="$table" '
      function folder(path,   n, p) {
        n = split(path, p, "/")
        if (n < 2) return ""
        if ((p[1] == "backends" || p[1] == "tools") && n >= 3) return p[1] "/" p[2]
        return p[1]
      }
      BEGIN {
        n = split(table, lines, "\n")
        for (i = 1; i <= n; i++) {
          if (split(lines[i], kv, ":") < 2) continue
          rows[kv[1]] = " " kv[1] " " kv[2] " "
        }
        bad = 0
      }
      {
        file = $0; sub(/:.*/, "", file)
        line = $0; sub(/^[^:]*:/, "", line)
        target = line; sub(/^[^"]*"/, "", target); sub(/".*/, "", target)
        dir = folder(file); tdir = folder(target)
        if (dir == "" || dir == "tests" || dir == "bench" || dir == "fuzz") next
        if (!(dir in rows)) {
          if (!(dir in told)) print file ": the folder " dir " has no row in the include table"
          told[dir] = 1; bad = 1; next
        }
        if (!(tdir in rows) && tdir != "tests" && tdir != "bench" && tdir != "fuzz") next
        if (index(rows[dir], " " tdir " ") == 0) {
          print file ": " line; print "  ^ " dir " may not include " tdir; bad = 1
        }
      }
      END { exit bad }' || bad=1
  return $bad
}

if [ "${1:-}" = --check-only ]; then
  check "$(cd "$2" && pwd)"
  exit
fi

src=$(cd "$1" && pwd)
if ! check "$src"; then
  echo "include rules broken" >&2
  exit 1
fi

# The check must catch an upward include: the game reaching up into the program's form.
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
(cd "$src" && sources . | xargs cp --parents -t "$copy")
echo '#include "app/Form1.h"' >>"$copy/game/Main.h"
if check "$copy" >"$copy/out.txt"; then
  echo "the check passed a copy whose game/Main.h includes app/Form1.h" >&2
  exit 1
fi
grep -q 'game may not include app' "$copy/out.txt" || { cat "$copy/out.txt"; exit 1; }
echo "include rules kept (and an upward include is caught)"
