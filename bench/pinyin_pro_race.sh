#!/usr/bin/env bash
# Usage: bench/pinyin_pro_race.sh BUILD_DIR [RUNS]
# Whole-process times for turning 1,000,000 characters of prose into pinyin that reads
# polyphones from their words: `zhavik-lookup --convert pinyin --words` against pinyin-pro
# on node, side by side in one run, best of RUNS (default 3) each. pinyin-pro is installed
# from the npm registry into /tmp/pinyin-pro-race, never into the repository; only its
# published entry point is run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:?usage: pinyin_pro_race.sh BUILD_DIR [RUNS]}" && pwd)"
runs="${2:-3}"
lookup="$build/zhavik-lookup"
[ -x "$lookup" ] || { echo "pinyin_pro_race: no $lookup" >&2; exit 1; }
peer=/tmp/pinyin-pro-race
[ -d "$peer/node_modules/pinyin-pro" ] ||
  npm install --silent --prefix "$peer" pinyin-pro >/dev/null ||
  { echo "pinyin_pro_race: cannot install pinyin-pro" >&2; exit 1; }

# The accuracy text, repeated and cut to a million characters (not bytes).
text="$peer/prose_1m.txt"
python3 - "$root/bench/accuracy/handbook_zh_cn.txt" "$text" <<'PY'
import sys
prose = open(sys.argv[1], encoding='utf-8').read()
open(sys.argv[2], 'w', encoding='utf-8').write((prose * (1_000_000 // len(prose) + 1))[:1_000_000])
PY
cat >"$peer/convert.js" <<'JS'
const { pinyin } = require('pinyin-pro');
const text = require('fs').readFileSync(process.argv[2], 'utf8');
process.stdout.write(pinyin(text));
JS

best() {  # best wall time in seconds of running "$@" RUNS times
  local best_time=
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    best_time=$(echo "$end - $start" | bc | awk -v b="$best_time" '{ print (b == "" || $1 < b) ? $1 : b }')
  done
  echo "$best_time"
}
ours=$(best sh -c '"$0" --convert pinyin --words <"$1"' "$lookup" "$text")
theirs=$(best node "$peer/convert.js" "$text")
printf 'zhavik-lookup --convert pinyin --words  %6.3f s\n' "$ours"
printf 'pinyin-pro on node %-20s %6.3f s\n' "$(npm ls --prefix "$peer" --depth=0 2>/dev/null | grep -o 'pinyin-pro@[^ ]*')" "$theirs"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "pinyin-pro takes %.1f times as long\n", b / a }'
