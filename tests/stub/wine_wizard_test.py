#!/usr/bin/python3
"""Runs setups assembled by setup_maker with their wizard under Wine on a virtual screen, and
goes through the pages with the keyboard as a user would: install into a folder typed on the
folder page, cancel on the welcome page, and try to go past a licence that is not accepted.

Usage: wine_wizard_test.py DATA_DIR PREFIX_DIR
DATA_DIR holds Install.exe and Uninstall.exe; PREFIX_DIR is a Wine prefix of this test's own
(created when missing).
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from setup_maker import Setup  # noqa: E402
from wine_screen import WineScreen, missing_tool  # noqa: E402
import wine_capability  # noqa: E402

DATA, PREFIX = sys.argv[1], os.path.abspath(sys.argv[2])
wine_capability.skip_unless_wine_runs()
if missing_tool():
    print('SKIPPED: Wine wizard checks: %s is not installed' % missing_tool())
    sys.exit(wine_capability.SKIP_STATUS)

TITLE = 'Wizard Product Setup'
failures = []
SCREEN = None


def check(cond, message):
    if not cond:
        failures.append(message)
        print('FAIL:', message)


def setup_with_pages(path):
    s = Setup(os.path.join(DATA, 'Install.exe'), os.path.join(DATA, 'Uninstall.exe'))
    f = s.fields
    f[28] = 'Wizard Product'
    f[55] = 'Wizard Product'
    f[65] = TITLE
    f[58] = 'C:\\WizardDefault'
    f[110] = '0'  # with a window
    for page in (111, 30, 112, 115, 116):  # welcome, licence, folder, ready, finish
        f[page] = '1'
    s.side_files = [('$inst\\15.tmp', rb'{\rtf1\ansi Use it well.\par}')]
    s.add_file(b'read me\r\n', '@$&%04\\readme.txt')
    s.write(path)


def run_wizard(setup, steps, timeout=120):
    """Starts the setup, waits for its window, presses the keys of steps; the exit code."""
    proc = SCREEN.start(setup)
    window = SCREEN.wait_window(TITLE, timeout)
    check(window != '', 'the wizard window appears')
    if window:
        SCREEN.keys(*steps)
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        check(False, 'the wizard ends after the keys %s' % (steps,))
        return None


def main():
    global SCREEN
    SCREEN = WineScreen(PREFIX)
    host = SCREEN.host
    for folder in ('C:\\WizardDefault', 'C:\\WizardTyped'):
        shutil.rmtree(host(folder), ignore_errors=True)
    with tempfile.TemporaryDirectory() as tmp:
        setup = os.path.join(tmp, 'Setup.exe')
        setup_with_pages(setup)

        # Escape on the welcome page asks; Yes ends the run as cancelled.
        code = run_wizard(setup, ['Escape', 'y'])
        check(code == 1, 'cancelled on the welcome page: exit code %s' % code)

        # Next stays disabled while the licence is not accepted: Enter does nothing there.
        code = run_wizard(setup, ['Return', 'Return', 'Return', 'Return', 'Escape', 'y'])
        check(code == 1, 'licence not accepted, then cancelled: exit code %s' % code)
        check(not os.path.exists(host('C:\\WizardDefault')), 'nothing installed without accepting the licence')

        # Accept (Up from the declining choice), type another folder, install, finish.
        code = run_wizard(setup, ['Return', 'Up', 'Return',
                                  'Tab', 'Tab', 'Home', 'shift+End', 'type:C:\\WizardTyped', 'Return',
                                  'Return', 'wait', 'Return'])
        check(code == 0, 'installed through the wizard: exit code %s' % code)
        check(os.path.isfile(host('C:\\WizardTyped\\readme.txt')), 'the file is in the folder typed on its page')
        check(not os.path.exists(host('C:\\WizardDefault')), 'nothing in the default folder')
        SCREEN.run(host('C:\\WizardTyped\\Uninstall.exe'), '/S')
    SCREEN.close()
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
