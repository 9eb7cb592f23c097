#!/usr/bin/env bash
# The program's main job on this machine: builds the Windows program and runs it under Wine.
# Until the installer's windows exist, that is the Windows platform checks: the real Win32 file,
# folder, text and INI operations the installer stands on, run under Wine with code page 932.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
ORV_WINE_STATE="$PWD/build/win64/wine-state" tests/wine/wine-run.sh build/win64/tests/orv_platform_tests.exe
