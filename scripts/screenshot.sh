#!/usr/bin/env bash
# Usage: screenshot.sh PROGRAM IMAGE, on an X display with no other window (run.sh starts one).
# Starts PROGRAM, waits until its window has been drawn, saves the window as IMAGE and ends
# the program.
set -euo pipefail
program="$1"
image="$2"

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# The screen's fingerprint; the window counts as drawn once it has changed from the empty
# screen and then stays the same for a moment. Gives up after about 15 seconds.
fingerprint() { import -window root png:- | convert - -format '%#' info:; }
empty="$(fingerprint)"
last="$empty"
for _ in $(seq 1 60); do
  sleep 0.25
  kill -0 "$pid" 2>/dev/null || { echo "screenshot.sh: $program ended early" >&2; exit 1; }
  now="$(fingerprint)"
  if [ "$now" != "$empty" ] && [ "$now" = "$last" ]; then break; fi
  last="$now"
done
# Without a window manager the window stands in the top left corner on a black screen.
import -window root png:- | convert - -trim +repage "$image"
