"""The Wine probe's answer as the test scripts read it: for each answer the probe can give
(forced with BVQ_WINE), the probe's written file and its printed lines give the same skip
reasons; a file that is not a whole answer makes the reader run the probe itself.

Usage: wine_probe_test.py (run from anywhere; needs bash)
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
PROBE = os.path.join(os.path.dirname(HERE), 'scripts', 'wine-capability')
EMULATED = ('this machine runs 32-bit programs only under emulation, where one end-to-end '
            'installer case stands for the Wine checks')
NO_I386 = 'this machine cannot run 32-bit programs (BVQ_WINE=none)'

# Reads the answer in a fresh interpreter (the module keeps its answer): the skip reason of an
# ordinary Wine check, that of the one case that also runs under emulation, and emulated().
READER = ('import sys, wine_capability as w; '
          'print(repr((w.skip_reason(), w.skip_reason(runs_under_emulation=True), w.emulated())))')


def read(binary_dir, forced):
    env = dict(os.environ, BVQ_WINE=forced, PYTHONPATH=HERE)
    env.pop('BVQ_BINARY_DIR', None)
    if binary_dir:
        env['BVQ_BINARY_DIR'] = binary_dir
    r = subprocess.run([sys.executable, '-c', READER], env=env, capture_output=True, text=True, timeout=600)
    if r.returncode != 0:
        raise SystemExit(f'reader failed: {r.stderr}')
    return eval(r.stdout)  # the repr of a tuple printed just above


failures = []


def check(name, got, expected):
    if got != expected:
        failures.append(f'{name}: got {got!r}, expected {expected!r}')


cases = [
    ('native', (None, None, False)),
    ('emulated', (EMULATED, None, True)),
    ('none', (NO_I386, NO_I386, False)),
]
with tempfile.TemporaryDirectory() as build:
    answer_file = os.path.join(build, 'tests', 'wine-capability')
    for forced, expected in cases:
        written = subprocess.run(['bash', PROBE, '--write', answer_file], env=dict(os.environ, BVQ_WINE=forced),
                                 capture_output=True, text=True, timeout=600)
        with open(answer_file, encoding='utf-8') as fh:
            check(f'{forced}: file and printed lines', fh.read(), written.stdout)
        # From the written file, with the probe forced the other way: the file must be what is read.
        other = 'none' if forced == 'native' else 'native'
        check(f'{forced}: read from the file', read(build, other), expected)
        check(f'{forced}: probe run by the reader', read(None, forced), expected)

    # Not a whole answer (an empty file, a line without the reason line): the reader asks the probe.
    for name, text in [('empty file', ''), ('capability line only', 'native\n')]:
        with open(answer_file, 'w', encoding='utf-8') as fh:
            fh.write(text)
        check(name, read(build, 'none'), (NO_I386, NO_I386, False))

    # The one-word answer of --i386-only stays one line: scripts/test and scripts/setup match on it.
    i386 = subprocess.run(['bash', PROBE, '--i386-only'], env=dict(os.environ, BVQ_WINE='emulated'),
                          capture_output=True, text=True, timeout=600)
    check('--i386-only', i386.stdout, 'emulated\n')

for f in failures:
    print('FAIL', f)
sys.exit(1 if failures else 0)
