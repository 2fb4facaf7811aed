#!/usr/bin/env python3
"""Pulls the running prose out of the Simplified Chinese Debian Administrator's Handbook.

Usage: extract_handbook.py HTML_FOLDER > handbook_zh_cn.txt

HTML_FOLDER is usr/share/doc/debian-handbook/html/zh-CN of the Debian package
debian-handbook (apt-get download debian-handbook; dpkg -x). Only paragraph text (the book's <div class="para">) is kept,
one paragraph a line, in the order of the book's chapters; program listings, tables and
navigation are left out, so what remains is prose a reader would read aloud.
"""
import html.parser
import pathlib
import re
import sys


class Paragraphs(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.divs = []  # open <div>s, True for a paragraph
        self.skip = 0  # inside a listing or a table within it
        self.current = []
        self.found = []

    def handle_starttag(self, tag, attrs):
        if tag == "div":
            self.divs.append(dict(attrs).get("class") == "para")
        elif tag in ("pre", "table", "script", "style"):
            self.skip += 1

    def handle_endtag(self, tag):
        if tag == "div" and self.divs:
            if not self.divs.pop():
                return
            text = re.sub(r"\s+", " ", "".join(self.current)).strip()
            if re.search(r"[\u4e00-\u9fff]", text):
                self.found.append(text)
            self.current = []
        elif tag in ("pre", "table", "script", "style") and self.skip:
            self.skip -= 1

    def handle_data(self, data):
        if any(self.divs) and not self.skip:
            self.current.append(data)


def chapter_order(folder):
    # index.html links the pages in reading order.
    index = (folder / "index.html").read_text(encoding="utf-8")
    seen = []
    for name in re.findall(r'href="([^"#/]+\.html)', index):
        if name not in seen and (folder / name).is_file():
            seen.append(name)
    rest = sorted(p.name for p in folder.glob("*.html") if p.name not in seen)
    return seen + rest


def main():
    folder = pathlib.Path(sys.argv[1])
    out = []
    for name in chapter_order(folder):
        parser = Paragraphs()
        parser.feed((folder / name).read_text(encoding="utf-8"))
        out.extend(parser.found)
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
