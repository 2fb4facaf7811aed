"""The word counts generator and the file it wrote to img/."""

import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

TOOLS = pathlib.Path(__file__).resolve().parents[2] / 'tools'
IMG = TOOLS.parent / 'img'


def run_generator(tools, out):
    return subprocess.run([sys.executable, tools / 'make_word_counts.py',
                           '--out', out], capture_output=True, text=True)


class WordCountsTest(unittest.TestCase):

    def test_regeneration_reproduces_img_byte_for_byte(self):
        with tempfile.TemporaryDirectory() as out:
            self.assertEqual(run_generator(TOOLS, out).returncode, 0)
            self.assertTrue((pathlib.Path(out) / 'word_counts.txt').read_bytes()
                            == (IMG / 'word_counts.txt').read_bytes())

    def test_a_row_that_cannot_be_read_stops_the_run(self):
        # No tag, no count, not a number, a word twice.
        for row in ['银行 7684', '银行 0 n', '银行 x n', '银行 5 n\n银行 5 n']:
            with tempfile.TemporaryDirectory() as folder:
                tools = pathlib.Path(folder) / 'tools'
                shutil.copytree(TOOLS, tools, ignore=shutil.ignore_patterns('*.tsv', '*.txt'))
                source = tools / 'sources' / 'jieba_dict.txt'
                source.write_bytes(f'一 217830 m\n{row}\n'.encode())
                run = run_generator(tools, folder)
                self.assertEqual(run.returncode, 1, row)
                self.assertIn('jieba_dict.txt, line', run.stderr)
                self.assertFalse((pathlib.Path(folder) / 'word_counts.txt').exists())


if __name__ == '__main__':
    unittest.main()
