#!/usr/bin/env python3
"""Writes COUNT files of 1-4 KB of high-entropy text: random tokens drawn from a vocabulary
of a few thousand made-up words, the same for every run (fixed seed).
Usage: make-small-files.py DIR [COUNT]   (default 20000)"""
import os
import random
import sys

out = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
rng = random.Random(20000)
letters = 'abcdefghijklmnopqrstuvwxyz'
vocabulary = [''.join(rng.choice(letters) for _ in range(rng.randint(2, 11))) for _ in range(4000)]
per_folder = 500
for n in range(count):
    folder = os.path.join(out, 'd%03d' % (n // per_folder))
    if n % per_folder == 0:
        os.makedirs(folder, exist_ok=True)
    size = rng.randint(1024, 4096)
    words, length = [], 0
    while length < size:
        w = rng.choice(vocabulary)
        words.append(w)
        length += len(w) + 1
    text = ' '.join(words)[:size - 1] + '\n'
    with open(os.path.join(folder, 'f%05d.txt' % n), 'w') as f:
        f.write(text)
