#!/usr/bin/env bash
# Installs the build into a fresh prefix, then runs the installed zhavik-lookup through its
# command in bin/, also after the whole tree has been moved elsewhere.
# Usage: installed_tree_test.sh BUILD_DIR
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/usr" >/dev/null

failures=0
expect_file() {
  [ -f "$scratch/usr/$1" ] || { echo "missing from the installed tree: $1"; failures=$((failures + 1)); }
}
for file in lib/zhavik/zhavik lib/zhavik/zhavik-lookup lib/zhavik/img/1.jpg lib/zhavik/img/2.jpg \
  lib/zhavik/img/3.jpg "lib/zhavik/Zhavik帮助.chm" share/doc/zhavik/html/index.html \
  share/applications/example.zhavik.Zhavik.desktop share/metainfo/example.zhavik.Zhavik.metainfo.xml \
  share/icons/hicolor/32x32/apps/example.zhavik.Zhavik.png \
  share/icons/hicolor/scalable/apps/example.zhavik.Zhavik.svg share/man/man1/zhavik-lookup.1; do
  expect_file "$file"
done
for command in zhavik zhavik-lookup; do
  [ -x "$scratch/usr/bin/$command" ] || { echo "bin/$command does not run"; failures=$((failures + 1)); }
done

# The manual page renders without a warning from the formatter.
if command -v man >/dev/null; then
  man_warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$scratch/usr/share/man/man1/zhavik-lookup.1" 2>&1 >/dev/null)"
  [ -z "$man_warnings" ] || { echo "man zhavik-lookup warns: $man_warnings"; failures=$((failures + 1)); }
fi

# The command must find the dictionaries in the program folder, not beside the link.
check_lookup() {
  local answer
  answer="$("$1/bin/zhavik-lookup" --kind 区位 啊 2>&1)" || true
  [ "$answer" = "1601" ] || { echo "$1/bin/zhavik-lookup answered: $answer"; failures=$((failures + 1)); }
}
check_lookup "$scratch/usr"
mv "$scratch/usr" "$scratch/moved"
check_lookup "$scratch/moved"

[ "$failures" -eq 0 ] && echo "installed tree complete and working"
exit "$failures"
