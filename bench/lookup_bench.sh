#!/usr/bin/env bash
# Measures zhavik-lookup as a whole process, as a user at a terminal or a script runs it:
#  1. the median time of `zhavik-lookup 中` (start-up, dictionaries, four answers, exit) and
#     how far it lies above a bare process, and of `--convert pinyin --words` of one line (the
#     word table loaded on this first use);
#  2. `--convert pinyin` and `--convert pinyin --words` of a file of 1,000,000 characters of
#     prose (bench/accuracy's text, repeated), against pinyin-pro on node converting the same
#     file in the same run, when node and pinyin-pro are there.
# Uses hyperfine when installed (Debian: hyperfine), else a timing loop of its own.
#
# Usage: bench/lookup_bench.sh [PATH/TO/zhavik-lookup]
# pinyin-pro is looked for in PINYIN_PRO (a folder holding node_modules/pinyin-pro), by
# default /tmp/pinyin-pro; install it there with `npm install --prefix /tmp/pinyin-pro
# pinyin-pro`, never into the repository.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
lookup="$(realpath "${1:-$here/build/zhavik-lookup}")"
pinyin_pro="${PINYIN_PRO:-/tmp/pinyin-pro}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

[ -x "$lookup" ] || { echo "no zhavik-lookup at $lookup; build it first" >&2; exit 1; }
command -v python3 >/dev/null || { echo "python3 is needed to write the sample text" >&2; exit 1; }

# The sample text: the accuracy text's prose repeated and cut to a million characters, so
# that words and polyphones occur as they do in real text.
python3 - "$here/bench/accuracy/handbook_zh_cn.txt" "$scratch/text.txt" <<'PY'
import sys
prose = open(sys.argv[1], encoding='utf-8').read()
open(sys.argv[2], 'w', encoding='utf-8').write((prose * (1_000_000 // len(prose) + 1))[:1_000_000])
PY

# Median wall-clock seconds of a command run RUNS times, its output thrown away.
median_of() {
  local runs="$1"
  shift
  if command -v hyperfine >/dev/null; then
    hyperfine --style none -N --warmup 3 --runs "$runs" --export-json "$scratch/h.json" \
      "$(printf '%q ' "$@")" >/dev/null
    python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][0]["median"])' \
      "$scratch/h.json"
  else
    python3 - "$runs" "$@" <<'PY'
import statistics, subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
for _ in range(3):
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
times = []
for _ in range(runs):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    times.append(time.perf_counter() - start)
print(statistics.median(times))
PY
  fi
}

ms() { python3 -c "print(f'{float(\"$1\") * 1000:.1f} ms')"; }

echo "zhavik-lookup: $lookup"
echo "timing with: $(command -v hyperfine >/dev/null && hyperfine --version || echo 'own loop (no hyperfine)')"
echo "cores: $(nproc), load average: $(cut -d' ' -f1-3 /proc/loadavg)"

# A lookup against a bare process (/bin/true) and the program's own start-up (--version); the
# machine's load shows in all three alike. On a busy machine, run under `chrt -f 10` (as
# root) for steadier figures.
bare="$(median_of 200 /bin/true)"
baseline="$(median_of 200 "$lookup" --version)"
single="$(median_of 200 "$lookup" 中)"
echo "zhavik-lookup 中                 median $(ms "$single"), $(ms "$(python3 -c "print($single - $bare)")") above /bin/true ($(ms "$bare")); --version: $(ms "$baseline")"
echo "我去银行取钱" >"$scratch/line.txt"
line="$(median_of 50 "$lookup" --convert pinyin --words "$scratch/line.txt")"
echo "--convert pinyin --words, one line      median $(ms "$line") (the word table loaded)"

ours="$(median_of 10 "$lookup" --convert pinyin "$scratch/text.txt")"
echo "--convert pinyin, 1,000,000 characters   median $(ms "$ours")"
words="$(median_of 10 "$lookup" --convert pinyin --words "$scratch/text.txt")"
echo "--convert pinyin --words, the same       median $(ms "$words")"

if command -v node >/dev/null && [ -d "$pinyin_pro/node_modules/pinyin-pro" ]; then
  cat >"$scratch/convert.js" <<JS
const { pinyin } = require('$pinyin_pro/node_modules/pinyin-pro');
const text = require('fs').readFileSync(process.argv[2], 'utf8');
process.stdout.write(pinyin(text));
JS
  theirs="$(median_of 5 node "$scratch/convert.js" "$scratch/text.txt")"
  echo "pinyin-pro on node $(node --version), same text   median $(ms "$theirs")"
  python3 -c "print(f'zhavik-lookup is {float(\"$theirs\") / float(\"$ours\"):.1f}x as fast,' \
    f' {float(\"$theirs\") / float(\"$words\"):.1f}x with --words')"
else
  echo "node or pinyin-pro not found: measured zhavik-lookup only"
fi
