#!/usr/bin/env bash
# Tries the Windows package (scripts/build-windows.sh) under Wine as a user would, in a
# virtual X server, and compares what it shows with the Linux build (build/):
#   - the window, saved as windows.png beside linux.png, the Linux window (look at both);
#   - 中 typed into the query box: the four answers, against zhavik-lookup --query;
#   - a text pasted into the batch view and converted, plain and reading words, against
#     zhavik-lookup --convert pinyin --as-window (and --words);
#   - a GBK file with a Chinese name opened through File > Open (Windows' own dialog);
#   - the news strip's sequence against a news server on the loopback (a second build of
#     the package, pointed at it): the request, gg.jl beside the program, the strip shown;
#   - Help > 软件主页 and 软件升级 handed to the shell, and the help file.
# The package runs from a copy in a folder with a Chinese name and a blank. Screenshots and
# logs land in build-windows/check/. Fails on the first answer that differs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build-windows/check"

if [ "${1:-}" != --on-display ]; then
  "$root/scripts/install_packages.sh" \
    wine64 xvfb xauth imagemagick xdotool xclip fonts-arphic-uming python3 libgtest-dev
  package="$(ls -d "$root"/build-windows/zhavik-*-windows-x86_64 2>/dev/null | tail -n 1)"
  [ -n "$package" ] || { echo "No Windows package: run scripts/build-windows.sh first" >&2; exit 1; }
  "$root/scripts/setup.sh" >/dev/null
  # The news server, on a port of its own, and the package built to ask it.
  port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
  echo "Building the package again, pointed at a news server on 127.0.0.1:$port"
  ZHAVIK_WINDOWS_BUILD="$root/build-windows-news" "$root/scripts/build-windows.sh" \
    -DZHAVIK_NEWS_URL="http://127.0.0.1:$port" \
    -DZHAVIK_TESTS=ON -DZHAVIK_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
  rm -rf "$out" && mkdir -p "$out"
  exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" --on-display "$package" "$port"
fi
package="$2"
port="$3"

work="$(mktemp -d "${TMPDIR:-/tmp}/zhavik-check.XXXXXX")"
export WINEPREFIX="$work/wine" WINEDEBUG=-all
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
pids=()
locked=""
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -z "$locked" ] || chattr -i "$locked"
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  shot "failure"
  exit 1
}
shot() { import -window root png:- | convert - -trim +repage "$out/$1.png"; }

echo "Preparing Wine in $WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1
# Web addresses the shell opens go to a browser that only writes them down.
cat >"$work/browser" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >>"$work/opened"
EOF
chmod +x "$work/browser"
"$wine" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$work/browser" /f >/dev/null 2>&1
# So do help files: the shell starts the command of their file type, here the same writer
# (Wine starts a Unix program given by its Windows name, with its arguments as they stand).
"$wine" reg add 'HKCR\chm.file\shell\open\command' /ve /d "Z:\bin\sh $work/browser \"%1\"" \
  /f >/dev/null 2>&1

folder="$work/程序 Zhavik"
cp -r "$package" "$folder"
news_package="$(ls -d "$root"/build-windows-news/zhavik-*-windows-x86_64 | tail -n 1)"

echo "gg.jl's place and file, and the news address (news_request_tests.exe)"
WINEPATH="Z:$(tr / '\\' <<<"$news_package")" \
  "$wine" "$root/build-windows-news/news_request_tests.exe" >"$out/news_request_tests.log" 2>&1 ||
  { tail -n 30 "$out/news_request_tests.log"; fail "news_request_tests.exe"; }
echo "  $(grep -a 'PASSED' "$out/news_request_tests.log")"

