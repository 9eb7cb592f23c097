#!/usr/bin/env bash
# The program's main job on this machine: builds SETUP.EXE, lays out the sample installation disk
# and installs the sample product with it under Wine, then removes it again as Add/Remove
# Programs would. With a display ($DISPLAY) the program opens there for you to use, and then
# Wine's Add/Remove Programs, where the product is listed; without one it runs headless under
# Xvfb, walks through the install and the uninstall (the recorded UninstallString) and saves
# screenshots. It shows where everything went, from the uninstall record the install left
# (UNSETUP.INI).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"

build=$PWD/build/win64
export ORV_WINE_STATE=$build/wine-state
show_record() {
  echo
  echo "The uninstall record the run left ($1):"
  iconv -f cp932 -t utf-8 "$1" | tr -d '\r' | sed 's/^/    /'
}

if [[ -n "${DISPLAY:-}" ]]; then
  disk=$build/demo/disk
  rm -rf "$build/demo"
  tests/e2e/make-disk.sh tests/e2e/disks/sample build/win64/src/app/SETUP.EXE "$disk"
  echo "Sample disk: $disk; starting SETUP.EXE on $DISPLAY"
  log=$build/demo/wine.log
  (cd "$disk" && ORV_WINE_KEEP=1 ORV_WINE_TIMEOUT=3600 \
    "$OLDPWD/tests/wine/wine-run.sh" --display SETUP.EXE) 2>"$log" || true
  run=$(sed -n 's/^wine-run: kept //p' "$log" | tail -n 1)
  record=$(find "$run/prefix/drive_c" -name UNSETUP.INI -not -path '*/users/*/Temp/*' 2>/dev/null |
    head -n 1)
  if [[ -n "$record" ]]; then
    show_record "$record"
    echo
    echo "Starting Add/Remove Programs on the same machine: choose the product and remove it."
    ORV_WINE_REUSE=$run ORV_WINE_TIMEOUT=3600 tests/wine/wine-run.sh --display uninstaller || true
  else
    echo "No setup run was completed."
  fi
  echo "The Wine prefix is kept in $run/prefix; remove $run when done."
else
  echo "No display: installing and removing the sample product headless under Xvfb"
  tests/e2e/run-scenario.sh tests/e2e/scenarios/install-then-uninstall.scenario \
    build/win64/src/app/SETUP.EXE build/win64/tests/orv_driver.exe "$build/demo"
  show_record "$build/demo/install-then-uninstall/files/UNSETUP.INI"
  echo
  echo "Then the recorded UninstallString removed it all: the machine is as it was before the"
  echo "install, but for UNORSET.EXE, the shared library it keeps in the System folder, and the"
  echo "folder holding the file the scenario added as the user, which the uninstall reported."
fi
