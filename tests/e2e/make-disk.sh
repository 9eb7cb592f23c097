#!/usr/bin/env bash
# Lays out an installation disk: the fixture's files (text files turned into Shift-JIS with
# CR LF, as authors write them), the files its compress.list names compressed by Debian's
# mscompress (with the header's name character set for the classic NAME.EX_ convention), and
# SETUP.EXE. The fixture's plain/, disk2/ and expected/ folders go beside the disk, for checks and
# for the disk that is changed during the run.
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
    case "$(basename "$file")" in
      compress.list) ;;
      *.INI | *.TXT) sed 's/$/\r/' "$file" | iconv -f utf-8 -t cp932 >"$disk/$(basename "$file")" ;;
      *) cp "$file" "$disk/" ;;
    esac
  done
  if [[ -f "$fixture/compress.list" ]]; then
    work=$(mktemp -d)
    while read -r plain name stored; do
      [[ -z "$plain" || "$plain" == \#* ]] && continue
      cp "$fixture/$plain" "$work/plain"
      mscompress "$work/plain" >/dev/null
      printf '%s' "$stored" | dd of="$work/plain_" bs=1 seek=9 conv=notrunc status=none
      mv "$work/plain_" "$disk/$name"
    done <"$fixture/compress.list"
    rm -rf "$work"
  fi
  for folder in plain disk2 expected; do
    if [[ -d "$fixture/$folder" ]]; then
      rm -rf "$disk/../$folder"
      cp -r "$fixture/$folder" "$disk/../$folder"
    fi
  done
fi
cp "$setup" "$disk/SETUP.EXE"
# Every disk of a set carries the program: the uninstaller is copied from the disk in the drive
# at the end of the run.
if [[ -d "$disk/../disk2" ]]; then cp "$setup" "$disk/../disk2/SETUP.EXE"; fi
