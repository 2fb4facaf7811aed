#!/usr/bin/env bash
# Builds Zhavik with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ and runs every test there. Any memory error, leak or undefined behaviour
# fails the test that caused it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The packages of the normal build; g++ brings the sanitizer runtimes along.
"$root/scripts/setup.sh"

# The test programs run at build time too, when their tests are listed. No leak is
# suppressed: neither Zhavik nor the libraries below it leak under the tests.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

build="$root/build-sanitize"
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZHAVIK_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
