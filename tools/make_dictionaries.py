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
import collections
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


# The word sources, all from phrase-pinyin-data, in the order of their
# authority over a word's syllables (the order in which phrase-pinyin-data
# itself merges them: its hand corrections last and strongest).
HAND_CORRECTIONS = 'phrase_overwrite.txt'
PHRASE_TABLE = 'phrase_pinyin.txt'
CEDICT = 'phrase_cc_cedict.txt'
IDIOMS = 'phrase_zdic_cybs.txt'
DI_WORDS = 'phrase_di.txt'
WORD_SOURCES = (HAND_CORRECTIONS, PHRASE_TABLE, CEDICT, IDIOMS, DI_WORDS)


def read_word_source(name):
    """(words, mismatched): {word: [reading, ...]} of one word source, each
    reading a tuple of (syllable, tone), distinct readings in file order;
    and how many rows were left out because they give a word as many
    readings as it has characters.

    Rows: '说明: shuō míng', one tone-marked reading per character, an
    optional '# comment' after them; a word read two ways has two rows,
    which the hand corrections may write '那些_2: nèi xiē'.
    """
    words = {}
    mismatched = 0
    for number, line in source_lines(name):
        word, colon, readings = line.split('#')[0].partition(':')
        word = re.sub('_[0-9]+$', '', word.strip())
        try:
            if not colon or not word:
                raise ValueError('no word')
            parsed = tuple(split_tone(reading) for reading in readings.split())
        except ValueError:
            refuse(name, number, line)
        if len(parsed) != len(word):
            mismatched += 1
            continue
        if parsed not in words.setdefault(word, []):
            words[word].append(parsed)
    return words, mismatched


def read_word_sources():
    """{source name: (words, mismatched)} of every word source."""
    return {name: read_word_source(name) for name in WORD_SOURCES}


def read_word_readings(phrase_table):
    """(char, reading) pairs that some word of the phrase table uses."""
    return {pair for word, readings in phrase_table.items()
            for reading in readings for pair in zip(word, reading)}


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
            'pinlu': pinlu_counts(fields),
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
# decides what a text converts to.  The browser lists a letter's syllables in
# the order of their first records (the anchors, which therefore stand in
# alphabetical order) and shows, per key, only the key's first record.
#
# One record per key fixes one order between two keys for every character
# that has both (六 liù before lù, 陆 lù before liù), and the anchors fix
# more.  Where a character's usual reading would stand after another of its
# readings, that other reading leaves the key's first record for a later
# record of the same key: the lookup lists it last, the browser no longer
# shows it.  The order is chosen so that these displaced readings are as few
# and as rarely used as possible.  A syllable whose anchor would displace a
# reading gets an empty anchor record instead where one of its keys is free
# (no hanzi of the run has it): a few characters of the file, no loss.

def displacement_costs(info, shown):
    """Reading -> what it costs to displace this character's reading: one
    for the entry, plus, where the browser shows the record, how often the
    reading is typed: the input method's weight of its syllable, shared
    among the character's tones of that syllable as the corpus counts them
    (划 huà 438, huá 68), evenly where it has no counts."""
    counts = dict(info['pinlu'])
    costs = {}
    for reading in info['readings']:
        if reading == info['usual']:
            continue
        usage = 0
        if shown:
            tones = [other for other in info['readings']
                     if other[0] == reading[0]]
            share = ((counts.get(reading, 0) + 1)
                     / sum(counts.get(other, 0) + 1 for other in tones))
            usage = reading_weight(info['weights'], reading[0]) * share
        costs[reading] = 1 + usage
    return costs


# The lookup lists a character's other readings after its usual one, the
# more used first where the order of records leaves room: a preference far
# too light to displace any reading for it.
TIE_WEIGHT = 1e-6


