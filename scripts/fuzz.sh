#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a while on a copy of its corpus, then the whole fault sweep (every call
# index). Says how many executions each target made and what it found; a finding's input is kept
# in build/fuzz/findings/<target>/ to add to the corpus once fixed.
#
#   scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/install-deps.sh
command -v clang++ >/dev/null || {
  sudo=()
  [[ $(id -u) == 0 ]] || sudo=(sudo)
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends clang
}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target fuzz_ini fuzz_script fuzz_record fuzz_small fuzz_check \
  fuzz_payload

build=build/fuzz
found=0
total=0
for target in ini script record small check payload; do
  work=$build/corpus/$target
  findings=$build/findings/$target
  rm -rf "$work" "$findings"
  mkdir -p "$work" "$findings"
  cp tests/fuzz/corpus/$target/* "$work/"
  log=$build/$target.log
  set +e
  "$build/tests/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" >"$log" 2>&1
  status=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  total=$((total + ${runs:-0}))
  if [[ $status == 0 ]]; then
    echo "fuzz_$target: ${runs:-0} executions, nothing found"
  else
    found=1
    echo "fuzz_$target: ${runs:-0} executions, FOUND a fault (see $log, input in $findings)"
  fi
done
echo "fuzz: $total executions in all"

cmake --build --preset host -j "$(nproc)" --target orv_tests
build/host/tests/orv_tests --gtest_filter='FaultSweep.*' --gtest_brief=1
exit $found
