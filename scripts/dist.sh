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
  for f in build/$arch/bin/*.exe build/$arch/bin/*.dll; do
    case "$(basename "$f")" in
      test_*|*_test.exe) ;;  # test programs stay in the build tree
      *) cp "$f" "$out/" ;;
    esac
  done
  for a in build/data/*.tfa; do cp "$a" "$out/"; done
  shopt -u nullglob
done
echo "dist: $(ls dist/win64 | wc -l) files in dist/win64, $(ls dist/win32 | wc -l) in dist/win32"
