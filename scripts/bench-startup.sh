#!/usr/bin/env bash
# Start-up benchmark: builds the x86_64 SETUP.EXE, the same windows made bare and the benchmark
# (preset win64), lays out the sample disk without its readme (so setup mode opens on the options
# stage) and runs the benchmark under Wine on a private display. Prints both medians, their
# ratio and the median of the ratios of runs side by side. A benchmark, not a test: it asserts nothing about the times.
#
#   scripts/bench-startup.sh [runs of each, at least 8]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-16}
build=build/win64

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target SETUP orv_bare_window orv_startup_benchmark

work=$(mktemp -d "$PWD/$build/bench-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r tests/e2e/disks/sample "$work/fixture"
awk '/^\[/ { skip = ($0 == "[Readme]") } !skip' tests/e2e/disks/sample/SETUP.INI \
  >"$work/fixture/SETUP.INI"
tests/e2e/make-disk.sh "$work/fixture" "$build/src/app/SETUP.EXE" "$work/disk"

windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
ORV_WINE_STATE="$PWD/$build/wine-state" tests/wine/wine-run.sh --xvfb \
  "$build/bench/orv_startup_benchmark.exe" "$(windows_path "$work/disk/SETUP.EXE")" \
  "$(windows_path "$build/bench/orv_bare_window.exe")" "$runs"
