#!/usr/bin/env python3
"""Generate Zhavik's dictionary files from the open tables in sources/.

    img/1.jpg  Wubi 86 codes    (from wubi86_rime.tsv)
    img/2.jpg  Wubi 98 codes    (from wubi98_fcitx5.tsv)
    img/3.jpg  pinyin readings  (from unihan_readings.tsv, pinyin_data.txt,
                                 phrase_pinyin.txt, pinyin_overrides.tsv,
                                 pinyin_simp_weights.tsv and wubi86_rime.tsv)
    img/word_pinyin.txt  the readings of words  (from phrase_pinyin.txt)

Despite the extension the three .jpg files are plain text in code page 936
with CR LF after every line; the application reads them in that form.  The
word file is UTF-8 with LF, the program's own.  The output is
byte-for-byte deterministic, so the committed files can be checked against
a fresh run.

Usage: python3 tools/make_dictionaries.py [--out DIR]
"""

import argparse
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

# The browser holds record positions as 16-bit numbers: the records of the
# GB2312 hanzi must stand below this position (counting CR LF as two keeps
# it safe).
PINYIN_CHAR_LIMIT = 32767

# Combining tone marks after NFD decomposition.  The diaeresis of ü is not
# a tone mark and is recomposed afterwards.
TONE_MARKS = {'\u0304': 1, '\u0301': 2, '\u030c': 3, '\u0300': 4}
NEUTRAL_TONE = 5
SYLLABLE_RE = re.compile('[a-zü]+')
KEY_RE = re.compile('([a-zü]+)([1-5])')
# Unicode names of hanzi, 〇 included; ideographic punctuation is not.
HANZI_NAMES = ('CJK UNIFIED IDEOGRAPH', 'CJK COMPATIBILITY IDEOGRAPH',
               'IDEOGRAPHIC NUMBER ZERO')


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

def refuse(name, number, line):
    """A source row the generator cannot read stops the run: dropping it
    would lose readings or codes without anyone noticing."""
    sys.exit(f'{name}, line {number}: cannot read {line!r}')


def source_lines(name):
    """(line number, line) of a UTF-8 source file; '#' lines are headers."""
    with open(SOURCES_DIR / name, encoding='utf-8') as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip('\n')
            if line and not line.startswith('#'):
                yield number, line


def read_table(name, columns):
    """Rows of a tab-separated source table."""
    for number, line in source_lines(name):
        row = line.split('\t')
        if len(row) != columns:
            refuse(name, number, line)
        yield row


def read_wubi86():
    """(char, code, weight) rows of the 86 table, in file order.

    wubi86_rime.tsv: char, code, weight.  Weights are mostly integers but a
    few are decimals (450.5), hence Decimal.  Codes starting with z are the
    table's wildcard lookups with listing-order weights, not input codes.
    """
    return [(char, code, Decimal(weight))
            for char, code, weight in read_table('wubi86_rime.tsv', 3)
            if not code.startswith('z')]


def read_wubi98():
    """(char, code) rows of the 98 table, in file order.

    wubi98_fcitx5.tsv: code, char; the characters of a code are listed in
    the order the input method offers them.
    """
    return [(char, code) for code, char in read_table('wubi98_fcitx5.tsv', 2)]


def read_unihan():
    """Map char -> {field: value}.

    unihan_readings.tsv: U+code, field, value, for the fields kMandarin,
    kTGHZ2013, kXHC1983, kHanyuPinyin and kHanyuPinlu.
    """
    fields = {}
    checks = {
        'kTGHZ2013': located_readings,
        'kXHC1983': located_readings,
        'kMandarin': lambda value: mandarin_reading({'kMandarin': value}),
        'kHanyuPinlu': lambda value: pinlu_counts({'kHanyuPinlu': value}),
    }
    for number, line in source_lines('unihan_readings.tsv'):
        try:
            code_point, field, value = line.split('\t')
            char = chr(int(code_point.removeprefix('U+'), 16))
            checks.get(field, str)(value)
        except ValueError:
            refuse('unihan_readings.tsv', number, line)
        fields.setdefault(char, {})[field] = value
    return fields


