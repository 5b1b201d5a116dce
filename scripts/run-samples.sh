#!/usr/bin/env bash
# Sets up and builds gatool, then runs it on the bundled sample files.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh" "$repo/build"
"$repo/build/app/gatool" analyze "$repo/samples/GA_sample.txt" --dcf "$repo/samples/DCF_sample.txt"
