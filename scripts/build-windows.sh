#!/usr/bin/env bash
# Builds the Windows package of Zhavik on Debian 12: cross-builds the part of Qt 6 that Zhavik
# uses from Debian's own qtbase source with MinGW-w64, builds zhavik.exe and zhavik-lookup.exe
# against it and packs a portable folder and a .zip into build-windows/.
#
# The Qt build takes about an hour on two cores and is kept outside the source tree, in
# $ZHAVIK_WINDOWS_CACHE (default: ${XDG_CACHE_HOME:-~/.cache}/zhavik-windows); later runs reuse
# it, and a run that was stopped carries on where it ended. ZHAVIK_WINDOWS_JOBS sets the
# number of compile jobs (default 2), ZHAVIK_WINDOWS_BUILD the build folder; arguments go
# to CMake's configuration of Zhavik.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${ZHAVIK_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zhavik-windows}"
jobs="${ZHAVIK_WINDOWS_JOBS:-2}"
build="${ZHAVIK_WINDOWS_BUILD:-$root/build-windows}"

# Debian's moc, rcc and uic serve as the host tools of the cross-built Qt, so the Qt source
# must be exactly the version of Debian's Qt.
"$root/scripts/install_packages.sh" \
  g++-mingw-w64-x86-64-posix wine64 cmake ninja-build dpkg-dev xz-utils \
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n fp-utils python3
qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
qt_src="$cache/src/qtbase-$qt_version"
qt="$cache/qt-$qt_version-mingw64"
# The cached Qt remembers its toolchain file, so it keeps a copy of its own that stays valid
# when this clone goes away.
toolchain="$cache/mingw-w64-x86_64.cmake"
mkdir -p "$cache"
cmp -s "$root/cmake/mingw-w64-x86_64.cmake" "$toolchain" ||
  cp "$root/cmake/mingw-w64-x86_64.cmake" "$toolchain"

# apt knows the source only with a deb-src line for the archive it already installs from.
add_source_entries() {
  local list=/etc/apt/sources.list.d/zhavik-deb-src.sources
  echo "Adding deb-src entries for the archives in /etc/apt (as $list)"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  # Every "deb" entry gets a "deb-src" twin for the same address, suites and components.
  {
    for file in /etc/apt/sources.list.d/*.sources; do
      [ -e "$file" ] && [ "$file" != "$list" ] || continue
      awk 'BEGIN { RS = ""; ORS = "\n\n" }
           /(^|\n)Types:[^\n]*(^|[ \t])deb([ \t]|\n|$)/ {
             gsub(/(^|\n)#[^\n]*/, "")
             sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [ -e "$file" ] || continue
      awk '$1 == "deb" { $1 = ""; printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $2, $3
                         for (i = 4; i <= NF; i++) printf " %s", $i; printf "\n\n" }' "$file"
    done
  } | "${sudo[@]}" tee "$list" >/dev/null
  "${sudo[@]}" apt-get update -qq
}

