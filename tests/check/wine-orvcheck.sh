#!/usr/bin/env bash
# ORVCHECK.EXE under Wine, called as orvcheck is on the host: host paths among the arguments
# become the Windows paths Wine gives them (Z:\...).
#
#   wine-orvcheck.sh <ORVCHECK.EXE> [arguments...]
set -euo pipefail
program=$1
shift
arguments=()
for argument in "$@"; do
  if [[ $argument == /* ]]; then
    path=$(realpath -m "$argument")
    arguments+=("Z:${path//\//\\}")
  else
    arguments+=("$argument")
  fi
done
exec "$(dirname "$0")/../wine/wine-run.sh" "$program" "${arguments[@]}"
