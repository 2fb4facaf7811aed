#!/usr/bin/env python3
"""Measures how often the pinyin of real prose is right, against readings judged by hand.

Three converters read every hanzi of a group of texts: Zhavik plain (`zhavik-lookup
--convert pinyin`, what the batch view writes), Zhavik by words (`--words`) and, for
comparison only, pinyin-pro from npm. The hanzi fall into two strata: where the three
agree and where they do not. Each stratum is sampled at random, the sampled positions are
judged by hand once (gold.tsv, keyed by text and character offset, so a judgement holds
for any converter), and the accuracy over all hanzi is estimated from both strata,
weighted by their sizes.

    measure.py convert [--group G] [--lookup PROGRAM] [--data DIR] [--work DIR]
        runs the converters and keeps their readings in WORK/readings-G.tsv
    measure.py unjudged [--group G] [--work DIR]
        prints the sampled positions that gold.tsv has not judged yet, as rows of
        gold.tsv whose strict reading and lenient set are to be filled in
    measure.py score [--group G] [--work DIR] [--readings FILE]
        scores every converter column of the readings against gold.tsv and estimates
        the accuracy over all hanzi, strict and lenient, with 95 % intervals
    measure.py errors [--group G] [--converter NAME] [--lenient]
        lists the sampled positions a converter got wrong, with the judged reading

Groups: luxun (nahan.txt + panghuang.txt, the default) and handbook. The sample takes
the positions with the smallest permanent random number in each stratum (a hash of the
seed, text and offset), so a later round whose strata moved reuses every judged position
still drawn and only asks for the new ones.
"""
import argparse
import hashlib
import json
import os
import pathlib
import random
import shutil
import subprocess
import sys
import tempfile
import unicodedata

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
GOLD = HERE / 'gold.tsv'

# A wrapped text has hard line breaks inside paragraphs: a paragraph starts after an
# empty line or at an indented line, and the lines that follow it are joined to it, so
# that words broken by the wrapping reach the converters whole.
# The sample sizes are the group's defaults: the agreeing stratum is far larger and holds
# the errors every converter shares, so it takes the larger sample where judging allowed.
GROUPS = {
    'luxun': {'texts': ['nahan.txt', 'panghuang.txt'], 'wrapped': True,
              'differing': 300, 'agreeing': 600},
    'handbook': {'texts': ['handbook_zh_cn.txt'], 'wrapped': False,
                 'differing': 200, 'agreeing': 200},
}
DESIGN = ['plain', 'words', 'pinyin-pro']  # the converters whose agreement makes the strata
PINYIN_PRO = '3.29.4'
SEED = 18


def is_hanzi(c):
    return '\u4e00' <= c <= '\u9fff' or '\u3400' <= c <= '\u4dbf'


def paragraphs(text, wrapped):
    """(joined paragraph, offset in text of each of its characters) for every paragraph."""
    found, current, offsets = [], [], []
    offset = 0
    previous_blank = True
    for line in text.split('\n'):
        starts = not wrapped or previous_blank or line[:1] in (' ', '\u3000', '\t')
        if starts and current:
            found.append((''.join(current), offsets))
            current, offsets = [], []
        if line.strip():
            current.append(line)
            offsets.extend(range(offset, offset + len(line)))
        previous_blank = not line.strip()
        offset += len(line) + 1
    if current:
        found.append((''.join(current), offsets))
    return found


def context(paragraph, index, width=16):
    return (paragraph[max(0, index - width):index] + '[' + paragraph[index] + ']' +
            paragraph[index + 1:index + 1 + width]).replace('\t', ' ')


def normal(reading):
    """The reading in tone marks, or '' where a converter wrote none (暂缺, ###, nothing)."""
    reading = unicodedata.normalize('NFC', reading.strip().lower())
    letters = ''.join(c for c in unicodedata.normalize('NFD', reading)
                      if unicodedata.category(c) != 'Mn')
    return reading if letters and all('a' <= c <= 'z' for c in letters) else ''


