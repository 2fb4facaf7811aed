#!/usr/bin/env bash
# Cross-builds the parts of Zhavik that need no Qt (core/, cli/ and their tests) for 64-bit
# Windows with MinGW-w64 into build-mingw/, runs the tests under Wine, and checks that
# zhavik-lookup.exe answers byte for byte as the Linux build (build/zhavik-lookup) does, on
# large texts in every form it reads. Fails on any difference. Takes a few minutes.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-mingw"

"$root/scripts/install_packages.sh" \
  g++-mingw-w64-x86-64-posix wine64 libgtest-dev cmake ninja-build python3 bsdutils
# The Linux build, whose answers are compared with (already built when test.sh ran before).
"$root/scripts/setup.sh"

. "$root/scripts/wine_prefix.sh"
# Made once before anything runs (the build lists the tests by running them); a server
# that stays up makes each later start quick.
echo "Preparing Wine in $WINEPREFIX"
"$wineserver" -p
"$wine" wineboot --init >/dev/null 2>&1

# Linked statically: the programs run without the MinGW runtime's DLLs beside them.
# GoogleTest is compiled from Debian's source with the cross compiler.
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXE_LINKER_FLAGS=-static \
  -DZHAVIK_WINDOW=OFF -DZHAVIK_BENCH=OFF -DZHAVIK_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
cmake --build "$build" -j "$(nproc)"
# The ruby page tests read the pages back with the build machine's Python, which a Windows
# program cannot start; what they test is the same plain C++ on both systems.
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -E '^RubyHtml[.]'

echo "Comparing zhavik-lookup.exe under Wine with build/zhavik-lookup"
python3 "$root/scripts/compare_lookup_outputs.py" \
  "$root/build/zhavik-lookup" "$build/zhavik-lookup.exe" "$wine"

# On a console (here Wine's, on a pseudo-terminal) the characters show as themselves, not as
# their UTF-8 bytes read in the console's code page. The console drops blanks at line ends.
echo "Writing to a console"
shown="$(cd "$build" && script -qec "$wine zhavik-lookup.exe --kind pinyin 中" /dev/null |
  sed 's/\x1b\[[0-9;?]*[A-Za-z]//g; s/[[:space:]]*$//')"
if [ "$shown" != "zhōng  zhòng" ]; then
  printf 'zhavik-lookup.exe on a console showed %q\n' "$shown" >&2
  exit 1
fi
echo "Windows build: all tests passed, outputs alike"
