#!/usr/bin/env bash
# The release archive as a user downloads it: the checksum file beside it, which
# sha256sum accepts; inside, the program, the Japanese readme.txt (a byte-order mark
# first, CRLF line ends), the README, the licence and the changelog.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$1/CPackConfig.cmake" -B "$out" >/dev/null
cd "$out"
archive=parcelor-$2-win64.zip
sha256sum -c --strict "$archive.sha256"
7zz x -oinside "$archive" >/dev/null
ls inside/parcelor.exe inside/readme.txt inside/README.md inside/LICENSE inside/CHANGELOG.md
[ "$(head -c 3 inside/readme.txt | od -An -tx1 | tr -d ' \n')" = efbbbf ] || { echo "readme.txt has no BOM"; exit 1; }
! grep -q $'[^\r]$' <(tail -c +4 inside/readme.txt) || { echo "readme.txt has a line without CR"; exit 1; }
