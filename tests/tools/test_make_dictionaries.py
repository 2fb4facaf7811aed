"""The dictionary generator and the files it wrote to img/."""

import pathlib
import random
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

TOOLS = pathlib.Path(__file__).resolve().parents[2] / 'tools'
IMG = TOOLS.parent / 'img'
GB2312_HANZI = {bytes((lead, trail)).decode('gbk', errors='ignore')
                for lead in range(0xB0, 0xF8)
                for trail in range(0xA1, 0xFF)} - {''}


def read_lines(name):  # a dictionary file: code page 936, CR LF after each
    lines = (IMG / name).read_bytes().decode('gbk').split('\r\n')
    assert lines.pop() == '' and all(
        line and '\r' not in line and '\n' not in line for line in lines)
    return lines


def run_generator(tools, out):
    return subprocess.run([sys.executable, tools / 'make_dictionaries.py',
                           '--out', out], capture_output=True, text=True)


class DictionariesTest(unittest.TestCase):

    def test_regeneration_reproduces_img_byte_for_byte(self):
        with tempfile.TemporaryDirectory() as out:
            self.assertEqual(run_generator(TOOLS, out).returncode, 0)
            for name in ['1.jpg', '2.jpg', '3.jpg', 'word_pinyin.txt']:
                self.assertTrue((pathlib.Path(out) / name).read_bytes()
                                == (IMG / name).read_bytes(), name)

    def test_a_row_that_cannot_be_read_stops_the_run(self):
        for source, row in [('pinyin_data.txt', 'U+8BF4 shuō  # 说'),
                            ('phrase_pinyin.txt', '说明: shuō'),
                            ('pinyin_overrides.tsv', '这\tzhei9\tadd\twhy'),
                            ('unihan_readings.tsv', 'U+8BF4\tkMandarin\tsh1')]:
            with tempfile.TemporaryDirectory() as folder:
                tools = pathlib.Path(folder) / 'tools'
                shutil.copytree(TOOLS, tools)
                table = tools / 'sources' / source
                table.write_bytes(table.read_bytes() + f'{row}\n'.encode())
                run = run_generator(tools, folder)
                self.assertEqual(run.returncode, 1, source)
                self.assertIn(f'{source}, line', run.stderr)
                self.assertFalse((pathlib.Path(folder) / '3.jpg').exists())

    def test_placing_a_record_agrees_with_scoring_every_place(self):
        sys.path.insert(0, str(TOOLS))
        import make_dictionaries as gen
        rng = random.Random(7)
        keys = [(syllable, tone) for syllable in 'abc' for tone in (1, 2, 3)]
        for _ in range(300):
            hanzi = []
            for _ in range(rng.randint(1, 6)):
                readings = rng.sample(keys, rng.randint(2, 4))
                hanzi.append({'readings': readings,
                              'usual': rng.choice(readings),
                              'frequency': rng.randint(1, 9)})
            key = rng.choice(keys)
            rest = [other for other in keys if other != key]
            rng.shuffle(rest)
            held = [info for info in hanzi if key in info['readings']]
            for pairwise, score in ((True, gen.usual_before_share),
                                    (False, gen.usual_first_share)):
                scores = [score(rest[:i] + [key] + rest[i:], hanzi)
                          for i in range(len(rest) + 1)]
                first = rng.randint(0, len(rest))
                allowed = range(first, rng.randint(first, len(rest)) + 1)
                found = gen.best_position(key, rest, allowed, held, pairwise)
                self.assertIn(found, allowed)
                self.assertAlmostEqual(scores[found],
                                       max(scores[i] for i in allowed))

    def test_wubi_codes(self):
        # Codes of a to y, distinct, shortest first; a GB2312 hanzi has one
        # full code of 3 or 4 letters; a short code types one character.
        for name in ['1.jpg', '2.jpg']:
            entries = [line.split(' ') for line in read_lines(name)]
            self.assertLessEqual(GB2312_HANZI, {c for c, *_ in entries})
            owners = {}
            for char, *codes in entries:
                lengths = [len(code) for code in codes]
                self.assertRegex(' '.join(codes), '^[a-y]{1,4}( [a-y]{1,4})*$')
                self.assertEqual(lengths, sorted(lengths), char)
                self.assertEqual(len(codes), len(set(codes)), char)
                if char in GB2312_HANZI:
                    self.assertEqual(lengths.count(lengths[-1]), 1, char)
                    self.assertIn(lengths[-1], (3, 4), char)
                for code in codes[:lengths.index(lengths[-1])]:
                    self.assertEqual(owners.setdefault(code, char), char, code)

    def test_pinyin_records_as_the_browser_and_the_lookup_read_them(self):
        records = [re.fullmatch('([a-zü]+[1-5])=(.*)', line).groups()
                   for line in read_lines('3.jpg')]
        # The records before the first with another hanzi hold the GB2312
        # hanzi; the browser shows a letter's syllables of them in
        # alphabetical order, then the others', and a key's first record
        # holds its GB2312 hanzi.
        part = next(index for index, (_, chars) in enumerate(records)
                    if set(chars) - GB2312_HANZI)
        own = {key for key, _ in records[:part]}
        self.assertEqual(set(''.join(c for _, c in records[:part])),
                         GB2312_HANZI)
        shown = list(dict.fromkeys(key[:-1] for key, _ in records))
        for letter in {syllable[0] for syllable in shown}:
            mine = [syllable for syllable in shown if syllable[0] == letter]
            first = sorted(set(mine) & {key[:-1] for key in own})
            self.assertEqual(mine, first + sorted(set(mine) - set(first)))
        first_record, members = {}, {}
        for key, chars in records:
            first_record.setdefault(key, chars)
            members.setdefault(key, set()).update(set(chars) & GB2312_HANZI)
        for key, chars in members.items():
            if chars or key in own:
                self.assertEqual(set(first_record[key]), chars, key)

        def readings(char):
            return [key for key, chars in records if char in chars]
        # The usual reading first, readings kept and left out, the most
        # frequent character first in its record.
        for entry in ('着zhe5 种zhong3 无wu2 石shi2 行xing2 重zhong4 提ti2 罗luo2 '
                      '框kuang4 好hao3 的de5 为wei4 觉jue2 么me5 著zhu4').split():
            self.assertEqual(readings(entry[0])[0], entry[1:], entry)
        for entry in ('罗 luo2 luo1, 框 kuang4 kuang1, 这 zhei4 zhe5, '
                      '那 nei4 na3, 说 yue4 shuo5, 行 hang4 xing4, '
                      '上 shang5 shang1, 么 me5 mo2, 哼 hng5 heng2, '
                      '一 yi1 yi2, 绿 lü4 lv4, 嗯 n2 ng1').split(', '):
            char, present, absent = entry.split()
            self.assertIn(present, readings(char), char)
            self.assertNotIn(absent, readings(char), char)
        for entry in '中zhong1 的de5 是shi4 好hao3'.split():
            self.assertEqual(first_record[entry[1:]][0], entry[0], entry)


if __name__ == '__main__':
    unittest.main()