def preferences(info):
    """(earlier, later, weight): the orders of two keys this character asks
    for.  Its usual reading before each other one, at the cost of
    displacing that one; the others by their costs, at TIE_WEIGHT."""
    costs = info['costs']
    pairs = [(info['usual'], reading, cost) for reading, cost in costs.items()
             if info['usual'] is not None]
    others = sorted(costs, key=lambda reading: (-costs[reading], reading))
    pairs += [(earlier, later, TIE_WEIGHT)
              for index, earlier in enumerate(others)
              for later in others[index + 1:]]
    return pairs


def order_cost(order, hanzi):
    """What this key order costs: the weights of the preferences it breaks,
    mostly the costs of the readings that stand before their character's
    usual reading."""
    position = {key: index for index, key in enumerate(order)}
    return sum(weight for info in hanzi
               for earlier, later, weight in info['pairs']
               if earlier in position and later in position
               and position[later] < position[earlier])


def best_position(key, position, allowed, hanzi):
    """Where to put `key` back into the order of the other keys (`position`
    gives their indexes; index i puts the key before the key at i) so that
    it costs least, scored as order_cost; `hanzi` are the characters that
    hold `key`, and only indexes in `allowed` keep the anchors in order.
    Returns the index with the lowest score (the earliest on a tie), the
    score, and the score of every index as a function."""
    steps = {}   # index -> change of the cost from that index on

    def add(first, weight):
        steps[first] = steps.get(first, 0) + weight

    base = 0
    for info in hanzi:
        for earlier, later, weight in info['pairs']:
            if earlier == key and later in position:
                add(position[later] + 1, weight)
            elif later == key and earlier in position:
                base += weight
                add(position[earlier] + 1, -weight)

    def score_at(index):
        return base + sum(change for at, change in steps.items()
                          if at <= index)

    best, best_score, score = allowed.start, None, base
    changes = sorted(steps.items())
    taken = 0
    for index in [allowed.start] + [at for at, _ in changes
                                    if allowed.start < at < allowed.stop]:
        while taken < len(changes) and changes[taken][0] <= index:
            score += changes[taken][1]
            taken += 1
        if best_score is None or score < best_score - 1e-9:
            best, best_score = index, score
    return best, best_score, score_at


def allowed_positions(key, first_of, size, neighbours):
    """The indexes of the order of the other keys (`size` of them, and
    first_of their syllables' first indexes) where `key` may go without
    breaking the alphabetical order of the syllables' first records."""
    before, after = neighbours[key[0]]
    first_allowed = first_of[before] + 1 if before else 0
    next_anchor = first_of[after] if after else size
    own = first_of.get(key[0])
    # With a sibling record before the next anchor this key need not be
    # the anchor and may go anywhere after the previous one.
    if own is not None and own < next_anchor:
        return range(first_allowed, size + 1)
    return range(first_allowed, next_anchor + 1)


def initial_order(keys, hanzi_of_key, empty_anchors):
    """Where the moves start: each syllable's anchor is its record that
    displaces least by standing first, preceded by the syllable's empty
    anchor where it has one (so that the moves are free to put that record
    elsewhere), the anchors in alphabetical order; then all other records,
    those that are the usual reading of most first."""
    def harm(key):
        return sum(info['costs'][key] for info in hanzi_of_key[key]
                   if info['usual'] != key)

    def merit(key):
        return sum(sum(info['costs'].values()) if info['usual'] == key
                   else -info['costs'][key] for info in hanzi_of_key[key])

    empty = set(empty_anchors.values())
    by_syllable = {}
    for key in sorted(set(keys) - empty):
        by_syllable.setdefault(key[0], []).append(key)
    anchors = []
    for syllable, siblings in sorted(by_syllable.items()):
        if syllable in empty_anchors:
            anchors.append(empty_anchors[syllable])
        anchors.append(min(siblings, key=harm))
    others = sorted(set(keys) - set(anchors),
                    key=lambda key: (-merit(key), key))
    return anchors + others


