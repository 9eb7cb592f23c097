#!/usr/bin/env bash
# Runs a Windows program under Wine in a throw-away prefix and HOME, with the Japanese locale
# (code page 932) and, with --xvfb, on a private Xvfb display. Every wait is bounded, so a hung
# program fails instead of hanging the caller. Exit status: the program's own, or 124 on timeout.
#
#   wine-run.sh [--xvfb | --display] program.exe [arguments...]
#
# --display runs on the user's display ($DISPLAY) instead.
#
# Environment:
#   ORV_WINE_STATE    folder for the locale, the template prefix and the runs
#                     (default: wine-state beside the program)
#   ORV_WINE_TIMEOUT  seconds the program may run (default 120)
#   ORV_WINE_KEEP=1   keep the run's folder (prefix, HOME, output) for inspection
#   ORV_WINE_RUN_DIR  set for the program: the run's folder (screenshots, driver files)
#   ORV_WINE_REUSE    a run folder an earlier, kept run left: its prefix and HOME are used again
#                     (and kept) instead of a fresh copy of the template
#   ORV_WINE_DPI      the display's DPI for the run (LogPixels, for example 144 for a scale of
#                     150 %); default 96
#   ORV_WINE_NATIVE   comma-separated DLL names Wine loads as Windows does for a DLL that is not
#                     one of its KnownDLLs: the first copy found on the search path (one planted
#                     beside the program included), not Wine's own
#
# program may also name a program of Wine's own (such as "uninstaller", Add/Remove Programs).
set -euo pipefail

xvfb=0
keep_display=0
case "${1:-}" in
  --xvfb) xvfb=1; shift ;;
  --display) keep_display=1; shift ;;
esac
program=$1
[[ -e "$program" ]] && program=$(realpath "$program")
shift

state=${ORV_WINE_STATE:-$(dirname "$(realpath -m "$program")")/wine-state}
timeout_seconds=${ORV_WINE_TIMEOUT:-120}
mkdir -p "$state"
state=$(realpath "$state")

export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no menu entries spawned for every shell link made.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${ORV_WINE_NATIVE:+;$ORV_WINE_NATIVE=n,b}"
export LANG=ja_JP.UTF-8
export LOCPATH="$state/locale"
unset LC_ALL LANGUAGE
[[ $keep_display == 1 ]] || unset DISPLAY

# The template prefix and the locale are made once per state folder; concurrent runs wait.
exec 9>"$state/lock"
timeout 300 flock 9
if [[ ! -d "$LOCPATH/ja_JP.UTF-8" ]]; then
  mkdir -p "$LOCPATH"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" >/dev/null 2>&1 || true
fi
template="$state/template"
# A template made before the 32-bit Wine was installed has no 32-bit side (syswow64).
if [[ -x /usr/lib/wine/wine && ! -d "$template/drive_c/windows/syswow64" ]]; then
  rm -f "$template/.orv-ready"
fi
if [[ ! -f "$template/.orv-ready" ]]; then
  rm -rf "$template" "$state/template-home"
  mkdir -p "$state/template-home"
  (
    export WINEPREFIX="$template" HOME="$state/template-home"
    timeout 180 wineboot --init >"$state/wineboot.log" 2>&1
    timeout 60 wineserver -w
    # Without a window manager Wine waits 2 s on every top-level close unless unmanaged.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null 2>&1
    timeout 30 wineserver -k || true
    timeout 60 wineserver -w || true
  )
  cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null || true
  # The user folders are links into the HOME of the template; make them real folders so each
  # copy of the prefix is self-contained.
  for link in "$template"/drive_c/users/*/*; do
    if [[ -L "$link" ]]; then
      rm "$link"
      mkdir -p "$link"
    fi
  done
  touch "$template/.orv-ready"
fi
exec 9>&-

if [[ -n "${ORV_WINE_REUSE:-}" ]]; then
  run=$ORV_WINE_REUSE
  export ORV_WINE_KEEP=1
else
  run=$(mktemp -d "$state/run.XXXXXX")
fi
export ORV_WINE_RUN_DIR="$run"
export WINEPREFIX="$run/prefix" HOME="$run/home"
mkdir -p "$HOME"
# Wine's own libraries and programs (1.2 of the 1.3 GB of a prefix with the 32-bit side) are hard
# links into the template, the rest is copied: a full copy cost seconds of disk writes per run,
# and as much again to delete. A run may add files there, replace them (by renaming) and delete
# them; a program that wrote into one of Wine's own files in place would change the template.
if [[ ! -d "$WINEPREFIX" ]]; then
  shared=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
  mkdir -p "$WINEPREFIX"
  tar -C "$template" "${shared[@]/#/--exclude=./}" -cf - . | tar -C "$WINEPREFIX" -xf -
  for folder in "${shared[@]}"; do
    if [[ -d "$template/$folder" ]]; then cp -al "$template/$folder" "$WINEPREFIX/$folder"; fi
  done
fi

# Wine takes the DPI from the user's registry when a process starts. Written into the registry
# file before any Wine process of the run starts, so no Wine tool has to run for it.
if [[ -n "${ORV_WINE_DPI:-}" ]]; then
  if ! [[ $ORV_WINE_DPI =~ ^[1-9][0-9]{1,3}$ ]]; then
    echo "wine-run: ORV_WINE_DPI is not a DPI: $ORV_WINE_DPI" >&2
    exit 2
  fi
  printf -v log_pixels '"LogPixels"=dword:%08x' "$ORV_WINE_DPI"
  awk -v value="$log_pixels" '
    /^"LogPixels"=/ && desktop { next }
    /^\[/ { desktop = 0 }
    { print }
    /^\[Control Panel\\\\Desktop\]/ { desktop = 1; found = 1; print value }
    END { if (!found) { print ""; print "[Control Panel\\\\Desktop]"; print value } }
  ' "$WINEPREFIX/user.reg" >"$WINEPREFIX/user.reg.new"
  mv "$WINEPREFIX/user.reg.new" "$WINEPREFIX/user.reg"
fi

xvfb_pid=""
cleanup() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [[ "${ORV_WINE_KEEP:-0}" != 1 ]]; then
    rm -rf "$run"
  else
    echo "wine-run: kept $run" >&2
  fi
}
trap cleanup EXIT

if [[ $xvfb == 1 ]]; then
  Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$run/display" >"$run/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [[ -s "$run/display" ]] && break
    sleep 0.1
  done
  [[ -s "$run/display" ]] || { echo "wine-run: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(cat "$run/display")"
fi

# Wine's own services inherit the output handles: send them to files, never to a pipe.
set +e
timeout -k 5 "$timeout_seconds" wine "$program" "$@" >"$run/stdout" 2>"$run/stderr" </dev/null
status=$?
set -e
cat "$run/stdout"
cat "$run/stderr" >&2
if [[ $status == 124 ]]; then
  echo "wine-run: $(basename "$program") did not end within $timeout_seconds s" >&2
fi
exit "$status"
