#!/usr/bin/env bash
# Checks that the arrows between the program's folders only point down: core <- kit <- news
# <- ui <- app, and cli on core alone. Every #include "folder/..." of a program folder must
# name that folder or one below it. tests/, bench/ and fuzz/ include what they test; headers
# without a folder (generated ones such as site_settings.h) are not the program's folders.
# Lists each include that points up and fails when there is one.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

declare -A may_include=(
  [core]="core"
  [kit]="core kit"
  [news]="core kit news"
  [ui]="core kit news ui"
  [app]="core kit news ui app"
  [cli]="core cli"
)
folders="core kit news ui app cli tests bench fuzz tools img"

wrong=0
for folder in "${!may_include[@]}"; do
  while IFS= read -r found; do
    # found is file:line:#include "target"
    target="${found#*\"}"
    target="${target%\"*}"
    top="${target%%/*}"
    [ "$top" != "$target" ] || continue
    [[ " $folders " == *" $top "* ]] || continue
    [[ " ${may_include[$folder]} " == *" $top "* ]] && continue
    echo "${found%%:#*}: $folder/ includes $target" >&2
    wrong=1
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
             --include='*.h' --include='*.cpp' "$folder" |
           sed -E 's/:[[:space:]]*#[[:space:]]*include[[:space:]]*/:#include /')
done
if [ "$wrong" -ne 0 ]; then
  echo "check_layers.sh: the includes above point up the layers" >&2
  exit 1
fi
echo "check_layers.sh: every include points down the layers"
