#!/usr/bin/env bash
# Sets up and builds gatool, then runs every test: once in the ordinary build, once built with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)

"$repo/scripts/setup.sh" "$repo/build"
ctest --test-dir "$repo/build" --output-on-failure -j "$jobs"

"$repo/scripts/setup.sh" "$repo/build-sanitize" -DGATOOL_SANITIZE=ON -DGATOOL_BENCH=OFF
ctest --test-dir "$repo/build-sanitize" --output-on-failure -j "$jobs"
