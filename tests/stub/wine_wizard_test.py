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
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from setup_maker import Setup  # noqa: E402
import wine_capability  # noqa: E402

DATA, PREFIX = sys.argv[1], os.path.abspath(sys.argv[2])
wine_capability.skip_unless_wine_runs()
for tool in ('Xvfb', 'xdotool'):
    if not shutil.which(tool):
        print('SKIPPED: Wine wizard checks: %s is not installed' % tool)
        sys.exit(wine_capability.SKIP_STATUS)

TITLE = 'Wizard Product Setup'
failures = []


def check(cond, message):
    if not cond:
        failures.append(message)
        print('FAIL:', message)


def start_screen():
    """A virtual screen of its own; returns (process, display)."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '800x600x24', '-nolisten', 'tcp'],
                            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b''
    while not number.endswith(b'\n'):
        chunk = os.read(read, 16)
        if not chunk:
            break
        number += chunk
    os.close(read)
    return xvfb, ':' + number.decode().strip()


XVFB, DISPLAY = start_screen()
ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG='-all',
           WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d', DISPLAY=DISPLAY)
ENV.pop('WAYLAND_DISPLAY', None)


def host(win_path):
    return os.path.join(PREFIX, 'drive_c', *win_path[3:].split('\\'))


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


def xdotool(*args):
    return subprocess.run(['xdotool'] + list(args), env=ENV, capture_output=True, timeout=60)


def keys(*names):
    """Keys pressed one after another in the wizard, as a user would, with time to react."""
    for name in names:
        if name == 'wait':  # the installation runs
            time.sleep(5)
        elif name.startswith('type:'):
            xdotool('type', '--delay', '50', name[5:])
        else:
            xdotool('key', name)
        time.sleep(1)


def run_wizard(setup, steps, timeout=120):
    """Starts the setup, waits for its window, presses the keys of steps; the exit code."""
    proc = subprocess.Popen(['wine', setup], env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + timeout
    window = ''
    while not window and time.monotonic() < deadline:
        time.sleep(1)
        window = xdotool('search', '--onlyvisible', '--name', TITLE).stdout.decode().split('\n')[0]
    check(window != '', 'the wizard window appears')
    if window:
        time.sleep(2)
        xdotool('windowfocus', '--sync', window)
        keys(*steps)
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        check(False, 'the wizard ends after the keys %s' % (steps,))
        return None


def main():
    if not os.path.exists(os.path.join(PREFIX, 'system.reg')):
        os.makedirs(PREFIX, exist_ok=True)
        subprocess.run(['wineboot', '-i'], env=ENV, capture_output=True, timeout=600)
        subprocess.run(['wineserver', '-w'], env=ENV, timeout=600)
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
        subprocess.run(['wine', host('C:\\WizardTyped\\Uninstall.exe'), '/S'], env=ENV, capture_output=True,
                       timeout=300)
        subprocess.run(['wineserver', '-w'], env=ENV, timeout=300)
    XVFB.terminate()
    XVFB.wait(timeout=30)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