def improve(order, hanzi_of_key, neighbours, keys=None):
    """Moves one key at a time to the place where it costs least (with
    neighbours, keeping the anchors in order) until no move gains.  The
    keys are looked at in turn, first `keys` (default: all); once a key
    moves, the keys of the characters it holds and of its syllable and the
    neighbouring ones are looked at again."""
    syllable_keys = {}
    for key in order:
        syllable_keys.setdefault(key[0], []).append(key)
    position = {key: index for index, key in enumerate(order)}
    queue = collections.deque(order if keys is None else keys)
    queued = set(queue)
    while queue:
        key = queue.popleft()
        queued.discard(key)
        at = position[key]

        def rest_index(other):
            return position[other] - (position[other] > at)

        involved = hanzi_of_key[key]
        rest = {other: rest_index(other) for info in involved
                for other in info['readings']
                if other != key and other in position}
        related = {key[0]}
        if neighbours is None:
            allowed = range(len(order))
        else:
            related.update(s for s in neighbours[key[0]] if s)
            first_of = {s: min(rest_index(k) for k in syllable_keys[s]
                               if k != key)
                        for s in related
                        if any(k != key for k in syllable_keys[s])}
            allowed = allowed_positions(key, first_of, len(order) - 1,
                                        neighbours)
        index, score, score_at = best_position(key, rest, allowed, involved)
        # Only a strict gain counts, so that ties cannot cycle.
        if index == at or score >= score_at(at) - 1e-9:
            continue
        order.insert(index, order.pop(at))
        position = {other: i for i, other in enumerate(order)}
        again = [other for info in involved for other in info['readings']]
        again += [other for s in sorted(related) for other in syllable_keys[s]]
        for other in again:
            if other not in queued and other in position:
                queue.append(other)
                queued.add(other)
    return order


def anchors_in_order(order):
    first = list(dict.fromkeys(syllable for syllable, _ in order))
    return first == sorted(first)


def displaced_pairs(order, hanzi):
    """(info, reading) for every reading that stands before its character's
    usual reading, the most costly first."""
    position = {key: index for index, key in enumerate(order)}
    pairs = [(info, reading) for info in hanzi
             if info['usual'] in position
             for reading in info['costs']
             if reading in position
             and position[reading] < position[info['usual']]]
    return sorted(pairs, key=lambda pair: (-pair[0]['costs'][pair[1]],
                                           pair[0]['cp936'], pair[1]))


def perturbed(order, hanzi_of_key, neighbours, hanzi):
    """Local search stops where no single move gains, though moving two
    keys might.  For each displaced reading this tries putting it right
    after its character's usual reading, or the usual reading right before
    it, lets improve() settle the consequences, and keeps the result when
    it displaces less; until no such try gains."""
    cost = order_cost(order, hanzi)
    tried = set()
    while True:
        for info, reading in displaced_pairs(order, hanzi):
            usual = info['usual']
            for moving, anchor, after in ((reading, usual, True),
                                          (usual, reading, False)):
                candidate = [key for key in order if key != moving]
                at = candidate.index(anchor) + after
                candidate.insert(at, moving)
                if tuple(candidate) in tried or (
                        neighbours and not anchors_in_order(candidate)):
                    continue
                tried.add(tuple(candidate))
                nearby = {key[0] for held in (moving, anchor)
                          for holder in hanzi_of_key[held]
                          for key in holder['readings']}
                if neighbours:
                    nearby |= {side for syllable in nearby
                               for side in neighbours[syllable] if side}
                candidate = improve(candidate, hanzi_of_key, neighbours,
                                    [key for key in candidate
                                     if key[0] in nearby])
                candidate_cost = order_cost(candidate, hanzi)
                # A displaced reading less, not a lighter preference.
                if candidate_cost < cost - 0.5:
                    order, cost = candidate, candidate_cost
                    break
            else:
                continue
            break
        else:
            return order


