#!/usr/bin/env python3
"""Generate Zhavik's three dictionary files from the open tables in sources/.

    img/1.jpg  Wubi 86 codes    (from wubi86_rime.tsv)
    img/2.jpg  Wubi 98 codes    (from wubi98_fcitx5.tsv)
    img/3.jpg  pinyin readings  (from unihan_readings.tsv,
                                 pinyin_simp_weights.tsv and wubi86_rime.tsv)

Despite the extension the files are plain text in code page 936 with CR LF
after every line; the application reads them in that form.  The output is
byte-for-byte deterministic, so the committed files can be checked against
a fresh run.

Usage: python3 tools/make_dictionaries.py [--out DIR]
"""

import argparse
import itertools
import pathlib
import re
import sys
import unicodedata
from decimal import Decimal

TOOLS_DIR = pathlib.Path(__file__).resolve().parent
SOURCES_DIR = TOOLS_DIR / 'sources'
DEFAULT_OUT_DIR = TOOLS_DIR.parent / 'img'

WUBI86_FILE = '1.jpg'
WUBI98_FILE = '2.jpg'
PINYIN_FILE = '3.jpg'

GB2312_HANZI_COUNT = 6763

# The pinyin file must stay below this many decoded characters (CR LF
# counting as two) for the application to take it whole; the generator
# refuses to write a larger one rather than drop readings.
PINYIN_CHAR_LIMIT = 32767

# Combining tone marks after NFD decomposition.  The diaeresis of ü is not
# a tone mark and is recomposed afterwards.
TONE_MARKS = {'\u0304': 1, '\u0301': 2, '\u030c': 3, '\u0300': 4}
NEUTRAL_TONE = 5
SYLLABLE_RE = re.compile('[a-zü]+')


# --- code page 936 -------------------------------------------------------

def cp936(char):
    """Bytes of char in code page 936, or None where it has none."""
    try:
        return char.encode('gbk')
    except UnicodeEncodeError:
        return None


def is_double_byte(char):
    encoded = cp936(char)
    return encoded is not None and len(encoded) == 2


def is_gb2312_hanzi(char):
    """GB2312 hanzi are areas 16..87: lead byte B0..F7, trail byte A1..FE."""
    encoded = cp936(char)
    return (encoded is not None and len(encoded) == 2
            and 0xB0 <= encoded[0] <= 0xF7 and 0xA1 <= encoded[1] <= 0xFE)


def gb2312_hanzi():
    """All GB2312 hanzi in code order (area 55 ends early, at D7F9)."""
    hanzi = []
    for lead in range(0xB0, 0xF8):
        for trail in range(0xA1, 0xFF):
            try:
                hanzi.append(bytes((lead, trail)).decode('gbk'))
            except UnicodeDecodeError:
                pass
    if len(hanzi) != GB2312_HANZI_COUNT:
        sys.exit(f'expected {GB2312_HANZI_COUNT} GB2312 hanzi, '
                 f'the gbk codec gives {len(hanzi)}')
    return hanzi


# --- source tables --------------------------------------------------------

def read_table(name):
    """Rows of a tab-separated UTF-8 source table; '#' lines are headers."""
    with open(SOURCES_DIR / name, encoding='utf-8') as table:
        for line in table:
            if not line.startswith('#'):
                yield line.rstrip('\n').split('\t')


def read_wubi86():
    """(char, code, weight) rows of the 86 table, in file order.

    wubi86_rime.tsv: char, code, weight.  Weights are mostly integers but a
    few are decimals (450.5), hence Decimal.  Codes starting with z are the
    table's wildcard lookups with listing-order weights, not input codes.
    """
    return [(char, code, Decimal(weight))
            for char, code, weight in read_table('wubi86_rime.tsv')
            if not code.startswith('z')]