fetch_qt_source() {
  [ -f "$qt_src/CMakeLists.txt" ] && return
  apt-cache showsrc qt6-base 2>/dev/null | grep -q "^Version: $qt_version\$" || add_source_entries
  local download="$cache/src/download"
  rm -rf "$download" && mkdir -p "$download"
  echo "Fetching the source of qt6-base $qt_version"
  # apt checks the files against the archive's signed index; Debian's patches are applied,
  # as in the Linux build.
  (cd "$download" && apt-get source -q --download-only "qt6-base=$qt_version" &&
    dpkg-source -x ./*.dsc tree) >"$cache/src/fetch.log" 2>&1 ||
    { tail -n 20 "$cache/src/fetch.log"; echo "Fetching the Qt source failed" >&2; exit 1; }
  mv "$download/tree" "$qt_src"
  rm -rf "$download"
}

# Only what Zhavik uses: Core, Gui, Widgets, Network, the Windows platform plugin and style,
# TLS through Windows' own Schannel. The bundled third-party libraries are used (Debian has
# none of them for MinGW); zstd, D-Bus and OpenSSL are left out. Two adjustments to Debian's
# source: it lacks src/3rdparty/wintab, which the tablet support of the platform plugin
# needs, and OpenGL must stay on (6.4.2's platform plugin does not compile without it; it is
# loaded at run time only if used).
qt_options=(
  -G Ninja
  -DCMAKE_TOOLCHAIN_FILE="$toolchain"
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$qt"
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_zstd=OFF
  -DFEATURE_openssl=OFF
  -DFEATURE_schannel=ON
  -DFEATURE_sql=OFF
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_system_libb2=OFF
  -DFEATURE_system_textmarkdownreader=OFF
)
qt_targets=(
  Widgets Network EntryPointImplementation
  QWindowsIntegrationPlugin QWindowsVistaStylePlugin QSchannelBackendPlugin
)

# The build folder is Qt's install prefix too (a "non-prefix" build), so the finished build
# is used as it stands. One stamp names what it was configured with, another what was built
# from that: a change of options configures again, more targets only build those.
build_qt() {
  local configured built
  configured="$(printf '%s\n' "$qt_version" "${qt_options[@]}" "$(cat "$toolchain")")"
  built="$(printf '%s\n' "$configured" "${qt_targets[@]}")"
  if [ "$(cat "$qt/zhavik-qt-built" 2>/dev/null)" = "$built" ]; then
    echo "Using the cross-built Qt in $qt"
    return
  fi
  rm -f "$qt/zhavik-qt-built"
  fetch_qt_source
  mkdir -p "$qt"
  if [ ! -f "$qt/build.ninja" ] ||
    [ "$(cat "$qt/zhavik-qt-configured" 2>/dev/null)" != "$configured" ]; then
    echo "Configuring Qt for Windows in $qt"
    rm -f "$qt/zhavik-qt-configured"
    nice -n 15 cmake -S "$qt_src" -B "$qt" "${qt_options[@]}" >"$qt/configure.log" 2>&1 ||
      { tail -n 40 "$qt/configure.log"; echo "Configuring Qt failed: $qt/configure.log" >&2; exit 1; }
    printf '%s\n' "$configured" >"$qt/zhavik-qt-configured"
  fi
  echo "Building Qt for Windows (-j$jobs; about an hour the first time; log: $qt/build.log)"
  local start=$SECONDS
  # Appended to: the log of a stopped run stays readable after the next one.
  nice -n 15 cmake --build "$qt" -j "$jobs" --target "${qt_targets[@]}" >>"$qt/build.log" 2>&1 ||
    { tail -n 40 "$qt/build.log"; echo "Building Qt failed: $qt/build.log" >&2; exit 1; }
  echo "Qt built in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
  printf '%s\n' "$built" >"$qt/zhavik-qt-built"
}

objdump=x86_64-w64-mingw32-objdump
mingw_runtime=(/usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)

# zhavik.exe and zhavik-lookup.exe, with Qt's toolchain file, which leads to ours. Extra
# arguments go to CMake (check-windows.sh points the news strip elsewhere with them).
# The build compiles the word table with the make_word_table.exe it has just built, so that
# the table is made by the same code that reads it: Wine runs it (and lists the tests of a
# build with tests), in a Wine folder of its own, finding Qt's DLLs and the MinGW runtime
# where they are kept.
build_zhavik() {
  echo "Building zhavik.exe and zhavik-lookup.exe in $build"
  mkdir -p "$build"
  # Objects are shared through ccache between build folders, as in the Linux builds.
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$root"
  fi
  cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DZHAVIK_TESTS=OFF -DZHAVIK_BENCH=OFF "$@" \
    >"$build/configure.log" || { cat "$build/configure.log"; exit 1; }
  local winepath
  winepath="$(printf 'Z:%s;' "$qt/bin" "${mingw_runtime[@]}" | tr / '\\')"
  WINEPREFIX="$build/wine" WINEDEBUG=-all WINEPATH="$winepath" \
    nice -n 10 cmake --build "$build" -j "$jobs"
  WINEPREFIX="$build/wine" /usr/lib/wine/wineserver64 -k 2>/dev/null || true
}

# Copies into FOLDER the DLLs that FILE... import from Qt or the MinGW runtime, and theirs
# in turn; the system's own DLLs are left to Windows.
copy_imported_dlls() {
  local folder="$1" file dll place
  shift
  for file in "$@"; do
    for dll in $("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
      [ -e "$folder/$dll" ] && continue
      for place in "$qt/bin" "${mingw_runtime[@]}"; do
        if [ -e "$place/$dll" ]; then
          cp "$place/$dll" "$folder/$dll"
          copy_imported_dlls "$folder" "$folder/$dll"
          break
        fi
      done
    done
  done
}

# A folder that runs as it stands wherever it is put, and the same as a .zip.
pack() {
  local version name folder
  version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
  name="zhavik-$version-windows-x86_64"
  folder="$build/$name"
  echo "Packing $folder and $folder.zip"
  rm -rf "$folder" "$folder.zip"
  mkdir -p "$folder/img" "$folder/platforms" "$folder/styles" "$folder/tls" \
    "$folder/translations"
  cp "$build/zhavik.exe" "$build/zhavik-lookup.exe" "$build/Zhavik帮助.chm" "$folder/"
  cp "$root/LICENSE" "$folder/LICENSE.txt"
  # The dictionaries, the word files with their notice, and the compiled word table.
  cp "$build/img/"{1.jpg,2.jpg,3.jpg,word_pinyin.txt,word_counts.txt,NOTICE.txt,word_table.bin} \
    "$folder/img/"
  # The platform plugin is what every window needs; the style draws like Windows' own
  # controls; the TLS backend serves https addresses.
  cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
  cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
  cp "$qt/plugins/tls/qschannelbackend.dll" "$folder/tls/"
  # Qt's own dialogs in Chinese, from Debian's translations of the same Qt version.
  cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$folder/translations/"
  # Qt looks for its plugins and translations from the program's folder, not from where
  # it was built.
  printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' \
    >"$folder/qt.conf"
  copy_imported_dlls "$folder" "$folder"/*.exe "$folder"/*/*.dll
  x86_64-w64-mingw32-strip --strip-unneeded "$folder"/*.exe "$folder"/*.dll "$folder"/*/*.dll
  # Python marks the names as UTF-8 in the archive, so that Windows unpacks Zhavik帮助.chm
  # under its own name whatever its code page; zip would leave them unmarked.
  (cd "$build" && python3 -c '
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1] + ".zip", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for folder, _, files in sorted(os.walk(sys.argv[1])):
        for name in sorted(files):
            archive.write(os.path.join(folder, name))
' "$name")
  echo "Windows package: $folder.zip ($(du -h "$folder.zip" | cut -f1))"
}

build_qt
build_zhavik "$@"
pack