def order_records(keys, hanzi_of_key, shown, empty_anchors=None):
    """Orders the keys (syllable, tone) of one run of records so that as
    little cost as possible is displaced: improve() from initial_order,
    then, for a run the browser shows, perturbed().

    With empty_anchors (syllable -> a free key), each syllable's first
    record must stand in alphabetical order of syllables, and the free
    keys may serve as empty first records; without, the order is free.
    hanzi_of_key gives the info of the characters each key holds.
    """
    anchored = empty_anchors is not None
    empty_anchors = empty_anchors or {}
    for key in empty_anchors.values():
        hanzi_of_key[key] = []
    keys = list(keys) + list(empty_anchors.values())
    syllables = sorted({syllable for syllable, _ in keys})
    neighbours = None
    if anchored:
        neighbours = {syllable: (syllables[index - 1] if index else None,
                                 syllables[index + 1]
                                 if index + 1 < len(syllables) else None)
                      for index, syllable in enumerate(syllables)}
    hanzi = list({id(info): info for infos in hanzi_of_key.values()
                  for info in infos}.values())
    order = improve(initial_order(keys, hanzi_of_key, empty_anchors),
                    hanzi_of_key, neighbours)
    if shown:
        order = perturbed(order, hanzi_of_key, neighbours, hanzi)
        order = fewer_empty_anchors(order, set(empty_anchors.values()),
                                    hanzi)
    return without_needless_anchors(order, set(empty_anchors.values()))


def fewer_empty_anchors(order, empty, hanzi):
    """Where one of a syllable's records can stand right after its empty
    anchor record at no cost, puts it there, so that it can be the anchor
    and the empty record goes."""
    cost = order_cost(order, hanzi)
    for key in [key for key in order if key in empty]:
        for sibling in [other for other in order
                        if other[0] == key[0] and other != key]:
            candidate = [other for other in order if other != sibling]
            candidate.insert(candidate.index(key) + 1, sibling)
            # Never at the price of a displaced reading (each costs 1 or
            # more), whatever the light preferences say.
            if order_cost(candidate, hanzi) < cost + 0.5:
                order = candidate
                break
    return order


def without_needless_anchors(order, empty):
    """Drops the empty records that are no syllable's first record, and
    those whose syllable's first real record already stands before the
    next syllable's first record: that record can be the anchor."""
    first_of = {}
    for index, (syllable, _) in enumerate(order):
        first_of.setdefault(syllable, index)
    next_first = dict(zip(sorted(first_of), sorted(first_of)[1:]))
    kept = []
    for index, key in enumerate(order):
        if key in empty:
            if first_of[key[0]] != index:
                continue
            real = next(later for later in range(index + 1, len(order))
                        if order[later][0] == key[0])
            following = next_first.get(key[0])
            if following is None or real < first_of[following]:
                continue
        kept.append(key)
    return kept


def record_order_key(info, syllable):
    """Most frequent first: weight of this reading, then Wubi 86 weight,
    then code-page-936 order."""
    return (-reading_weight(info['weights'], syllable),
            -info['wubi86_weight'], info['cp936'])


def record_lines(hanzi, shown, empty_anchors=None, trailing=True):
    """(lines, displaced): the records of one run, every key of these hanzi
    once in the order of order_records (with the empty anchors it keeps),
    and the readings {char: [reading, ...]} that leave the first record of
    their key because they would stand before the character's usual
    reading.  With `trailing` these go to a last record of their key at
    the end of the run, keys in the same order, and none are returned.
    `shown`: whether the browser shows the run, which makes a displaced
    reading cost more the more it is used."""
    members = {}
    for char, info in hanzi.items():
        info['costs'] = displacement_costs(info, shown)
        info['pairs'] = preferences(info)
        for reading in info['readings']:
            members.setdefault(reading, []).append(char)
    hanzi_of_key = {key: [hanzi[char] for char in chars]
                    for key, chars in members.items()}
    order = order_records(list(members), hanzi_of_key, shown, empty_anchors)
    position = {key: index for index, key in enumerate(order)}
    displaced = set()
    for char, info in hanzi.items():
        if info['usual'] in position:
            usual = position[info['usual']]
            displaced.update((char, reading) for reading in info['readings']
                             if position[reading] < usual)

    def line(key, chars):
        chars = sorted(chars,
                       key=lambda char: record_order_key(hanzi[char], key[0]))
        return f'{key_of(key)}={"".join(chars)}'

    lines = [line(key, [char for char in members.get(key, [])
                        if (char, key) not in displaced])
             for key in order]
    if trailing:
        lines += [line(key, [char for char in members.get(key, [])
                             if (char, key) in displaced])
                  for key in order
                  if any((char, key) in displaced
                         for char in members.get(key, []))]
        displaced = set()
    moved = {}
    for char, reading in sorted(displaced,
                                key=lambda pair: (pair[0], position[pair[1]])):
        moved.setdefault(char, []).append(reading)
    return lines, moved