def read_pinyin_weights():
    """Map char -> {toneless reading: weight}.

    pinyin_simp_weights.tsv: char, toneless reading, weight.  ü is spelled
    v (lv 绿, nv 女) or u (lue 略, nue 虐).
    """
    weights = {}
    for char, reading, weight in read_table('pinyin_simp_weights.tsv', 3):
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


# --- pinyin readings -----------------------------------------------------

def split_tone(marked):
    """'lǜ' -> ('lü', 4); a syllable without a tone mark is neutral (5)."""
    decomposed = unicodedata.normalize('NFD', marked)
    tones = [TONE_MARKS[mark] for mark in decomposed if mark in TONE_MARKS]
    syllable = unicodedata.normalize(
        'NFC', ''.join(c for c in decomposed if c not in TONE_MARKS))
    if len(tones) > 1 or not SYLLABLE_RE.fullmatch(syllable):
        raise ValueError(f'not a pinyin syllable: {marked!r}')
    return syllable, tones[0] if tones else NEUTRAL_TONE


def key_of(reading):
    """('zhong', 1) -> 'zhong1', the form the pinyin file writes."""
    return f'{reading[0]}{reading[1]}'


def located_readings(value):
    """'131.140:háng 136.100:héng' -> [('hang', 2), ('heng', 2)].

    Each item is one reading with the dictionary location(s) it is found
    at; several locations are comma-separated ('049.010,049.020:chǒu') and
    some carry a '*' marker.  Readings with ê (欸 ê̄) are left out: keys
    are spelled in a-z and ü only.
    """
    return [split_tone(reading) for reading in
            (item.rsplit(':', 1)[1] for item in value.split(' '))
            if not has_e_circumflex(reading)]


def has_e_circumflex(reading):
    return '\u0302' in unicodedata.normalize('NFD', reading)


def mandarin_reading(fields):
    """The customary reading.  Where kMandarin has two values the first is
    the mainland one and the second the Taiwan one ('de dì' for 地)."""
    return split_tone(fields['kMandarin'].split(' ')[0])


def pinlu_counts(fields):
    """kHanyuPinlu 'shàng(12308) shang(392)' -> [(('shang', 4), 12308), ...]:
    how often each reading occurs in a corpus of modern texts."""
    counts = []
    for item in fields.get('kHanyuPinlu', '').split():
        reading, count = item[:-1].split('(')
        counts.append((split_tone(reading), int(count)))
    return counts


def read_pinyin_data():
    """Char -> its readings, most usual first, for two-byte characters.

    pinyin_data.txt: 'U+8BF4: shuō,shuì,yuè  # 说'; ê is left out as in
    located_readings.
    """
    row_re = re.compile(r'U\+([0-9A-F]{4,5}): (\S+)  # (.)')
    readings = {}
    for number, line in source_lines('pinyin_data.txt'):
        match = row_re.match(line)
        if match is None or chr(int(match[1], 16)) != match[3]:
            refuse('pinyin_data.txt', number, line)
        if not is_double_byte(match[3]):
            continue
        try:
            readings[match[3]] = [
                split_tone(reading) for reading in match[2].split(',')
                if not has_e_circumflex(reading)]
        except ValueError:
            refuse('pinyin_data.txt', number, line)
    return readings


def read_phrase_table():
    """(word, [(syllable, tone), ...]) rows of the word table, in its order.

    phrase_pinyin.txt: '说明: shuō míng', one tone-marked reading per
    character, an optional '# comment' after it; a word read two ways has
    two lines.
    """
    for number, line in source_lines('phrase_pinyin.txt'):
        word, _, readings = line.split('#')[0].partition(':')
        word, readings = word.strip(), readings.split()
        if not word or len(word) != len(readings):
            refuse('phrase_pinyin.txt', number, line)
        try:
            parsed = [split_tone(reading) for reading in readings]
        except ValueError:
            refuse('phrase_pinyin.txt', number, line)
        yield word, parsed


def read_word_readings(phrase_table):
    """(char, reading) pairs that some word of the word table uses."""
    return {pair for word, readings in phrase_table
            for pair in zip(word, readings)}


OVERRIDE_ACTIONS = ('add', 'drop', 'usual')


