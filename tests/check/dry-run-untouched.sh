#!/usr/bin/env bash
# ORVCHECK.EXE's dry run works on a throw-away simulated Windows, never on the real one: under Wine
# the prefix's registry and files are the same before and after a dry run of the sample disk
# (its scratch folder in the temporary folder is gone again).
#
#   dry-run-untouched.sh <ORVCHECK.EXE>
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
run_dir=""
cleanup() {
  rm -rf "$work"
  [[ -z "$run_dir" ]] || rm -rf "$run_dir"
}
trap cleanup EXIT
: >"$work/SETUP.EXE"
"$here/../e2e/make-disk.sh" "$here/../e2e/disks/sample" "$work/SETUP.EXE" "$work/disk" >/dev/null

# A first run, which changes nothing, makes the prefix; the dry run then runs in the same one.
status=0
ORV_WINE_KEEP=1 "$here/../wine/wine-run.sh" "$program" --version >/dev/null 2>"$work/first" ||
  status=$?
[[ $status == 3 ]] || { echo "the first run exited $status, expected 3"; exit 1; }
run_dir=$(sed -n 's/^wine-run: kept //p' "$work/first")
[[ -d "$run_dir/prefix" ]] || { echo "no kept prefix"; exit 1; }

# Folders, files with their sizes and times, and the registry without its time stamps (the
# temporary folder's own time moves with the scratch folder made and removed in it).
machine() {
  (cd "$run_dir/prefix" && find drive_c \( -type d -printf '%p\n' \) -o -printf '%p %s %T@\n' | sort)
  sed '/^#time=/d; /^\[.*\] [0-9]*$/s/ [0-9]*$//' "$run_dir"/prefix/*.reg
}
machine >"$work/before"
status=0
ORV_WINE_REUSE=$run_dir "$here/wine-orvcheck.sh" "$program" --dry-run "$work/disk" \
  >"$work/listing" 2>/dev/null || status=$?
[[ $status == 1 ]] || { echo "the dry run exited $status, expected 1"; exit 1; }
grep -q 'サンプル.lnk' "$work/listing" || { echo "the dry run made no shortcut"; exit 1; }
machine >"$work/after"
diff -u "$work/before" "$work/after" || { echo "the dry run changed the machine"; exit 1; }
echo "the dry run left the prefix's files and registry as they were"
