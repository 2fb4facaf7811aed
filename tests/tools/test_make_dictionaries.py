"""Checks on the dictionary generator and the dictionary files it wrote.

Run from the repo root:
    python3 -m unittest discover -s tests/tools -p 'test_*.py'
"""

import pathlib
import random
import re
import shutil
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
WORD_FILE = 'word_pinyin.txt'

PINYIN_CHAR_LIMIT = 32767
PINYIN_LINE = re.compile('([a-zü]+)([1-5])=(.*)')


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


class RegenerationTest(unittest.TestCase):

    def test_generator_reproduces_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, str(GENERATOR), '--out', out],
                           check=True, capture_output=True)
            for name in [*DICTIONARY_FILES, WORD_FILE]:
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


class WubiFileTest(unittest.TestCase):

    def test_lines_run_in_code_page_936_order_one_per_character(self):
        for edition, name in WUBI_FILES.items():
            with self.subTest(edition=edition):
                chars = [line.split(' ')[0] for line in read_lines(name)]
                encoded = [char.encode('gbk') for char in chars]
                self.assertTrue(all(len(code) == 2 for code in encoded))
                self.assertEqual(encoded, sorted(set(encoded)))

    def test_codes_of_each_character(self):
        # Distinct, lower case, shortest first; exactly one full code of three
        # or four letters for every GB2312 hanzi; a short code types only one
        # character.
        for edition, name in WUBI_FILES.items():
            with self.subTest(edition=edition):
                entries = wubi_entries(name)
                self.assertLessEqual(GB2312_HANZI, set(entries))
                owners = {}
                for char, codes in entries.items():
                    self.assertTrue(all(re.fullmatch('[a-y]{1,4}', code)
                                        for code in codes), char)
                    self.assertEqual(len(codes), len(set(codes)), char)
                    lengths = [len(code) for code in codes]
                    self.assertEqual(lengths, sorted(lengths), char)
                    longest = lengths[-1]
                    if char in GB2312_HANZI:
                        self.assertEqual(lengths.count(longest), 1, char)
                        self.assertIn(longest, (3, 4), char)
                    for code in codes:
                        if len(code) < longest:
                            self.assertNotIn(code, owners, (char, code))
                            owners[code] = char


class PinyinFileTest(unittest.TestCase):

    def setUp(self):
        self.records = pinyin_records()
        # What the browser reads for a key: its first record.
        self.first_record = {}
        for syllable, tone, chars in self.records:
            self.first_record.setdefault(syllable + tone, chars)
        # The GB2312 part: records up to the first one holding another hanzi.
        self.part = next(index for index, (_, _, chars)
                         in enumerate(self.records)
                         if set(chars) - GB2312_HANZI)

    def first_readings(self, char):
        return [syllable + tone for syllable, tone, chars in self.records
                if char in chars][:2]

    def test_gb2312_part_holds_exactly_the_gb2312_hanzi(self):
        chars = set()
        for _, _, record_chars in self.records[:self.part]:
            chars.update(record_chars)
        self.assertEqual(chars, GB2312_HANZI)
        gb2312_part = ''.join(line + '\r\n'
                              for line in read_lines(PINYIN_FILE)[:self.part])
        self.assertLess(len(gb2312_part), PINYIN_CHAR_LIMIT)
        tail = set()
        for _, _, record_chars in self.records[self.part:]:
            tail.update(record_chars)
        self.assertFalse(tail & GB2312_HANZI)
        self.assertGreater(len(tail), 14000)
        self.assertTrue(set('說話們郿長') <= tail)

    def test_browser_sees_alphabetical_syllables_and_gb2312_characters(self):
        # What the browser computes: the syllables of a letter in the order
        # of their first records, and the characters of each key's first one.
        gb2312_syllables = {s for s, _, _ in self.records[:self.part]}
        for letter in 'abcdefghjklmnopqrstwxyz':
            with self.subTest(letter=letter):
                shown = list(dict.fromkeys(
                    s for s, _, _ in self.records if s[0] == letter))
                own = sorted(set(shown) - gb2312_syllables)
                self.assertEqual(shown,
                                 sorted(gb2312_syllables & set(shown)) + own)
        members = {}
        for syllable, tone, chars in self.records:
            members.setdefault(syllable + tone, set()).update(
                set(chars) & GB2312_HANZI)
        # Keys only other hanzi have stand past the GB2312 part.
        gb2312_keys = {s + t for s, t, _ in self.records[:self.part]}
        for key, chars in members.items():
            if chars or key in gb2312_keys:
                self.assertEqual(set(self.first_record[key]), chars, key)

    def test_usual_reading_comes_first(self):
        for char, first in [('说', 'shuo1'), ('着', 'zhe5'), ('种', 'zhong3'),
                            ('无', 'wu2'), ('石', 'shi2'), ('行', 'xing2'),
                            ('重', 'zhong4'), ('提', 'ti2'), ('罗', 'luo2'),
                            ('框', 'kuang4'), ('好', 'hao3'), ('的', 'de5'),
                            ('为', 'wei4'), ('觉', 'jue2'), ('么', 'me5'),
                            ('說', 'shuo1'), ('著', 'zhu4')]:
            with self.subTest(char=char):
                self.assertEqual(self.first_readings(char)[0], first)

    def test_reading_set(self):
        def readings(char):
            return {s + t for s, t, chars in self.records if char in chars}
        for char, present, absent in [
                ('罗', 'luo2', 'luo1'), ('框', 'kuang4', 'kuang1'),
                ('这', 'zhei4', 'zhe5'), ('那', 'nei4', 'na3'),
                ('说', 'yue4', 'shuo5'), ('行', 'hang4', 'xing4'),
                ('上', 'shang5', 'shang1'), ('么', 'me5', 'mo2'),
                ('哼', 'hng5', 'heng2'), ('一', 'yi1', 'yi2'),
                ('绿', 'lü4', 'lv4'), ('嗯', 'n2', 'ng1')]:
            with self.subTest(char=char):
                self.assertIn(present, readings(char))
                self.assertNotIn(absent, readings(char))

    def test_most_frequent_character_leads_its_record(self):
        for key, char in [('zhong1', '中'), ('de5', '的'), ('shi4', '是'),
                          ('hao3', '好')]:
            with self.subTest(key=key):
                self.assertEqual(self.first_record[key][0], char)


