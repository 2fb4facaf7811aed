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


def generator():
    sys.path.insert(0, str(TOOLS))
    import make_dictionaries
    return make_dictionaries


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
        for source, row, message in [
                ('pinyin_data.txt', 'U+8BF4 shuō  # 说', 'cannot read'),
                ('phrase_pinyin.txt', '说明 shuō míng', 'cannot read'),
                ('phrase_cc_cedict.txt', '说明: shuo1 ming2', 'cannot read'),
                ('pinyin_overrides.tsv', '这\tzhei9\tadd\twhy', 'cannot read'),
                ('unihan_readings.tsv', 'U+8BF4\tkMandarin\tsh1',
                 'cannot read'),
                ('word_overrides.tsv', '说明\tshuo1\twhy', 'cannot read'),
                ('word_overrides.tsv', '时候\tshi2 hou5\tstale', 'anyway'),
                ('word_overrides.tsv', '时候\tshi2 hao5\tno', 'lacks')]:
            with tempfile.TemporaryDirectory() as folder:
                tools = pathlib.Path(folder) / 'tools'
                shutil.copytree(TOOLS, tools)
                table = tools / 'sources' / source
                table.write_bytes(table.read_bytes() + f'{row}\n'.encode())
                run = run_generator(tools, folder)
                self.assertEqual(run.returncode, 1, row)
                self.assertRegex(run.stderr, f'^{source}(, line|:).*{message}')
                self.assertFalse((pathlib.Path(folder) / '3.jpg').exists())

    def test_a_word_read_with_too_few_syllables_is_left_out(self):
        gen = generator()
        with tempfile.TemporaryDirectory() as folder:
            (pathlib.Path(folder) / 'words.txt').write_text(
                '# header\n说明: shuō\n说明: shuō míng  # note\n'
                '那些_2: nèi xiē\n', encoding='utf-8')
            sources, gen.SOURCES_DIR = gen.SOURCES_DIR, pathlib.Path(folder)
            try:
                words = gen.read_word_source('words.txt')
            finally:
                gen.SOURCES_DIR = sources
        self.assertEqual(words, ({'说明': [(('shuo', 1), ('ming', 2))],
                                  '那些': [(('nei', 4), ('xie', 1))]}, 1))

    def test_placing_a_record_agrees_with_scoring_every_place(self):
        gen = generator()
        rng = random.Random(7)
        keys = [(syllable, tone) for syllable in 'abc' for tone in (1, 2, 3)]
        for _ in range(300):
            hanzi = [{'pairs': [(*rng.sample(keys, 2),
                                 rng.choice((1, 5, 1e-6)))
                                for _ in range(rng.randint(1, 4))]}
                     for _ in range(rng.randint(1, 6))]
            key = rng.choice(keys)
            rest = [other for other in keys if other != key]
            rng.shuffle(rest)
            held = [info for info in hanzi
                    if any(key in pair[:2] for pair in info['pairs'])]
            scores = [gen.order_cost(rest[:i] + [key] + rest[i:], hanzi)
                      for i in range(len(rest) + 1)]
            first = rng.randint(0, len(rest))
            allowed = range(first, rng.randint(first, len(rest)) + 1)
            found, score, score_at = gen.best_position(
                key, {other: i for i, other in enumerate(rest)}, allowed,
                held)
            # The preferences without the key cost the same at every place.
            others = gen.order_cost(rest, hanzi)
            self.assertIn(found, allowed)
            self.assertAlmostEqual(scores[found],
                                   min(scores[i] for i in allowed))
            self.assertAlmostEqual(score + others, scores[found])
            for i in allowed:
                self.assertAlmostEqual(score_at(i) + others, scores[i])

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
        # holds GB2312 hanzi only.
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
        first_record = {}
        for key, chars in records:
            first_record.setdefault(key, chars)
        for key in own:
            self.assertLessEqual(set(first_record[key]), GB2312_HANZI, key)

        def readings(char):
            return [key for key, chars in records if char in chars]
        # Every GB2312 hanzi has its usual reading first, and the browser
        # shows it there.  A reading the browser does not show (it stands
        # in a later record of its key, out of the usual one's way) comes
        # last, and there are few of them (SOURCES.md lists them).
        gen = generator()
        hidden = []
        for char, info in hanzi_info().items():
            if info['gb2312']:
                keys = readings(char)
                self.assertEqual(keys[0], gen.key_of(info['usual']), char)
                shown_keys = [key for key in keys
                              if char in first_record[key]]
                self.assertEqual(keys[:len(shown_keys)], shown_keys, char)
                hidden += keys[len(shown_keys):]
        self.assertLessEqual(len(hidden), 32)
        # The readings a reader expects first, the particles too.
        for entry in ('阿a1 底di3 末mo4 呵he1 卜bu3 塞sai1 忒te4 陆lu4 叉cha1 '
                      '乘cheng2 雀que4 凉liang2 漂piao1 烙lao4 勒le4 六liu4 '
                      '盛sheng4 佛fo2 了le5 的de5 着zhe5 么me5 吧ba5 们men5 '
                      '啊a5 地de5 得de5 种zhong3 行xing2 重zhong4 为wei4 '
                      '著zhu4 框kuang4').split():
            self.assertEqual(readings(entry[0])[0], entry[1:], entry)
        # Readings kept and left out.
        for entry in ('罗 luo2 luo1, 框 kuang4 kuang1, 这 zhei4 zhe5, '
                      '那 nei4 na3, 说 yue4 shuo5, 行 hang4 xing4, '
                      '上 shang5 shang1, 么 me5 mo2, 哼 hng5 heng2, '
                      '一 yi1 yi2, 绿 lü4 lv4, 嗯 n2 ng1, 卜 bo5 bu5, '
                      '阿 e1 a5, 底 di3 de5, 末 mo4 me5, 呵 he1 a5, '
                      '彷 fang3 fang2').split(', '):
            char, present, absent = entry.split()
            self.assertIn(present, readings(char), char)
            self.assertNotIn(absent, readings(char), char)
        # The most frequent character first in its record.
        for entry in '中zhong1 的de5 是shi4 好hao3'.split():
            self.assertEqual(first_record[entry[1:]][0], entry[0], entry)

    def test_word_file(self):
        lines = (IMG / 'word_pinyin.txt').read_bytes().decode().split('\n')
        self.assertEqual(lines.pop(), '')
        words = dict(line.split('\t') for line in lines)
        self.assertEqual(list(words), sorted(words))
        self.assertEqual(len(words), len(lines))
        # Each word reads each character with one of its readings, or its
        # syllable in the neutral tone, and takes two bytes a character.
        gen = generator()
        info = hanzi_info()
        for word, readings in words.items():
            keys = [gen.KEY_RE.fullmatch(key) for key in readings.split(' ')]
            self.assertTrue(2 <= len(word) == len(keys) <= 32, word)
            for char, key in zip(word, keys):
                reading = (key[1], int(key[2]))
                self.assertTrue(gen.fits(char, reading, {
                    char: info[char]['readings']}), word)
        # Neutral tones where the dictionaries write them, and tones where
        # they print them on a light syllable, the everyday reading of a
        # word read two ways, 一 and 不 in their base tones, the particles 地
        # and 得, slips of the sources mended.
        for entry in ('得到 de2 dao4, 样子 yang4 zi5, 陆军 lu4 jun1, '
                      '时候 shi2 hou5, 明白 ming2 bai5, 已经 yi3 jing1, '
                      '漂亮 piao4 liang5, 认识 ren4 shi5, 衣服 yi1 fu5, '
                      '事情 shi4 qing5, 名字 ming2 zi5, 下面 xia4 mian4, '
                      '东西 dong1 xi5, 便宜 pian2 yi5, 多少 duo1 shao5, '
                      '告诉 gao4 su5, 不是 bu4 shi4, 一个 yi1 ge4, 几个 ji3 ge4, '
                      '对不起 dui4 bu5 qi3, 土地 tu3 di4, 朝阳 zhao1 yang2, '
                      '整齐地 zheng3 qi2 de5, 觉得 jue2 de5, '
                      '质朴 zhi4 pu3, 彷佛 fang3 fu2, 回来 hui2 lai2, '
                      '关系 guan1 xi4').split(', '):
            word, readings = entry.split(' ', 1)
            self.assertEqual(words.get(word), readings, word)
        # Left out: a reading the character lacks (框 kuāng), and the
        # generated 地 words that are no word and 地 (向外地: 外地).
        for word in ('旧框框', '向外地', '冉阿让'):
            self.assertNotIn(word, words)


_hanzi_info = []


def hanzi_info():
    """The generator's view of every hanzi, read once for all tests."""
    if not _hanzi_info:
        _hanzi_info.append(generator().read_sources()[0])
    return _hanzi_info[0]


if __name__ == '__main__':
    unittest.main()
