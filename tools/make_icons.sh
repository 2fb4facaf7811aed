#!/usr/bin/env bash
# Renders the application icon desktop/icons/zhavik.svg into the PNG sizes that desktops and
# the window use (desktop/icons/zhavik-<size>.png), and those into the icon file that
# zhavik.exe carries for Windows' Explorer (zhavik.ico). Needs rsvg-convert (Debian:
# librsvg2-bin) and ImageMagick. Run it after changing the SVG and commit what it wrote.
set -euo pipefail
icons="$(cd "$(dirname "${BASH_SOURCE[0]}")/../desktop/icons" && pwd)"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$icons/zhavik.svg" -o "$icons/zhavik-$size.png"
done
convert "$icons"/zhavik-{16,24,32,48,64,256}.png "$icons/zhavik.ico"