class RecordOrderTest(unittest.TestCase):
    """The fast placement of one record against trying every place."""

    def test_best_position_agrees_with_scoring_every_place(self):
        sys.path.insert(0, str(GENERATOR.parent))
        import make_dictionaries as gen
        rng = random.Random(7)
        keys = [(syllable, tone) for syllable in 'abc' for tone in (1, 2, 3)]
        for _ in range(300):
            order = rng.sample(keys, len(keys))
            hanzi = []
            for _ in range(rng.randint(1, 6)):
                readings = rng.sample(keys, rng.randint(2, 4))
                hanzi.append({'readings': readings,
                              'usual': rng.choice(readings),
                              'frequency': rng.randint(1, 9)})
            key = rng.choice(order)
            rest = [other for other in order if other != key]
            for pairwise, score in ((True, gen.usual_before_share),
                                    (False, gen.usual_first_share)):
                scores = [score(rest[:i] + [key] + rest[i:], hanzi)
                          for i in range(len(rest) + 1)]
                first = rng.randint(0, len(rest))
                allowed = range(first, rng.randint(first, len(rest)) + 1)
                holding = [info for info in hanzi if key in info['readings']]
                found = gen.best_position(key, rest, allowed, holding,
                                          pairwise)
                self.assertIn(found, allowed)
                self.assertAlmostEqual(scores[found],
                                       max(scores[i] for i in allowed))


class BadSourceTest(unittest.TestCase):

    def test_a_row_that_cannot_be_read_stops_the_run(self):
        for source, row in [('pinyin_data.txt', 'U+8BF4 shuō  # 说'),
                            ('phrase_pinyin.txt', '说明: shuō'),
                            ('pinyin_overrides.tsv', '这\tzhei9\tadd\twhy'),
                            ('unihan_readings.tsv', 'U+8BF4\tkMandarin\tsh1')]:
            with self.subTest(source=source), \
                    tempfile.TemporaryDirectory() as folder:
                tools = pathlib.Path(folder) / 'tools'
                shutil.copytree(GENERATOR.parent, tools)
                with open(tools / 'sources' / source, 'a',
                          encoding='utf-8') as table:
                    table.write(row + '\n')
                run = subprocess.run(
                    [sys.executable, str(tools / GENERATOR.name),
                     '--out', folder], capture_output=True, text=True)
                self.assertNotEqual(run.returncode, 0)
                self.assertIn(f'{source}, line', run.stderr)
                self.assertFalse((pathlib.Path(folder) / PINYIN_FILE).exists())


if __name__ == '__main__':
    unittest.main()
