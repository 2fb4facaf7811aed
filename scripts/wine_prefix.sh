# Sourced by the scripts that run Windows programs under Wine: Wine's two programs, and a
# Wine folder of this run's own (WINEPREFIX), thrown away with whatever Wine still runs when
# the script ends. Wine's own messages are left out.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/zhavik-wine.XXXXXX")"
export WINEPREFIX WINEDEBUG=-all
remove_wine_prefix() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap remove_wine_prefix EXIT
