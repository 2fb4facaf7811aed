#!/usr/bin/env bash
# Builds Zhavik and runs it. Without a display, runs it in a virtual X server instead, saves
# a screenshot of the window as zhavik.png beside the build and ends.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/build/zhavik"
fi
echo "No display: running Zhavik in a virtual X server (Xvfb) to take a screenshot"
xvfb-run -a -s "-screen 0 800x700x24 -dpi 96" \
  "$root/scripts/screenshot.sh" "$root/build/zhavik" "$root/zhavik.png"
echo "Saved the window as $root/zhavik.png"