def read_overrides():
    """[(char, reading, action)] from pinyin_overrides.tsv: char, numbered
    reading (zhei4), add / drop / usual, reason."""
    overrides = []
    for number, line in source_lines('pinyin_overrides.tsv'):
        columns = line.split('\t')
        match = (KEY_RE.fullmatch(columns[1]) if len(columns) == 4
                 else None)
        if (match is None or len(columns[0]) != 1
                or columns[2] not in OVERRIDE_ACTIONS or not columns[3]):
            refuse('pinyin_overrides.tsv', number, line)
        overrides.append((columns[0], (match[1], int(match[2])), columns[2]))
    return overrides


def revised_away(reading, standard):
    """A reading of the 1983 dictionary that the 2013 standard no longer
    has under any tone of its syllable is a different word (说 yuè, 那
    nèi); one whose syllable the standard keeps under another tone was
    revised in 1985 (框 kuāng -> kuàng) or is a tone sandhi (一 yí).  The
    neutral tones (里 li, 头 tou) are kept: the standard does not list
    them, readers expect them."""
    syllables = {syllable for syllable, _ in standard}
    return reading[1] != NEUTRAL_TONE and reading[0] in syllables


def reading_set(char, fields, pinyin_data, word_readings):
    """(readings, rule): the modern reading set of one hanzi.

    The 2013 standard is the authority where it lists the character; the
    1983 dictionary adds its neutral tones and those other-syllable
    readings that the word table shows in use.  Elsewhere the 1983
    dictionary, else pinyin-data, else kMandarin.
    """
    if 'kTGHZ2013' in fields:
        standard = located_readings(fields['kTGHZ2013'])
        extra = [reading for reading
                 in (located_readings(fields['kXHC1983'])
                     if 'kXHC1983' in fields else [])
                 if reading not in standard
                 and not revised_away(reading, standard)
                 and (reading[1] == NEUTRAL_TONE
                      or (char, reading) in word_readings)]
        return standard + extra, 'kTGHZ2013' + (' + kXHC1983' if extra else '')
    if 'kXHC1983' in fields:
        return located_readings(fields['kXHC1983']), 'kXHC1983'
    if pinyin_data.get(char):
        return pinyin_data[char], 'pinyin-data'
    if 'kMandarin' in fields:
        return [mandarin_reading(fields)], 'kMandarin'
    return [], 'none'


def usual_reading(fields, readings, pinyin_data_order):
    """(reading, rule): the reading a reader gives the character alone.

    Corpus counts decide where they exist (kHanyuPinlu, first listed on a
    tie); a top reading outside the set (the erhua r of 儿) does not count.
    Else pinyin-data's order, which lists the most usual reading first,
    else kMandarin's customary reading, else the first of the set.
    """
    counts = [(count, reading) for reading, count in pinlu_counts(fields)
              if reading in readings]
    if counts:
        top = max(count for count, _ in counts)
        return next(r for c, r in counts if c == top), 'kHanyuPinlu'
    for reading in pinyin_data_order:
        if reading in readings:
            return reading, 'pinyin-data'
    if 'kMandarin' in fields and mandarin_reading(fields) in readings:
        return mandarin_reading(fields), 'kMandarin'
    return readings[0], 'first listed'


def apply_overrides(hanzi, overrides):
    """Applies the reviewed corrections; one that changes nothing is stale
    and stops the run, so the table cannot silently rot."""
    for char, reading, action in overrides:
        info = hanzi.get(char)
        readings = info['readings'] if info else []
        if action == 'add' and info and reading not in readings:
            readings.append(reading)
        elif action == 'drop' and reading in readings and len(readings) > 1:
            readings.remove(reading)
            if info['usual'] == reading:
                info['usual'], info['usual_rule'] = readings[0], 'override'
        elif action == 'usual' and reading in readings:
            info['usual'], info['usual_rule'] = reading, 'override'
            continue
        else:
            sys.exit(f'pinyin_overrides.tsv: {action} {key_of(reading)} '
                     f'for {char} changes nothing')
        if not info['set_rule'].endswith('override'):
            info['set_rule'] += ' + override'


def reading_weight(char_weights, syllable):
    """Weight of one toneless reading; the table spells ü as v or u."""
    for spelling in (syllable.replace('ü', 'v'), syllable.replace('ü', 'u')):
        if spelling in char_weights:
            return char_weights[spelling]
    return 0


