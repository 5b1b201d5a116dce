#!/usr/bin/env bash
# Shows the crash reporter's boxes on a virtual X display and saves screenshots of them at the scale
# factors 1 and 2 (QT_SCALE_FACTOR), each file name ending in its factor:
#   full-F.png         the full failure box;
#   details-N-F.png    the full box with its details view on tab N (general, call stacks, modules,
#                      processes, cpu regs, stack dump, disasm);
#   simple-F.png       the simple box;
#   detail-F.png       the detail box.
#
#   scripts/failure-box-screenshots.sh [OUTDIR]    (default build/failure-box-screenshots)
#
# GATOOL_BUILD_DIR names the build folder to use (default build). Needs the packages
# scripts/setup.sh installs (xvfb, xauth, imagemagick, xdotool).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out_dir=$(realpath -m "${1:-$repo/build/failure-box-screenshots}")
build_dir=$(realpath -m "${GATOOL_BUILD_DIR:-$repo/build}")

cmake --build "$build_dir" --target kestrix_failure_box_gallery
mkdir -p "$out_dir"

# Runs inside the virtual display: each view in a gallery process of its own, grabbed once the box
# is up and its drawing has settled.
session='
set -euo pipefail
gallery=$1 out=$2 scale=$3
shoot() {
  local name=$1 title=$2
  shift 2
  timeout 30 "$gallery" "$@" &
  local pid=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
  sleep 1
  import -window "$window" "png:$out/$name-$scale.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
shoot full gatool full
for tab in 0 1 2 3 4 5 6; do
  shoot "details-$tab" gatool details "$tab"
done
shoot simple gatool simple
shoot detail gatool detail
'
for scale in 1 2; do
  QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 1920x1440x24" \
    bash -c "$session" _ "$build_dir/tests/crash/ui/kestrix_failure_box_gallery" "$out_dir" "$scale"
done
echo "screenshots in $out_dir"
