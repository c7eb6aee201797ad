#!/usr/bin/python3
"""Runs setups with their wizard under Wine on a virtual screen, and goes through the pages
with the keyboard as a user would.

Setups assembled by setup_maker: install into a folder typed on the folder page, cancel on
the welcome page, try to go past a licence that is not accepted or into a folder whose drive
has too little space, choose the language of a setup with two (or let /L= choose it), and see
the background window cover the screen.

With --program and --maker, the showcase project (every page and look switched on) built by
the program's /build instead: Russian chosen, every page gone through, the installation and
the finish choices checked on disk and in the registry, the program group chosen from the
list of the groups in the Start menu; then its uninstaller: its title, the
question (No keeps everything), its progress window, the removal and the internet page it
opens.

Usage: wine_wizard_test.py DATA_DIR PREFIX_DIR [--program BVQ --maker MAKER]
DATA_DIR holds Install.exe and Uninstall.exe; PREFIX_DIR is a Wine prefix of this test's own
(created when missing); BVQ is the program, MAKER the helper that writes project files.
"""
import os
import re
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from project_build import build_setup  # noqa: E402
from setup_maker import Setup  # noqa: E402
from wine_screen import WineScreen, check, exit_code, failures, missing_tool, wait_until  # noqa: E402
import showcase_project as showcase  # noqa: E402
import wine_capability  # noqa: E402

DATA, PREFIX = sys.argv[1], os.path.abspath(sys.argv[2])
ARGS = sys.argv[3:]
PROGRAM = ARGS[ARGS.index('--program') + 1] if '--program' in ARGS else None
MAKER = ARGS[ARGS.index('--maker') + 1] if '--maker' in ARGS else None
wine_capability.skip_unless_wine_runs()
if missing_tool():
    print('SKIPPED: Wine wizard checks: %s is not installed' % missing_tool())
    sys.exit(wine_capability.SKIP_STATUS)

TITLE = 'Wizard Product Setup'
BACKGROUND = 'Wizard Product Background'
LANGUAGE_CHOICE = 'Select Setup Language'
UNINSTALL_TITLE = 'Wizard Product Uninstall'
EXISTING_GROUP = 'Zz Existing Group'
SCREEN = None


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
    code = exit_code(proc, timeout)
    check(code is not None, 'the wizard ends after the keys %s' % (steps,))
    return code


def case_assembled():
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


def links_named(name):
    """(folder name, path) of every shortcut file of that name below the prefix's user folders."""
    users = os.path.join(PREFIX, 'drive_c', 'users')
    return [(os.path.basename(d), os.path.join(d, f)) for d, _, fs in os.walk(users) for f in fs if f == name]


