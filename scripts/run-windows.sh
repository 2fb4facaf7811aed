#!/usr/bin/env bash
# Runs the Windows package that build-windows.sh made, under Wine. Without a display, runs
# it in a virtual X server (Xvfb) instead, saves a screenshot of the window as
# zhavik-windows.png beside build-windows/ and ends, as run.sh does for the Linux build.
# Wine keeps its own settings in a folder of its own, removed at the end.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install_packages.sh" wine64 xvfb xauth imagemagick fonts-arphic-uming
program="$(ls -d "$root"/build-windows/zhavik-*-windows-x86_64/zhavik.exe 2>/dev/null | tail -n 1)"
[ -n "$program" ] || { echo "No Windows package: run scripts/build-windows.sh first" >&2; exit 1; }

. "$root/scripts/wine_prefix.sh"
# Made before the window starts, as the first start of a Wine folder takes half a minute;
# then everything it started ends, so that nothing of Wine stays up without the display.
"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w

if [ -n "${DISPLAY:-}" ]; then
  "$wine" "$program"
  exit
fi
echo "No display: running zhavik.exe under Wine in a virtual X server (Xvfb) for a screenshot"
# Wine puts the window 110 pixels down: a screen of 768 lines shows it whole.
launcher="$WINEPREFIX/start-zhavik"
printf '#!/bin/sh\nexec %q %q\n' "$wine" "$program" >"$launcher"
chmod +x "$launcher"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
  "$root/scripts/screenshot.sh" "$launcher" "$root/zhavik-windows.png"
echo "Saved the window as $root/zhavik-windows.png"
