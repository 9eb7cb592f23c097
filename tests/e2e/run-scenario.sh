#!/usr/bin/env bash
# Runs one end-to-end scenario: lays out its installation disk ("# disk: <fixture>" in the
# scenario), plants the DLL $ORV_PLANTED_DLL beside SETUP.EXE under each name that
# "# planted: <name> ..." gives (Wine then loads those names as Windows does a DLL that is not one
# of its KnownDLLs: the first copy on the search path), runs the driver under Wine on a private
# Xvfb display (at the display DPI that "# dpi: <N>" names, 96 without it), and keeps the
# screenshots as
# PNG files in the results folder. "# packed: [--compress] [signed] [cut]" packs the disk (and its
# disk2) with $ORV_ORVCHECK into download/TOOL-SETUP.EXE, which the driver starts instead:
# signed with a certificate made for the test and verified with osslsigncode, or cut short as a
# broken download; beside it lie a SETUP.INI and a README.TXT of another user's, which the program
# must never read. Then the host checks: each line
#   lnk "name" "target" "working folder"
# reads a link file the driver exported (files/<name>) with lnkinfo and compares its target and
# working folder.
#
#   run-scenario.sh <scenario> <SETUP.EXE> <orv_driver.exe> <results folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scenario=$(realpath "$1")
setup=$(realpath "$2")
driver=$(realpath "$3")
results=$4
name=$(basename "$scenario" .scenario)
disk_name=$(sed -n 's/^# disk: *//p' "$scenario" | head -n 1)
dpi=$(sed -n 's/^# dpi: *//p' "$scenario" | head -n 1)
read -r -a planted <<<"$(sed -n 's/^# planted: *//p' "$scenario" | head -n 1)"
read -r -a packing <<<"$(sed -n 's/^# packed: *//p' "$scenario" | head -n 1)"

out="$results/$name"
rm -rf "$out"
mkdir -p "$out/disk" "$out/shots"
out=$(realpath "$out")
"$here/make-disk.sh" "${disk_name:+$here/disks/$disk_name}" "$setup" "$out/disk"
native=""
for library in "${planted[@]}"; do
  cp "$ORV_PLANTED_DLL" "$out/disk/$library.dll"
  native+="${native:+,}$library"
done

windows_path() { echo "Z:${1//\//\\}"; }
program=$out/disk/SETUP.EXE
if ((${#packing[@]})); then
  program=$out/download/TOOL-SETUP.EXE
  mkdir -p "$out/download"
  pack=(--pack "$out/disk")
  [[ -d "$out/disk2" ]] && pack+=("$out/disk2")
  for option in "${packing[@]}"; do
    [[ $option == --* ]] && pack+=("$option")
  done
  ORV_WINE_TIMEOUT=60 "$here/../check/wine-orvcheck.sh" "$ORV_ORVCHECK" "${pack[@]}" --output "$program"
  if [[ " ${packing[*]} " == *" signed "* ]]; then
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Orvane Test Signing" \
      -keyout "$out/download/key.pem" -out "$out/download/cert.pem" 2>/dev/null
    osslsigncode sign -certs "$out/download/cert.pem" -key "$out/download/key.pem" \
      -n "Orvane Test" -in "$program" -out "$program.signed" >/dev/null
    mv "$program.signed" "$program"
    osslsigncode verify -CAfile "$out/download/cert.pem" -in "$program" >"$out/verify.txt" ||
      { cat "$out/verify.txt" >&2; exit 1; }
    echo "signature verified"
  fi
  if [[ " ${packing[*]} " == *" cut "* ]]; then
    head -c -3000 "$program" >"$program.cut"
    mv "$program.cut" "$program"
  fi
  printf '[Title]\r\nSetup=NOT THE PRODUCT\r\n[Readme]\r\nFile=README.TXT\r\n' >"$out/download/SETUP.INI"
  printf 'another user planted this readme\r\n' >"$out/download/README.TXT"
fi
set +e
ORV_WINE_NATIVE=$native ORV_WINE_DPI=$dpi ORV_WINE_TIMEOUT=${ORV_WINE_TIMEOUT:-120} "$here/../wine/wine-run.sh" --xvfb "$driver" \
  "$(windows_path "$scenario")" "$(windows_path "$program")" "$(windows_path "$out/shots")"
status=$?
set -e
for shot in "$out/shots"/*.bmp; do
  [[ -e "$shot" ]] || continue
  convert "$shot" "${shot%.bmp}.png" && rm "$shot"
done
echo "screenshots: $out/shots"
[[ $status == 0 ]] || exit $status

# The scenario's texts escape "\" as "\\".
unescape() { local text=$1; echo "${text//\\\\/\\}"; }
lnk_field() { lnkinfo "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p"; }
pattern='^lnk "([^"]*)" "([^"]*)" "([^"]*)"$'
while IFS= read -r line; do
  [[ $line =~ $pattern ]] || continue
  file="$out/files/${BASH_REMATCH[1]}"
  target=$(unescape "${BASH_REMATCH[2]}")
  working=$(unescape "${BASH_REMATCH[3]}")
  seen_target=$(lnk_field "$file" "Local path")
  seen_working=$(lnk_field "$file" "Working directory")
  if [[ "$seen_target" != "$target" || "$seen_working" != "$working" ]]; then
    echo "$line" >&2
    echo "  lnkinfo: target \"$seen_target\", working folder \"$seen_working\"" >&2
    exit 1
  fi
done <"$scenario"
echo "links checked"