# --- The window --------------------------------------------------------------------------
# Waits until the screen has changed and then stays the same for a moment.
fingerprint() { import -window root png:- | convert - -format '%#' info:; }
settle() {
  local last now
  last="$(fingerprint)"
  for _ in $(seq 1 "${1:-40}"); do
    sleep 0.5
    now="$(fingerprint)"
    [ "$now" = "$last" ] && return
    last="$now"
  done
}
# The window's top left corner on the screen: clicks are given in its client area.
window=""
left=0
top=0
find_window() {
  for _ in $(seq 1 120); do
    window="$(xdotool search --onlyvisible --name '^Zhavik ' 2>/dev/null | head -n 1)" || true
    [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || fail "no window appeared"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  left="$X"
  top="$Y"
}
click() {
  xdotool mousemove $((left + $1)) $((top + $2)) click 1
  sleep 0.7
}
# Opens the menu at X Y and chooses the item of the underlined letter KEY.
menu() {
  click "$1" "$2"
  xdotool key "$3"
  sleep 0.7
}
# Standard input on the clipboard. xclip stays to serve it until another program takes the
# clipboard, away from the caller's output.
to_clipboard() { xclip -selection clipboard >/dev/null 2>&1; }
# The text of the box at X Y, through the clipboard, line ends as LF.
box_text() {
  printf 'nothing' | to_clipboard
  click "$1" "$2"
  xdotool key ctrl+a ctrl+c
  sleep 0.7
  timeout 10 xclip -selection clipboard -o | tr -d '\r'
}
# Puts TEXT into the box at X Y, in place of what it holds: paste_into X Y TEXT.
paste_into() {
  printf '%s' "$3" | to_clipboard
  click "$1" "$2"
  xdotool key ctrl+a ctrl+v
  sleep 0.7
}
same() {
  if [ "$2" != "$3" ]; then
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | head -n 20 >&2 || true
    fail "$1"
  fi
  echo "  $1: as expected"
}
# Without the blank lines at the end.
trimmed() { sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'; }
# What the Linux build answers, line ends as LF.
linux() { "$root/build/zhavik-lookup" "$@" | tr -d '\r' | trimmed; }

# Pasted with LF line ends, as X passes text on; the window's editor gives the conversion
# CR LF, as the file for zhavik-lookup has them.
text="$(printf '%s\n' '中国银行的行长说：“长大了，我要去银行。”' 'Zhavik 3.90 — 汉字ＡＢＣ 𠀀 ①' \
  '一个不是，重庆的重要' '	tab, ｈａｌｆ and 〇')"
printf '%s' "${text//$'\n'/$'\r\n'}" >"$work/text.txt"

# The batch view of the window with words read in, as it shows the text.
words_pinyin() {
  click 183 9
  paste_into 300 150 "$text"
  click 459 511
  click 108 288
  box_text 320 420 | trimmed
}

# The Linux window, saved as it opens; zhavik-lookup writes words line by line only, so
# what the window shows for them comes from the Linux window, driven the same way.
echo "Saving the Linux window as $out/linux.png"
"$root/build/zhavik" 2>/dev/null &
linux_window=$!
find_window
settle
import -window "$window" "$out/linux.png"
linux_words="$(words_pinyin)"
kill "$linux_window"
wait "$linux_window" 2>/dev/null || true
sleep 1

echo "Starting zhavik.exe under Wine"
start=$SECONDS
(cd "$folder" && exec "$wine" "$folder/zhavik.exe") &
pids+=($!)
find_window
settle
echo "  window up after $((SECONDS - start)) s (Wine's first start included)"
import -window "$window" "$out/windows.png"
echo "  saved as $out/windows.png"
if [ "$(identify -format '%wx%h' "$out/windows.png")" = "$(identify -format '%wx%h' "$out/linux.png")" ]; then
  differing="$(compare -metric AE "$out/linux.png" "$out/windows.png" "$out/difference.png" 2>&1 || true)"
  echo "  same size as the Linux window; $differing pixels differ (marked in difference.png)"
else
  echo "  size $(identify -format '%wx%h' "$out/windows.png"), Linux $(identify -format '%wx%h' "$out/linux.png")"
fi

echo "Looking up 中"
paste_into 280 479 "中"
click 412 477
shot query
answers="$(box_text 180 526)
$(box_text 180 550)
$(box_text 490 550)
$(box_text 490 522)"
same "pinyin, 86 and 98 Wubi, area/position code of 中" \
  "$(printf '%s\n' "$answers" | sed 's/ *$//')" "$(linux --query 中 | tail -n 4 | sed 's/ *$//')"

echo "Converting a text in the batch view"
click 183 9
paste_into 300 150 "$text"
click 108 288
shot batch
same "pinyin of the text" "$(box_text 320 420 | trimmed)" \
  "$(linux --convert pinyin --as-window "$work/text.txt")"
click 459 511
click 108 288
same "pinyin of the text read by words" "$(box_text 320 420 | trimmed)" "$linux_words"
shot batch-words
click 540 288
same "area/position codes of the text" "$(box_text 320 420 | trimmed)" \
  "$(linux --convert quwei --as-window "$work/text.txt")"

echo "Opening a GBK file through File > Open"
gbk="$work/文本 GBK.txt"
printf '%s\r\n' '打开的文件：中文编码 GBK' '第二行 abc' | iconv -f UTF-8 -t GBK >"$gbk"
menu 30 9 o
settle 10
shot open-dialog
# Windows' dialog is a window of its own, without a title under Wine; its file name box
# lies 427, 445 from its corner there.
dialog=""
for candidate in $(xdotool search --onlyvisible --class . 2>/dev/null); do
  [ "$candidate" != "$window" ] && dialog="$candidate"
done
[ -n "$dialog" ] || fail "no file dialog"
printf 'Z:%s' "$gbk" | tr / '\\' | to_clipboard
xdotool mousemove --window "$dialog" 427 445 click 1
sleep 0.5
xdotool key ctrl+v Return
settle 10
# Once the dialog has gone, the window takes clicks again only after a moment; till then
# the keys go to the box that had them.
want="$(iconv -f GBK -t UTF-8 "$gbk" | tr -d '\r')"
for _ in 1 2 3 4 5; do
  got="$(box_text 300 150 | trimmed)"
  [ "$got" = "$want" ] && break
  sleep 1
done
same "the GBK file in the input box" "$got" "$want"
shot opened

echo "Help > 软件主页 and 软件升级"
menu 250 9 r
menu 250 9 j
sleep 3
same "the addresses handed to the shell" "$(cat "$work/opened" 2>/dev/null)" \
  "$(printf '%s\n' 'http://zhavik.example/' 'http://zhavik.example/rj')"
echo "Help > 使用帮助"
menu 250 9 s
sleep 3
same "the help file handed to the shell" "$(tail -n 1 "$work/opened")" \
  "$(printf 'Z:%s/Zhavik帮助.chm' "$folder" | tr / '\\')"
# The news sequence ran too (its server cannot be reached): it kept the first-run date.
[ -f "$folder/gg.jl" ] || fail "no gg.jl beside the program"
echo "  gg.jl beside the program: $(iconv -f GBK -t UTF-8 "$folder/gg.jl" | tr -d '\r')"
kill "${pids[0]}" 2>/dev/null || true
"$wineserver" -k 2>/dev/null || true

echo "The news strip against a news server on 127.0.0.1:$port"
site="$work/site"
mkdir -p "$site/rjshengji"
cat >"$site/rjshengji/gg.htm" <<'PAGE'
<html><head><meta charset="utf-8"></head><body style="margin:0">
<marquee scrollamount="4" scrolldelay="60">最新娱乐资讯：Zhavik 3.90 — News headline one · 第二条新闻</marquee>
</body></html>
PAGE
(cd "$site" && exec python3 -m http.server "$port" --bind 127.0.0.1) >/dev/null 2>"$out/news-server.log" &
pids+=($!)
news="$work/新闻 Zhavik"
cp -r "$news_package" "$news"
# A folder that cannot be written even by root (where the file system allows that): gg.jl
# then goes to %LOCALAPPDATA%\Zhavik.
local_gg_jl="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Zhavik/gg.jl"
if chattr +i "$news" 2>/dev/null; then
  locked="$news"
  gg_jl="$local_gg_jl"
else
  gg_jl="$news/gg.jl"
fi
(cd "$news" && exec "$wine" "$news/zhavik.exe") &
pids+=($!)
find_window
sleep 9
shot news-1
sleep 0.5
shot news-2
request="$(grep -o 'GET /rjshengji/gg.htm?[^ ]*' "$out/news-server.log" | head -n 1)"
echo "  the server was asked: $request"
[[ "$request" == "GET /rjshengji/gg.htm?id=zhavik&an="* ]] || fail "no news request"
[ -f "$gg_jl" ] || fail "no $gg_jl"
echo "  ${gg_jl#"$work/"}: $(iconv -f GBK -t UTF-8 "$gg_jl" | tr -d '\r')"
cmp -s "$out/news-1.png" "$out/news-2.png" && fail "the strip's text did not move"
echo "  the strip shows, and its text moves (news-1.png, news-2.png)"
echo "All checks passed; screenshots in $out"
