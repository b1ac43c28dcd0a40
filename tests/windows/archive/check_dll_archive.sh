#!/bin/sh
# Reads the archive that tamArc.dll wrote under Wine with the native tfa and checks
# that every loose file it was made from comes back byte for byte, in order.
# usage: check_dll_archive.sh TFA DIR   (DIR holds written.tfa and loose/)
set -eu
tfa=$1
dir=$2
archive=$dir/written.tfa
rm -rf "$dir/unpacked"
"$tfa" list "$archive" > "$dir/list.txt"
"$tfa" unpack "$archive" "$dir/unpacked"
expected=$dir/expected.txt
: > "$expected"
i=0
for name in $(cat "$dir/loose/order.txt"); do
  file=$dir/loose/$name
  cmp "$file" "$dir/unpacked/$name"
  printf '%d\t%d\t%s\n' "$i" "$(wc -c < "$file")" "$name" >> "$expected"
  i=$((i + 1))
done
test "$i" -gt 0
diff "$expected" "$dir/list.txt"
echo "tamArc.dll archive read natively: $i members match"
