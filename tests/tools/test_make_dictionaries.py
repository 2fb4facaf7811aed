"""Checks on the dictionary generator and the dictionary files it wrote.

Run from the repo root:
    python3 -m unittest discover -s tests/tools -p 'test_*.py'
"""

import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

REPO = pathlib.Path(__file__).resolve().parent.parent.parent
GENERATOR = REPO / 'tools' / 'make_dictionaries.py'
IMG = REPO / 'img'

WUBI_FILES = {'86': '1.jpg', '98': '2.jpg'}
PINYIN_FILE = '3.jpg'
DICTIONARY_FILES = [*WUBI_FILES.values(), PINYIN_FILE]

PINYIN_CHAR_LIMIT = 32767
PINYIN_LINE = re.compile('([a-zü]+)([1-5])=(.+)')


def gb2312_hanzi():
    hanzi = set()
    for lead in range(0xB0, 0xF8):
        for trail in range(0xA1, 0xFF):
            try:
                hanzi.add(bytes((lead, trail)).decode('gbk'))
            except UnicodeDecodeError:
                pass
    return hanzi


GB2312_HANZI = gb2312_hanzi()


def read_text(name):
    return (IMG / name).read_bytes().decode('gbk')


def read_lines(name):
    return read_text(name)[:-2].split('\r\n')


def wubi_entries(name):
    """Char -> its codes, in file order."""
    return {line.split(' ')[0]: line.split(' ')[1:]
            for line in read_lines(name)}


def pinyin_records():
    """[(syllable, tone, characters)] in file order."""
    records = []
    for line in read_lines(PINYIN_FILE):
        match = PINYIN_LINE.fullmatch(line)
        if match is None:
            raise AssertionError(f'not a pinyin record: {line!r}')
        records.append(match.groups())
    return records


def record_index(records, key):
    for index, (syllable, tone, _) in enumerate(records):
        if syllable + tone == key:
            return index
    raise AssertionError(f'no record {key}')


def chars_of(records, key):
    return records[record_index(records, key)][2]


class RegenerationTest(unittest.TestCase):

    def test_generator_reproduces_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, str(GENERATOR), '--out', out],
                           check=True, capture_output=True)
            for name in DICTIONARY_FILES:
                with self.subTest(file=name):
                    generated = (pathlib.Path(out) / name).read_bytes()
                    self.assertTrue(generated == (IMG / name).read_bytes(),
                                    f'img/{name} differs from a fresh run')


class FileFormatTest(unittest.TestCase):

    def test_code_page_936_with_crlf_after_every_line(self):
        for name in DICTIONARY_FILES:
            with self.subTest(file=name):
                data = (IMG / name).read_bytes()
                text = data.decode('gbk')
                self.assertTrue(text.endswith('\r\n'))
                for line in text[:-2].split('\r\n'):
                    self.assertTrue(line)
                    self.assertNotIn('\r', line)
                    self.assertNotIn('\n', line)
                # Every non-ASCII character must take exactly two bytes.
                expected = sum(1 if c < '\x80' else 2 for c in text)
                self.assertEqual(len(data), expected)

    def test_pinyin_file_fits_the_size_limit(self):
        self.assertLess(len(read_text(PINYIN_FILE)), PINYIN_CHAR_LIMIT)