def run_zhavik(paras, lookup, data, words):
    """Per paragraph, the items zhavik-lookup writes: one per character but the space."""
    if not os.access(lookup, os.X_OK):
        sys.exit(f'measure: no program {lookup}: build it first '
                 '(cmake --build build --target zhavik-lookup) or name it with --lookup')
    with tempfile.NamedTemporaryFile('w', encoding='utf-8', suffix='.txt', delete=False) as f:
        f.write('\n'.join(p for p, _ in paras) + '\n')
        name = f.name
    try:
        command = [lookup, '--convert', 'pinyin'] + (['--words'] if words else [])
        if data:
            command[1:1] = ['--data', data]
        done = subprocess.run(command + [name], capture_output=True)
        if done.returncode:
            sys.exit(f'measure: {" ".join(command)} failed: {done.stderr.decode(errors="replace")}')
        out = done.stdout
    finally:
        os.unlink(name)
    lines = out.decode('utf-8').split('\n')
    result = []
    for (paragraph, _), line in zip(paras, lines):
        items = line.split(' ') if line else []
        if len(items) != sum(c != ' ' for c in paragraph):
            sys.exit(f'measure: {lookup} wrote {len(items)} items for a paragraph of '
                     f'{len(paragraph)} characters: {paragraph[:30]}')
        it = iter(items)
        result.append([next(it) if c != ' ' else '' for c in paragraph])
    return result


def pinyin_pro_folder():
    return pathlib.Path(os.environ.get('PINYIN_PRO_DIR') or
                        pathlib.Path.home() / '.cache' / 'zhavik-accuracy' / f'pinyin-pro-{PINYIN_PRO}')


def run_pinyin_pro(paras, sandhi):
    """Per paragraph, pinyin-pro's reading of each character, or None without npm."""
    folder = pinyin_pro_folder()
    if not (folder / 'node_modules' / 'pinyin-pro').is_dir():
        if not shutil.which('npm') or not shutil.which('node'):
            print('measure: npm or node is missing: pinyin-pro is left out', file=sys.stderr)
            return None
        folder.mkdir(parents=True, exist_ok=True)
        done = subprocess.run(['npm', 'install', '--no-save', '--no-audit', '--no-fund',
                               '--prefix', str(folder), f'pinyin-pro@{PINYIN_PRO}'],
                              capture_output=True, text=True)
        if done.returncode:
            print(f'measure: npm could not install pinyin-pro {PINYIN_PRO}: it is left out\n'
                  + done.stderr[-500:], file=sys.stderr)
            return None
    script = ('const {pinyin}=require("pinyin-pro");'
              'const paras=JSON.parse(require("fs").readFileSync(0,"utf8"));'
              'process.stdout.write(JSON.stringify(paras.map(p=>'
              'pinyin(p,{type:"all",toneSandhi:%s}).map(x=>[x.origin,x.pinyin]))));'
              % ('true' if sandhi else 'false'))
    out = subprocess.run(['node', '-e', script], cwd=folder, check=True, capture_output=True,
                         input=json.dumps([p for p, _ in paras]).encode('utf-8')).stdout
    result = []
    for (paragraph, _), pairs in zip(paras, json.loads(out)):
        # pinyin-pro gives one entry per code point; Python indexes code points too.
        if ''.join(o for o, _ in pairs) != paragraph or len(pairs) != len(paragraph):
            sys.exit('measure: pinyin-pro split a paragraph unlike its characters')
        result.append([p for _, p in pairs])
    return result


def convert(args):
    group = GROUPS[args.group]
    rows = []
    for name in group['texts']:
        text = (HERE / name).read_text(encoding='utf-8')
        paras = paragraphs(text, group['wrapped'])
        outputs = {'plain': run_zhavik(paras, args.lookup, args.data, False),
                   'words': run_zhavik(paras, args.lookup, args.data, True)}
        if not args.no_pinyin_pro:
            # The design compares pinyin-pro with the dictionary's convention of base tones
            # for 一 and 不; its default, with their tone sandhi, is scored beside it.
            for column, sandhi in (('pinyin-pro', False), ('pinyin-pro-sandhi', True)):
                pp = run_pinyin_pro(paras, sandhi)
                if pp is not None:
                    outputs[column] = pp
        columns = list(outputs)
        for n, (paragraph, offsets) in enumerate(paras):
            for i, c in enumerate(paragraph):
                if is_hanzi(c):
                    rows.append([name, str(offsets[i]), c, context(paragraph, i)] +
                                [normal(outputs[k][n][i]) or '-' for k in columns])
    path = readings_path(args)
    path.parent.mkdir(parents=True, exist_ok=True)
    with open(path, 'w', encoding='utf-8') as f:
        f.write('\t'.join(['text', 'offset', 'char', 'context'] + columns) + '\n')
        for row in rows:
            f.write('\t'.join(row) + '\n')
    print(f'{len(rows)} hanzi, readings of {", ".join(columns)} in {path}')


