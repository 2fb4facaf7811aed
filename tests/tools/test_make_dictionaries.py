"""The dictionary generator and the files it wrote to img/.

Run from the repo root: python3 -m unittest discover -s tests/tools
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
GB2312_HANZI = set(
    bytes((lead, trail)).decode('gbk', errors='ignore')
    for lead in range(0xB0, 0xF8) for trail in range(0xA1, 0xFF)) - {''}


def read_lines(name):
    """The lines of a dictionary file: code page 936, CR LF after each."""
    lines = (IMG / name).read_bytes().decode('gbk').split('\r\n')
    assert lines.pop() == '', name
    assert all(line and '\r' not in line and '\n' not in line
               for line in lines), name
    return lines


def run_generator(tools, out):
    return subprocess.run([sys.executable, str(tools / GENERATOR.name),
                           '--out', str(out)], capture_output=True, text=True)


class GeneratorTest(unittest.TestCase):

    def test_regeneration_reproduces_img_byte_for_byte(self):
        with tempfile.TemporaryDirectory() as out:
            self.assertEqual(run_generator(GENERATOR.parent, out).returncode, 0)
            for name in ['1.jpg', '2.jpg', '3.jpg', 'word_pinyin.txt']:
                with self.subTest(file=name):
                    self.assertTrue((pathlib.Path(out) / name).read_bytes()
                                    == (IMG / name).read_bytes())

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
                run = run_generator(tools, folder)
                self.assertEqual(run.returncode, 1)
                self.assertIn(f'{source}, line', run.stderr)
                self.assertFalse((pathlib.Path(folder) / '3.jpg').exists())

    def test_placing_a_record_agrees_with_scoring_every_place(self):
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


class WubiFileTest(unittest.TestCase):

    def test_one_line_per_character_in_code_order_with_its_codes(self):
        # Distinct codes, shortest first; one full code of three or four
        # letters for every GB2312 hanzi; a short code types one character.
        for name in ['1.jpg', '2.jpg']:
            with self.subTest(file=name):
                entries = [line.split(' ') for line in read_lines(name)]
                encoded = [char.encode('gbk') for char, *_ in entries]
                self.assertEqual(encoded, sorted(set(encoded)))
                self.assertLessEqual(GB2312_HANZI, {c for c, *_ in entries})
                owners = {}
                for char, *codes in entries:
                    self.assertTrue(all(re.fullmatch('[a-y]{1,4}', code)
                                        for code in codes), char)
                    self.assertEqual(len(codes), len(set(codes)), char)
                    lengths = [len(code) for code in codes]
                    self.assertEqual(lengths, sorted(lengths), char)
                    if char in GB2312_HANZI:
                        self.assertEqual(lengths.count(lengths[-1]), 1, char)
                        self.assertIn(lengths[-1], (3, 4), char)
                    for code in codes:
                        if len(code) < lengths[-1]:
                            self.assertNotIn(code, owners, (char, code))
                            owners[code] = char


class PinyinFileTest(unittest.TestCase):

    def setUp(self):
        lines = read_lines('3.jpg')
        # [(syllable, tone, characters)] in file order.
        self.records = [re.fullmatch('([a-zü]+)([1-5])=(.*)', line).groups()
                        for line in lines]
        # The GB2312 part: records up to the first one holding another hanzi.
        self.part = next(index for index, (_, _, chars)
                         in enumerate(self.records)
                         if set(chars) - GB2312_HANZI)
        self.gb2312_part_size = sum(len(line) + 2
                                    for line in lines[:self.part])
        # What the browser reads for a key: its first record.
        self.first_record = {}
        for syllable, tone, chars in self.records:
            self.first_record.setdefault(syllable + tone, chars)

    def readings(self, char):
        return [s + t for s, t, chars in self.records if char in chars]

    def test_gb2312_part_holds_the_gb2312_hanzi_within_16_bit_positions(self):
        part, tail = set(), set()
        for index, (_, _, chars) in enumerate(self.records):
            (part if index < self.part else tail).update(chars)
        self.assertEqual(part, GB2312_HANZI)
        self.assertLess(self.gb2312_part_size, 32767)
        self.assertFalse(tail & GB2312_HANZI)
        self.assertGreater(len(tail), 14000)
        self.assertTrue(set('說話們郿長') <= tail)

    def test_browser_sees_alphabetical_syllables_and_gb2312_characters(self):
        # The syllables of a letter in the order of their first records,
        # and the characters of each key's first one.
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

    def test_usual_reading_first_and_the_readings_each_character_has(self):
        for char, first in [('说', 'shuo1'), ('着', 'zhe5'), ('种', 'zhong3'),
                            ('无', 'wu2'), ('石', 'shi2'), ('行', 'xing2'),
                            ('重', 'zhong4'), ('提', 'ti2'), ('罗', 'luo2'),
                            ('框', 'kuang4'), ('好', 'hao3'), ('的', 'de5'),
                            ('为', 'wei4'), ('觉', 'jue2'), ('么', 'me5'),
                            ('說', 'shuo1'), ('著', 'zhu4')]:
            self.assertEqual(self.readings(char)[0], first, char)
        for char, present, absent in [
                ('罗', 'luo2', 'luo1'), ('框', 'kuang4', 'kuang1'),
                ('这', 'zhei4', 'zhe5'), ('那', 'nei4', 'na3'),
                ('说', 'yue4', 'shuo5'), ('行', 'hang4', 'xing4'),
                ('上', 'shang5', 'shang1'), ('么', 'me5', 'mo2'),
                ('哼', 'hng5', 'heng2'), ('一', 'yi1', 'yi2'),
                ('绿', 'lü4', 'lv4'), ('嗯', 'n2', 'ng1')]:
            self.assertIn(present, self.readings(char), char)
            self.assertNotIn(absent, self.readings(char), char)
        # The most frequent character leads its record.
        for key, char in [('zhong1', '中'), ('de5', '的'), ('shi4', '是'),
                          ('hao3', '好')]:
            self.assertEqual(self.first_record[key][0], char, key)


if __name__ == '__main__':
    unittest.main()