def read_wubi98():
    """(char, code) rows of the 98 table, in file order.

    wubi98_fcitx5.tsv: code, char; the characters of a code are listed in
    the order the input method offers them.
    """
    return [(char, code) for code, char in read_table('wubi98_fcitx5.tsv')]


def read_unihan():
    """Map char -> {field: value}.

    unihan_readings.tsv: U+code, field, value, for the fields kMandarin,
    kTGHZ2013, kXHC1983, kHanyuPinyin and kHanyuPinlu.
    """
    fields = {}
    for code_point, field, value in read_table('unihan_readings.tsv'):
        char = chr(int(code_point[2:], 16))
        fields.setdefault(char, {})[field] = value
    return fields


def read_pinyin_weights():
    """Map char -> {toneless reading: weight}.

    pinyin_simp_weights.tsv: char, toneless reading, weight.  ü is spelled
    v (lv 绿, nv 女) or u (lue 略, nue 虐).
    """
    weights = {}
    for char, reading, weight in read_table('pinyin_simp_weights.tsv'):
        weights.setdefault(char, {})[reading] = int(weight)
    return weights


# --- Wubi files -----------------------------------------------------------

def first_candidates_86(rows):
    """Code -> the character typing it gives: highest weight, ties by file
    order."""
    best = {}
    for char, code, weight in rows:
        if code not in best or weight > best[code][1]:
            best[code] = (char, weight)
    return {code: char for code, (char, _) in best.items()}


def first_candidates_98(rows):
    """Code -> the character typing it gives: the first one listed."""
    first = {}
    for char, code in rows:
        first.setdefault(code, char)
    return first


def codes_by_char(rows):
    """Char -> its distinct codes in table order."""
    codes = {}
    for char, code in rows:
        codes.setdefault(char, {})[code] = None
    return {char: list(char_codes) for char, char_codes in codes.items()}


def wubi_codes(char, codes, first_candidates):
    """The codes written for char: the short codes that really type it,
    shortest first, then its full (longest) code or codes."""
    longest = max(len(code) for code in codes)
    short = [code for code in codes
             if len(code) < longest and first_candidates[code] == char]
    full = [code for code in codes if len(code) == longest]
    return sorted(short, key=len) + full


def wubi_lines(rows, first_candidates):
    codes = codes_by_char(rows)
    chars = sorted((char for char in codes if is_double_byte(char)),
                   key=cp936)
    return [' '.join([char] + wubi_codes(char, codes[char], first_candidates))
            for char in chars]


# --- pinyin file ----------------------------------------------------------

def split_tone(marked):
    """'lǜ' -> ('lü', 4); a syllable without a tone mark is neutral (5)."""
    decomposed = unicodedata.normalize('NFD', marked)
    tones = [TONE_MARKS[mark] for mark in decomposed if mark in TONE_MARKS]
    syllable = unicodedata.normalize(
        'NFC', ''.join(c for c in decomposed if c not in TONE_MARKS))
    if len(tones) > 1 or not SYLLABLE_RE.fullmatch(syllable):
        raise ValueError(f'not a pinyin syllable: {marked!r}')
    return syllable, tones[0] if tones else NEUTRAL_TONE


def located_readings(value):
    """'131.140:háng 136.100:héng' -> ['háng', 'héng'].

    Each item is one reading with the dictionary location(s) it is found
    at; several locations are comma-separated ('049.010,049.020:chǒu') and
    some carry a '*' marker.
    """
    return [item.rsplit(':', 1)[1] for item in value.split(' ')]


def mandarin_reading(fields):
    """The customary reading.  Where kMandarin has two values the first is
    the mainland one and the second the Taiwan one ('de dì' for 地)."""
    return fields['kMandarin'].split(' ')[0]


def char_readings(fields):
    """Readings as (syllable, tone): the 2013 standard's set, or the 1983
    Xiandai Hanyu Cidian's where the 2013 one lacks the character, always
    with the customary reading added."""
    marked = []
    for field in ('kTGHZ2013', 'kXHC1983'):
        if field in fields:
            marked = located_readings(fields[field])
            break
    marked.append(mandarin_reading(fields))
    return list(dict.fromkeys(split_tone(reading) for reading in marked))