def empty_anchor_keys(used, placeholders):
    """Syllable -> the key its empty anchor record may take: a key of the
    syllable that only other hanzi have (its record is empty in this run
    anyway), else the neutral tone, else the lowest tone that none of the
    run's hanzi has."""
    tones = {}
    for syllable, tone in used:
        tones.setdefault(syllable, set()).add(tone)
    free = {}
    for syllable, tone in placeholders:
        free.setdefault(syllable, (syllable, tone))
    for syllable, taken in tones.items():
        spare = [tone for tone in (NEUTRAL_TONE, 1, 2, 3, 4)
                 if tone not in taken]
        if spare:
            free.setdefault(syllable, (syllable, spare[0]))
    return free


def pinyin_runs(hanzi_info):
    """The three runs of the pinyin file.

    1. The GB2312 hanzi, then an empty record for each key of a GB2312
       syllable that only other hanzi have: the browser shows the first
       record of a key, so it shows each GB2312 syllable with its GB2312
       hanzi only.
    2. The other hanzi (traditional, rare) under the keys of run 1, and
       the readings of GB2312 hanzi displaced from run 1.  The browser
       never shows these records, so their order is free; a reading that
       would still stand before its character's usual one goes to a last
       record of its key.
    3. The other hanzi under syllables only they have (hm 噷); the browser
       lists these syllables after the alphabetical ones of their letter.
    """
    gb2312 = {c: dict(i) for c, i in hanzi_info.items() if i['gb2312']}
    known = {reading for info in gb2312.values()
             for reading in info['readings']}
    syllables = {syllable for syllable, _ in known}
    tail_keys = {reading for info in hanzi_info.values()
                 if not info['gb2312'] for reading in info['readings']}
    placeholders = sorted(key for key in tail_keys - known
                          if key[0] in syllables)
    first, displaced = record_lines(
        gb2312, True, empty_anchor_keys(known, placeholders), trailing=False)
    anchors = {line.partition('=')[0] for line in first}
    first += [f'{key_of(key)}=' for key in placeholders
              if key_of(key) not in anchors]
    known.update(placeholders)
    # Their usual readings stand in run 1, before all of these.
    shared = {char: dict(gb2312[char], readings=readings, usual=None)
              for char, readings in displaced.items()}
    own = {}
    for char, info in hanzi_info.items():
        if not info['gb2312']:
            for run, keep in ((shared, True), (own, False)):
                readings = [r for r in info['readings']
                            if (r in known) == keep]
                if readings:
                    run[char] = dict(info, readings=readings)
    own_keys = {reading for info in own.values()
                for reading in info['readings']}
    second, _ = record_lines(shared, False)
    third, _ = record_lines(own, True, empty_anchor_keys(own_keys, []))
    return first, second, third


def pinyin_lines(hanzi_info):
    gb2312, shared, own = pinyin_runs(hanzi_info)
    first_part = dictionary_text(gb2312)
    if len(first_part) >= PINYIN_CHAR_LIMIT:
        sys.exit(f'{PINYIN_FILE}: the GB2312 records take '
                 f'{len(first_part)} characters, the limit is '
                 f'{PINYIN_CHAR_LIMIT - 1}')
    return gb2312 + shared + own


# --- word file -----------------------------------------------------------
#
# The readings of words, for the word-aware conversion.  The sources
# overlap and differ (see SOURCES.md for the rules with their counts):
# phrase-pinyin-data's phrase table is checked by hand but writes most
# neutral tones with a full tone (认识 rèn shí); CC-CEDICT keeps them (rèn
# shi) and has many more words (得到, 样子), some read two ways (告诉 gào sù /
# gào su); the idiom dictionary has typing errors and di.txt is generated,
# so both serve as evidence only.

