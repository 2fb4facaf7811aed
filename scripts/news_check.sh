#!/usr/bin/env bash
# Shows the news strip at work. Serves a page with a <marquee> from a local news server,
# builds Zhavik against it into build-news/, runs it in a virtual X server and saves the
# window twice, about 6.5 and 7 seconds after it opens (the strip shows after 12 ticks of
# gg_Timer2), as news-1.png and news-2.png beside build-news/: the strip's text has moved.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" >/dev/null

site="$(mktemp -d)"
mkdir "$site/rjshengji"
cat >"$site/rjshengji/gg.htm" <<'PAGE'
<html><head><meta charset="utf-8"></head><body style="margin:0">
<marquee scrollamount="4" scrolldelay="60">最新娱乐资讯：Zhavik 3.90 — News headline one · 第二条新闻</marquee>
</body></html>
PAGE
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >/dev/null 2>&1 &
server=$!
trap 'kill "$server"; rm -rf "$site"' EXIT

build="$root/build-news"
cmake -S "$root" -B "$build" -DZHAVIK_NEWS_URL="http://127.0.0.1:$port" \
  -DZHAVIK_TESTS=OFF -DZHAVIK_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target zhavik dictionaries >/dev/null
rm -f "$build/gg.jl"
xvfb-run -a -s "-screen 0 800x700x24 -dpi 96" bash -c '
  "$1/zhavik" & pid=$!
  sleep 6.5; import -window root png:- | convert - -trim +repage "$2/news-1.png"
  sleep 0.5; import -window root png:- | convert - -trim +repage "$2/news-2.png"
  kill "$pid"' _ "$build" "$root"
echo "Saved $root/news-1.png and $root/news-2.png"
