#!/usr/bin/env bash
# The spare as a receiver uses it: a split made under Wine with a spare, which
# Debian's par2 verifies, and from which it rebuilds one missing part or one with a
# byte changed, a part renamed as a browser renames a second download once named, and
# a part from the volume alone; two parts lost are beyond it. One or two parts and an
# empty file make no spare.
# Usage: spare_test.sh WINE_PREFIX_SCRIPT PREFIX SPLIT_ONCE_EXE
set -euo pipefail
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
split_with_spare() {  # NAME BYTES: a random file of that size in 1 MiB parts
  head -c "$2" /dev/urandom >"$1"
  "$WINE" "$PREFIX" run "$SPLIT_ONCE" 1048576 "Z:${folder//\//\\}\\$1" spare >/dev/null
}
WINE=$1 PREFIX=$2 SPLIT_ONCE=$3

for bytes in 0 1048576 2097152; do
  split_with_spare "small.bin" "$bytes"
  [ ! -e small.bin.par2 ] && [ ! -e small.bin.vol0+1.par2 ] || { echo "a spare for $bytes bytes"; exit 1; }
  rm small.*
done

# 旅行〜夏.mp4, written as bytes: a shell without a UTF-8 locale reads no \u escape.
name=$'\xe6\x97\x85\xe8\xa1\x8c\xe3\x80\x9c\xe5\xa4\x8f.mp4'
split_with_spare "$name" $((4 * 1048576 + 5))
mkdir originals
cp "$name"_* originals/
par2 v -q "$name.par2" >/dev/null
repaired() {  # PART [PAR2 FILE] [FILES...]: rebuilt by par2, byte for byte
  par2 r -q "${2:-$name.par2}" "${@:3}" >/dev/null
  cmp "originals/${name}_$1" "${name}_$1"
  rm -f "$name"_*.1 "$name"_*" (1)"
}
rm "${name}_2" && repaired 2
printf Z | dd of="${name}_5" bs=1 seek=3 conv=notrunc status=none && repaired 5
mv "${name}_3" "${name}_3 (1)" && repaired 3 "$name.par2" "${name}_3 (1)"
rm "$name.par2" "${name}_4" && repaired 4 "$name.vol0+1.par2"
rm "${name}_1" "${name}_2"
status=0
par2 r -q "$name.vol0+1.par2" >/dev/null || status=$?
[ "$status" = 2 ] || { echo "two parts lost: par2 ended with $status, not 2"; exit 1; }