def readings_path(args):
    return pathlib.Path(args.readings or pathlib.Path(args.work) / f'readings-{args.group}.tsv')


def load_readings(args):
    path = readings_path(args)
    if not path.is_file():
        sys.exit(f'measure: no readings in {path}: run "measure.py convert" first')
    with open(path, encoding='utf-8') as f:
        header = f.readline().rstrip('\n').split('\t')
        rows = [dict(zip(header, line.rstrip('\n').split('\t'))) for line in f]
    return header[4:], rows


def load_gold():
    gold = {}
    if GOLD.is_file():
        with open(GOLD, encoding='utf-8') as f:
            header = f.readline().rstrip('\n').split('\t')
            for number, line in enumerate(f, 2):
                row = dict(zip(header, line.rstrip('\n').split('\t')))
                if not row.get('strict'):
                    sys.exit(f'measure: {GOLD}:{number}: no strict reading')
                row['lenient_set'] = {row['strict']} | set(filter(None, row.get('lenient', '').split(',')))
                gold[(row['text'], row['offset'])] = row
    return gold


def priority(seed, row):
    key = f'{seed}\t{row["text"]}\t{row["offset"]}'.encode('utf-8')
    return int.from_bytes(hashlib.sha256(key).digest()[:8], 'big')


def strata(columns, rows):
    design = [c for c in DESIGN if c in columns]
    if design != DESIGN:
        print(f'measure: the strata come from {", ".join(design)} only', file=sys.stderr)
    agreeing, differing = [], []
    for row in rows:
        readings = {row[c] for c in design}
        (agreeing if len(readings) == 1 and '-' not in readings else differing).append(row)
    return {'agreeing': agreeing, 'differing': differing}


def sample(args, columns, rows):
    drawn = {}
    for name, members in strata(columns, rows).items():
        size = getattr(args, name) or GROUPS[args.group][name]
        chosen = sorted(members, key=lambda r: priority(args.seed, r))[:size]
        drawn[name] = (len(members), chosen)
    return drawn


def unjudged(args):
    """The sampled positions gold.tsv lacks, as rows of gold.tsv to fill in: the strict
    reading and the lenient set are left empty, the note shows what the converters wrote."""
    columns, rows = load_readings(args)
    gold = load_gold()
    print('text\toffset\tchar\tcontext\tstrict\tlenient\tnote')
    missing = 0
    for name, (_, chosen) in sample(args, columns, rows).items():
        for row in sorted(chosen, key=lambda r: (r['text'], int(r['offset']))):
            if (row['text'], row['offset']) not in gold:
                missing += 1
                written = ', '.join(f'{c} {row[c]}' for c in columns)
                print('\t'.join([row['text'], row['offset'], row['char'], row['context'], '', '',
                                 f'{name}: {written}']))
    print(f'# {missing} sampled positions to judge', file=sys.stderr)


def jeffreys_draws(right, n, draws, rng):
    return [rng.betavariate(right + 0.5, n - right + 0.5) for _ in range(draws)]


def percentile(values, q):
    values = sorted(values)
    return values[min(len(values) - 1, int(q * len(values)))]


