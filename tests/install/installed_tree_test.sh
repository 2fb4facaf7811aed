#!/usr/bin/env bash
# Installs the build into a fresh prefix, then runs the installed zhavik-lookup through its
# command in bin/, also after the whole tree has been moved elsewhere.
# Usage: installed_tree_test.sh BUILD_DIR
set -euo pipefail
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cmake --install "$1" --prefix "$scratch/usr" >/dev/null
failures=0
fail() { echo "$1"; failures=$((failures + 1)); }
for file in lib/zhavik/zhavik lib/zhavik/zhavik-lookup lib/zhavik/img/1.jpg lib/zhavik/img/2.jpg \
  lib/zhavik/img/3.jpg "lib/zhavik/Zhavik帮助.chm" share/doc/zhavik/html/index.html \
  share/applications/example.zhavik.Zhavik.desktop share/metainfo/example.zhavik.Zhavik.metainfo.xml \
  share/icons/hicolor/32x32/apps/example.zhavik.Zhavik.png \
  share/icons/hicolor/scalable/apps/example.zhavik.Zhavik.svg share/man/man1/zhavik-lookup.1; do
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
