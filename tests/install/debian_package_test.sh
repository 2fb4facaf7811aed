#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what it declares and holds.
# Usage: debian_package_test.sh BUILD_DIR
set -euo pipefail
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$scratch" >/dev/null
package="$(ls "$scratch"/zhavik_*.deb)"
depends="$(dpkg-deb -f "$package" Depends)"
contents="$(dpkg-deb -c "$package")"
failures=0
for needed in libqt6widgets6 libqt6network6 libstdc++6 fonts-arphic-uming; do
  [[ "$depends" == *"$needed"* ]] || { echo "Depends lacks $needed: $depends"; failures=$((failures + 1)); }
done
for path in ./usr/bin/zhavik ./usr/bin/zhavik-lookup ./usr/lib/zhavik/zhavik ./usr/lib/zhavik/img/3.jpg \
  "./usr/lib/zhavik/Zhavik帮助.chm" ./usr/share/applications/example.zhavik.Zhavik.desktop \
  ./usr/share/doc/zhavik/copyright; do
  grep -q -- " $path\( ->\|$\)" <<<"$contents" || { echo "package lacks $path"; failures=$((failures + 1)); }
done
exit "$failures"
