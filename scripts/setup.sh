#!/usr/bin/env bash
# Installs the Debian packages Zhavik needs (only those missing) and builds it into build/.
# Shared by run.sh and test.sh; safe to run again and again.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  g++ cmake make python3
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n
  fonts-arphic-uming fonts-wqy-microhei
  xvfb xauth imagemagick
  fp-utils desktop-file-utils appstream dpkg-dev file
)

"$root/scripts/install_packages.sh" "${packages[@]}"

cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j "$(nproc)"