def score(args):
    columns, rows = load_readings(args)
    gold = load_gold()
    drawn = sample(args, columns, rows)
    total = sum(size for size, _ in drawn.values())
    judged = {}
    for name, (size, chosen) in drawn.items():
        missing = [r for r in chosen if (r['text'], r['offset']) not in gold]
        if missing:
            sys.exit(f'measure: {len(missing)} sampled positions of the {name} stratum are not '
                     'judged yet: see "measure.py unjudged"')
        for r in chosen:
            g = gold[(r['text'], r['offset'])]
            if g['char'] != r['char']:
                sys.exit(f'measure: {r["text"]}:{r["offset"]} is {r["char"]} in the text but '
                         f'{g["char"]} in {GOLD.name}: the text changed')
        judged[name] = (size, [(r, gold[(r['text'], r['offset'])]) for r in chosen])
    rng = random.Random(args.seed)
    print(f'{args.group}: {total} hanzi; ' + '; '.join(
        f'{name} {size} ({100 * size / total:.2f} %), {len(pairs)} judged'
        for name, (size, pairs) in judged.items()))
    print('95 % intervals: stratified Jeffreys (Beta(k+1/2, n-k+1/2) per stratum, weighted '
          f'sum simulated {args.draws} times, 2.5th to 97.5th percentile)\n')
    print('| converter | mode | agreeing right | differing right | all hanzi | 95 % interval |')
    print('|---|---|---|---|---|---|')
    estimates = {}
    for column in columns:
        for mode in ('strict', 'lenient'):
            cells, point, sums = [], 0.0, [0.0] * args.draws
            for name, (size, pairs) in judged.items():
                right = sum(correct(r[column], g, mode) for r, g in pairs)
                weight = size / total
                cells.append(f'{right}/{len(pairs)}')
                point += weight * right / len(pairs) if pairs else 0
                for i, v in enumerate(jeffreys_draws(right, len(pairs), args.draws, rng)):
                    sums[i] += weight * v
            low, high = percentile(sums, 0.025), percentile(sums, 0.975)
            estimates[(column, mode)] = point
            print(f'| {column} | {mode} | {cells[0]} | {cells[1]} | {100 * point:.2f} % | '
                  f'{100 * low:.2f} – {100 * high:.2f} % |')
    # Where the three agree, every converter is right or wrong together: a difference
    # between two converters lies in the differing stratum alone, paired position by
    # position (Dirichlet(1/2) over both right / only one / only the other / both wrong).
    size, pairs = judged['differing']
    weight = size / total
    print('\n| difference | mode | only the first right | only the second right | '
          'all hanzi | 95 % interval |')
    print('|---|---|---|---|---|---|')
    design = [c for c in DESIGN if c in columns]
    for a, b in [('words', 'plain'), ('words', 'pinyin-pro'), ('plain', 'pinyin-pro')]:
        if a not in design or b not in design:
            continue
        for mode in ('strict', 'lenient'):
            counts = [0, 0, 0, 0]
            for r, g in pairs:
                counts[2 * (not correct(r[a], g, mode)) + (not correct(r[b], g, mode))] += 1
            draws = []
            for _ in range(args.draws):
                gammas = [rng.gammavariate(c + 0.5, 1) for c in counts]
                draws.append(weight * (gammas[1] - gammas[2]) / sum(gammas))
            point = weight * (counts[1] - counts[2]) / len(pairs)
            print(f'| {a} − {b} | {mode} | {counts[1]} | {counts[2]} | {100 * point:+.2f} points | '
                  f'{100 * percentile(draws, 0.025):+.2f} – {100 * percentile(draws, 0.975):+.2f} |')


def correct(reading, gold_row, mode):
    return reading == gold_row['strict'] if mode == 'strict' else reading in gold_row['lenient_set']


def errors(args):
    columns, rows = load_readings(args)
    gold = load_gold()
    mode = 'lenient' if args.lenient else 'strict'
    for name, (_, chosen) in sample(args, columns, rows).items():
        for r in sorted(chosen, key=lambda r: (r['text'], int(r['offset']))):
            g = gold.get((r['text'], r['offset']))
            if g and not correct(r[args.converter], g, mode):
                print('\t'.join([r['text'], r['offset'], name, r['context'], r[args.converter],
                                 g['strict'], ','.join(sorted(g['lenient_set'] - {g['strict']})),
                                 g.get('note', '')]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('command', choices=['convert', 'unjudged', 'score', 'errors'])
    parser.add_argument('--group', default='luxun', choices=sorted(GROUPS))
    parser.add_argument('--lookup', default=str(ROOT / 'build' / 'zhavik-lookup'))
    parser.add_argument('--data', help='the folder holding img/ (default: the program\'s own)')
    parser.add_argument('--work', default=str(ROOT / 'build' / 'accuracy'))
    parser.add_argument('--readings', help='a readings file other than WORK/readings-GROUP.tsv')
    parser.add_argument('--no-pinyin-pro', action='store_true')
    parser.add_argument('--seed', type=int, default=SEED)
    parser.add_argument('--differing', type=int, help='sample size (default: the group\'s)')
    parser.add_argument('--agreeing', type=int, help='sample size (default: the group\'s)')
    parser.add_argument('--draws', type=int, default=100000)
    parser.add_argument('--converter', default='words')
    parser.add_argument('--lenient', action='store_true')
    args = parser.parse_args()
    {'convert': convert, 'unjudged': unjudged, 'score': score, 'errors': errors}[args.command](args)


if __name__ == '__main__':
    main()
