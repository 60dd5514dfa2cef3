#!/usr/bin/env bash
# The checksum file as receivers check it: a split made under Wine, then GNU
# sha256sum and 7-Zip in its folder, before and after one byte of part 2 changes
# (its size kept, which the rejoin script's own checks cannot see).
# Usage: checksum_file_test.sh WINE_PREFIX_SCRIPT PREFIX SPLIT_ONCE_EXE
set -euo pipefail
wine_prefix=$1 prefix=$2 split_once=$3
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
name="50% off.iso"
head -c $((2 * 1048576 + 7)) /dev/urandom >"$folder/$name"
"$wine_prefix" "$prefix" run "$split_once" 1048576 "Z:${folder//\//\\}\\$name"
cd "$folder"

expect() {  # what output... -- command...: the command fails or not, and says these
  local wanted=$1 output status=0; shift
  output=$("$@" 2>&1) || status=$?
  if [ "$wanted" = passes ] && [ $status -ne 0 ]; then echo "$* failed:"$'\n'"$output"; exit 1; fi
  if [ "$wanted" = fails ] && [ $status -eq 0 ]; then echo "$* passed a changed part:"$'\n'"$output"; exit 1; fi
  for line in "${said[@]}"; do
    grep -qF -- "$line" <<<"$output" || { echo "$* did not say '$line':"$'\n'"$output"; exit 1; }
  done
}

said=("$name""_1: OK" "$name""_2: OK" "$name""_3: OK" "$name: OK")
expect passes sha256sum -c --strict "$name.sha256"
said=("Everything is Ok" "Files: 4")
expect passes 7zz t "$name.sha256"

part="${name}_2"
byte=$(od -An -tu1 -j100 -N1 "$part" | tr -d ' ')
printf "\\$(printf %o $(((byte + 1) % 256)))" | dd of="$part" bs=1 seek=100 conv=notrunc status=none
said=("$part: FAILED" "$name""_1: OK" "$name: OK")
expect fails sha256sum -c --strict "$name.sha256"
said=("CRC Failed : $part")
expect fails 7zz t "$name.sha256"
echo "sha256sum and 7-Zip accept the checksum file and flag the changed part"
