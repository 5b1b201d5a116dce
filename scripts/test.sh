#!/usr/bin/env bash
# Sets up and builds gatool, then runs every test: once in the ordinary build, once built with
# AddressSanitizer and UndefinedBehaviorSanitizer. Warnings are errors here; a Release build (whose
# optimiser warns about more) is built too, so that no build type breaks on a warning.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)

"$repo/scripts/setup.sh" "$repo/build" -DGATOOL_WERROR=ON
ctest --test-dir "$repo/build" --output-on-failure -j "$jobs"

"$repo/scripts/setup.sh" "$repo/build-sanitize" -DGATOOL_WERROR=ON -DGATOOL_SANITIZE=ON \
  -DGATOOL_BENCH=OFF
ctest --test-dir "$repo/build-sanitize" --output-on-failure -j "$jobs"

"$repo/scripts/setup.sh" "$repo/build-release" -DGATOOL_WERROR=ON -DCMAKE_BUILD_TYPE=Release
