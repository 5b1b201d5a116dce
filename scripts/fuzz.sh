#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs each for the given number of seconds (default 300) from its seed corpus. Inputs that
# crash are written to fuzz/findings/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# GATOOL_FUZZ_BUILD, when set, is the build directory (default build-fuzz).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-300}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_ga_reader fuzz_dcf_reader fuzz_number_text fuzz_analyze_options
  fuzz_settings_resource fuzz_stack_walker)

build=${GATOOL_FUZZ_BUILD:-"$repo/build-fuzz"}
GATOOL_BUILD_TARGETS="${targets[*]}" \
  "$repo/scripts/setup.sh" "$build" -DCMAKE_CXX_COMPILER=clang++ -DGATOOL_FUZZ=ON -DGATOOL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo

mkdir -p "$repo/fuzz/findings"
failed=0
for target in "${targets[@]}"; do
  corpus=$(mktemp -d)
  cp -r "$repo/fuzz/corpus/$target/." "$corpus/"
  echo "== $target: $seconds s"
  log="$build/$target.log"
  status=0
  "$build/fuzz/$target" "$corpus" -max_total_time="$seconds" -max_len=1048576 -timeout=10 \
    -rss_limit_mb=4096 -artifact_prefix="$repo/fuzz/findings/$target-" -print_final_stats=1 \
    >"$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ +DONE|ERROR|SUMMARY' "$log" || true
  if [ "$status" -ne 0 ]; then
    echo "$target failed (exit $status); see $log"
    failed=1
  fi
  rm -rf "$corpus"
done
exit "$failed"