def most_common_reading(fields, readings):
    """The reading with the highest kHanyuPinlu count (first listed on a
    tie) if it is one of the character's readings, else the customary one.

    kHanyuPinlu: 'shàng(12308) shang(392)'.  Its top reading can lie outside
    the reading set, e.g. the erhua suffix r of 儿.
    """
    counts = []
    for item in fields.get('kHanyuPinlu', '').split():
        reading, count = item[:-1].split('(')
        counts.append((int(count), split_tone(reading)))
    if counts:
        best = max(counts, key=lambda entry: entry[0])[1]
        if best in readings:
            return best
    return split_tone(mandarin_reading(fields))


def reading_weight(char_weights, syllable):
    """Weight of one toneless reading; the table spells ü as v or u."""
    for spelling in (syllable.replace('ü', 'v'), syllable.replace('ü', 'u')):
        if spelling in char_weights:
            return char_weights[spelling]
    return 0


def best_tone_order(syllable, tones, hanzi_info):
    """Order the tone records of one syllable so that as much frequency
    weight as possible finds its character's most common reading first.

    The batch converter takes each character's first reading in file order
    and the query view lists readings in record order, so this decides the
    conversion quality on real text.  Ties go to plain tone order.
    """
    contenders = []
    for info in hanzi_info.values():
        common_syllable, common_tone = info['most_common']
        if common_syllable == syllable:
            own_tones = {tone for syl, tone in info['readings']
                         if syl == syllable}
            contenders.append((own_tones, common_tone, info['frequency']))

    def score(order):
        rank = {tone: position for position, tone in enumerate(order)}
        return sum(frequency for own_tones, common_tone, frequency
                   in contenders
                   if min(own_tones, key=rank.get) == common_tone)

    # permutations() of sorted tones runs in lexicographic order and max()
    # keeps the first best, which settles ties by plain tone order.
    return max(itertools.permutations(sorted(tones)), key=score)


def collect_hanzi_info(unihan, pinyin_weights, wubi86_rows):
    """Per GB2312 hanzi: readings, most common reading, the weights that
    order characters within a record, and its code-page-936 bytes."""
    wubi86_weight = {}
    for char, _, weight in wubi86_rows:
        wubi86_weight[char] = max(weight, wubi86_weight.get(char, weight))
    info = {}
    for char in gb2312_hanzi():
        fields = unihan[char]
        readings = char_readings(fields)
        char_weights = pinyin_weights.get(char, {})
        info[char] = {
            'readings': readings,
            'most_common': most_common_reading(fields, readings),
            'weights': char_weights,
            'frequency': sum(char_weights.values()),
            'wubi86_weight': wubi86_weight.get(char, 0),
            'cp936': cp936(char),
        }
    return info


def record_order_key(info, syllable):
    """Most frequent first: weight of this reading, then Wubi 86 weight,
    then GB2312 order."""
    return (-reading_weight(info['weights'], syllable),
            -info['wubi86_weight'], info['cp936'])


def pinyin_lines(hanzi_info):
    records = {}
    for char, info in hanzi_info.items():
        for syllable, tone in info['readings']:
            records.setdefault(syllable, {}).setdefault(tone, []).append(char)
    lines = []
    for syllable in sorted(records):
        by_tone = records[syllable]
        for tone in best_tone_order(syllable, by_tone, hanzi_info):
            chars = sorted(by_tone[tone], key=lambda char: record_order_key(
                hanzi_info[char], syllable))
            lines.append(f'{syllable}{tone}={"".join(chars)}')
    return lines


# --- word file -----------------------------------------------------------

WORD_PINYIN_FILE = 'word_pinyin.txt'


