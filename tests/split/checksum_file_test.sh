#!/usr/bin/env bash
# The checksum file as receivers check it: a split made under Wine, then GNU
# sha256sum and 7-Zip in its folder, before and after one byte of part 2 changes
# (its size kept, which the rejoin script's own checks cannot see); and the README's
# command lines for rejoining and checking by hand, run as written.
# Usage: checksum_file_test.sh WINE_PREFIX_SCRIPT PREFIX SPLIT_ONCE_EXE
set -euo pipefail
readme=$(dirname "$0")/../../README.md
readme_txt=$(dirname "$0")/../../docs/readme.txt
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
# Names beyond every code page's reach too, the Mac's separated voiced sound mark
# kept as it is on the disk (written as bytes: a shell without a UTF-8 locale reads
# no \u escape), and one with blanks, brackets and "&" for the README's lines.
for name in "café 😀.bin" $'\xe3\x81\x8b\xe3\x82\x99\xe3\x82\x93.bin' "50% off.iso" "docs 2024 (1) & more.tar"; do
  head -c $((2 * 1048576 + 7)) /dev/urandom >"$folder/$name"
  "$1" "$2" run "$3" 1048576 "Z:${folder//\//\\}\\$name"
  (cd "$folder" && sha256sum -c --strict "$name.sha256" && 7zz t "$name.sha256" | grep -F "Everything is Ok")
done
cd "$folder"

# The README's line that begins so, which readme.txt must hold too, for this name
# and its 3 parts; each is run as written, the result compared with the original.
command_of() {
  local line
  line=$(grep -m1 -F -e "  $1" "$readme") && line=${line#  } && tr -d '\r' <"$readme_txt" | grep -q -F -e "$line" ||
    { echo "not in the README and readme.txt alike: $1" >&2; return 1; }
  line=${line//12/3}
  printf '%s\n' "${line//movie.iso/"$name"}"
}
mv "$name" original
for line in 'sha256sum -c --strict --ignore-missing' 'shasum -a 256 -c --ignore-missing' "sed '\$d'" \
  'cat "movie.iso_"' 'sha256sum -c --strict "movie.iso.sha256"' 'shasum -a 256 -c "movie.iso.sha256"' 'for i in'; do
  [[ $line != for* ]] || { cmp original "$name" && rm "$name"; }
  eval "$(command_of "$line")"
done
eval "$(command_of '7zz t')" | grep -F "Everything is Ok"
cmp original "$name" && rm "$name"
# Typed at an interactive prompt of the real command interpreter. From a file: Wine's
# reads a pipe in pieces and keeps only the first line of each.
printf 'cd /d "Z:%s"\r\n%s\r\n%s\r\nexit\r\n' "${folder//\//\\}" "$(command_of 'copy /b "movie.iso_1"')" \
  "$(command_of 'for /l')" >typed
"$1" "$2" run cmd <typed >/dev/null
cmp original "$name"

byte=$(od -An -tu1 -j100 -N1 "${name}_2" | tr -d ' ')
printf "\\$(printf %o $(((byte + 1) % 256)))" | dd of="${name}_2" bs=1 seek=100 conv=notrunc status=none
if sha256sum -c --strict "$name.sha256" >said 2>&1 || 7zz t "$name.sha256" >>said 2>&1; then
  cat said; echo "a changed part passed"; exit 1
fi
grep -F "${name}_2: FAILED" said && grep -F "${name}_1: OK" said
grep -F "CRC Failed : ${name}_2" said
