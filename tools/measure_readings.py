#!/usr/bin/env python3
"""How often a pinyin file gives a character's usual reading first.

The lookup lists a character's readings in the order of the records that
hold it and the batch conversion keeps the first, so this is the share of
hanzi that a conversion gets right.  For each pinyin file given:

  usual first   frequency-weighted share of hanzi whose first reading is
                their usual one (the generator's rule: kHanyuPinlu, else
                pinyin-data's order ...); frequency = the input method's
                weights (pinyin_simp_weights.tsv), else the corpus count.
  corpus        kHanyuPinlu counts each reading of a character in a corpus
                of modern texts: the share of those occurrences whose
                reading is the first one.
  hidden        the readings of GB2312 hanzi that the browser does not
                show, because they are not in the first record of their
                key (the generator moves a reading there when it would
                otherwise stand before the character's usual one).
  text          with --text: every hanzi of a UTF-8 text, its reference
                reading taken from the generator's word table (longest
                word first), else its usual reading; "neutral-blind" also
                accepts the base tone where the word table writes a
                neutral tone or the tone sandhi of 一 and 不.

It also counts which rule decided each hanzi's reading set and usual
reading, and which rule decided the words of the word table.

Usage: python3 tools/measure_readings.py FILE.jpg... [--text TEXT]
       [--misses N]
Example, before and after:
    git show main:img/3.jpg > /tmp/before.jpg
    python3 tools/measure_readings.py /tmp/before.jpg img/3.jpg --text T
"""

import argparse
import collections
import pathlib
import sys

import make_dictionaries as gen

LONGEST_WORD = 8


def first_readings(path):
    """Char -> its first reading, as the lookup finds it in the file."""
    first = {}
    text = pathlib.Path(path).read_bytes().decode('gbk')
    for line in text.split('\r\n'):
        key, _, chars = line.partition('=')
        match = gen.KEY_RE.fullmatch(key)
        if match is None:
            continue
        for char in chars:
            first.setdefault(char, (match[1], int(match[2])))
    return first


def text_references(text, words, hanzi):
    """(char, reference reading) for every hanzi of the text we know."""
    references = []
    at = 0
    while at < len(text):
        for length in range(min(LONGEST_WORD, len(text) - at), 0, -1):
            piece = text[at:at + length]
            if length > 1 and piece in words:
                references.extend(zip(piece, words[piece]))
                break
            if length == 1:
                if piece in hanzi:
                    references.append((piece, hanzi[piece]['usual']))
        at += length
    return [(c, r) for c, r in references if c in hanzi]


def lenient_match(char, reference, reading):
    if reference == reading:
        return True
    if reference[0] != reading[0]:
        return False
    return reference[1] == gen.NEUTRAL_TONE or char in '一不'


def hidden_readings(path):
    """(char, key) of the GB2312 hanzi that a key's first record lacks."""
    seen, hidden = set(), []
    text = pathlib.Path(path).read_bytes().decode('gbk')
    for line in text.split('\r\n'):
        key, _, chars = line.partition('=')
        if key in seen:
            hidden += [(char, key) for char in chars
                       if gen.is_gb2312_hanzi(char)]
        seen.add(key)
    return hidden


def measure(path, hanzi, references, misses):
    first = first_readings(path)
    print(f'{path}:')
    for label, chars in (('GB2312 hanzi', [c for c in hanzi
                                           if hanzi[c]['gb2312']]),
                         ('all hanzi', list(hanzi))):
        total = sum(hanzi[c]['frequency'] for c in chars)
        won = sum(hanzi[c]['frequency'] for c in chars
                  if first.get(c) == hanzi[c]['usual'])
        print(f'  usual first, {label}: {100 * won / total:.2f} %'
              f' of {len(chars)} weighted by frequency')
    total = won = 0
    for char, info in hanzi.items():
        if not info['gb2312']:
            continue
        for reading, count in gen.pinlu_counts(info['fields']):
            total += count
            won += count * (first.get(char) == reading)
    print(f'  corpus (kHanyuPinlu, GB2312 hanzi): {100 * won / total:.2f} %'
          f' of {total} occurrences')
    hidden = hidden_readings(path)
    print(f'  hidden from the browser: {len(hidden)}: ' + ', '.join(
        f'{char} {key}' for char, key in hidden))
    if references:
        strict = sum(first.get(c) == r for c, r in references)
        lenient = sum(lenient_match(c, r, first.get(c, ('', 0)))
                      for c, r in references)
        count = len(references)
        print(f'  text: {100 * strict / count:.2f} % strict, '
              f'{100 * lenient / count:.2f} % neutral-blind, '
              f'of {count} hanzi')
        wrong = collections.Counter(
            (c, gen.key_of(r), gen.key_of(first.get(c, ('?', 0))))
            for c, r in references
            if not lenient_match(c, r, first.get(c, ('', 0))))
        for (char, reference, given), times in wrong.most_common(misses):
            print(f'    {times:6d}  {char} {reference} given {given}')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('files', nargs='+', type=pathlib.Path)
    parser.add_argument('--text', type=pathlib.Path,
                        help='UTF-8 prose to convert')
    parser.add_argument('--misses', type=int, default=15,
                        help='how many of the commonest text misses to list')
    arguments = parser.parse_args()
    for path in [*arguments.files, arguments.text]:
        if path is not None and not path.is_file():
            sys.exit(f'{path}: no such file')
    unihan = gen.read_unihan()
    hanzi, sources = gen.read_sources()
    words, word_counts = gen.words_of(hanzi, sources)
    for char, info in hanzi.items():
        info['fields'] = unihan.get(char, {})
    for gb2312 in (True, False):
        print('GB2312 hanzi' if gb2312 else 'other hanzi', 'decided by:')
        for rule in ('set_rule', 'usual_rule'):
            counts = collections.Counter(
                info[rule] for info in hanzi.values()
                if info['gb2312'] == gb2312)
            print(f'  {rule}: ' + ', '.join(
                f'{name} {count}' for name, count in sorted(counts.items())))
    print('words of the word table:')
    for (kind, rule), count in sorted(word_counts.items()):
        print(f'  {kind}: {rule}: {count}')
    references = []
    if arguments.text:
        references = text_references(
            arguments.text.read_text(encoding='utf-8'), words, hanzi)
    for path in arguments.files:
        measure(path, hanzi, references, arguments.misses)


if __name__ == '__main__':
    main()
