"""Checks on the word file the generator writes for the word-aware pinyin conversion.

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
WORD_FILE = REPO / 'img' / 'word_pinyin.txt'
LINE = re.compile('(..+)\t([a-zü]+[1-5](?: [a-zü]+[1-5])*)')


def entries():
    return [LINE.fullmatch(line).groups()
            for line in WORD_FILE.read_text(encoding='utf-8').splitlines()]


class WordFileTest(unittest.TestCase):

    def test_generator_reproduces_the_committed_file(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, str(GENERATOR), '--out', out],
                           check=True, capture_output=True)
            self.assertTrue((pathlib.Path(out) / WORD_FILE.name).read_bytes()
                            == WORD_FILE.read_bytes(),
                            f'img/{WORD_FILE.name} differs from a fresh run')

    def test_known_readings(self):
        table = dict(entries())
        cases = {
            '银行': 'yin2 hang2', '行走': 'xing2 zou3', '重要': 'zhong4 yao4',
            '女儿': 'nü3 er2',
            # 一 and 不 in their base tones, whatever the word makes of them.
            '一个': 'yi1 ge4', '不是': 'bu4 shi4', '一不小心': 'yi1 bu4 xiao3 xin1',
            # Neutral tones stay neutral.
            '觉得': 'jue2 de5', '鞋子': 'xie2 zi5',
            # The table lists 朝阳 twice; the first line wins.
            '朝阳': 'zhao1 yang2',
        }
        for word, readings in cases.items():
            with self.subTest(word=word):
                self.assertEqual(table.get(word), readings)


if __name__ == '__main__':
    unittest.main()
