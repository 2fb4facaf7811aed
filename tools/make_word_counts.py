#!/usr/bin/env python3
"""Generate img/word_counts.txt, how often words occur, from sources/jieba_dict.txt.

The word-aware pinyin conversion cuts a line into the words that make the
likeliest sentence, so it needs to know how often each word occurs: jieba's
word list gives a count from a large corpus of modern Chinese for 349,046
words and single characters.  Only the counts are taken, never a reading.

Kept are the words the conversion can meet: 1 to 32 characters, each with a
two-byte code in code page 936 (the word file's rule; jieba also lists Latin
words such as 'C++').  The output is UTF-8 with LF, one word a line, the word,
a tab and its count, sorted by UTF-16 code units as the program orders words,
and byte-for-byte deterministic.

Usage: python3 tools/make_word_counts.py [--out DIR]
"""

import argparse
import pathlib
import sys

TOOLS_DIR = pathlib.Path(__file__).resolve().parent
SOURCE = TOOLS_DIR / 'sources' / 'jieba_dict.txt'
DEFAULT_OUT_DIR = TOOLS_DIR.parent / 'img'
OUT_FILE = 'word_counts.txt'

LONGEST_WORD = 32
LARGEST_COUNT = 2**32 - 1


def is_double_byte(char):
    try:
        return len(char.encode('gbk')) == 2
    except UnicodeEncodeError:
        return False


def refuse(number, line, why):
    """A row that cannot be read stops the run rather than being guessed."""
    sys.exit(f'{SOURCE.name}, line {number}: {why}: {line!r}')


def read_counts():
    """{word: count} of the words kept, and how many rows were left out."""
    counts = {}
    left_out = 0
    with open(SOURCE, encoding='utf-8') as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip('\n')
            row = line.split(' ')
            # word, count, part of speech
            if len(row) != 3 or not row[0] or not row[1].isascii() \
                    or not row[1].isdigit():
                refuse(number, line, 'not a word, a count and a tag')
            word, count = row[0], int(row[1])
            if not 1 <= count <= LARGEST_COUNT:
                refuse(number, line, 'count out of range')
            if len(word) > LONGEST_WORD or not all(map(is_double_byte, word)):
                left_out += 1
                continue
            if word in counts:
                refuse(number, line, 'word listed twice')
            counts[word] = count
    return counts, left_out


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--out', type=pathlib.Path, default=DEFAULT_OUT_DIR,
                        help='output folder (default: %(default)s)')
    out_dir = parser.parse_args().out
    counts, left_out = read_counts()
    lines = sorted(counts.items(), key=lambda item: item[0].encode('utf-16-be'))
    out_dir.mkdir(parents=True, exist_ok=True)
    (out_dir / OUT_FILE).write_bytes(''.join(
        f'{word}\t{count}\n' for word, count in lines).encode('utf-8'))
    print(f'{OUT_FILE}: {len(lines)} words, {left_out} left out '
          f'(not all two-byte characters, or longer than {LONGEST_WORD})')


if __name__ == '__main__':
    main()
