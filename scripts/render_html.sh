#!/usr/bin/env bash
# Usage: render_html.sh [PAGE.html] OUT_DIR [WIDTH]
# Shows a ruby page as a real browser does, to look at its stylesheet: headless Chromium
# draws PAGE in a window WIDTH pixels wide (default 1000) to OUT_DIR/screen.png, prints it
# to OUT_DIR/print.pdf (A4, the print stylesheet), and pdftoppm turns the first printed page
# into OUT_DIR/print-1.png. Without PAGE, the sample page of build/ruby_sample_page is shown.
# Installs the Debian packages chromium and poppler-utils when they are missing.
#
# Chromium runs with a fresh profile in a temporary folder and everything that would reach
# the network turned off; the page itself fetches nothing.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -ge 2 ] && [ -f "$1" ]; then
  page="$(realpath "$1")"
  shift
else
  page=""
fi
[ $# -ge 1 ] || { echo "usage: render_html.sh [PAGE.html] OUT_DIR [WIDTH]" >&2; exit 2; }
out="$1"
width="${2:-1000}"
mkdir -p "$out"
out="$(realpath "$out")"

"$root/scripts/install_packages.sh" chromium poppler-utils

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
if [ -z "$page" ]; then
  sample="$root/build/ruby_sample_page"
  [ -x "$sample" ] || { echo "no $sample; build it first" >&2; exit 1; }
  page="$scratch/sample.html"
  "$sample" >"$page"
fi

chromium_run() {
  # A fresh profile for each run, so that nothing of an earlier run is reused.
  local profile
  profile="$(mktemp -d "$scratch/profile.XXXXXX")"
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --hide-scrollbars --user-data-dir="$profile" "$@" "file://$page" >"$scratch/chromium.log" 2>&1 ||
    { cat "$scratch/chromium.log" >&2; exit 1; }
}

chromium_run --window-size="$width,1400" --screenshot="$out/screen.png"
chromium_run --no-pdf-header-footer --print-to-pdf="$out/print.pdf"
pdftoppm -png -r 80 -f 1 -l 1 "$out/print.pdf" "$out/print"
# pdftoppm numbers the page with as many digits as the document has pages.
mv "$(ls "$out"/print-*1.png | head -n 1)" "$out/print-1.png" 2>/dev/null || true
echo "render_html.sh: $out/screen.png, $out/print.pdf, $out/print-1.png"