WORD_PINYIN_FILE = 'word_pinyin.txt'
WORD_OVERRIDES = 'word_overrides.tsv'
# 来 and 去 after a verb are said lightly, but the dictionaries print them
# with their tones (起来 qǐ·lái, 下去 xià·qù), and so does the word file;
# CC-CEDICT writes them in the neutral tone.
TONED_WHEN_LIGHT = {'来': ('lai', 2), '去': ('qu', 4)}
# 个 after a numeral is the measure word, which the dictionaries print with
# its tone (几个 jǐ gè, 一个接一个); CC-CEDICT writes it in the neutral tone.
# After 这, 那 and 哪 it is light (这个 zhè·ge).
NUMERALS = set('一二三四五六七八九十百千万两几半多每')
MEASURE_GE = ('ge', 4)
# The longest word the word file may hold (core/pinyin/word_table.h).
LONGEST_WORD = 32
BASE_TONES = {'一': ('yi', 1), '不': ('bu', 4)}


def read_word_overrides():
    """{word: reading} from word_overrides.tsv: word, numbered readings
    (xia4 mian5), reason."""
    reviewed = {}
    for number, line in source_lines(WORD_OVERRIDES):
        columns = line.split('\t')
        keys = ([KEY_RE.fullmatch(key) for key in columns[1].split(' ')]
                if len(columns) == 3 else [None])
        if (not all(keys) or len(keys) != len(columns[0]) or not columns[2]
                or columns[0] in reviewed):
            refuse(WORD_OVERRIDES, number, line)
        reviewed[columns[0]] = tuple((key[1], int(key[2])) for key in keys)
    return reviewed


def base_tone(char, reading):
    """The sources write 一 and 不 as read in context (一个 yí gè, 不是 bú
    shì); the word file writes their base tones yī and bù, as the spelling
    rules ask.  A neutral tone stays (看一看 kàn yi kàn)."""
    if char in BASE_TONES and reading[1] != NEUTRAL_TONE:
        return BASE_TONES[char]
    return reading


def fits(char, reading, readings_of):
    """Whether the character has this reading, or its syllable in the
    neutral tone (识 shi in 认识)."""
    readings = readings_of.get(char, ())
    return reading in readings or (
        reading[1] == NEUTRAL_TONE
        and any(syllable == reading[0] for syllable, _ in readings))


def usable_readings(sources, readings_of, counts):
    """{source: {word: [reading, ...]}}: the readings of each source that
    the word file can hold.  Left out, and counted per source: words the
    file cannot hold (one character, more than LONGEST_WORD, or a character
    that code page 936 does not write with two bytes) and readings in
    which a character has a reading it lacks, so that a wrong reading is
    never guessed into a right one."""
    usable = {}
    for name, (words, mismatched) in sources.items():
        counts[name, 'rows with a reading count other than the length'] = (
            mismatched)
        usable[name] = {}
        for word, readings in words.items():
            if (not 2 <= len(word) <= LONGEST_WORD
                    or not all(is_double_byte(char) for char in word)):
                counts[name, 'words the file cannot hold'] += 1
                continue
            kept = []
            for reading in readings:
                reading = tuple(base_tone(char, syllable)
                                for char, syllable in zip(word, reading))
                if not all(fits(char, syllable, readings_of)
                           for char, syllable in zip(word, reading)):
                    counts[name, 'readings with a reading the character '
                                 'lacks'] += 1
                elif reading not in kept:
                    kept.append(reading)
            if kept:
                usable[name][word] = kept
            else:
                counts[name, 'words left with no reading'] += 1
    return usable


def syllables(reading):
    return tuple(syllable for syllable, _ in reading)


def alike_but_neutral(reading, other):
    """Whether two readings differ at most where one has a neutral tone."""
    return all(ours == theirs or (ours[0] == theirs[0]
                                  and NEUTRAL_TONE in (ours[1], theirs[1]))
               for ours, theirs in zip(reading, other))


