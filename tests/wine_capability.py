"""Whether the test scripts may run Windows programs under Wine on this machine.

The answer comes from scripts/wine-capability, run once per test run by the CTest fixture
"wine_capability", which writes it to $BVQ_BINARY_DIR/tests/wine-capability; a script started by
hand runs the probe itself. tests/wine_capability.h reads the same two lines. A script whose Wine
checks cannot run here exits with SKIP_STATUS, which CTest reports as skipped.
"""
import os
import subprocess
import sys

SKIP_STATUS = 77
_SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def _parse(text):
    """The probe's two lines: what the machine can do ("native", "emulated", "none<TAB>reason",
    "broken<TAB>reason") and why the Wine checks skip here ("" where they run); None unless
    both are there, each ending its line."""
    lines = text.split('\n')
    return (lines[0], lines[1]) if len(lines) >= 3 and lines[0] else None


_answer = None


def answer():
    """The probe's (capability, skip reason); the skip reason is None when the probe gave no
    answer, and the capability then is whatever it said."""
    global _answer
    if _answer is None:
        binary = os.environ.get('BVQ_BINARY_DIR')
        if binary:
            try:
                with open(os.path.join(binary, 'tests', 'wine-capability'), encoding='utf-8') as fh:
                    _answer = _parse(fh.read())
            except OSError:
                pass
        if _answer is None:
            r = subprocess.run(['bash', os.path.join(_SOURCE, 'scripts', 'wine-capability')],
                               capture_output=True, text=True, timeout=900)
            _answer = _parse(r.stdout) or (r.stdout.split('\n')[0], None)
    return _answer


def emulated():
    return answer()[0] == 'emulated'


def skip_reason(runs_under_emulation=False):
    """None when the Wine checks run here; otherwise why they are skipped. A case that
    `runs_under_emulation` is the one end-to-end case that also runs where 32-bit programs only
    execute emulated (slowly). A broken Wine is no reason to skip: the checks run and fail."""
    capability, reason = answer()
    if reason is None:
        return f'the Wine probe gave no answer ({capability!r})'
    if capability == 'emulated' and runs_under_emulation:
        return None
    return reason or None


def skip_unless_wine_runs(runs_under_emulation=False):
    """Ends the script as skipped, with the reason, when its Wine checks cannot run here."""
    reason = skip_reason(runs_under_emulation)
    if reason:
        print('SKIPPED: Wine checks:', reason)
        sys.exit(SKIP_STATUS)