def word_pinyin_lines():
    """'银行\tyin2 hang2' lines for the word-aware pinyin conversion.

    phrase_pinyin.txt: 'word: reading reading ...  # comment', one tone-marked
    reading per character.  Kept: words of two or more characters that code
    page 936 writes with two bytes each.  A word listed twice keeps its first
    line.  The table writes 一 and 不 as read in context (一个 yí gè, 不是
    bú shì); the conversion writes the base tones yī and bù as the spelling
    rules ask, so those become tone 1 and 4.  Neutral tones stay (晚上 wan3
    shang5).  Readings are numbered like the pinyin file's keys, ü included,
    so the application renders both alike.  Lines in the table's order.
    """
    marks = {'\u0304': '1', '\u0301': '2', '\u030c': '3', '\u0300': '4'}
    base_tones = {'一': 'yi1', '不': 'bu4'}
    seen = set()
    lines = []
    with open(SOURCES_DIR / 'phrase_pinyin.txt', encoding='utf-8') as table:
        for line in table:
            line = line.split('#', 1)[0].strip()
            if not line:
                continue
            word, readings = line.split(': ', 1)
            readings = readings.split()
            if (word in seen or len(word) < 2 or len(readings) != len(word)
                    or not all(is_double_byte(char) for char in word)):
                continue
            seen.add(word)
            numbered = []
            for char, marked in zip(word, readings):
                decomposed = unicodedata.normalize('NFD', marked)
                tone = ''.join(marks.get(c, '') for c in decomposed) or '5'
                syllable = unicodedata.normalize(
                    'NFC', ''.join(c for c in decomposed if c not in marks))
                if len(tone) != 1 or not SYLLABLE_RE.fullmatch(syllable):
                    sys.exit(f'{word}: not a pinyin syllable: {marked!r}')
                if char in base_tones and tone != '5':
                    numbered.append(base_tones[char])
                else:
                    numbered.append(syllable + tone)
            lines.append(f'{word}\t{" ".join(numbered)}')
    return lines


# --- output ---------------------------------------------------------------

def dictionary_text(lines):
    return ''.join(line + '\r\n' for line in lines)


def write_dictionary(path, text):
    for char in set(text):
        if char > '\x7f' and not is_double_byte(char):
            sys.exit(f'{path.name}: {char!r} has no two-byte code')
    path.write_bytes(text.encode('gbk'))


def main():
    parser = argparse.ArgumentParser(
        description='Generate the Wubi and pinyin dictionary files.')
    parser.add_argument('--out', type=pathlib.Path, default=DEFAULT_OUT_DIR,
                        help='output folder (default: %(default)s)')
    out_dir = parser.parse_args().out
    out_dir.mkdir(parents=True, exist_ok=True)

    wubi86_rows = read_wubi86()
    wubi98_rows = read_wubi98()
    hanzi_info = collect_hanzi_info(read_unihan(), read_pinyin_weights(),
                                    wubi86_rows)

    pinyin_text = dictionary_text(pinyin_lines(hanzi_info))
    if len(pinyin_text) >= PINYIN_CHAR_LIMIT:
        sys.exit(f'{PINYIN_FILE} would have {len(pinyin_text)} characters, '
                 f'the limit is {PINYIN_CHAR_LIMIT - 1}')

    wubi86_lines = wubi_lines(
        [(char, code) for char, code, _ in wubi86_rows],
        first_candidates_86(wubi86_rows))
    wubi98_lines = wubi_lines(wubi98_rows, first_candidates_98(wubi98_rows))
    write_dictionary(out_dir / WUBI86_FILE, dictionary_text(wubi86_lines))
    write_dictionary(out_dir / WUBI98_FILE, dictionary_text(wubi98_lines))
    write_dictionary(out_dir / PINYIN_FILE, pinyin_text)
    (out_dir / WORD_PINYIN_FILE).write_bytes(
        ''.join(line + '\n' for line in word_pinyin_lines()).encode('utf-8'))


if __name__ == '__main__':
    main()