def pinyin_hanzi():
    """The two-byte hanzi of code page 936: the GB2312 ones in code order,
    then the others (traditional, rare) in code order."""
    others = []
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            try:
                char = bytes((lead, trail)).decode('gbk')
            except UnicodeDecodeError:
                continue
            if (unicodedata.name(char, '').startswith(HANZI_NAMES)
                    and not is_gb2312_hanzi(char)):
                others.append(char)
    return gb2312_hanzi(), others


def collect_hanzi_info(unihan, pinyin_weights, wubi86_rows, pinyin_data,
                       word_readings, overrides):
    """Per hanzi: reading set, usual reading, how often it is used, the
    weights that order characters within a record, and its code-page-936
    bytes.  Hanzi without any reading in the sources are left out."""
    wubi86_weight = {}
    for char, _, weight in wubi86_rows:
        wubi86_weight[char] = max(weight, wubi86_weight.get(char, weight))
    gb2312, others = pinyin_hanzi()
    info = {}
    for char in gb2312 + others:
        fields = unihan.get(char, {})
        readings, set_rule = reading_set(char, fields, pinyin_data,
                                         word_readings)
        if not readings:
            continue
        readings = list(dict.fromkeys(readings))
        usual, usual_rule = usual_reading(fields, readings,
                                          pinyin_data.get(char, []))
        char_weights = pinyin_weights.get(char, {})
        # Typing frequency where the input method's table has the
        # character, else its corpus count; a rare character still counts.
        frequency = (sum(char_weights.values())
                     or sum(count for _, count in pinlu_counts(fields)) or 1)
        info[char] = {
            'readings': readings,
            'set_rule': set_rule,
            'usual': usual,
            'usual_rule': usual_rule,
            'gb2312': is_gb2312_hanzi(char),
            'weights': char_weights,
            'frequency': frequency,
            'wubi86_weight': wubi86_weight.get(char, 0),
            'cp936': cp936(char),
        }
    apply_overrides(info, overrides)
    return info


# --- record order ----------------------------------------------------------
#
# The lookup lists a character's readings in the order of the records that
# hold it, and the batch converter keeps the first, so the order of records
# decides what a text converts to.  The browser only needs the FIRST record
# of each syllable (its anchor) in alphabetical order, and uses only the
# first record of each key.  Every other record may stand anywhere after its
# syllable's anchor, which leaves room to put each character's usual reading
# before its other ones.

def usual_first_share(order, hanzi):
    """Frequency-weighted share of hanzi whose first record, in this key
    order, is their usual reading: the quantity the ordering maximises."""
    position = {key: index for index, key in enumerate(order)}
    total = won = 0
    for info in hanzi:
        keys = [key for key in info['readings'] if key in position]
        if not keys:
            continue
        total += info['frequency']
        if min(keys, key=position.get) == info['usual']:
            won += info['frequency']
    return won / total if total else 1.0


def usual_before_share(order, hanzi):
    """Like usual_first_share, but a character with several other readings
    earns a part for each one its usual reading precedes.  Smoother: a
    character that needs two records moved (着 behind zhe5: zhao1 and
    zhao2) rewards the first move already."""
    position = {key: index for index, key in enumerate(order)}
    won = 0
    for info in hanzi:
        others = [position[key] for key in info['readings']
                  if key in position and key != info['usual']]
        if others and info['usual'] in position:
            usual = position[info['usual']]
            won += (info['frequency'] * sum(usual < other for other in others)
                    / len(others))
    return won


def best_position(key, rest, allowed, hanzi, pairwise):
    """Where to put `key` back into `rest` (an index 0..len(rest), the key
    then stands before rest[index]) to serve the most frequency, scored as
    usual_before_share (pairwise) or usual_first_share; `hanzi` are the
    characters that hold `key`, and only indexes in `allowed` keep the
    anchors in order.  Ties keep the earliest index."""
    position = {other: index for index, other in enumerate(rest)}
    gain = [0] * (len(rest) + 2)   # difference array over the indexes

    def add(first, last, weight):
        gain[first] += weight
        gain[last + 1] -= weight

    for info in hanzi:
        others = [position[k] for k in info['readings']
                  if k != key and k in position]
        if not others:
            continue
        weight = info['frequency']
        if info['usual'] == key:
            if pairwise:
                for other in others:
                    add(0, other, weight / len(others))
            else:
                add(0, min(others), weight)
        elif info['usual'] in position:
            usual = position[info['usual']]
            if pairwise:
                add(usual + 1, len(rest), weight / len(others))
            elif usual == min(others):
                add(usual + 1, len(rest), weight)
    best, best_score, score = allowed.start, None, 0
    for index in range(len(rest) + 1):
        score += gain[index]
        if index in allowed and (best_score is None or score > best_score):
            best, best_score = index, score
    return best


