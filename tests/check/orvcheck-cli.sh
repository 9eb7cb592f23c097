#!/usr/bin/env bash
# orvcheck from the command line, on disks laid out as authors make them: the sample disk is
# clean (exit 0, nothing said); the disk with mistakes gives its listing and exit 2; --json gives
# the same findings.
#
#   orvcheck-cli.sh <orvcheck command...>   (ORVCHECK.EXE through tests/check/wine-orvcheck.sh)
set -euo pipefail
orvcheck=("$@")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$here/../e2e/make-disk.sh" "$here/../e2e/disks/sample" /dev/null "$work/sample/DISK" >/dev/null
said=$("${orvcheck[@]}" "$work/sample/DISK") || { echo "sample disk: exit $?"; exit 1; }
[[ -z "$said" ]] || { echo "sample disk: $said"; exit 1; }

"$here/../e2e/make-disk.sh" "$here/disks/mistakes" /dev/null "$work/mistakes/DISK" >/dev/null
status=0
"${orvcheck[@]}" "$work/mistakes/DISK" >"$work/found.txt" || status=$?
[[ $status == 2 ]] || { echo "disk with mistakes: exit $status"; exit 1; }
diff -u "$here/disks/mistakes.expected" "$work/found.txt"

"${orvcheck[@]}" --json "$work/mistakes/DISK" >"$work/found.json" || true
python3 - "$work/found.json" "$work/found.txt" <<'PY'
import json, sys
findings = json.load(open(sys.argv[1], encoding="utf-8"))["findings"]
where = lambda f: f"SETUP.INI:{f['line']}:" if f["line"] else "SETUP.INI:"
lines = [f"{where(f)} {f['severity']}: {f['text']}" for f in findings]
expected = open(sys.argv[2], encoding="utf-8").read().splitlines()
sys.exit(0 if lines == expected else "JSON findings differ from the listing")
PY
echo "orvcheck: sample disk clean, $(wc -l <"$work/found.txt") findings on the disk with mistakes"
