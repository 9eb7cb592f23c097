#!/usr/bin/env bash
# Packed start-up benchmark: the sample disk without its readme and with a 64 MB file of noise,
# packed into one program file (host orvcheck), started to its options stage against the same
# disk unpacked, under Wine on a private display: what checking the payload's digest costs. Also
# prints the sizes of the sample product packed (with --compress) and zipped. A benchmark, not a
# test.
#
#   scripts/bench-packed.sh [runs of each, at least 8]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-16}
build=build/win64

cmake --preset host >/dev/null
cmake --build --preset host --target orvcheck >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target SETUP orv_startup_benchmark >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target SETUP >/dev/null

work=$(mktemp -d "$PWD/$build/bench-packed.XXXXXX")
trap 'rm -rf "$work"' EXIT
orvcheck=build/host/src/check/orvcheck

# The release is the i686 build.
tests/e2e/make-disk.sh tests/e2e/disks/sample build/win32/src/app/SETUP.EXE "$work/sample"
"$orvcheck" --pack "$work/sample" --compress --output "$work/SAMPLE-SETUP.EXE" >/dev/null
(cd "$work/sample" && python3 -c '
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name in sorted(os.listdir(".")): z.write(name)' "$work/sample.zip")
echo "sample product ($(stat -c %s "$work/sample/SETUP.EXE")-byte SETUP.EXE): packed with" \
  "--compress $(stat -c %s "$work/SAMPLE-SETUP.EXE") bytes, the disk zipped" \
  "$(stat -c %s "$work/sample.zip") bytes"

cp -r tests/e2e/disks/sample "$work/fixture"
awk '/^\[/ { skip = ($0 == "[Readme]") } !skip' tests/e2e/disks/sample/SETUP.INI |
  sed 's/^File5=\(.*\)$/File5=\1\nFile6=(App)\\NOISE.BIN/' >"$work/fixture/SETUP.INI"
head -c $((64 << 20)) /dev/urandom >"$work/fixture/NOISE.BIN"
tests/e2e/make-disk.sh "$work/fixture" "$build/src/app/SETUP.EXE" "$work/disk"
mkdir -p "$work/download"
"$orvcheck" --pack "$work/disk" --output "$work/download/TOOL-SETUP.EXE" >/dev/null
echo "64 MB product packed: $(stat -c %s "$work/download/TOOL-SETUP.EXE") bytes"

windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
ORV_WINE_STATE="$PWD/$build/wine-state" tests/wine/wine-run.sh --xvfb \
  "$build/bench/orv_startup_benchmark.exe" "$(windows_path "$work/download/TOOL-SETUP.EXE")" \
  "$(windows_path "$work/disk/SETUP.EXE")" "$runs"