def allowed_positions(key, rest, neighbours):
    """The indexes of `rest` where `key` may go back in without breaking
    the alphabetical order of the syllables' first records."""
    first_of = {}
    for index, (syllable, _) in enumerate(rest):
        first_of.setdefault(syllable, index)
    before, after = neighbours[key[0]]
    first_allowed = first_of[before] + 1 if before else 0
    next_anchor = first_of[after] if after else len(rest)
    own = first_of.get(key[0])
    # With a sibling record before the next anchor this key need not be
    # the anchor and may go anywhere after the previous one.
    if own is not None and own < next_anchor:
        return range(first_allowed, len(rest) + 1)
    return range(first_allowed, next_anchor + 1)


def initial_order(keys, hanzi_of_key):
    """Where the moves start: each syllable's anchor is its record whose
    characters lose least by standing first (the frequency of those whose
    usual reading is another), the anchors in alphabetical order; then all
    other records, those that are the usual reading of most first."""
    def harm(key):
        return sum(info['frequency'] for info in hanzi_of_key[key]
                   if info['usual'] != key)

    def merit(key):
        return sum(info['frequency'] if info['usual'] == key
                   else -info['frequency'] for info in hanzi_of_key[key])

    by_syllable = {}
    for key in sorted(keys):
        by_syllable.setdefault(key[0], []).append(key)
    anchors = [min(siblings, key=harm)
               for _, siblings in sorted(by_syllable.items())]
    others = sorted(set(keys) - set(anchors),
                    key=lambda key: (-merit(key), key))
    return anchors + others


def order_records(keys, hanzi_of_key):
    """Orders the keys (syllable, tone) of one run of records.

    Starts from initial_order and moves one key at a time to the
    place that serves the most frequency, as long as each syllable's first
    record still stands in alphabetical order of syllables, until no move
    gains: first by the smooth pairwise score, then by the exact one.
    hanzi_of_key gives the info of the characters each key holds.
    """
    order = initial_order(keys, hanzi_of_key)
    syllables = sorted({syllable for syllable, _ in keys})
    neighbours = {syllable: (syllables[index - 1] if index else None,
                             syllables[index + 1]
                             if index + 1 < len(syllables) else None)
                  for index, syllable in enumerate(syllables)}
    for pairwise, score in ((True, usual_before_share),
                            (False, usual_first_share)):
        for _ in range(30):
            moved = False
            for key in list(order):
                rest = [other for other in order if other != key]
                involved = hanzi_of_key[key]
                index = best_position(
                    key, rest, allowed_positions(key, rest, neighbours),
                    involved, pairwise)
                new_order = rest[:index] + [key] + rest[index:]
                # Only a strict gain counts, so that ties cannot cycle.
                if (new_order != order and score(new_order, involved)
                        > score(order, involved) + 1e-9):
                    order, moved = new_order, True
            if not moved:
                break
    return order


def record_order_key(info, syllable):
    """Most frequent first: weight of this reading, then Wubi 86 weight,
    then code-page-936 order."""
    return (-reading_weight(info['weights'], syllable),
            -info['wubi86_weight'], info['cp936'])


def record_lines(hanzi):
    """The records of one run: every key of these hanzi once, in the order
    that puts usual readings first."""
    members = {}
    for char, info in hanzi.items():
        for reading in info['readings']:
            members.setdefault(reading, []).append(char)
    hanzi_of_key = {key: [hanzi[char] for char in chars]
                    for key, chars in members.items()}
    lines = []
    for key in order_records(list(members), hanzi_of_key):
        chars = sorted(members[key],
                       key=lambda char: record_order_key(hanzi[char], key[0]))
        lines.append(f'{key_of(key)}={"".join(chars)}')
    return lines


