"""Whether the test scripts may run Windows programs under Wine on this machine.

The answer comes from scripts/wine-capability, run once per test run by the CTest fixture
"wine_capability", which writes it to $BVQ_BINARY_DIR/tests/wine-capability; a script started by
hand runs the probe itself. A script whose Wine checks cannot run here exits with SKIP_STATUS,
which CTest reports as skipped.
"""
import os
import subprocess
import sys

SKIP_STATUS = 77
_SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def line():
    """"native", "emulated", "none<TAB>reason" or "broken<TAB>reason"."""
    binary = os.environ.get('BVQ_BINARY_DIR')
    if binary:
        try:
            with open(os.path.join(binary, 'tests', 'wine-capability'), encoding='utf-8') as fh:
                text = fh.readline().rstrip('\r\n')
            if text:
                return text
        except OSError:
            pass
    r = subprocess.run(['bash', os.path.join(_SOURCE, 'scripts', 'wine-capability')],
                       capture_output=True, text=True, timeout=900)
    return r.stdout.strip()


def emulated():
    return line() == 'emulated'


def skip_reason(runs_under_emulation=False):
    """None when the Wine checks run here; otherwise why they are skipped. A case that
    `runs_under_emulation` is the one end-to-end case that also runs where 32-bit programs only
    execute emulated (slowly). A broken Wine is no reason to skip: the checks run and fail."""
    answer = line()
    if answer == 'native' or answer.startswith('broken'):
        return None
    if answer == 'emulated':
        return None if runs_under_emulation else (
            'this machine runs 32-bit programs only under emulation, where one end-to-end '
            'installer case stands for the Wine checks')
    if answer.startswith('none\t'):
        return answer.split('\t', 1)[1]
    return f'the Wine probe gave no answer ({answer!r})'


def skip_unless_wine_runs(runs_under_emulation=False):
    """Ends the script as skipped, with the reason, when its Wine checks cannot run here."""
    reason = skip_reason(runs_under_emulation)
    if reason:
        print('SKIPPED: Wine checks:', reason)
        sys.exit(SKIP_STATUS)
