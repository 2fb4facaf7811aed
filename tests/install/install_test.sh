#!/usr/bin/env bash
# Usage: install_test.sh BUILD_DIR tree|package
# tree: installs the build into a fresh prefix and runs zhavik-lookup by its command in bin/,
# also once the tree has moved; package: checks what the Debian package declares and holds.
set -euo pipefail
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "$1"; failures=$((failures + 1)); }
files="lib/zhavik/zhavik lib/zhavik/zhavik-lookup lib/zhavik/img/1.jpg lib/zhavik/img/2.jpg
  lib/zhavik/img/3.jpg lib/zhavik/img/word_pinyin.txt lib/zhavik/img/NOTICE.txt
  lib/zhavik/img/word_counts.txt lib/zhavik/img/word_table.bin
  lib/zhavik/Zhavik帮助.chm share/doc/zhavik/html/index.html
  share/applications/example.zhavik.Zhavik.desktop share/metainfo/example.zhavik.Zhavik.metainfo.xml
  share/icons/hicolor/32x32/apps/example.zhavik.Zhavik.png
  share/icons/hicolor/scalable/apps/example.zhavik.Zhavik.svg share/man/man1/zhavik-lookup.1"
if [ "$2" = package ]; then
  cpack -G DEB --config "$1/CPackConfig.cmake" -B "$scratch" >/dev/null
  package="$(ls "$scratch"/zhavik_*.deb)"
  depends="$(dpkg-deb -f "$package" Depends)"
  for needed in libqt6widgets6 libqt6network6 libstdc++6 fonts-arphic-uming; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
  done
  contents="$(dpkg-deb -c "$package")"
  for file in $files bin/zhavik bin/zhavik-lookup share/doc/zhavik/copyright; do
    grep -q -- " ./usr/$file\( ->\|$\)" <<<"$contents" || fail "package lacks $file"
  done
  exit "$failures"
fi
cmake --install "$1" --prefix "$scratch/usr" >/dev/null
for file in $files; do
  [ -f "$scratch/usr/$file" ] || fail "missing from the installed tree: $file"
done
for command in zhavik zhavik-lookup; do
  [ -x "$scratch/usr/bin/$command" ] || fail "bin/$command does not run"
done
# The manual page renders without a warning from the formatter.
if command -v man >/dev/null; then
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$scratch/usr/share/man/man1/zhavik-lookup.1" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "man zhavik-lookup warns: $warnings"
fi
# The command finds the dictionaries in the program folder, not beside the link in bin/.
for prefix in usr moved; do
  [ "$prefix" = moved ] && mv "$scratch/usr" "$scratch/moved"
  answer="$("$scratch/$prefix/bin/zhavik-lookup" --kind 区位 啊 2>&1)" || true
  [ "$answer" = "1601" ] || fail "$prefix/bin/zhavik-lookup answered: $answer"
done
exit "$failures"
