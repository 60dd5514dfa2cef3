#!/usr/bin/env bash
# The checksum file as receivers check it: a split made under Wine, then GNU
# sha256sum and 7-Zip in its folder, before and after one byte of part 2 changes
# (its size kept, which the rejoin script's own checks cannot see).
# Usage: checksum_file_test.sh WINE_PREFIX_SCRIPT PREFIX SPLIT_ONCE_EXE
set -euo pipefail
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
# Names beyond every code page's reach too, the Mac's separated voiced sound mark
# kept as it is on the disk.
for name in "café 😀.bin" $'\xe3\x81\x8b\xe3\x82\x99\xe3\x82\x93.bin' "50% off.iso"; do
  head -c $((2 * 1048576 + 7)) /dev/urandom >"$folder/$name"
  "$1" "$2" run "$3" 1048576 "Z:${folder//\//\\}\\$name"
  (cd "$folder" && sha256sum -c --strict "$name.sha256" && 7zz t "$name.sha256" | grep -F "Everything is Ok")
done
cd "$folder"

byte=$(od -An -tu1 -j100 -N1 "${name}_2" | tr -d ' ')
printf "\\$(printf %o $(((byte + 1) % 256)))" | dd of="${name}_2" bs=1 seek=100 conv=notrunc status=none
if sha256sum -c --strict "$name.sha256" >said 2>&1 || 7zz t "$name.sha256" >>said 2>&1; then
  cat said; echo "a changed part passed"; exit 1
fi
grep -F "${name}_2: FAILED" said && grep -F "${name}_1: OK" said
grep -F "CRC Failed : ${name}_2" said
