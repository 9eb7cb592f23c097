#!/usr/bin/env bash
# Marks a Windows executable to run from the swap file when started from removable or network
# media (IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP | IMAGE_FILE_NET_RUN_FROM_SWAP): SETUP.EXE asks the
# user to change disks, and Windows must not need to page it in from a disk that is gone. The
# GNU linker has no switch for these flags.
set -euo pipefail
exe=$1
pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
offset=$((pe + 22))  # "PE\0\0", machine (2), sections (2), time (4), symbols (4+4), size (2)
flags=$(od -An -tu2 -j"$offset" -N2 "$exe" | tr -d ' ')
flags=$((flags | 0x0C00))
printf "$(printf '\\x%02x\\x%02x' $((flags & 0xFF)) $((flags >> 8)))" |
  dd of="$exe" bs=1 seek="$offset" conv=notrunc status=none
