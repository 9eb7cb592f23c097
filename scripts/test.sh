#!/usr/bin/env bash
# Builds everything (host, host with sanitizers, Windows x86_64 and i686) and runs every test:
# the host tests twice (plain and sanitized), the Windows tests of both builds under Wine (the
# i686 ones only where the kernel runs 32-bit programs), the format check and the check that the
# Windows executables need no DLL beyond Windows' own.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
for preset in host host-asan win64 win32; do
  echo "=== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "=== release size"
# The i686 release goes on installation disks and with every download: 256 KiB at most, with
# everything the program does in it (scripts/map-contributors.py on its SETUP.map tells where the
# bytes go).
budget=262144
size=$(stat -c %s build/win32/src/app/SETUP.EXE)
echo "SETUP.EXE (i686 release): $size bytes, budget $budget"
if [[ $size -gt $budget ]]; then
  echo "SETUP.EXE is $((size - budget)) bytes over its budget" >&2
  exit 1
fi

echo "=== format"
scripts/check-format.sh

echo "=== Windows imports"
scripts/check-imports.sh build/win64 build/win32

for preset in host host-asan; do
  echo "=== test $preset"
  ctest --preset "$preset" -j "$jobs"
done

# The two Windows builds' tests run side by side, each build's scenarios one at a time: a Wine
# session mostly waits (a scenario keeps about a quarter of a core busy), so one per build share
# the machine without starving each other's driver, and the Wine part takes half as long.
windows=(win64)
if scripts/runs-32bit.sh; then
  windows+=(win32)
else
  echo "=== test win32 skipped: this machine's kernel does not run 32-bit programs, so the i686" \
    "release's platform tests and end-to-end scenarios cannot run under Wine"
fi
pids=()
for preset in "${windows[@]}"; do
  ctest --preset "$preset" -j "$jobs" >"build/$preset/ctest.log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!windows[@]}"; do
  wait "${pids[$i]}" || status=1
  echo "=== test ${windows[$i]}"
  cat "build/${windows[$i]}/ctest.log"
done
exit $status
