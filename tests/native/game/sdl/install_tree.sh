#!/usr/bin/env bash
# cmake --install of this tree into a scratch prefix: the usual folders (bin/torv,
# the archives in share/torv, the desktop entry, the icon made from the game's art),
# and the installed game starting from there, finding its archives by itself.
# Usage: install_tree.sh BUILD_DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
cmake --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1 || fail "install: $(cat "$prefix/install.log")"
for f in bin/torv share/torv/dat.tfa share/torv/sdat.tfa share/applications/torv.desktop \
  share/icons/hicolor/64x64/apps/torv.png; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/torv" ] || fail "bin/torv is not executable"
size=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/64x64/apps/torv.png") || fail "the icon is no picture"
[ "$size" = 64x64 ] || fail "the icon is $size"
desktop=$prefix/share/applications/torv.desktop
for line in '[Desktop Entry]' 'Type=Application' 'Exec=torv' 'Icon=torv' 'Name=TORV'; do
  grep -qxF "$line" "$desktop" || fail "the desktop entry lacks '$line'"
done

# The installed game, started from elsewhere, with nothing but its own folders.
echo '2 -' >"$prefix/script.txt"
(cd / && XDG_DATA_HOME=$prefix/home SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  "$prefix/bin/torv" --script "$prefix/script.txt" >"$prefix/out.txt" 2>"$prefix/err.txt") ||
  fail "the installed game did not run: $(cat "$prefix/err.txt")"
grep -q '^result=stopped frames=2 ' "$prefix/out.txt" || fail "the installed game: $(cat "$prefix/out.txt")"
[ -d "$prefix/home/torv" ] || fail "the installed game made no folder for the player's files"
echo "PASS: installed $(cd "$prefix" && find . -type f ! -name '*.txt' ! -name '*.log' ! -path './home/*' | sort | tr '\n' ' ')"
