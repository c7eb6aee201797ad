#!/usr/bin/python3
"""Runs setups assembled by setup_maker with their wizard under Wine on a virtual screen, and
goes through the pages with the keyboard as a user would: install into a folder typed on the
folder page, cancel on the welcome page, try to go past a licence that is not accepted or
into a folder whose drive has too little space, choose the language of a setup with two (or
let /L= choose it), and see the background window cover the screen.

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
BACKGROUND = 'Wizard Product Background'
LANGUAGE_CHOICE = 'Select Setup Language'
UNINSTALL_TITLE = 'Wizard Product Uninstall'
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


def setup_with_two_languages(path):
    """A welcome page, English and Russian, the background window, and an uninstaller."""
    s = Setup(os.path.join(DATA, 'Install.exe'), os.path.join(DATA, 'Uninstall.exe'))
    f = s.fields
    f[65] = TITLE
    f[75] = UNINSTALL_TITLE
    f[58] = 'C:\\WizardLanguage'
    f[110] = '0'
    f[111] = '1'
    f[1], f[3], f[4], f[5], f[8] = '1', '1', '255', '65280', BACKGROUND
    f[10], f[11], f[12] = '-30', 'Tahoma', '16777215'
    s.languages.append((b'Russian (\xd0\xf3\xf1\xf1\xea\xe8\xe9)', '1049', '', '',
                        {1: '\u0423\u0441\u0442\u0430\u043d\u043e\u0432\u043a\u0430'.encode('cp1251')}))
    s.add_file(b'language\r\n', '@$&%04\\language.txt')
    s.write(path)


def setup_needing_much_space(path):
    """Only the folder and ready pages, and more space than any drive has."""
    s = Setup(os.path.join(DATA, 'Install.exe'))
    f = s.fields
    f[65] = TITLE
    f[58] = 'C:\\WizardSpace'
    f[110] = '0'
    f[112] = f[115] = '1'
    f[48] = str(1 << 40)  # a petabyte, in units of 1024 bytes
    s.add_file(b'space\r\n', '@$&%04\\space.txt')
    s.write(path)


def run_wizard(setup, steps, timeout=120, args=(), first=TITLE, before=None):
    """Starts the setup, waits for its first window, presses the keys of steps; the exit code.
    before(window) runs once the window is there, before the keys."""
    proc = SCREEN.start(setup, *args)
    window = SCREEN.wait_window(first, timeout)
    check(window != '', 'the window "%s" appears' % first)
    if window and before:
        before(window)
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
    for folder in ('C:\\WizardDefault', 'C:\\WizardTyped', 'C:\\WizardSpace', 'C:\\WizardLanguage'):
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

        # Too little space on the folder's drive: Next stays on the folder page after saying so.
        setup_needing_much_space(setup)
        code = run_wizard(setup, ['Return', 'Return', 'Escape', 'y'])
        check(code == 1, 'not enough space, then cancelled: exit code %s' % code)
        check(not os.path.exists(host('C:\\WizardSpace')), 'nothing installed without the space')

        # Two languages: the choice comes first; Escape there ends the run.
        setup_with_two_languages(setup)
        code = run_wizard(setup, ['Escape'], first=LANGUAGE_CHOICE)
        check(code == 1, 'cancelled at the language choice: exit code %s' % code)
        # Russian chosen, then the wizard in front of the background, which covers the screen.
        covered = []

        def background_covers_screen(window):
            found = SCREEN.xdotool('search', '--onlyvisible', '--name', '^%s$' % BACKGROUND).stdout.split()
            geometry = SCREEN.xdotool('getwindowgeometry', found[0]).stdout.decode() if found else ''
            screen = SCREEN.xdotool('getdisplaygeometry').stdout.decode().split()
            covered.append('Geometry: %sx%s' % tuple(screen) in geometry)

        code = run_wizard(setup, ['Down', 'Return', 'wait', 'Return', 'wait', 'Return'], first=LANGUAGE_CHOICE)
        check(code == 0, 'installed in the language chosen: exit code %s' % code)
        check(os.path.isfile(host('C:\\WizardLanguage\\language.txt')), 'the file of the two-language setup')
        shutil.rmtree(host('C:\\WizardLanguage'), ignore_errors=True)
        # /L= chooses without asking: the wizard comes first, over its background.
        code = run_wizard(setup, ['Return', 'wait', 'Return'], args=('/L=1049',), before=background_covers_screen)
        check(code == 0, 'installed with /L=: exit code %s' % code)
        check(covered == [True], 'the background window covers the screen')
        # The uninstaller with its window: its question under its own title, Yes, then its
        # closing message.
        code = run_wizard(host('C:\\WizardLanguage\\Uninstall.exe'), ['Return', 'wait', 'Return'],
                          first=UNINSTALL_TITLE)
        check(code == 0, 'removed with the uninstaller window: exit code %s' % code)
        check(not os.path.exists(host('C:\\WizardLanguage\\language.txt')), 'the uninstaller removed the file')
    SCREEN.close()
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
