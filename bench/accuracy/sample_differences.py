#!/usr/bin/env python3
"""Draws the positions to check by hand from what word_accuracy lists.

Usage: word_accuracy bench/accuracy/handbook_zh_cn.txt | sample_differences.py [N [SEED]]

Prints N (default 100) of the listed differences, drawn at random with SEED (default 11),
in text order, numbered, and the counts word_accuracy closed with.
"""
import random
import sys


def main():
    size = int(sys.argv[1]) if len(sys.argv) > 1 else 100
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 11
    rows, totals = [], ''
    for line in sys.stdin:
        if line.startswith('#'):
            totals = line.strip()
        else:
            rows.append(line.rstrip('\n').split('\t'))
    sample = sorted(random.Random(seed).sample(range(len(rows)), min(size, len(rows))))
    print(totals)
    for number, index in enumerate(sample, 1):
        line, place, hanzi, context, plain, words = rows[index]
        print(f'{number}\t{line}:{place}\t{context}\tplain {plain}\twords {words}')


if __name__ == '__main__':
    main()