def pinyin_runs(hanzi_info):
    """The three runs of the pinyin file.

    1. The GB2312 hanzi, then an empty record for each key of a GB2312
       syllable that only other hanzi have: the browser shows the first
       record of a key, so it shows each GB2312 syllable exactly as before.
    2. The other hanzi (traditional, rare) under the keys of run 1.
    3. The other hanzi under syllables only they have (hm 噷); the browser
       lists these syllables after the alphabetical ones of their letter.
    """
    gb2312 = {c: i for c, i in hanzi_info.items() if i['gb2312']}
    known = {reading for info in gb2312.values()
             for reading in info['readings']}
    syllables = {syllable for syllable, _ in known}
    tail_keys = {reading for info in hanzi_info.values()
                 if not info['gb2312'] for reading in info['readings']}
    placeholders = sorted(key for key in tail_keys - known
                          if key[0] in syllables)
    known.update(placeholders)
    runs = [record_lines(gb2312) + [f'{key_of(key)}=' for key in placeholders]]
    for keep in (lambda reading: reading in known,
                 lambda reading: reading not in known):
        run = {}
        for char, info in hanzi_info.items():
            readings = [r for r in info['readings'] if keep(r)]
            if not info['gb2312'] and readings:
                run[char] = dict(info, readings=readings)
        runs.append(record_lines(run))
    return runs


def pinyin_lines(hanzi_info):
    gb2312, shared, own = pinyin_runs(hanzi_info)
    first_part = dictionary_text(gb2312)
    if len(first_part) >= PINYIN_CHAR_LIMIT:
        sys.exit(f'{PINYIN_FILE}: the GB2312 records take '
                 f'{len(first_part)} characters, the limit is '
                 f'{PINYIN_CHAR_LIMIT - 1}')
    return gb2312 + shared + own


# --- word file -----------------------------------------------------------

WORD_PINYIN_FILE = 'word_pinyin.txt'


def word_pinyin_lines(phrase_table):
    """'银行\tyin2 hang2' lines for the word-aware pinyin conversion.

    Kept: words of two or more characters that code page 936 writes with
    two bytes each.  A word listed twice keeps its first line.  The table
    writes 一 and 不 as read in context (一个 yí gè, 不是 bú shì); the
    conversion writes the base tones yī and bù as the spelling rules ask, so
    those become tone 1 and 4.  Neutral tones stay (晚上 wan3 shang5).
    Readings are numbered like the pinyin file's keys, ü included, so the
    application renders both alike.  Lines in the table's order.
    """
    base_tones = {'一': ('yi', 1), '不': ('bu', 4)}
    seen = set()
    lines = []
    for word, readings in phrase_table:
        if (word in seen or len(word) < 2
                or not all(is_double_byte(char) for char in word)):
            continue
        seen.add(word)
        numbered = [key_of(base_tones[char])
                    if char in base_tones and reading[1] != NEUTRAL_TONE
                    else key_of(reading)
                    for char, reading in zip(word, readings)]
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
    unihan = read_unihan()
    pinyin_weights = read_pinyin_weights()
    pinyin_data = read_pinyin_data()
    # The readings and the word file both come from the word table, read once.
    phrase_table = list(read_phrase_table())
    hanzi_info = collect_hanzi_info(
        unihan, pinyin_weights, wubi86_rows, pinyin_data,
        read_word_readings(phrase_table), read_overrides())
    pinyin_text = dictionary_text(pinyin_lines(hanzi_info))

    wubi86_lines = wubi_lines(
        [(char, code) for char, code, _ in wubi86_rows],
        first_candidates_86(wubi86_rows))
    wubi98_lines = wubi_lines(wubi98_rows, first_candidates_98(wubi98_rows))
    write_dictionary(out_dir / WUBI86_FILE, dictionary_text(wubi86_lines))
    write_dictionary(out_dir / WUBI98_FILE, dictionary_text(wubi98_lines))
    write_dictionary(out_dir / PINYIN_FILE, pinyin_text)
    (out_dir / WORD_PINYIN_FILE).write_bytes(
        ''.join(line + '\n' for line in word_pinyin_lines(phrase_table))
        .encode('utf-8'))


if __name__ == '__main__':
    main()
