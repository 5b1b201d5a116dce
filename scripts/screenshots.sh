#!/usr/bin/env bash
# Opens gatool's window with the bundled samples on a virtual X display and saves three screenshots
# of it: scans.png (the "Scans" page), ci.png (the "Simulated CI scan changes" page) and
# resized.png (that page with the window enlarged to 900 x 700).
#
#   scripts/screenshots.sh [OUTDIR]    (default build/screenshots)
#
# Needs the packages scripts/setup.sh installs (xvfb, xauth, imagemagick, xdotool).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out_dir=$(realpath -m "${1:-$repo/build/screenshots}")

if [ -f "$repo/build/build.ninja" ]; then
  cmake --build "$repo/build" --target gatool
else
  GATOOL_BUILD_TARGETS=gatool "$repo/scripts/setup.sh" "$repo/build"
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

# Clicks at ($2, $3) inside the window $1, then parks the pointer in the screen's corner so that no
# hover highlight shows in the next grab.
click_at() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  xdotool mousemove 0 0
}

# Runs on the virtual display: opens the window, takes the three screenshots and clicks "Exit".
take_screenshots() {
  local out_dir=$1 repo=$2
  # The time limit ends the program should the click on "Exit" miss.
  timeout 60 "$repo/build/app/gatool" "$repo/samples/GA_sample.txt" "$repo/samples/DCF_sample.txt" &
  local pid=$!
  # shellcheck disable=SC2064 # the id is fixed now; the local is gone when the trap runs
  trap "kill $pid 2>/dev/null || true" EXIT
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Processing GA tests$' |
    head -n 1)

  grab_when_drawn "$window" "$out_dir/scans.png"
  # The second tab of the tab control at the top of the window's panel.
  click_at "$window" 120 20
  grab_when_drawn "$window" "$out_dir/ci.png"

  # Without a window manager the window stays where it is: bring it to the corner before it grows.
  xdotool windowmove --sync "$window" 0 0
  xdotool windowsize --sync "$window" 900 700
  grab_when_drawn "$window" "$out_dir/resized.png"

  # "Exit" keeps its distance to the bottom-right corner: 92 to the right edge, 56 to the bottom.
  xdotool mousemove --window "$window" $((900 - 92 + 37)) $((700 - 56 + 12)) click 1
  if ! wait "$pid"; then
    echo "screenshots.sh: gatool did not end normally after Exit" >&2
    return 1
  fi
}

# xvfb-run is a POSIX shell script, which drops exported functions: hand their text to bash.
session="$(declare -f grab_when_drawn click_at take_screenshots)
set -euo pipefail
take_screenshots \"\$@\""
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$session" _ "$out_dir" "$repo"
echo "Screenshots in $out_dir: scans.png ci.png resized.png"
