#!/usr/bin/env bash
# Usage: fuzz.sh [RUNS [HARNESS...]]
# Builds the libFuzzer harnesses of fuzz/ with clang into build-fuzz/ and runs each (all of
# them by default) for RUNS inputs (default 10000000), one after the other, starting from
# its seed corpus in fuzz/corpus/. New inputs are kept in build-fuzz/corpus/, inputs that
# find a fault in build-fuzz/findings/. Stops at the first harness with a finding.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-10000000}"
shift || true
harnesses=("$@")
[ "${#harnesses[@]}" -gt 0 ] ||
  harnesses=(dictionary_file tone_marks conversion browser huoqu index_vs_scan page_model streaming
    word_conversion)

"$root/scripts/install_packages.sh" clang-14 libclang-rt-14-dev

build="$root/build-fuzz"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZHAVIK_FUZZ=ON -DZHAVIK_WINDOW=OFF -DZHAVIK_TESTS=OFF -DZHAVIK_BENCH=OFF >/dev/null
cmake --build "$build" -j 2

mkdir -p "$build/findings"
for harness in "${harnesses[@]}"; do
  corpus="$build/corpus/$harness"
  mkdir -p "$corpus"
  # The index harness checks every character of its dictionaries with a scan of them, so its
  # work grows with the square of the input; shorter inputs keep it at thousands a second.
  max_len=512
  [ "$harness" != index_vs_scan ] || max_len=256
  echo "== ${harness}_fuzzer: $runs runs"
  start=$(date +%s)
  "$build/${harness}_fuzzer" "$corpus" "$root/fuzz/corpus/$harness" -runs="$runs" -max_len=$max_len \
    -print_final_stats=1 -artifact_prefix="$build/findings/${harness}-" 2>"$build/$harness.log" ||
    { tail -n 40 "$build/$harness.log" >&2; exit 1; }
  seconds=$(($(date +%s) - start))
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$harness.log")
  echo "   $executed inputs in $seconds s, $((executed / (seconds > 0 ? seconds : 1))) per second"
done
