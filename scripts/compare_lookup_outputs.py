#!/usr/bin/env python3
"""Runs two builds of zhavik-lookup on the same large texts and command lines and checks
that they answer alike: standard output byte for byte, the exit status, and the messages
on standard error.

Usage: compare_lookup_outputs.py REFERENCE OTHER [RUNNER...]
REFERENCE and OTHER are the programs (e.g. the Linux build and the Windows build), RUNNER
the command that starts OTHER (e.g. wine64). Prints each difference and exits with 1 if
there is any. Standard error may differ in line ends and in how a path's separator shows. The texts cover every character of the Basic Multilingual Plane, every
two-byte GBK code, the words of img/word_pinyin.txt and the help pages, in UTF-8, GBK and
UTF-16 with a byte-order mark, with LF and with CR LF line ends.
"""

import concurrent.futures
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
KINDS = ["pinyin", "wubi86", "wubi98", "quwei"]


def lines_of(text, width):
    return [text[i:i + width] for i in range(0, len(text), width)]


def natural_text():
    """Chinese as people write it: the words of the word table as sentences, and the help."""
    words = []
    for line in (ROOT / "img" / "word_pinyin.txt").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            words.append(line.split("\t", 1)[0])
    punctuation = "，。、；：？！“”（）《》 ,.;:?!\"() abc 123"
    rng = random.Random(936)
    lines = []
    for start in range(0, len(words), 12):
        line = ""
        for word in words[start:start + 12]:
            line += word + rng.choice(punctuation)
        lines.append(line)
    for page in sorted((ROOT / "help").glob("*.html")):
        text = re.sub(r"<[^>]*>", " ", page.read_text(encoding="utf-8"))
        lines.extend(line.strip() for line in text.splitlines() if line.strip())
    return lines


def every_bmp_character():
    """U+0080 to U+FFFF without the surrogates, 64 a line: the whole two-byte test."""
    text = "".join(chr(c) for c in range(0x80, 0x10000) if not 0xD800 <= c <= 0xDFFF)
    return lines_of(text, 64) + ["𠀀𪚥😀 a\u0301 ＡＢＣ"]


def every_gbk_code():
    """Every lead byte with every trail byte, one lead byte a line, as raw bytes."""
    trails = [t for t in range(0x40, 0xFF) if t != 0x7F]
    return [b"".join(bytes([lead, t]) for t in trails) for lead in range(0x81, 0xFF)]


def write_inputs(folder):
    natural = natural_text()
    utf8_lines = natural + every_bmp_character()
    gbk_lines = [line.encode("gbk", errors="replace") for line in natural] + every_gbk_code()
    files = {}
    for end_name, end in (("lf", "\n"), ("crlf", "\r\n")):
        files[f"utf8-{end_name}.txt"] = end.join(utf8_lines).encode("utf-8") + end.encode()
        files[f"gbk-{end_name}.txt"] = end.encode().join(gbk_lines) + end.encode()
    files["utf16-bom.txt"] = "\ufeff".encode("utf-16-le") + "\r\n".join(natural[:2000]).encode(
        "utf-16-le")
    rng = random.Random(20)
    noise = bytearray(rng.randrange(256) for _ in range(1 << 16))
    files["noise.bin"] = bytes(noise) + b"\r\n\n\r" + "中文".encode("utf-8")
    # The last line without a line end, after a mixture of both.
    files["mixed-ends.txt"] = "中\r\n国\n人\r\r\n\n民".encode("utf-8")
    for name, data in files.items():
        (folder / name).write_bytes(data)
    return list(files), natural


