#!/usr/bin/env bash
# The dry run of the e2e fixture disks, compared with expected listings: the sample disk as text,
# the copy disk with its second disk as JSON; the copy disk without its second disk, and the
# sample disk with its desktop box unchecked and with every question answered No; the copy disk set
# unattended.
#
#   dry-run.sh <work folder> <orvcheck command...>   (ORVCHECK.EXE through wine-orvcheck.sh)
set -euo pipefail
work=$1
shift
orvcheck=("$@")
here=$(cd "$(dirname "$0")" && pwd)
disks=$here/../e2e/disks
rm -rf "$work"
mkdir -p "$work"
: >"$work/SETUP.EXE"  # the program's own file, empty: its size shows in the listing
"$here/../e2e/make-disk.sh" "$disks/sample" "$work/SETUP.EXE" "$work/sample/disk"
"$here/../e2e/make-disk.sh" "$disks/copy" "$work/SETUP.EXE" "$work/copy/disk"

failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}
# Runs orvcheck with the arguments after the expected exit code; the output goes to $work/out.
run() {
  local expected=$1
  shift
  local status=0
  "${orvcheck[@]}" "$@" >"$work/out" || status=$?
  [[ $status == "$expected" ]] || fail "orvcheck $* exited $status, expected $expected"
}

# The shared library in the System folder stays after the uninstall: exit 1.
run 1 --dry-run "$work/sample/disk"
diff -u "$here/sample-dry-run.txt" "$work/out" || fail "sample disk listing"

# A disk of read-only files (from a CD-ROM) gives the same listing.
cp -r "$work/sample/disk" "$work/sample/readonly"
find "$work/sample/readonly" -type f -exec chmod a-w {} +
run 1 --dry-run "$work/sample/readonly"
diff -u "$here/sample-dry-run.txt" "$work/out" || fail "read-only sample disk listing"

run 0 --dry-run "$work/copy/disk" "$work/copy/disk2" --json
diff -u "$here/copy-two-disks.json" "$work/out" || fail "copy disk with disk 2, JSON"

run 1 --dry-run "$work/copy/disk"
grep -qx '    disk 2 was asked for but not given: the question was cancelled' "$work/out" ||
  fail "a missing disk 2 is not named"
grep -qx '  result: ended early' "$work/out" || fail "the run without disk 2 did not end early"

run 1 --dry-run "$work/sample/disk" --no-desktop
grep -q 'マニュアル.lnk' "$work/out" || fail "the start menu shortcut is missing"
! grep -q 'Desktop' "$work/out" || fail "an unchecked desktop box still made a desktop shortcut"
grep -qx '  options: overwrite yes, desktop no, start menu yes, startup yes, send to yes' \
  "$work/out" || fail "the unchecked box is not reported"

run 1 --dry-run "$work/sample/disk" --answer no
grep -qx '  answers: No' "$work/out" || fail "answers No not reported"
grep -qx '    no uninstall record was written: the uninstall could not run' "$work/out" ||
  fail "a refused setup folder still wrote a record"

# Unattended: the set in one folder installs with exit code 0; the uninstall keeps the ",/C" file
# (the safe answer), so its folder stays and is listed: exit code 1.
run 1 --dry-run "$work/copy/disk" "$work/copy/disk2" --unattended
grep -qx '  answers: unattended' "$work/out" || fail "unattended answers not reported"
[[ $(grep -cx '  exit code: [0-9]*' "$work/out") == 2 ]] || fail "no exit codes"
grep -qx '  exit code: 0' "$work/out" || fail "the unattended install did not exit with 0"
grep -qxF '    C:\Program Files\Orvane Copy\PROG.EXE' "$work/out" || fail "the ,/C file did not stay"
run 3 --dry-run "$work/copy/disk" --unattended --answer no

run 2 --dry-run "$work/no-such-disk"

# Packed: the copy set in one program file runs as the disks themselves do, interactively and
# unattended; the set without its disk 2 is not packed, and a cut download is refused.
python3 - "$work/PROGRAM.EXE" <<'PY'
import sys
b = bytearray(1024)  # a Windows program's headers and one section
b[0:2] = b"MZ"; b[0x3C:0x40] = (0x40).to_bytes(4, "little"); b[0x40:0x44] = b"PE\0\0"
b[0x46:0x48] = (1).to_bytes(2, "little"); b[0x54:0x56] = (0xE0).to_bytes(2, "little")
b[0x58:0x5A] = (0x10B).to_bytes(2, "little"); b[0xB4:0xB8] = (16).to_bytes(4, "little")
b[0x148:0x14C] = (0x200).to_bytes(4, "little"); b[0x14C:0x150] = (0x200).to_bytes(4, "little")
open(sys.argv[1], "wb").write(b)
PY
"$here/../e2e/make-disk.sh" "$disks/copy" "$work/PROGRAM.EXE" "$work/packed/disk"
packed=$work/packed/TOOL-SETUP.EXE
run 0 --pack "$work/packed/disk" "$work/packed/disk2" --compress --output "$packed"
(($(stat -c %s "$packed") % 8 == 0)) || fail "the packed program does not end on a multiple of 8"
carried() { grep -Ev ': SETUP.EXE of [0-9]+ bytes carrying [0-9]+ files|^  disk [0-9]+  ' "$1"; }
for mode in "" --unattended; do
  code=$([[ -z $mode ]] && echo 0 || echo 1)
  run "$code" --dry-run "$work/packed/disk" "$work/packed/disk2" $mode
  mv "$work/out" "$work/disks.out"
  run "$code" --dry-run "$packed" $mode
  grep -q '^  disk 2  DISK2.DAT  ' "$work/out" || fail "the packed program does not list DISK2.DAT"
  diff -u "$work/disks.out" <(carried "$work/out") || fail "packed dry run ${mode:-interactive}"
done
run 0 "$packed"
run 2 --pack "$work/packed/disk" --output "$work/packed/ONE-DISK.EXE"
[[ ! -e "$work/packed/ONE-DISK.EXE" ]] || fail "a set without its disk 2 was packed"
head -c -100 "$packed" >"$work/packed/CUT.EXE"
run 2 "$work/packed/CUT.EXE"
exit $failed
