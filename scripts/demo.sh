#!/usr/bin/env bash
# The program's main job on this machine: builds SETUP.EXE, lays out the sample installation disk
# and runs it under Wine. With a display ($DISPLAY) the program opens there for you to use;
# without one it runs headless under Xvfb, walks through the stages and saves screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"

build=$PWD/build/win64
export ORV_WINE_STATE=$build/wine-state
if [[ -n "${DISPLAY:-}" ]]; then
  disk=$build/demo/disk
  rm -rf "$disk"
  tests/e2e/make-disk.sh tests/e2e/disks/sample build/win64/src/app/SETUP.EXE "$disk"
  echo "Sample disk: $disk; starting SETUP.EXE on $DISPLAY"
  (cd "$disk" && ORV_WINE_TIMEOUT=3600 "$OLDPWD/tests/wine/wine-run.sh" --display SETUP.EXE)
else
  echo "No display: running the sample disk headless under Xvfb"
  tests/e2e/run-scenario.sh tests/e2e/scenarios/readme-to-options.scenario \
    build/win64/src/app/SETUP.EXE build/win64/tests/orv_driver.exe "$build/demo"
fi