def command_lines(names, natural):
    cases = []
    for name in names:
        for kind in KINDS:
            cases.append((["--convert", kind, name], None))
            cases.append((["--convert", kind, "--as-window", name], None))
        cases.append((["--convert", "pinyin", "--words", name], None))
        cases.append((["--convert", "pinyin", "--style", "numbers", name], None))
        cases.append((["--convert", "pinyin", "--style", "none", name], None))
        cases.append((["--convert", "wubi86"], name))  # standard input
    cases += [
        (["--convert", "wubi86", "--encoding", "gbk", "gbk-crlf.txt"], None),
        (["--convert", "wubi98", "--encoding", "utf-8", "utf8-lf.txt"], None),
        (["--convert", "quwei", "--encoding", "gbk", "utf8-lf.txt"], None),
        (["--convert", "pinyin", "--words", "--as-window"], "gbk-lf.txt"),
        (["--convert", "quwei", "mixed-ends.txt", "汉字 文件.txt", "gbk-lf.txt"], None),
        (["--convert", "pinyin", "没有这个文件.txt", "mixed-ends.txt"], None),
        (["--convert", "pinyin", "--data", "数据 目录", "汉字 文件.txt"], None),
        (["--convert", "pinyin", "--words", "--data", "没有词表"], "mixed-ends.txt"),
    ]
    sample = "".join(natural[:40])
    cases += [([argument], None) for argument in ["中", "中国人 abc", sample[:3000]]]
    cases += [
        (["--json", "中国 a"], None),
        (["--json", "--style", "numbers", sample[:500]], None),
        (["--query", "好"], None),
        (["--query", "𠀀"], None),
        (["--kind", "86五笔", "中"], None),
        (["--kind", "quwei", "啊"], None),
        (["--kind", "拼音", "行"], None),
        (["--from", "wubi86", "kbsk"], None),
        (["--from", "wubi98", "--prefix", "kh"], None),
        (["--from", "pinyin", "zhong1"], None),
        (["--from", "pinyin", "lü4"], None),
        (["--from", "quwei", "1601"], None),
        (["--from", "quwei", "--json", "5448"], None),
        (["--tones", "zhong1 guo2 lv4 nü3 er5"], None),
        (["--syllables", "z"], None),
        (["--characters", "zhong"], None),
        (["--style", "none", "--characters", "lü"], None),
        (["--data", "数据 目录", "中"], None),
        (["--data", "没有词表", "--query", "中"], None),
        (["--help"], None),
        (["--version"], None),
        (["--frobnicate"], None),
        (["--kind", "五笔", "好"], None),
        (["--syllables", "zh"], None),
        (["--from", "wubi86", "\u200b"], None),
    ]
    return cases


def run(command, folder, stdin_name):
    stdin = open(folder / stdin_name, "rb") if stdin_name else subprocess.DEVNULL
    try:
        done = subprocess.run(command, cwd=folder, stdin=stdin, capture_output=True,
                              timeout=300)
    finally:
        if stdin_name:
            stdin.close()
    return done.returncode, done.stdout, done.stderr


def same_messages(expected, got):
    """Standard error alike but for line ends and for the separator a path was joined with
    (shown as an escaped backslash on Windows)."""
    return expected.replace(b"\r\n", b"\n") == got.replace(b"\r\n", b"\n").replace(b"\\\\", b"/")


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


def describe(label, a, b):
    at = first_difference(a, b)
    return (f"  {label}: {len(a)} and {len(b)} bytes, first difference at byte {at}:\n"
            f"    {a[max(0, at - 40):at + 40]!r}\n    {b[max(0, at - 40):at + 40]!r}")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    reference = os.path.abspath(sys.argv[1])
    other = [*sys.argv[3:], os.path.abspath(sys.argv[2])]
    with tempfile.TemporaryDirectory(prefix="zhavik-compare-") as temporary:
        folder = Path(temporary)
        names, natural = write_inputs(folder)
        shutil.copy(folder / "mixed-ends.txt", folder / "汉字 文件.txt")
        shutil.copytree(ROOT / "img", folder / "数据 目录" / "img")
        (folder / "没有词表" / "img").mkdir(parents=True)
        for name in ["1.jpg", "2.jpg", "3.jpg"]:
            shutil.copy(ROOT / "img" / name, folder / "没有词表" / "img" / name)
        cases = command_lines(names, natural)
        start = time.monotonic()

        def compare(case):
            arguments, stdin_name = case
            expected = run([reference, *arguments], folder, stdin_name)
            got = run([*other, *arguments], folder, stdin_name)
            shown = " ".join(a if len(a) < 60 else a[:20] + "…" for a in arguments)
            if stdin_name:
                shown += f" < {stdin_name}"
            if expected[:2] == got[:2] and same_messages(expected[2], got[2]):
                return None
            report = [f"DIFFERENT: zhavik-lookup {shown}"]
            if expected[0] != got[0]:
                report.append(f"  exit status {expected[0]} and {got[0]}")
            if expected[1] != got[1]:
                report.append(describe("standard output", expected[1], got[1]))
            if not same_messages(expected[2], got[2]):
                report.append(describe("standard error", expected[2], got[2]))
            return "\n".join(report)

        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            reports = [r for r in pool.map(compare, cases) if r]
        for report in reports:
            print(report)
        size = sum((folder / name).stat().st_size for name in names)
        print(f"{len(cases)} command lines on {len(names)} texts ({size / 1e6:.1f} MB) in "
              f"{time.monotonic() - start:.0f} s: {len(cases) - len(reports)} alike, "
              f"{len(reports)} different")
        return 1 if reports else 0


if __name__ == "__main__":
    sys.exit(main())