def with_neutral_tones(reading, others):
    """The reading with a neutral tone wherever another reading that is
    alike but for neutral tones has one: 时候 shí hòu and shí hou give shí
    hou, but 当头 dāng tóu stays, whatever dàng tou says."""
    tones = [tone for _, tone in reading]
    for other in others:
        if alike_but_neutral(reading, other):
            tones = [NEUTRAL_TONE if theirs == NEUTRAL_TONE else tone
                     for tone, (_, theirs) in zip(tones, other)]
    return tuple((syllable, tone)
                 for (syllable, _), tone in zip(reading, tones))


def decide_word(word, usable, usual_of):
    """(reading, rule, neutral tones added) of a word of the hand
    corrections, the phrase table or CC-CEDICT.

    The first of these three that has the word decides, by its first
    reading.  Where only CC-CEDICT has the word and reads it two ways
    (other than by neutral tones), the idiom dictionary decides if it
    reads it one of these ways, else the way with the most of the
    characters' usual readings.  Then every syllable that one of the three
    reads in the neutral tone, in a reading alike but for neutral tones,
    becomes neutral (认识 rèn shí and rèn shi give rèn shi; 多少 duō shǎo and
    duō shao give duō shao), but for TONED_WHEN_LIGHT and 个 after a
    numeral.
    """
    deciding = next(name for name in (HAND_CORRECTIONS, PHRASE_TABLE, CEDICT)
                    if word in usable[name])
    candidates = usable[deciding][word]
    reading, rule = candidates[0], deciding
    if any(not alike_but_neutral(reading, other) for other in candidates):
        rule += ', read two ways: the first'
        if deciding == CEDICT:
            chosen = [candidate for candidate in candidates
                      if any(alike_but_neutral(candidate, idiom) for idiom
                             in usable[IDIOMS].get(word, []))]
            if chosen:
                reading, rule = chosen[0], CEDICT + \
                    ', read two ways: as the idioms read it'
            else:
                reading = max(candidates, key=lambda candidate: sum(
                    usual_of.get(char) == syllable
                    for char, syllable in zip(word, candidate)))
                rule = CEDICT + ', read two ways: the usual readings'
    everything = [candidate for name in (HAND_CORRECTIONS, PHRASE_TABLE,
                                         CEDICT)
                  for candidate in usable[name].get(word, [])]
    neutral = tuple(
        MEASURE_GE if char == '个' and index and word[index - 1] in NUMERALS
        else TONED_WHEN_LIGHT.get(char, syllable)
        for index, (char, syllable) in enumerate(
            zip(word, with_neutral_tones(reading, everything))))
    added = sum(ours[1] == NEUTRAL_TONE != theirs[1]
                for ours, theirs in zip(neutral, reading))
    return neutral, rule + (' + neutral tones' if added else ''), added


def adverbs_with_di(usable, decided):
    """{word: reading}: di.txt's words made of a word and the particle 地
    (整齐地 zhěng qí de) where that word is read as decided, and whose
    last character does not make a word with 地 (外地 wài dì: 向外地)."""
    adverbs = {}
    for word, readings in usable[DI_WORDS].items():
        head, reading = word[:-1], readings[0]
        if (word not in decided and word[-1] == '地' and len(head) > 1
                and reading[-1] == ('de', NEUTRAL_TONE)
                and decided.get(head) == reading[:-1]
                and word[-2:] not in decided):
            adverbs[word] = reading
    return adverbs


