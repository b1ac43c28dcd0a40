#!/usr/bin/env bash
# Fills dist/win64 and dist/win32 with what a Windows user copies: the exe, the DLLs,
# the tools and the data archives.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for arch in win64 win32; do
  out=dist/$arch
  rm -rf "$out"
  mkdir -p "$out"
  shopt -s nullglob
  # What a player or a content author uses; test programs stay in the build tree.
  for name in torv.exe tamDraw.dll tamDx3DDraw.dll tamDDDraw.dll tamDIBDraw.dll tamArc.dll \
              tamSound.dll tamDIJoy.dll tfa.exe drawcheck.exe; do
    if [ -f "build/$arch/bin/$name" ]; then cp "build/$arch/bin/$name" "$out/"; fi
  done
  for a in build/data/*.tfa; do cp "$a" "$out/"; done
  shopt -u nullglob
done
echo "dist: $(ls dist/win64 | wc -l) files in dist/win64, $(ls dist/win32 | wc -l) in dist/win32"
