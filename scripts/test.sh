#!/usr/bin/env bash
# Builds everything (host, host with sanitizers, Windows x86_64 and i686) and runs every test:
# the host tests twice (plain and sanitized), the Windows tests under Wine, the format check and
# the check that the Windows executables need no DLL beyond Windows' own.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
for preset in host host-asan win64 win32; do
  echo "=== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "=== format"
scripts/check-format.sh

echo "=== Windows imports"
scripts/check-imports.sh build/win64 build/win32

for preset in host host-asan win64; do
  echo "=== test $preset"
  ctest --preset "$preset" -j "$jobs"
done
