#!/usr/bin/env bash
# Unattended-install benchmark: the copy benchmark's disk (99 files, 64 MB, a third compressed)
# installed by the x86_64 SETUP.EXE /S under Wine, against the same work done plainly
# (orv_plain_install: the files copied, the compressed ones expanded with LZ32), in one Wine
# session, taking turns. Prints each turn, the fastest and the median of each and their ratios. A
# benchmark, not a test: it asserts nothing about the times.
#
#   scripts/bench-unattended.sh [turns, at least 6]
set -euo pipefail
cd "$(dirname "$0")/.."
turns=${1:-8}
build=build/win64

cmake --preset host >/dev/null
cmake --build --preset host --target orv_copy_benchmark >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target SETUP orv_plain_install orv_unattended_benchmark >/dev/null

work=$(mktemp -d "$PWD/$build/bench-unattended.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The copy benchmark lays out its disk (and measures itself, which is not needed here).
build/host/bench/orv_copy_benchmark "$work/copy" --keep >/dev/null
disk="$work/copy/C/DISK"
cp "$build/src/app/SETUP.EXE" "$disk/"

windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
ORV_WINE_STATE="$PWD/$build/wine-state" ORV_WINE_TIMEOUT=600 tests/wine/wine-run.sh --xvfb \
  "$build/bench/orv_unattended_benchmark.exe" "$(windows_path "$disk")" \
  "$(windows_path "$build/bench/orv_plain_install.exe")" "$turns"
