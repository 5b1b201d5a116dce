#!/usr/bin/env bash
# Sets up and builds gatool, prints its report of the bundled sample files and, when a display is
# available, opens the window with the same files loaded.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh" "$repo/build"

gatool="$repo/build/app/gatool"
ga_file="$repo/samples/GA_sample.txt"
dcf_file="$repo/samples/DCF_sample.txt"
"$gatool" analyze "$ga_file" --dcf "$dcf_file"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$gatool" "$ga_file" "$dcf_file"
fi
echo "No display; to open the window with the samples on a desktop, run: $gatool $ga_file $dcf_file"
