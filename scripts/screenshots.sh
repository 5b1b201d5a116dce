#!/usr/bin/env bash
# Opens gatool's window with the bundled samples on a virtual X display and saves screenshots of it
# at the scale factors 1, 1.5 and 2 (QT_SCALE_FACTOR), each file name ending in its factor:
#   scans-F.png    the "Scans" page, the samples loaded from the command line;
#   ci-F.png       the "Simulated CI scan changes" page;
#   resized-F.png  that page with the window enlarged to 900 x 700 (in unscaled pixels);
#   zoomed-F.png   the "Scans" page with the scan chart zoomed into the left half of its plot;
#   dialog-F.png   the "Scans" page, the same samples loaded through the open-file dialog. It must
#                  show the same picture as scans-F.png; the script says so when it does not.
#
#   scripts/screenshots.sh [OUTDIR]    (default build/screenshots)
#
# GATOOL_BUILD_DIR names the build folder to use (default build). Needs the packages
# scripts/setup.sh installs (xvfb, xauth, imagemagick, xdotool).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out_dir=$(realpath -m "${1:-$repo/build/screenshots}")
build_dir=$(realpath -m "${GATOOL_BUILD_DIR:-$repo/build}")

if [ -f "$build_dir/build.ninja" ]; then
  cmake --build "$build_dir" --target gatool
else
  GATOOL_BUILD_TARGETS=gatool "$repo/scripts/setup.sh" "$build_dir"
fi
mkdir -p "$out_dir"

# Saves the window $1 into $2 once two grabs in a row agree, so that loads and repaints are over.
grab_when_drawn() {
  local previous="$2.previous"
  import -window "$1" "png:$previous"
  for _ in $(seq 40); do
    sleep 0.25
    import -window "$1" "png:$2"
    if cmp -s "$previous" "$2"; then
      rm -f "$previous"
      return 0
    fi
    mv "$2" "$previous"
  done
  echo "screenshots.sh: the window did not settle for $2" >&2
  return 1
}

# A length of the unscaled design, in the screen's pixels at the scale factor $SCALE.
scaled() {
  awk -v pixels="$1" -v scale="$SCALE" 'BEGIN { printf "%d", pixels * scale + 0.5 }'
}

# Clicks at ($2, $3), unscaled, inside the window $1, then parks the pointer in the screen's corner
# so that no hover highlight shows in the next grab.
click_at() {
  xdotool mousemove --window "$1" "$(scaled "$2")" "$(scaled "$3")" click 1
  xdotool mousemove 0 0
}

# Drags with the left button from ($2, $3) to ($4, $5), unscaled, inside the window $1, in steps
# slow enough for the window to follow.
drag() {
  xdotool mousemove --window "$1" "$(scaled "$2")" "$(scaled "$3")"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  xdotool mousemove --window "$1" "$(scaled $((($2 + $4) / 2)))" "$(scaled $((($3 + $5) / 2)))"
  sleep 0.2
  xdotool mousemove --window "$1" "$(scaled "$4")" "$(scaled "$5")"
  sleep 0.2
  xdotool mouseup 1
  xdotool mousemove 0 0
}

# Starts gatool with the arguments given; sets GATOOL_PID and WINDOW, its window's id. The time
# limit ends the program should the click on "Exit" miss.
start_gatool() {
  timeout 90 "$GATOOL" "$@" &
  GATOOL_PID=$!
  # shellcheck disable=SC2064 # the id is fixed now
  trap "kill $GATOOL_PID 2>/dev/null || true" EXIT
  WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name '^Processing GA tests$' |
    head -n 1)
}

# Clicks "Exit", which keeps its distance to the window's bottom-right corner (92 to the right
# edge, 56 to the bottom), in a window $2 x $3 unscaled; gatool must end normally.
exit_gatool() {
  click_at "$1" $(($2 - 92 + 37)) $(($3 - 56 + 12))
  if ! wait "$GATOOL_PID"; then
    echo "screenshots.sh: gatool did not end normally after Exit" >&2
    return 1
  fi
  trap - EXIT
}

# Clicks the button at ($2, $3) that opens the file dialog, types the path $4 into the dialog's
# file-name box, which has the focus, and opens it.
open_through_dialog() {
  local window=$1
  click_at "$window" "$2" "$3"
  local dialog
  dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^Open$' | head -n 1) || true
  if [ -z "$dialog" ]; then
    # The dialog's caption is the toolkit's choice; take the newest window that is not the main one.
    sleep 1
    dialog=$(xdotool search --onlyvisible --name '.' | grep -vx "$window" | tail -n 1)
  fi
  sleep 0.5
  xdotool windowfocus --sync "$dialog"
  xdotool key ctrl+a
  xdotool type --delay 5 "$4"
  xdotool key Return
  # The dialog is closed once the main window has the input focus back.
  for _ in $(seq 40); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
    sleep 0.25
  done
}

# Runs on the virtual display: takes the screenshots of one scale factor, $SCALE.
take_screenshots() {
  local out_dir=$1 repo=$2
  local ga="$repo/samples/GA_sample.txt" dcf="$repo/samples/DCF_sample.txt"
  local window suffix="-$SCALE"

  start_gatool "$ga" "$dcf"
  window=$WINDOW
  grab_when_drawn "$window" "$out_dir/scans$suffix.png"
  # The scan chart's plot spans about x 75 to 460 and y 55 to 180 of the window: zoom into its
  # upper left, so that marks of points past its right and bottom edges would show where they must
  # not.
  drag "$window" 100 70 250 160
  grab_when_drawn "$window" "$out_dir/zoomed$suffix.png"
  # The second tab of the tab control at the top of the window's panel.
  click_at "$window" 120 20
  grab_when_drawn "$window" "$out_dir/ci$suffix.png"
  # Without a window manager the window stays where it is: bring it to the corner before it grows.
  xdotool windowmove --sync "$window" 0 0
  xdotool windowsize --sync "$window" "$(scaled 900)" "$(scaled 700)"
  grab_when_drawn "$window" "$out_dir/resized$suffix.png"
  exit_gatool "$window" 900 700

  start_gatool
  window=$WINDOW
  xdotool windowmove --sync "$window" 0 0
  # "Load GA file" and "Load DCF" in the bottom row.
  open_through_dialog "$window" 45 436 "$ga"
  open_through_dialog "$window" 133 436 "$dcf"
  grab_when_drawn "$window" "$out_dir/dialog$suffix.png"
  exit_gatool "$window" 500 480
  if ! compare -metric AE "$out_dir/scans$suffix.png" "$out_dir/dialog$suffix.png" null: \
    2>/dev/null; then
    echo "screenshots.sh: at scale $SCALE the dialog's load draws another picture" >&2
  fi
}

# xvfb-run is a POSIX shell script, which drops exported functions: hand their text to bash.
session="$(declare -f grab_when_drawn scaled click_at drag start_gatool exit_gatool \
  open_through_dialog take_screenshots)
set -euo pipefail
take_screenshots \"\$@\""
for scale in 1 1.5 2; do
  GATOOL="$build_dir/app/gatool" SCALE=$scale QT_SCALE_FACTOR=$scale \
    xvfb-run -a -s "-screen 0 1920x1440x24" bash -c "$session" _ "$out_dir" "$repo"
done
echo "Screenshots in $out_dir: scans, zoomed, ci, resized and dialog, each at -1, -1.5 and -2"
