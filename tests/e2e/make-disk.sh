#!/usr/bin/env bash
# Lays out an installation disk: the fixture's files (text files turned into Shift-JIS with
# CR LF, as authors write them) and SETUP.EXE beside them.
#
#   make-disk.sh <fixture folder or ""> <SETUP.EXE> <disk folder>
set -euo pipefail
fixture=$1
setup=$2
disk=$3
mkdir -p "$disk"
if [[ -n "$fixture" ]]; then
  for file in "$fixture"/*; do
    [[ -f "$file" ]] || continue
    case "$file" in
      *.INI | *.TXT) sed 's/$/\r/' "$file" | iconv -f utf-8 -t cp932 >"$disk/$(basename "$file")" ;;
      *) cp "$file" "$disk/" ;;
    esac
  done
fi
cp "$setup" "$disk/SETUP.EXE"
