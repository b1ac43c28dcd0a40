#!/usr/bin/env bash
# Makes sure this machine can start i386 (32-bit x86) Linux programs, which 32-bit Wine
# is. Where the kernel runs them itself nothing is done. Where it refuses them ("Exec
# format error", kernels built without 32-bit support) the i386 ELF format is handed to
# qemu's user-mode emulator through binfmt_misc. That registration is kernel state, gone
# at the next boot, so this runs before every use. Idempotent; registering needs root.
# Where qemu runs them, its mmap fix is built too (scripts/qemu/mmap_noreplace.c; the
# Wine scripts preload it into every emulated program). Exit 0 when i386 programs run
# afterwards.
set -uo pipefail
qemu=/usr/bin/qemu-i386-static
binfmt=/proc/sys/fs/binfmt_misc

# The smallest static i386 program: exit(7) through int 0x80. Written by hand so the
# check needs no 32-bit compiler or package.
probe=$(mktemp /tmp/torv-i386-probe.XXXXXX)
trap 'rm -f "$probe"' EXIT
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x28\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"

runs_i386() { "$probe" 2>/dev/null; [ $? -eq 7 ]; }

# build/qemu-i386/$LIB/: the fix for 32-bit programs, and an empty library of the same
# name for 64-bit ones, which inherit the preload setting from 32-bit Wine.
build_mmap_fix() {
  local root out source
  root=$(cd "$(dirname "$0")/.." && pwd)
  out=$root/build/qemu-i386/lib
  source=$root/scripts/qemu/mmap_noreplace.c
  [ "$out/i386-linux-gnu/libtorv_mmap_noreplace.so" -nt "$source" ] && return 0
  mkdir -p "$out/i386-linux-gnu" "$out/x86_64-linux-gnu"
  gcc -m32 -O2 -fPIC -shared -nostdlib -ffreestanding -Wall -Wextra -Werror \
    -o "$out/i386-linux-gnu/libtorv_mmap_noreplace.so" "$source" &&
    echo 'int torv_mmap_noreplace_unused;' | gcc -x c -shared -nostdlib -o "$out/x86_64-linux-gnu/libtorv_mmap_noreplace.so" - ||
    { echo "i386: building $source failed" >&2; exit 1; }
}

if runs_i386; then
  if [ -f "$binfmt/qemu-i386" ] && grep -q '^enabled' "$binfmt/qemu-i386"; then
    build_mmap_fix
    echo "i386: programs run through $(sed -n 's/^interpreter //p' "$binfmt/qemu-i386")"
  else
    echo "i386: the kernel runs 32-bit programs itself; no emulator registered"
  fi
  exit 0
fi

[ -x "$qemu" ] || { echo "i386: the kernel refuses 32-bit programs and $qemu is missing" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "i386: the kernel refuses 32-bit programs; registering $qemu needs root" >&2; exit 1; }
if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt" || { echo "i386: cannot mount binfmt_misc" >&2; exit 1; }
fi
# A rule of that name left disabled (or pointing elsewhere) is replaced.
[ -e "$binfmt/qemu-i386" ] && echo -1 >"$binfmt/qemu-i386"
# Magic and mask select ELF, 32-bit, little-endian, executable or shared object, machine
# i386. Flag F opens the interpreter now, so it is found inside chroots and namespaces.
echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
  >"$binfmt/register" || { echo "i386: the kernel did not accept the binfmt_misc rule" >&2; exit 1; }
runs_i386 || { echo "i386: registered $qemu, but a 32-bit program still does not run" >&2; exit 1; }
build_mmap_fix
echo "i386: registered $qemu for 32-bit programs (the kernel refuses them)"
