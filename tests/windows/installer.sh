#!/usr/bin/env bash
# The Windows installer under Wine: tarnyx-VERSION-setup.exe installs silently (/S) into Program
# Files\Tarnyx with a Start-menu entry and an entry in the list of installed programs; the
# installed game prints its version; the uninstaller, silent too, removes every file, the entry
# and the registry key it made. The zip beside it holds the two programs, README.txt and
# LICENSE.txt.
# Usage: installer.sh WINDOWS_BUILD_DIR
set -euo pipefail
fail() { echo "installer: FAIL: $*" >&2; exit 1; }
[ $# -eq 1 ] || { echo "usage: installer.sh WINDOWS_BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
wine=/usr/lib/wine/wine64
setup=$(find "$build" -maxdepth 1 -name 'tarnyx-*-setup.exe' | head -n 1)
zip=$(find "$build" -maxdepth 1 -name 'tarnyx-*-win64.zip' | head -n 1)
[ -n "$setup" ] && [ -n "$zip" ] || fail "no packages in $build (make windows)"
[ -x "$wine" ] || fail "no $wine (scripts/install-deps windows)"

work=$(mktemp -d)
export WINEPREFIX=${WINEPREFIX:-$build/wine} WINEDEBUG=-all
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
"$wine" cmd /c exit >/dev/null 2>&1 || true

# The zip: exactly its four files.
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listed" = "LICENSE.txt README.txt tarnyx-headless.exe tarnyx.exe " ] || fail "the zip holds: $listed"
unzip -p "$zip" LICENSE.txt | grep -q "MIT License" || fail "LICENSE.txt lacks the game's licence"
unzip -p "$zip" LICENSE.txt | grep -q "SIL OPEN FONT LICENSE Version 1.1" || fail "LICENSE.txt lacks the font's licence"

drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Tarnyx"
entry="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarnyx.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnyx'
# What the prefix holds before, so that the uninstall is seen to leave nothing of ours behind.
snapshot() { (cd "$drive" && find . -path ./windows -prune -o -print | grep -v '/Temp' | sort); }
"$wine" reg delete "$key" /f >/dev/null 2>&1 || true
rm -rf "$folder" "$entry"
snapshot >"$work/before"

"$wine" "$setup" /S >"$work/setup.out" 2>&1 || fail "the installer failed: $(head -c 500 "$work/setup.out")"
/usr/lib/wine/wineserver -w
for f in tarnyx.exe tarnyx-headless.exe README.txt LICENSE.txt uninstall.exe; do
  [ -f "$folder/$f" ] || fail "not installed: $f"
done
[ -f "$entry" ] || fail "no Start-menu entry"
"$wine" reg query "$key" >"$work/key" 2>&1 || fail "no entry in the installed programs: $(cat "$work/key")"
for value in DisplayName DisplayVersion DisplayIcon UninstallString; do
  grep -q "$value" "$work/key" || fail "the installed programs' entry lacks $value"
done
unzip -p "$zip" tarnyx.exe | cmp -s - "$folder/tarnyx.exe" || fail "the installed tarnyx.exe is not the zip's"
# The game's icon, which Explorer, the Start menu and the list of programs show, is in the .exe.
resources=$(x86_64-w64-mingw32-windres -i "$folder/tarnyx.exe" -O rc 2>&1 || true)
grep -q RT_GROUP_ICON <<<"$resources" || fail "tarnyx.exe carries no icon"
echo "installer: installed: $(tr -d '\r' <"$work/key" | grep -E 'DisplayName|DisplayVersion' | tr -s ' ' | tr '\n' ';')"

"$wine" "C:\\Program Files\\Tarnyx\\tarnyx.exe" --version >"$work/version" 2>&1 || fail "--version failed: $(cat "$work/version")"
version=$(tr -d '\r' <"$work/version" | head -n 1)
[[ $version == "Tarnyx "[0-9]* ]] || fail "--version said: $(cat "$work/version")"
grep -q "DisplayVersion.*${version#Tarnyx }" <(tr -d '\r' <"$work/key") || fail "the entry's version is not the game's ($version)"
echo "installer: the installed game says: $version"

# The uninstaller copies itself away and runs from there; the server's wait covers the copy.
"$wine" "C:\\Program Files\\Tarnyx\\uninstall.exe" /S >"$work/uninstall.out" 2>&1 || fail "the uninstaller failed"
/usr/lib/wine/wineserver -w
[ ! -e "$folder" ] || fail "left behind: $(ls -A "$folder" | tr '\n' ' ')"
[ ! -e "$entry" ] || fail "the Start-menu entry is still there"
if "$wine" reg query "$key" >/dev/null 2>&1; then fail "the installed programs' entry is still there"; fi
snapshot >"$work/after"
diff "$work/before" "$work/after" >"$work/left" || fail "the prefix differs after the uninstall: $(head -c 500 "$work/left")"
echo "installer: ok"