class WubiFileTest(unittest.TestCase):

    def test_lines_run_in_code_page_936_order_one_per_character(self):
        for edition, name in WUBI_FILES.items():
            with self.subTest(edition=edition):
                chars = [line.split(' ')[0] for line in read_lines(name)]
                encoded = [char.encode('gbk') for char in chars]
                self.assertTrue(all(len(code) == 2 for code in encoded))
                self.assertEqual(encoded, sorted(set(encoded)))

    def test_every_gb2312_hanzi_has_exactly_one_full_code(self):
        for edition, name in WUBI_FILES.items():
            with self.subTest(edition=edition):
                entries = wubi_entries(name)
                self.assertLessEqual(GB2312_HANZI, set(entries))
                for char in GB2312_HANZI:
                    longest = max(len(code) for code in entries[char])
                    full = [c for c in entries[char] if len(c) == longest]
                    self.assertEqual(len(full), 1, char)
                    self.assertIn(longest, (3, 4), char)

    def test_codes_are_distinct_lower_case_and_shortest_first(self):
        for edition, name in WUBI_FILES.items():
            with self.subTest(edition=edition):
                for char, codes in wubi_entries(name).items():
                    self.assertTrue(codes, char)
                    self.assertTrue(all(re.fullmatch('[a-y]{1,4}', code)
                                        for code in codes), char)
                    self.assertEqual(len(codes), len(set(codes)), char)
                    lengths = [len(code) for code in codes]
                    self.assertEqual(lengths, sorted(lengths), char)

    def test_a_short_code_types_only_one_character(self):
        for edition, name in WUBI_FILES.items():
            with self.subTest(edition=edition):
                owners = {}
                for char, codes in wubi_entries(name).items():
                    longest = max(len(code) for code in codes)
                    for code in codes:
                        if len(code) < longest:
                            self.assertNotIn(code, owners, (char, code))
                            owners[code] = char

    def test_known_codes(self):
        wubi86 = wubi_entries(WUBI_FILES['86'])
        wubi98 = wubi_entries(WUBI_FILES['98'])
        self.assertEqual(wubi86['好'], ['vb', 'vbg'])
        self.assertEqual(wubi86['工'][0], 'a')
        self.assertEqual(wubi98['工'][0], 'a')
        # In 98, aa offers 式 first and 藏 second.
        self.assertIn('aa', wubi98['式'])
        self.assertNotIn('aa', wubi98['藏'])


class PinyinFileTest(unittest.TestCase):

    def setUp(self):
        self.records = pinyin_records()

    def test_covers_exactly_the_gb2312_hanzi(self):
        chars = set()
        for syllable, tone, record_chars in self.records:
            self.assertEqual(len(record_chars), len(set(record_chars)),
                             syllable + tone)
            chars.update(record_chars)
        self.assertEqual(len(GB2312_HANZI), 6763)
        self.assertEqual(chars, GB2312_HANZI)

    def test_keys_unique_and_syllables_grouped_in_order(self):
        keys = [syllable + tone for syllable, tone, _ in self.records]
        self.assertEqual(len(keys), len(set(keys)))
        # Collapsing runs of one syllable must leave a strictly increasing
        # sequence: anything else means a syllable is split or misplaced.
        runs = [syllable for index, (syllable, _, _) in enumerate(self.records)
                if index == 0 or self.records[index - 1][0] != syllable]
        self.assertEqual(runs, sorted(set(runs)))

    def test_u_umlaut_is_spelled_as_such(self):
        syllables = {syllable for syllable, _, _ in self.records}
        self.assertTrue({'lü', 'lüe', 'nü', 'nüe'} <= syllables)
        self.assertFalse({'lv', 'nv', 'lve', 'nve'} & syllables)
        self.assertIn('绿', chars_of(self.records, 'lü4'))
        self.assertIn('略', chars_of(self.records, 'lüe4'))
        # The frequency table spells these lv and lue.  Missing that, 律
        # would fall behind 氯 (higher Wubi weight) and 绿 would take the
        # weight of its rare reading lù.
        self.assertTrue(chars_of(self.records, 'lü4').startswith('率绿律'))
        self.assertTrue(chars_of(self.records, 'lüe4').startswith('略掠'))

    def test_known_readings(self):
        self.assertIn('好', chars_of(self.records, 'hao3'))
        self.assertIn('好', chars_of(self.records, 'hao4'))
        self.assertIn('行', chars_of(self.records, 'hang2'))
        self.assertIn('行', chars_of(self.records, 'xing2'))
        self.assertIn('的', chars_of(self.records, 'de5'))
        # 哼 has the vowelless interjection reading hng.
        self.assertIn('哼', chars_of(self.records, 'hng5'))

    def test_most_common_reading_comes_first_within_a_syllable(self):
        # The batch converter takes a character's first record; these
        # characters' usual readings are not their lowest tones.
        for first, later in [('hao4', 'hao2'),    # 号 hào
                             ('wei4', 'wei2'),    # 为 wèi
                             ('chu4', 'chu3'),    # 处 chù
                             ('hao3', 'hao4')]:   # 好 hǎo
            with self.subTest(first=first, later=later):
                self.assertLess(record_index(self.records, first),
                                record_index(self.records, later))

    def test_most_frequent_character_leads_its_record(self):
        for key, char in [('zhong1', '中'), ('de5', '的'), ('shi4', '是'),
                          ('hao3', '好')]:
            with self.subTest(key=key):
                self.assertEqual(chars_of(self.records, key)[0], char)


if __name__ == '__main__':
    unittest.main()
