"""Reads a ruby page with Python's HTML parser and prints its outline, one fact a line:

    doctype: html
    lang: zh-CN
    charset: utf-8
    title: TEXT
    p: ITEMS          one line per paragraph: text as it is, [字|zì] for a ruby, <br>

and "error: ..." for whatever does not belong: bytes that are not UTF-8, control
characters, an element other than those of a ruby page or in the wrong place, text outside
a paragraph, an end tag that closes nothing open, an element left open.

Usage: html_outline.py PAGE
"""
import sys
from html.parser import HTMLParser

# Each element the page may hold, with the element it must stand in.
PARENTS = {'html': None, 'head': 'html', 'meta': 'head', 'title': 'head', 'style': 'head',
           'body': 'html', 'p': 'body', 'ruby': 'p', 'rt': 'ruby', 'br': 'p'}
VOID = {'meta', 'br'}


class Outline(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.lines, self.open, self.items = [], [], []

    def error(self, text):
        self.lines.append('error: ' + text)

    def handle_decl(self, decl):
        self.lines.append('doctype: ' + decl.split(' ', 1)[-1])

    def handle_starttag(self, tag, attrs):
        parent = self.open[-1] if self.open else None
        if tag not in PARENTS or PARENTS[tag] != parent:
            self.error(f'<{tag}> in <{parent}>')
        attrs = dict(attrs)
        if tag == 'html':
            self.lines.append(f'lang: {attrs.get("lang")}')
        elif tag == 'meta' and 'charset' in attrs:
            self.lines.append(f'charset: {attrs["charset"]}')
        elif tag == 'p':
            self.items = []
        elif tag == 'ruby':
            self.items.append(['', ''])
        elif tag == 'br':
            self.items.append('<br>')
        if tag not in VOID:
            self.open.append(tag)

    def handle_endtag(self, tag):
        if not self.open or self.open[-1] != tag:
            self.error(f'</{tag}> closes {self.open[-1] if self.open else "nothing"}')
            return
        self.open.pop()
        if tag == 'p':
            self.lines.append('p: ' + ''.join(
                item if isinstance(item, str) else f'[{item[0]}|{item[1]}]'
                for item in self.items))

    def handle_data(self, data):
        where = self.open[-1] if self.open else None
        if where == 'title':
            self.lines.append('title: ' + data)
        elif where == 'p':
            self.items.append(data)
        elif where in ('ruby', 'rt'):
            self.items[-1][where == 'rt'] += data
        elif where != 'style' and data.strip():
            self.error(f'text in <{where}>: {data!r}')

    def handle_comment(self, data):
        self.error('comment')

    def handle_pi(self, data):
        self.error('processing instruction')


def main():
    raw = open(sys.argv[1], 'rb').read()
    try:
        page = raw.decode('utf-8')
    except UnicodeDecodeError as e:
        print(f'error: not UTF-8: {e}')
        return
    outline = Outline()
    for c in page:
        if c not in '\t\n' and (ord(c) < 0x20 or 0x7F <= ord(c) <= 0x9F):
            outline.error(f'control character U+{ord(c):04X}')
    outline.feed(page)
    outline.close()
    if outline.open:
        outline.error('left open: ' + ' '.join(outline.open))
    sys.stdout.buffer.write(''.join(line + '\n' for line in outline.lines).encode('utf-8'))


main()