def case_built():
    host = SCREEN.host
    folder = host(showcase.FOLDER)
    uninstall_keys = ['%s\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s' % (root, showcase.PRODUCT)
                      for root in ('HKLM', 'HKCU')]
    shutil.rmtree(folder, ignore_errors=True)
    with tempfile.TemporaryDirectory() as tmp:
        setup = os.path.join(tmp, 'Setup.exe')
        code, output = build_setup(PROGRAM, MAKER, showcase.rows(os.path.dirname(PROGRAM), tmp, setup), tmp)
        check(code == 0, 'the showcase project builds: exit status %s\n%s' % (code, output))
        if code != 0:
            return
        opened = os.path.join(tmp, 'opened.txt')
        SCREEN.open_addresses_into(opened)
        addresses = lambda: open(opened).read().split() if os.path.exists(opened) else []

        # A program group of another program is in the Start menu already; its name sorts
        # after the system's own groups.
        existing = os.path.join(SCREEN.programs_folder(), EXISTING_GROUP)
        shutil.rmtree(existing, ignore_errors=True)
        os.makedirs(existing)
        other = os.path.join(existing, 'Other Program.lnk')
        open(other, 'wb').close()

        # Every page in its order: language (Russian, the last), welcome, licence (Enter does
        # nothing until it is accepted), information (Back, the button before Next, returns to
        # the licence, still accepted), password, folder, program group (Tab past Cancel and
        # the name to the list of groups; Down chooses one, End the last: the existing group),
        # additional shortcuts, ready; then the progress page and the finish page, whose
        # choices run the program and open the web site. The run log names each page shown.
        log = os.path.join(tmp, 'install.log')
        code = run_wizard(setup, ['End', 'Return', 'wait',
                                  'Return', 'Return', 'Up', 'Return', 'shift+Tab', 'space', 'Return',
                                  'Return', 'type:' + showcase.PASSWORD, 'Return',
                                  'Return', 'Tab', 'Tab', 'Tab', 'Down', 'End', 'Return', 'Return', 'Return',
                                  'wait', 'wait', 'Return'],
                          args=('/LOG=' + log.replace('/', '\\'),), first=showcase.LANGUAGE_CHOICE)
        check(code == 0, 'the showcase setup installed through every page: exit code %s' % code)
        shown = re.findall(r'Wizard page: (\w+)', open(log, encoding='utf-8', errors='replace').read()
                           if os.path.exists(log) else '')
        check(shown == ['welcome', 'licence', 'information', 'licence', 'information', 'password', 'folder',
                        'group', 'shortcuts', 'ready', 'progress', 'finish'],
              'every page shown in order, the licence again after Back: %s' % shown)
        # The uninstaller gets the Russian texts, read in the language's own code page.
        uninstall_log = os.path.join(folder, 'Uninstall.ini')
        records = open(uninstall_log, encoding='utf-16').read().splitlines() if os.path.isfile(uninstall_log) else []
        check('G\t1251' in records, 'the uninstall log records the code page of Russian')
        texts = [r for r in records if r.startswith('U\t')]
        check(texts and all(re.search('[\u0410-\u044f]', r) for r in texts),
              'the uninstaller\'s texts are Russian: %s' % texts[:2])
        for name in ('readme.txt', 'hold.bat', 'Uninstall.exe', 'data\\part0000.bin'):
            check(os.path.isfile(os.path.join(folder, *name.split('\\'))), 'installed: %s' % name)
        check(wait_until(lambda: os.path.isfile(host(showcase.FINISH_RAN))), 'the finish page ran the program')
        check(wait_until(lambda: showcase.WEB_SITE in addresses()),
              'the finish page opened the web site: %s' % addresses())
        links = links_named('Read me.lnk') + links_named('Example Suite.lnk')
        places = sorted(place for place, _ in links)
        check(places == sorted([EXISTING_GROUP, 'Desktop', 'Quick Launch']),
              'shortcuts in the group chosen from the list, on the desktop and in the quick-launch bar: %s'
              % places)
        value = SCREEN.registry_value('HKCU\\' + showcase.REGISTRY_KEY, 'InstallPath')
        check(value == ('REG_SZ', showcase.FOLDER), 'the registry value with the install folder: %s' % (value,))
        check(any(SCREEN.registry_value(key, 'UninstallString') for key in uninstall_keys),
              'the installed-programs entry')

        # The uninstaller asks under its own title; No keeps everything.
        uninstaller = host(showcase.FOLDER + '\\Uninstall.exe')
        code = run_wizard(uninstaller, ['n'], first=showcase.UNINSTALL_TITLE)
        check(code == 1, 'the removal declined: exit code %s' % code)
        check(os.path.isfile(os.path.join(folder, 'readme.txt')), 'nothing removed after No')

        # Yes: its progress window stays while its first command waits; then it removes
        # everything, says so and opens its internet page.
        if os.path.exists(host(showcase.UNINSTALL_GO)):
            os.remove(host(showcase.UNINSTALL_GO))
        proc = SCREEN.start(uninstaller)
        question = SCREEN.wait_window(showcase.UNINSTALL_TITLE)
        check(question != '', 'the uninstaller asks')
        SCREEN.keys('Return')
        progress = SCREEN.wait_window(showcase.UNINSTALL_TITLE, other_than=question)
        time.sleep(3)
        check(progress != '' and SCREEN.visible(progress),
              'the progress window under the uninstaller title stays while its first command runs')
        check(os.path.isfile(os.path.join(folder, 'readme.txt')), 'nothing removed while its first command runs')
        open(host(showcase.UNINSTALL_GO), 'w').close()
        done = SCREEN.wait_window(showcase.UNINSTALL_TITLE, other_than=progress)
        check(done != '', 'the uninstaller says it is done')
        SCREEN.keys('Return')
        code = exit_code(proc)
        check(code == 0, 'removed through the uninstaller window: exit code %s' % code)
        check(wait_until(lambda: showcase.UNINSTALL_PAGE in addresses()),
              'the uninstaller opened its internet page: %s' % addresses())
        check(wait_until(lambda: not os.path.exists(folder)), 'the install folder is removed')
        check(links_named('Read me.lnk') + links_named('Example Suite.lnk') == [], 'the shortcuts are removed')
        check(os.path.isfile(other), 'the other program\'s shortcut stays in the group shared with it')
        check(SCREEN.registry_value('HKCU\\' + showcase.REGISTRY_KEY, 'InstallPath') is None,
              'the registry value is removed')
        check(not any(SCREEN.registry_value(key, 'UninstallString') for key in uninstall_keys),
              'the installed-programs entry is removed')
        os.remove(host(showcase.UNINSTALL_GO))


def main():
    global SCREEN
    SCREEN = WineScreen(PREFIX)
    try:
        case_built() if PROGRAM else case_assembled()
    finally:
        SCREEN.close()
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