def decide_words(sources, readings_of, usual_of, reviewed):
    """({word: reading}, counts): the readings the word file gives, and
    how many words and readings each rule decided or left out."""
    counts = collections.Counter()
    usable = usable_readings(sources, readings_of, counts)
    decided, rules, added = {}, {}, {}
    for word in sorted(set().union(*(usable[name] for name in (
            HAND_CORRECTIONS, PHRASE_TABLE, CEDICT)))):
        decided[word], rules[word], added[word] = decide_word(
            word, usable, usual_of)
    for word, reading in usable[IDIOMS].items():
        counts['idioms', 'not in the other sources (left out)' if word
               not in decided else 'agree' if syllables(decided[word]) in
               {syllables(candidate) for candidate in reading}
               else 'disagree (the other sources decide)'] += 1
    adverbs = adverbs_with_di(usable, decided)
    decided.update(adverbs)
    rules.update(dict.fromkeys(adverbs, DI_WORDS + ', a word and 地'))
    for word, reading in reviewed.items():
        if decided.get(word) == reading:
            sys.exit(f'{WORD_OVERRIDES}: {word} is read '
                     f'{" ".join(map(key_of, reading))} anyway')
        if not all(fits(char, syllable, readings_of)
                   for char, syllable in zip(word, reading)):
            sys.exit(f'{WORD_OVERRIDES}: {word} '
                     f'{" ".join(map(key_of, reading))} gives a character '
                     f'a reading it lacks')
        decided[word], rules[word] = reading, WORD_OVERRIDES
    for word, rule in rules.items():
        counts['words decided by', rule] += 1
        if rule != WORD_OVERRIDES:
            counts['neutral tones added', rule] += added.get(word, 0)
    return decided, counts


def word_pinyin_lines(decided):
    """'银行\tyin2 hang2' lines for the word-aware pinyin conversion, in
    the order of the words' code points.  Readings are numbered like the
    pinyin file's keys, ü included, so the application renders both
    alike; 5 is the neutral tone (晚上 wan3 shang5)."""
    return [f'{word}\t{" ".join(map(key_of, decided[word]))}'
            for word in sorted(decided)]


# --- output ---------------------------------------------------------------

def dictionary_text(lines):
    return ''.join(line + '\r\n' for line in lines)


def write_dictionary(path, text):
    for char in set(text):
        if char > '\x7f' and not is_double_byte(char):
            sys.exit(f'{path.name}: {char!r} has no two-byte code')
    path.write_bytes(text.encode('gbk'))


def read_sources():
    """(hanzi_info, word sources): all that the pinyin and word files are
    made from, read once; see collect_hanzi_info and read_word_sources."""
    sources = read_word_sources()
    hanzi_info = collect_hanzi_info(
        read_unihan(), read_pinyin_weights(), read_wubi86(),
        read_pinyin_data(), read_word_readings(sources[PHRASE_TABLE][0]),
        read_overrides())
    return hanzi_info, sources


def words_of(hanzi_info, sources):
    """decide_words for these hanzi."""
    return decide_words(
        sources, {char: set(info['readings'])
                  for char, info in hanzi_info.items()},
        {char: info['usual'] for char, info in hanzi_info.items()},
        read_word_overrides())


def main():
    parser = argparse.ArgumentParser(
        description='Generate the Wubi and pinyin dictionary files.')
    parser.add_argument('--out', type=pathlib.Path, default=DEFAULT_OUT_DIR,
                        help='output folder (default: %(default)s)')
    out_dir = parser.parse_args().out
    out_dir.mkdir(parents=True, exist_ok=True)

    wubi86_rows = read_wubi86()
    wubi98_rows = read_wubi98()
    hanzi_info, sources = read_sources()
    words, _ = words_of(hanzi_info, sources)
    pinyin_text = dictionary_text(pinyin_lines(hanzi_info))

    wubi86_lines = wubi_lines(
        [(char, code) for char, code, _ in wubi86_rows],
        first_candidates_86(wubi86_rows))
    wubi98_lines = wubi_lines(wubi98_rows, first_candidates_98(wubi98_rows))
    write_dictionary(out_dir / WUBI86_FILE, dictionary_text(wubi86_lines))
    write_dictionary(out_dir / WUBI98_FILE, dictionary_text(wubi98_lines))
    write_dictionary(out_dir / PINYIN_FILE, pinyin_text)
    (out_dir / WORD_PINYIN_FILE).write_bytes(
        ''.join(line + '\n' for line in word_pinyin_lines(words))
        .encode('utf-8'))


if __name__ == '__main__':
    main()
